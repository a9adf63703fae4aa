#include "scene/ActionLinkEntities.h"

#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"
#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"

#include "platform/engine/CCActionCopy.h"
#include "platform/engine/CCNode.h"

#include <cfloat>
#include <cmath>

using cocos2d::CCNode;
using cocos2d::CCPoint;

namespace {

// An end of the beam: the bone of the entity's puppet, moved by offset, in
// the view's space (mirrored with the view); null when the entity has no
// main node. A view without a puppet takes the bone at (0, 0).
bool endPoint(const Entity* entity, int32_t bone, const CCPoint& offset, CCPoint& out) {
    const CocosEntityLink* view = entity->getEntityLink();
    const CCNode* node = view != nullptr ? view->getMainNode() : nullptr;
    if (node == nullptr)
        return false;
    const CCPoint at = entity->getViewPosition();
    const auto* puppet = dynamic_cast<const PuppetInstance*>(entity->getPuppet());
    const CCPoint bonePoint =
        puppet != nullptr ? puppet->getBonePosition(-1, bone, -1.0f, true) : CCPoint(0.0f, 0.0f);
    const CCPoint anchor = node->getAnchorPoint();
    const cocos2d::CCSize size = node->getContentSize();
    const float mirror = node->getScaleX() < 0.0f ? -1.0f : 1.0f;
    out = CCPoint(at.x + (offset.x + bonePoint.x - size.width * anchor.x) * mirror,
                  at.y + bonePoint.y + offset.y - size.height * anchor.y);
    return true;
}

} // namespace

ActionLinkEntities* ActionLinkEntities::actionWithEntities(Entity* source, Entity* target) {
    auto* action = new ActionLinkEntities();
    if (!action->initWithEntities(source, target)) {
        delete action;
        return nullptr;
    }
    action->autorelease();
    return action;
}

bool ActionLinkEntities::initWithEntities(Entity* source, Entity* target) {
    const int32_t sourceBone = PuppetRegistry::boneIndex("BoneLaunchpoint");
    const int32_t targetBone = PuppetRegistry::boneIndex("BoneRoot");
    if (source == nullptr || target == nullptr || mSource != nullptr || mTargetEntity != nullptr)
        return false;
    initWithDuration(FLT_MAX);
    mSource = source;
    mTargetEntity = target;
    mSourceBone = sourceBone;
    mTargetBone = targetBone;
    return true;
}

cocos2d::CCObject* ActionLinkEntities::copyWithZone(cocos2d::CCZone* zone) {
    std::unique_ptr<cocos2d::CCZone> ownZone;
    ActionLinkEntities* copy = cocos2d::ccCopyTarget<ActionLinkEntities>(zone, ownZone);
    CCActionInterval::copyWithZone(zone);
    if (mSource != nullptr && mTargetEntity != nullptr && copy->mSource == nullptr &&
        copy->mTargetEntity == nullptr) {
        copy->mSource = mSource;
        copy->mTargetEntity = mTargetEntity;
        copy->mSourceBone = mSourceBone;
        copy->mTargetBone = mTargetBone;
    }
    return copy;
}

void ActionLinkEntities::update(cocos2d::ccTime /*progress*/) {
    step(0.0f);
}

void ActionLinkEntities::step(cocos2d::ccTime /*dt*/) {
    CCNode* beam = getTarget();
    if (mSource == nullptr || mTargetEntity == nullptr || beam == nullptr)
        return;
    CCPoint from;
    CCPoint to;
    if (!endPoint(mSource, mSourceBone, CCPoint(0.0f, 0.0f), from) ||
        !endPoint(mTargetEntity, mTargetBone, CCPoint(0.0f, 20.0f), to))
        return;
    const CCPoint d(to.x - from.x, to.y - from.y);
    const float length = std::sqrt(d.x * d.x + d.y * d.y);
    const float width = beam->getContentSize().width;
    beam->setPosition(CCPoint(from.x + d.x * 0.5f, from.y + d.y * 0.5f));
    beam->setRotation(-std::atan2(d.y, d.x) * 57.29578f);
    if (width > 0.0f)
        beam->setScaleX((length + 2.0f * mExtraLength) / width);
    beam->setScaleY(1.0f);
}
