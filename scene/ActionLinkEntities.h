#pragma once

// An endless interval action that keeps a beam sprite stretched between two
// entities: from the "BoneLaunchpoint" bone of the source's puppet to 20
// above the "BoneRoot" bone of the target's, following both as they
// animate, plus an extra length at each end. It runs until stopped or its
// sprite goes; the entities are not retained, so the beam's owner stops it
// before either entity goes away. A copy keeps the entities, not the extra
// length. Main thread only.

#include "platform/engine/CCActionInterval.h"

#include <cstdint>

class Entity;

class ActionLinkEntities : public cocos2d::CCActionInterval {
public:
    // An autoreleased action, or null when initialisation fails.
    static ActionLinkEntities* actionWithEntities(Entity* source, Entity* target);
    // Interns both bones; false (nothing changed) for a missing entity or an
    // action that already has its entities.
    bool initWithEntities(Entity* source, Entity* target);

    cocos2d::CCObject* copyWithZone(cocos2d::CCZone* zone) override;
    bool isDone() override { return false; }
    void update(cocos2d::ccTime progress) override;
    void step(cocos2d::ccTime dt) override;

    Entity* getSourceEntity() const { return mSource; }
    Entity* getTargetEntity() const { return mTargetEntity; }

    // Added to the beam's length at each end.
    float mExtraLength = 0.0f;

private:
    Entity* mSource = nullptr;
    Entity* mTargetEntity = nullptr;
    int32_t mSourceBone = -1;
    int32_t mTargetBone = -1;
};
