#include "rules/CocosGameBoardLink.h"

#include "rules/Entity.h"
#include "rules/GameBoard.h"
#include "rules/SceneServices.h"
#include "rules/SlotOverlaySprite.h"

#include "content/settings/DeployZone.h"
#include "content/settings/PremiumTileInfo.h"
#include "content/settings/ProtoGameBoard.h"
#include "content/settings/ProtoPremiumTile.h"
#include "content/settings/SettingsManager.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCRepeat.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCTextureCache.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

using namespace cocos2d;

namespace {

constexpr int cArtZOrder = -10;
constexpr int cSlotOverlayZOrder = 9;
constexpr int cPremiumOverlayZOrder = 8;
constexpr int cDeployMarkerZOrder = 8;
constexpr int cRangeArrowZOrder = 200;
constexpr int cTeleporterZOrder = 300;
// The board scene's large layout (the 1434 x 990 window) draws the art unshifted.
constexpr int32_t cLargeLayout = 2;
// The layout whose premium squares use their crossover art.
constexpr int32_t cCrossoverBoard = 5;
constexpr int32_t cIdleState = 0;
constexpr int32_t cPlayState = 30;
// The endless pulse of a highlight: enough repetitions for any drag.
constexpr unsigned cPulseRepetitions = 1000;

// The squares' puppets and arrows sit below the slot's centre by these.
constexpr float cPuppetDrop = 14.0f;
constexpr float cTooltipDrop = 12.0f;

void retainAndAdd(CCNode* scene, CCNode* node, int z) {
    node->retain();
    scene->addChild(node, z);
}

} // namespace

CocosGameBoardLink::CocosGameBoardLink(GameBoard* owner) : CocosEntityGridLink(owner) {
    mCellSize = CCSize(52.222f, 50.0f);
    mFarScale = SettingsManager::instance().mBoardMaxDistanceWidthScale;
}

CocosGameBoardLink::~CocosGameBoardLink() {
    dropNodes(mSlotOverlays);
    dropNodes(mPremiumOverlays);
    dropNodes(mDeployMarkers);
    dropNodes(mRangeArrows);
    dropNodes(mTeleportEffects);
    dropNodes(mPremiumPuppets);
    dropNode(mNode);
}

GameBoard* CocosGameBoardLink::board() const {
    return dynamic_cast<GameBoard*>(mOwner);
}

CCPoint CocosGameBoardLink::getCellOffset() const {
    const GameBoard* owner = board();
    const ProtoGameBoard* layout = owner != nullptr ? owner->getProtoGameBoard() : nullptr;
    if (layout == nullptr)
        return CCPoint(0.0f, 0.0f);
    return CCPoint(layout->mGridOffset.x, layout->mGridOffset.y);
}

bool CocosGameBoardLink::attach(const CCPoint& position, const CCSize& size) {
    if (!CocosEntityGridLink::attach(position, size))
        return false;
    CCNode* scene = sceneNode();
    if (scene != nullptr)
        addArt(scene);
    buildVertexGrid();
    if (scene == nullptr)
        return true;
    addSlotOverlays(scene);
    addPremiumSquares(scene);
    addRangeArrows(scene);
    addDeployMarkers(scene);
    return true;
}

void CocosGameBoardLink::addArt(CCNode* scene) {
    const ProtoGameBoard* layout = board()->getProtoGameBoard();
    CCSprite* art = CCSprite::spriteWithFile(layout != nullptr ? layout->mArt : std::string());
    const CCSize window = CCDirector::sharedDirector()->getWinSize();
    CCPoint at(window.width / 2, window.height / 2);
    if (sceneServices().layoutMode() != cLargeLayout)
        at = ccpAdd(at, CCPoint(-1.0f, -3.0f));
    art->setPosition(at);
    retainAndAdd(scene, art, cArtZOrder);
    mNode = art;
}

SlotOverlaySprite* CocosGameBoardLink::addOverlay(CCNode* scene, SlotOverlaySprite* overlay,
                                                  int32_t x, int32_t y, int z) {
    std::array<float, 12> quad{};
    getSlotCorners(x, y, quad);
    overlay->setSlotQuad(quad);
    overlay->setAnchorPoint(CCPoint(0.0f, 0.0f));
    overlay->setPosition(CCPoint(0.0f, 0.0f));
    retainAndAdd(scene, overlay, z);
    return overlay;
}

void CocosGameBoardLink::addSlotOverlays(CCNode* scene) {
    GameBoard* owner = board();
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage("MovementGrid.png");
    for (int32_t i = 0; i < owner->getSlotCount(); ++i) {
        const GridSlot slot = owner->coordsOfIndex(i);
        SlotOverlaySprite* overlay = SlotOverlaySprite::spriteWithTexture(texture);
        overlay->setOpacity(0);
        overlay->setIsVisible(false);
        mSlotOverlays.push_back(addOverlay(scene, overlay, slot.x, slot.y, cSlotOverlayZOrder));
    }
}

