// An entity view's equipment (animations, layers, dual wield, the items'
// own nodes on the unit) and the two beams of an ongoing link.

#include "scene/EntityView.h"

#include "scene/ActionLinkEntities.h"
#include "scene/GameScene.h"
#include "scene/widgets/HealingBeamSprite.h"

#include "content/protos/ProtoEntity.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCProtocols.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"

using cocos2d::CCNode;
using cocos2d::CCPoint;

namespace {

// Looked up on each use: the registry's names may be cleared (tests).
int32_t linkCategory() {
    return PuppetRegistry::categoryIndex("link");
}

// A beam of the link art in the owner's colour at the entity's square, 10 down.
HealingBeamSprite* makeBeam(const std::string& file, float speed, const Entity& entity) {
    auto* beam = new HealingBeamSprite();
    beam->initWithFile(file);
    beam->mSpeed = speed;
    beam->mColor = entity.getTeamColor();
    CCPoint at = entity.mGrid != nullptr ? entity.mGrid->pointForCoords(entity.mSlot, true)
                                         : entity.getViewPosition();
    at.y -= 10.0f;
    beam->setPosition(at);
    beam->setOpacity(255);
    return beam;
}

} // namespace

void EntityView::applyEquipment(const ProtoEntity* item, bool animate) {
    Entity* owner = entity();
    const ProtoEntity* proto = owner != nullptr ? owner->getProto() : nullptr;
    if (item == nullptr || proto == nullptr)
        return;
    PuppetInstance* node = hasLoadedPuppet() ? puppet() : nullptr;
    if (animate && item->mEquipAnim >= 0 && node != nullptr) {
        const int32_t next = item->mBlendAnimFromEquip == -1
                                 ? -1
                                 : owner->resolveAnimationState(item->mBlendAnimFromEquip, false);
        node->runAction(PuppetAnimAction::actionWithAnim(item->mEquipAnim, false, 0.0f, -1.0f, next,
                                                         PuppetInstance::cDefaultBlend, node));
    }
    if (item->mEquipCategory >= 0 && node != nullptr) {
        node->addCategory(item->mEquipCategory);
        mEquipCategories.push_back(item->mEquipCategory);
    }
    if (proto->mCanDualWield && item->mCanDualWield)
        mDualWield = 1;
    if (item->mBuffInfo && item->mBuffInfo->mAuraType != -1)
        showAura(item->mBuffInfo->mAuraType, animate, 0.0f, false);
}

void EntityView::removeEquipment(const ProtoEntity* item) {
    Entity* owner = entity();
    const ProtoEntity* proto = owner != nullptr ? owner->getProto() : nullptr;
    if (item == nullptr || proto == nullptr)
        return;
    PuppetInstance* node = hasLoadedPuppet() ? puppet() : nullptr;
    if (item->mUnequipAnim >= 0 && owner->mState != cStateKnockedOut && node != nullptr) {
        const int32_t next = item->mBlendAnimFromEquip == -1
                                 ? -1
                                 : owner->resolveAnimationState(item->mBlendAnimFromEquip, false);
        node->runAction(PuppetAnimAction::actionWithAnim(
            item->mUnequipAnim, false, 0.0f, -1.0f, next, PuppetInstance::cDefaultBlend, node));
    }
    if (item->mEquipCategory >= 0 && node != nullptr) {
        node->removeCategory(item->mEquipCategory);
        std::erase(mEquipCategories, item->mEquipCategory);
    }
    if (proto->mCanDualWield && item->mCanDualWield)
        mDualWield = 0;
}

void EntityView::rebuildEquipmentDisplay() {
    const Entity* owner = entity();
    if (owner == nullptr)
        return;
    // The layers the items set go, then the items carried now set theirs.
    if (PuppetInstance* node = hasLoadedPuppet() ? puppet() : nullptr)
        for (int32_t category : mEquipCategories)
            node->removeCategory(category);
    mEquipCategories.clear();
    mDualWield = 0;
    if (owner->mInventory != nullptr)
        for (int32_t i = 0; i < owner->mInventory->getSlotCount(); ++i)
            if (const Entity* item = owner->mInventory->getEntityAtIndex(i))
                applyEquipment(item->getProto(), false);
}

