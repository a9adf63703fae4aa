#pragma once

// Scene services that hand out HeadlessEntityView views and record the lines
// of the animation driver in call order. While they live they are the
// installed services.

#include "rules/SceneServices.h"

#include <cstdint>
#include <vector>

class HeadlessSceneServices : public SceneServices {
public:
    // One recorded driver line.
    struct Animation {
        enum Kind : int32_t { cPlay = 0, cInPlace = 1, cHit = 2 };
        Kind mKind = cPlay;
        Entity* mEntity = nullptr;
        int32_t mState = -1;
        GridSlot mOwn;
        GridSlot mToward;
        float mDelay = 0.0f;
        GridSlot mEnd;
    };

    HeadlessSceneServices();
    ~HeadlessSceneServices() override;

    CocosEntityLink* createEntityLink(Entity* entity) override;
    void playEntityAnimation(Entity* entity, int32_t state, const GridSlot& own,
                             const GridSlot& toward, float delay, const GridSlot& end) override;
    void playEntityAnimationInPlace(Entity* entity, int32_t state, const GridSlot& toward,
                                    float delay) override;
    void playEntityHitAnimation(Entity* entity, int32_t state, const GridSlot& own,
                                const GridSlot& toward) override;

    std::vector<Animation> mAnimations;
};