void CocosGameBoardLink::addPremiumSquares(CCNode* scene) {
    GameBoard* owner = board();
    const ProtoGameBoard* layout = owner->getProtoGameBoard();
    if (layout == nullptr)
        return;
    for (const auto& entry : layout->mPremiumTiles->mEntries) {
        const ProtoPremiumTile* kind = SettingsManager::instance().premiumTileKind(entry->mType);
        if (kind == nullptr)
            continue;
        const GridSlot slot(entry->mX, entry->mY);
        const CCPoint centre = owner->pointForCoords(slot, true);
        const int32_t slotIndex = owner->indexOfCoords(slot);
        if (!kind->mGridSlotOverlay.empty()) {
            const bool crossover = owner->getProtoIndex() == cCrossoverBoard &&
                                   !kind->mCrossoverGridSlotOverlay.empty();
            SlotOverlaySprite* overlay = SlotOverlaySprite::spriteWithFile(
                crossover ? kind->mCrossoverGridSlotOverlay : kind->mGridSlotOverlay);
            addOverlay(scene, overlay, slot.x, slot.y, cPremiumOverlayZOrder);
            overlay->mTooltipKind = 1;
            overlay->mTooltipAnchor = CCPoint(centre.x, centre.y - cTooltipDrop);
            overlay->mPremiumType = entry->mType;
            overlay->showTooltipIndicator();
            sceneServices().addTooltipTarget(overlay);
            mPremiumOverlays.push_back(overlay);
        }
        if (!kind->mPuppet.empty()) {
            PuppetInstance* puppet =
                PuppetInstance::create(PuppetRegistry::loadPuppet(kind->mPuppet));
            retainAndAdd(scene, puppet, owner->zOrderForCoords(slot));
            puppet->setPosition(CCPoint(centre.x, centre.y - cPuppetDrop));
            puppet->runAction(PuppetAnimAction::actionWithAnim(cIdleState, true, 0.0f));
            mPremiumPuppetBySlot[slotIndex] = mPremiumPuppets.size();
            mPremiumPuppets.push_back(puppet);
        }
        if (entry->mType == cPremiumTeleporter) {
            PuppetInstance* effect =
                PuppetInstance::create(PuppetRegistry::loadPuppet("Effects/Teleport01"));
            retainAndAdd(scene, effect, cTeleporterZOrder);
            effect->setPosition(CCPoint(centre.x, centre.y - cPuppetDrop));
            effect->setIsVisible(false);
            mTeleportBySlot[slotIndex] = mTeleportEffects.size();
            mTeleportEffects.push_back(effect);
        }
    }
}

void CocosGameBoardLink::addRangeArrows(CCNode* scene) {
    if (!SettingsManager::instance().mRestrictedTargeting)
        return;
    for (int i = 0; i < 4; ++i) {
        CCSprite* arrow = CCSprite::spriteWithFile("RangedAttackArrow.png");
        arrow->setOpacity(0);
        arrow->setAnchorPoint(CCPoint(0.0f, 0.5f));
        arrow->setScale(1.5f);
        retainAndAdd(scene, arrow, cRangeArrowZOrder);
        mRangeArrows.push_back(arrow);
    }
}

void CocosGameBoardLink::addDeployMarkers(CCNode* scene) {
    GameBoard* owner = board();
    const ProtoGameBoard* layout = owner->getProtoGameBoard();
    if (layout == nullptr || layout->mDeployZone == nullptr)
        return;
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage("DeployZone01.png");
    for (const DeployTile& tile : layout->mDeployZone->mTiles) {
        SlotOverlaySprite* marker = SlotOverlaySprite::spriteWithTexture(texture);
        mDeployMarkers.push_back(addOverlay(scene, marker, tile.x, tile.y, cDeployMarkerZOrder));
        SlotOverlaySprite* mirrored = SlotOverlaySprite::spriteWithTexture(texture);
        mirrored->setFlipX(true);
        mDeployMarkers.push_back(addOverlay(scene, mirrored, owner->getWidth() - 1 - tile.x, tile.y,
                                            cDeployMarkerZOrder));
    }
}

void CocosGameBoardLink::highlightSlot(const GridSlot& slot, const ccColor3B& color) {
    const GameBoard* owner = board();
    if (owner == nullptr || slot.x < 0 || slot.y < 0 || slot.x >= owner->getWidth() ||
        slot.y >= owner->getHeight())
        return;
    const auto index = static_cast<size_t>(owner->indexOfCoords(slot));
    if (index >= mSlotOverlays.size())
        return;
    SlotOverlaySprite* overlay = mSlotOverlays[index];
    overlay->setColor(color);
    overlay->setIsVisible(true);
    overlay->stopAllActions();
    CCActionInterval* pulse = CCSequence::actionOneTwo(CCFadeTo::actionWithDuration(0.7f, 170),
                                                       CCFadeTo::actionWithDuration(0.7f, 255));
    overlay->runAction(
        CCSequence::actionOneTwo(CCFadeTo::actionWithDuration(0.175f, 255),
                                 CCRepeat::actionWithAction(pulse, cPulseRepetitions)));
}