void EntityView::attachEquipmentSprite(int32_t itemId, bool animate) {
    const Entity* owner = entity();
    Entity* item =
        owner != nullptr && owner->mGame != nullptr ? owner->mGame->getEntity(itemId) : nullptr;
    const ProtoEntity* itemProto = item != nullptr ? item->getProto() : nullptr;
    if (mNode == nullptr || itemProto == nullptr || !itemProto->mHelperIconInfo)
        return;
    const cocos2d::CCSize size = mNode->getContentSize();
    const CCPoint anchor = mNode->getAnchorPoint();
    CCPoint at = hasLoadedPuppet() ? CCPoint(size.width / 2.0f, size.height / 2.0f)
                                   : CCPoint(anchor.x * size.width, anchor.y * size.height);
    if (!item->hasLink())
        item->linkAt(at);
    const CocosEntityLink* itemView = item->getEntityLink();
    CCNode* itemNode = itemView != nullptr ? itemView->getMainNode() : nullptr;
    if (itemNode == nullptr)
        return;
    itemNode->retain();
    itemNode->removeFromParentAndCleanup(false);
    mNode->addChild(itemNode, cEquipmentZOrder);
    itemNode->release();
    const HelperIconInfo& icon = *itemProto->mHelperIconInfo;
    at.x += icon.mOffset.x;
    at.y += icon.mOffset.y;
    if (animate) {
        itemNode->setIsVisible(true);
        itemNode->setPosition(at);
        itemNode->setScale(icon.mScale);
        itemNode->runAction(cocos2d::CCFadeTo::actionWithDuration(0.1f, 255));
    } else {
        if (cocos2d::CCRGBAProtocol* colored = cocos2d::ccRGBAProtocolOf(itemNode))
            colored->setOpacity(255);
        itemNode->setIsVisible(true);
        itemNode->setScale(icon.mScale);
        itemNode->stopAllActions();
        itemNode->setPosition(at);
    }
}

void EntityView::hideEquipmentSprites() {
    const Entity* owner = entity();
    if (owner == nullptr || owner->mInventory == nullptr)
        return;
    for (int32_t i = 0; i < owner->mInventory->getSlotCount(); ++i)
        if (const Entity* item = owner->mInventory->getEntityAtIndex(i))
            hideEquipmentSprite(item->mId);
}

void EntityView::hideEquipmentSprite(int32_t itemId) {
    const Entity* owner = entity();
    if (owner == nullptr || owner->mInventory == nullptr)
        return;
    for (int32_t i = 0; i < owner->mInventory->getSlotCount(); ++i) {
        const Entity* item = owner->mInventory->getEntityAtIndex(i);
        const CocosEntityLink* view =
            item != nullptr && item->mId == itemId ? item->getEntityLink() : nullptr;
        if (CCNode* node = view != nullptr ? view->getMainNode() : nullptr)
            node->runAction(cocos2d::CCSequence::actions(
                cocos2d::CCFadeTo::actionWithDuration(0.1f, 0), cocos2d::CCHide::action()));
    }
}

void EntityView::showLink(Entity* target, bool animate) {
    Entity* owner = entity();
    const ProtoEntity* proto = owner != nullptr ? owner->getProto() : nullptr;
    if (proto == nullptr)
        return;
    const int32_t targetId = target != nullptr ? target->mId : -1;
    if (mLinkBeam != nullptr && mLinkBeam2 != nullptr) {
        // The beams already shown stay when they reach that target.
        if (targetId == mLinkTarget)
            return;
        hideLink(nullptr, animate);
    }
    if (proto->mLinkArt.empty() || (!proto->mOngoingAttack && !proto->mOngoingHeal))
        return;
    mLinkBeam = makeBeam(proto->mLinkArt, 0.75f, *owner);
    mLinkBeam2 = makeBeam(proto->mLinkArt2, 0.5f, *owner);
    mLinkTarget = targetId;
    if (gGameScene != nullptr && gGameScene->getSceneNode() != nullptr) {
        gGameScene->getSceneNode()->addChild(mLinkBeam, 100);
        gGameScene->getSceneNode()->addChild(mLinkBeam2, 101);
    }
    if (target != nullptr)
        for (HealingBeamSprite* beam : {mLinkBeam, mLinkBeam2}) {
            ActionLinkEntities* link = ActionLinkEntities::actionWithEntities(owner, target);
            link->mExtraLength = 10.0f;
            if (animate)
                beam->runAction(
                    cocos2d::CCSpawn::actions(link, cocos2d::CCFadeIn::actionWithDuration(0.5f)));
            else
                beam->runAction(link);
        }
    if (proto->mType == cEntityUnit && hasLoadedPuppet())
        puppet()->addCategory(linkCategory());
}

void EntityView::hideLink(Entity* /*target*/, bool animate) {
    if (mLinkBeam == nullptr || mLinkBeam2 == nullptr)
        return;
    GameScene* scene = dynamic_cast<GameScene*>(gGameScene);
    for (HealingBeamSprite** beam : {&mLinkBeam, &mLinkBeam2}) {
        if (animate) {
            (*beam)->stopAllActions();
            (*beam)->runAction(cocos2d::CCFadeOut::actionWithDuration(0.5f));
            // The scene's effect list takes the view's reference and drops
            // the beam once its fade ends.
            if (scene != nullptr)
                scene->addEffect(*beam);
            else
                (*beam)->release();
            *beam = nullptr;
        } else {
            (*beam)->removeFromParentAndCleanup(true);
            (*beam)->release();
            *beam = nullptr;
        }
    }
    mLinkTarget = -1;
    const Entity* owner = entity();
    const ProtoEntity* proto = owner != nullptr ? owner->getProto() : nullptr;
    if (proto != nullptr && proto->mType == cEntityUnit && hasLoadedPuppet())
        puppet()->removeCategory(linkCategory());
}
