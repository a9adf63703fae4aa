#include "tools/scenefakes/HeadlessEntityView.h"

#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/GameSceneInterface.h"

#include "content/protos/ProtoEntity.h"
#include "puppet/PuppetInstance.h"

#include "platform/render/CCSprite.h"

namespace {

// The entity's puppet, else a sprite of its art, else a plain node.
cocos2d::CCNode* makeMainNode(const Entity* entity) {
    const ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
    if (proto != nullptr && entity->getPuppetHandle() >= 0)
        return PuppetInstance::create(entity->getPuppetHandle(), entity->getTeamColor());
    if (proto != nullptr && !proto->mArt.empty())
        if (cocos2d::CCSprite* sprite = cocos2d::CCSprite::spriteWithFile(proto->mArt))
            return sprite;
    return cocos2d::CCNode::node();
}

} // namespace

HeadlessEntityView::HeadlessEntityView(Entity* owner)
    : CocosEntityLink(owner), mMainNode(makeMainNode(owner)) {
    mMainNode->retain();
}

HeadlessEntityView::~HeadlessEntityView() {
    mMainNode->removeFromParentAndCleanup(true);
    mMainNode->release();
}

bool HeadlessEntityView::attach(const cocos2d::CCPoint& position, const cocos2d::CCSize& size) {
    mMainNode->setPosition(position);
    if (mMainNode->getParent() == nullptr && gGameScene != nullptr &&
        gGameScene->getSceneNode() != nullptr) {
        const auto* entity = dynamic_cast<const Entity*>(getOwner());
        const int zOrder = entity != nullptr && entity->mGrid != nullptr
                               ? entity->mGrid->zOrderForCoords(entity->mSlot)
                               : 0;
        gGameScene->getSceneNode()->addChild(mMainNode, zOrder);
    }
    return CocosEntityLink::attach(position, size);
}

void HeadlessEntityView::showAura(int32_t aura, bool animate, float delay, bool /*flag*/) {
    mCalls.push_back({"showAura", static_cast<float>(aura), delay, animate});
}

void HeadlessEntityView::hideAura(int32_t aura, bool animate, float delay) {
    mCalls.push_back({"hideAura", static_cast<float>(aura), delay, animate});
}

void HeadlessEntityView::playAuraAbility(int32_t aura, float delay) {
    mCalls.push_back({"auraAbility", static_cast<float>(aura), delay, false});
}

void HeadlessEntityView::setCrystalDebuffLevel(int32_t level, bool animate, float delay) {
    mCalls.push_back({"crystalDebuff", static_cast<float>(level), delay, animate});
}

void HeadlessEntityView::setHealthBarPercentage(float percent, bool animate, float delay) {
    mCalls.push_back({"healthBar", percent, delay, animate});
}