void CocosGameBoardLink::hideSlotHighlights() {
    for (SlotOverlaySprite* overlay : mSlotOverlays) {
        overlay->stopAllActions();
        overlay->runAction(
            CCSequence::actionOneTwo(CCFadeTo::actionWithDuration(0.125f, 0), CCHide::action()));
    }
}

void CocosGameBoardLink::showRangeArrows(const Entity* unit) {
    GameBoard* owner = board();
    if (mRangeArrows.size() != 4 || owner == nullptr || unit == nullptr || !unit->isAlive())
        return;
    const CCPoint origin = owner->pointForCoords(unit->mSlot, true);
    const int32_t range = unit->getRange();
    const std::array<GridSlot, 4> steps = {GridSlot(range, 0), GridSlot(0, -range),
                                           GridSlot(-range, 0), GridSlot(0, range)};
    for (size_t i = 0; i < 4; ++i) {
        GridSlot target(unit->mSlot.x + steps[i].x, unit->mSlot.y + steps[i].y);
        owner->clampCoords(target);
        const CCPoint end = owner->pointForCoords(target, true);
        const float dx = end.x - origin.x;
        const float dy = end.y - origin.y;
        const float distance = std::hypot(dx, dy);
        const float length =
            ((1.42f - static_cast<float>(steps[i].y) * 0.025f) * distance) / mCellSize.width;
        CCSprite* arrow = mRangeArrows[i];
        arrow->stopAllActions();
        arrow->setRotation(-std::atan2(dy, dx) * 180.0f / std::numbers::pi_v<float>);
        arrow->setPosition(origin);
        arrow->setScaleX(0.8f * length);
        arrow->runAction(CCSpawn::actionOneTwo(
            CCEaseInOut::actionWithAction(CCScaleTo::actionWithDuration(0.25f, length, 1.5f), 2.0f),
            CCFadeTo::actionWithDuration(0.2f, 255)));
    }
}

void CocosGameBoardLink::hideRangeArrows() {
    for (CCSprite* arrow : mRangeArrows) {
        arrow->stopAllActions();
        arrow->runAction(CCSpawn::actionOneTwo(CCScaleBy::actionWithDuration(0.15f, 0.5f, 1.0f),
                                               CCFadeTo::actionWithDuration(0.15f, 0)));
    }
}

PuppetInstance* CocosGameBoardLink::premiumPuppetAt(const GridSlot& slot) const {
    const GameBoard* owner = board();
    if (owner == nullptr)
        return nullptr;
    const auto found = mPremiumPuppetBySlot.find(owner->indexOfCoords(slot));
    return found != mPremiumPuppetBySlot.end() ? mPremiumPuppets[found->second] : nullptr;
}

PuppetInstance* CocosGameBoardLink::teleportEffectAt(const GridSlot& slot) const {
    const GameBoard* owner = board();
    if (owner == nullptr)
        return nullptr;
    const auto found = mTeleportBySlot.find(owner->indexOfCoords(slot));
    return found != mTeleportBySlot.end() ? mTeleportEffects[found->second] : nullptr;
}

void CocosGameBoardLink::showTeleporterEffect(const GridSlot& slot, float delay) {
    PuppetInstance* effect = teleportEffectAt(slot);
    if (effect == nullptr)
        return;
    effect->stopAllActions();
    effect->runAction(CCSequence::actions(CCDelayTime::actionWithDuration(delay), CCShow::action(),
                                          PuppetAnimAction::actionWithAnim(cIdleState, true, 0.0f),
                                          CCFadeIn::actionWithDuration(0.2f)));
}

void CocosGameBoardLink::hideTeleporterEffect(const GridSlot& slot, float delay) {
    PuppetInstance* effect = teleportEffectAt(slot);
    if (effect == nullptr)
        return;
    effect->stopAllActions();
    effect->runAction(CCSequence::actions(
        CCDelayTime::actionWithDuration(delay), CCFadeOut::actionWithDuration(0.2f),
        PuppetAnimAction::actionWithAnim(cIdleState, true, 0.0f), CCHide::action()));
}

void CocosGameBoardLink::hideTeleporterEffects() {
    for (PuppetInstance* effect : mTeleportEffects) {
        effect->stopAllActions();
        effect->setIsVisible(false);
    }
}

void CocosGameBoardLink::playPremiumPuppet(const GridSlot& slot, float delay) {
    PuppetInstance* puppet = premiumPuppetAt(slot);
    if (puppet == nullptr)
        return;
    // After "Play" the square goes back to its idle loop.
    puppet->runAction(CCSequence::actionOneTwo(
        CCDelayTime::actionWithDuration(delay),
        PuppetAnimAction::actionWithAnim(cPlayState, false, 0.0f, -1.0f, cIdleState,
                                         PuppetInstance::cDefaultBlend, puppet)));
}

void CocosGameBoardLink::highlightSlots(const GridSlot& from, const GridSlot& to,
                                        const ccColor3B& color) {
    for (int32_t y = std::min(from.y, to.y); y <= std::max(from.y, to.y); ++y)
        for (int32_t x = std::min(from.x, to.x); x <= std::max(from.x, to.x); ++x)
            highlightSlot(GridSlot(x, y), color);
}
