#include "scene/EntityView.h"

#include "scene/GameScene.h"
#include "scene/widgets/HealingBeamSprite.h"
#include "scene/widgets/HealthBar.h"
#include "scene/widgets/TooltipManager.h"

#include "content/protos/Database.h"
#include "content/protos/ProtoEntity.h"
#include "content/settings/SettingsManager.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"
#include "rules/AnimStateIds.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/GameRecord.h"
#include "rules/Player.h"
#include "rules/TileRack.h"
#include "rules/core/RNG.h"

#include "platform/engine/CCAnimation.h"
#include "platform/engine/CCMutableArray.h"
#include "platform/engine/CCSpriteFrame.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "platform/render/CCTexture2D.h"
#include "platform/render/CCTextureCache.h"

#include <string>

using cocos2d::CCNode;
using cocos2d::CCPoint;
using cocos2d::CCSize;
using cocos2d::CCSprite;

namespace {

// The running game scene with its members; null without one.
GameScene* currentScene() {
    return dynamic_cast<GameScene*>(gGameScene);
}

// Adds a node to the scene's node (when there is a scene), at z or at its own z.
void addToScene(CCNode* node, const int* zOrder) {
    CCNode* scene = gGameScene != nullptr ? gGameScene->getSceneNode() : nullptr;
    if (scene == nullptr || node == nullptr)
        return;
    if (zOrder != nullptr)
        scene->addChild(node, *zOrder);
    else
        scene->addChild(node);
}

// Removes a node from its parent with clean-up and releases it; null is skipped.
template <class T> void dropNode(T*& node) {
    if (node == nullptr)
        return;
    node->removeFromParentAndCleanup(true);
    node->release();
    node = nullptr;
}

// An empty, autoreleased sprite: no texture, white, centred anchor.
CCSprite* bareSprite() {
    auto* sprite = new CCSprite();
    sprite->init();
    sprite->autorelease();
    return sprite;
}

// The sheet file of the second team: the first "Blue" becomes "Red".
std::string secondTeamSheet(std::string file) {
    const size_t blue = file.find("Blue");
    if (blue != std::string::npos)
        file.replace(blue, 4, "Red");
    return file;
}

// The puppet tier of a unit: its upgrade level, its items that upgrade the
// puppet and a held bloodrage buff.
int32_t puppetTier(const Entity& entity) {
    int32_t tier = entity.mPuppetUpgradeLevel + (entity.hasBloodrageBuff() ? 1 : 0);
    if (entity.mInventory == nullptr)
        return tier;
    for (int32_t i = 0; i < entity.mInventory->getSlotCount(); ++i) {
        const Entity* item = entity.mInventory->getEntityAtIndex(i);
        const ProtoEntity* proto = item != nullptr ? item->getProto() : nullptr;
        if (proto != nullptr && proto->mBuffInfo && proto->mBuffInfo->mUpgradesPuppet)
            ++tier;
    }
    return tier;
}

} // namespace

EntityView::EntityView(Entity* owner) : CocosEntityLink(owner) {}

Entity* EntityView::entity() const {
    return dynamic_cast<Entity*>(getOwner());
}

PuppetInstance* EntityView::puppet() const {
    return dynamic_cast<PuppetInstance*>(mNode);
}

bool EntityView::hasLoadedPuppet() const {
    const Entity* owner = entity();
    const ProtoEntity* proto = owner != nullptr ? owner->getProto() : nullptr;
    return puppet() != nullptr && proto != nullptr &&
           PuppetRegistry::getPuppet(proto->mPuppetHandle) != nullptr;
}

CCPoint EntityView::overAnchor(float y) const {
    const CCPoint anchor = mNode->getAnchorPoint();
    return CCPoint(anchor.x * mNode->getContentSize().width, y);
}

bool EntityView::ownerIsKnown(const Entity& entity) const {
    const Game* game = entity.mGame;
    if (game == nullptr)
        return false;
    if (game->isLocalGame())
        return true;
    const GameRecord* record = game->getGameRecord();
    return record != nullptr && record->getPlayer(entity.mOwner) != nullptr;
}

bool EntityView::attach(const CCPoint& position, const CCSize& size) {
    Entity* owner = entity();
    if (owner == nullptr)
        return false;
    CocosEntityLink::attach(position, size);
    ProtoEntity* proto = Database::getProto(owner->mProtoId);
    if (proto == nullptr) {
        owner->refreshView();
        return true;
    }
    if (!ownerIsKnown(*owner))
        return false;
    const bool secondTeam = owner->mOwner == 1;
    if (proto->mPuppetHandle < 0 && !proto->mPuppetName.empty())
        proto->mPuppetHandle = PuppetRegistry::loadPuppet(proto->mPuppetName);

    if (PuppetRegistry::getPuppet(proto->mPuppetHandle) != nullptr) {
        if (!buildPuppet(*owner, *proto, secondTeam))
            return false;
    } else if (proto->mAtlas && !proto->mAtlas->mImage.empty()) {
        buildSpriteSheetAnimations(*proto->mAtlas, secondTeam);
        const ProtoPoint anchor = proto->mAnchorPoint;
        mNode->setAnchorPoint(secondTeam ? CCPoint(1.0f - anchor.x, anchor.y)
                                         : CCPoint(anchor.x, anchor.y));
        if (secondTeam)
            static_cast<CCSprite*>(mNode)->setFlipX(true);
    } else {
        buildSprite(*proto, secondTeam);
    }

    if (proto->mType == cEntityUnit)
        buildUnitParts(*owner, *proto, secondTeam);
    else if (proto->mType == cEntityGear || proto->mType == cEntityBuff ||
             proto->mType == cEntityPower)
        createAuraOverlays();

    mNode->setPosition(position);
    if (EntityGrid* items = owner->mInventory)
        for (int32_t i = 0; i < items->getSlotCount(); ++i)
            if (const Entity* item = items->getEntityAtIndex(i))
                applyEquipment(item->getProto(), false);
    registerTooltip(*owner, *proto);
    mNode->retain();
    if (owner->canBeDragged() && owner->mGame != nullptr)
        owner->mGame->addTouchTarget(owner);
    owner->refreshView();
    return true;
}

bool EntityView::buildPuppet(Entity& entity, ProtoEntity& proto, bool secondTeam) {
    int32_t handle = proto.mPuppetHandle;
    if (entity.mPuppetUpgradeLevel > 0)
        handle = proto.getUpgradePuppetHandle(entity.mPuppetUpgradeLevel - 1);
    else if (entity.hasBloodrageBuff())
        handle = proto.getUpgradePuppetHandle(0);
    PuppetInstance* node = PuppetInstance::create(handle, entity.getTeamColor());
    if (node == nullptr)
        return false;
    mNode = node;
    const int32_t idle = entity.resolveAnimationState(cAnimStateIdle, false);
    node->playAnimation(idle, static_cast<float>(gRng.rand()), true, PuppetInstance::cDefaultBlend);
    if (secondTeam)
        node->setFlipX(true);
    addToScene(node, nullptr);
    node->setAnchorPoint(CCPoint(proto.mAnchorPoint.x, proto.mAnchorPoint.y));
    node->addCategory(PuppetRegistry::categoryIndex(entity.mOwner == 0 ? "Player1" : "Player2"));
    setHealthCategory(entity.getHealthFraction());
    // The crossover team's vanity layer, for a player whose avatar is one of
    // its class avatars.
    const ProtoCiv* crossover = SettingsManager::instance().civForName("kx4a");
    const Player* player = entity.getOwner();
    const GameScene* scene = currentScene();
    if (crossover != nullptr && player != nullptr && crossover->mId == player->mCivId &&
        (entity.mOwner == 0 || entity.mOwner == 1) && scene != nullptr &&
        scene->mClassAvatar[static_cast<size_t>(entity.mOwner)])
        node->addCategory(PuppetRegistry::categoryIndex("kx4vanity"));
    return true;
}

void EntityView::buildSprite(const ProtoEntity& proto, bool secondTeam) {
    const std::string& image = secondTeam && !proto.mArt2.empty() ? proto.mArt2 : proto.mArt;
    CCSprite* sprite = image.empty() ? bareSprite() : CCSprite::spriteWithFile(image);
    mNode = sprite;
    const ProtoPoint anchor = proto.mAnchorPoint;
    if (secondTeam) {
        sprite->setAnchorPoint(CCPoint(1.0f - anchor.x, anchor.y));
        sprite->setFlipX(true);
    } else {
        sprite->setAnchorPoint(CCPoint(anchor.x, anchor.y));
    }
    const int zOrder = 1;
    addToScene(sprite, &zOrder);
}

void EntityView::buildSpriteSheetAnimations(const AtlasInfo& atlas, bool secondTeam) {
    if (atlas.mImage.empty())
        return;
    const std::string file = secondTeam ? secondTeamSheet(atlas.mImage) : atlas.mImage;
    cocos2d::CCTexture2D* texture = cocos2d::CCTextureCache::sharedTextureCache()->addImage(file);
    const float cellWidth = static_cast<float>(atlas.mCellDimX);
    const float cellHeight = static_cast<float>(atlas.mCellDimY);
    const int32_t perRow = atlas.mCellsPerRow;
    const int32_t count =
        perRow > 0 && atlas.mCellsPerColumn > 0 ? perRow * atlas.mCellsPerColumn : 0;
    std::vector<cocos2d::CCSpriteFrame*> frames;
    frames.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const int32_t column = i % perRow;
        const int32_t row = i / perRow;
        cocos2d::CCSpriteFrame* frame = cocos2d::CCSpriteFrame::frameWithTexture(
            texture,
            cocos2d::CCRect(static_cast<float>(atlas.mCellDimX * column),
                            static_cast<float>(atlas.mCellDimY * row), cellWidth, cellHeight));
        frames.push_back(frame);
        cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFrame(
            frame, file + "_frame_" + std::to_string(i));
    }
    if (count > 0)
        for (int32_t s = 0; s < cStateCount; ++s) {
            cocos2d::CCAnimation* animation = cocos2d::CCAnimation::animation();
            animation->setName("anim " + std::to_string(s));
            animation->addFrame(frames[static_cast<size_t>(s % count)]);
            animation->retain();
            mAnimations[static_cast<size_t>(s)] = animation;
        }
    // A sheet without cells gives a bare sprite rather than one of no frame.
    CCSprite* sprite =
        frames.empty() ? bareSprite() : CCSprite::spriteWithSpriteFrame(frames.front());
    mNode = sprite;
    addToScene(sprite, nullptr);
}

void EntityView::buildUnitParts(Entity& entity, ProtoEntity& proto, bool secondTeam) {
    GameScene* scene = currentScene();
    const CCSize size = mNode->getContentSize();
    const CCPoint anchor = mNode->getAnchorPoint();
    // The health bar, only over a texture that loaded; a bar that cannot be
    // built is dropped.
    const bool current = entity.mGame != nullptr && entity.mOwner == entity.mGame->mCurrentPlayer;
    cocos2d::CCTexture2D* texture = scene == nullptr ? nullptr
                                    : current        ? scene->mHealthGreenTexture
                                                     : scene->mHealthRedTexture;
    if (texture != nullptr) {
        mHealthBar = new HealthBar();
        if (mHealthBar->init(texture, CCPoint(0.5f, 0.5f), secondTeam ? 3 : 2)) {
            mHealthBar->setPosition(
                CCPoint(anchor.x * size.width, anchor.y * size.height + cHealthBarHeight));
            mNode->addChild(mHealthBar, cOverlayZOrder);
            updateHealthBar(0.0f);
            mHealthBar->stopAllActions();
            mHealthBar->setOpacity(0);
            mHealthBar->setIsVisible(false);
        } else {
            mHealthBar->release();
            mHealthBar = nullptr;
        }
    }
    // The target marker, only from a reticle frame the scene has.
    if (scene != nullptr && scene->mReticleFrames[0] != nullptr) {
        mTargetMarker = CCSprite::spriteWithSpriteFrame(scene->mReticleFrames[0]);
        mTargetMarker->setPosition(
            CCPoint(anchor.x * size.width, anchor.y * size.height + cTargetMarkerHeight));
        mTargetMarker->retain();
        mTargetMarker->setOpacity(0);
        mTargetMarker->setIsVisible(false);
        mNode->addChild(mTargetMarker, cOverlayZOrder);
    }
    setCharge(entity.mCharge);
    if (proto.mVictoryUnit) {
        buildCrystalDebuffPuppets();
        const bool down = entity.mState == cStateKnockedOut || entity.mState == cStateDead;
        setCrystalDebuffLevel(down ? 3 : 0, false, 0.0f);
    }
    createAuraOverlays();
    applyState(entity.mState);
    if (entity.isAlive() && entity.mGame != nullptr && entity.mGrid != nullptr &&
        entity.mGrid == entity.mGame->mGameBoard) {
        updatePremiumTileAura(entity.mSlot, true, 0.0f, false);
        if (proto.mBuffInfo && proto.mBuffInfo->mAuraType != -1)
            showAura(proto.mBuffInfo->mAuraType, true, 0.0f, true);
    }
    if (entity.mOngoingTargetEntityID != -1 && entity.mGame != nullptr)
        showLink(entity.mGame->getEntity(entity.mOngoingTargetEntityID), false);
    const int32_t tier = puppetTier(entity);
    PuppetInstance* node = puppet();
    if (node != nullptr && tier > 0 &&
        tier <= static_cast<int32_t>(proto.mUpgradePuppetNames.size()))
        node->changePuppet(proto.getUpgradePuppetHandle(tier - 1));
}

void EntityView::buildCrystalDebuffPuppets() {
    const struct {
        const char* name;
        int zOrder;
        PuppetInstance** field;
    } parts[] = {{"Effects/CrystalDebuffFront01", 10, &mCrystalDebuffFront},
                 {"Effects/CrystalDebuff01", -10, &mCrystalDebuffBack}};
    for (const auto& part : parts) {
        PuppetInstance* debuff = PuppetInstance::create(PuppetRegistry::loadPuppet(part.name),
                                                        cocos2d::ccc3(255, 255, 255));
        debuff->setPosition(overAnchor(0.0f));
        debuff->retain();
        debuff->setIsVisible(false);
        mNode->addChild(debuff, part.zOrder);
        *part.field = debuff;
    }
}

void EntityView::registerTooltip(const Entity& entity, const ProtoEntity& proto) {
    const Game* game = entity.mGame;
    if (game == nullptr || entity.mGrid == nullptr)
        return;
    const Player* owner = game->getPlayer(entity.mOwner < 0 ? game->mCurrentPlayer : entity.mOwner);
    const bool onBoard = entity.mGrid == game->mGameBoard;
    const bool onOwnRack = owner != nullptr && entity.mGrid == owner->mTileRack;
    if (!onBoard && !onOwnRack)
        return;
    mTooltipKind = proto.mVictoryUnit ? 2 : 0;
    TooltipProtocol::showTooltipIndicator();
    gTooltipManager.addTarget(this);
}

CCPoint EntityView::getPosition() const {
    return mNode != nullptr ? mNode->getPosition() : CocosEntityLink::getPosition();
}

CCPoint EntityView::getTooltipPosition() const {
    const CCPoint at = getPosition();
    const Entity* owner = entity();
    const ProtoEntity* proto = owner != nullptr ? owner->getProto() : nullptr;
    if (proto != nullptr && proto->mVictoryUnit)
        return at;
    return CCPoint(at.x + 15.0f, at.y);
}

CCPoint EntityView::getTooltipIndicatorPosition() const {
    return getPosition();
}

void EntityView::forgetDragTooltip(GameScene& scene) const {
    const Entity* owner = entity();
    if (owner == nullptr || scene.mDragTooltipEntity != owner)
        return;
    scene.mDragTooltipEntity = nullptr;
    if (scene.mDragTooltip != nullptr) {
        scene.mDragTooltip->removeFromParentAndCleanup(true);
        scene.mDragTooltip->release();
        scene.mDragTooltip = nullptr;
    }
}

EntityView::~EntityView() {
    Entity* owner = entity();
    // The entity's own game drops it from its touch targets (not whichever
    // game is shown now).
    if (owner != nullptr && owner->mGame != nullptr)
        owner->mGame->removeTouchTarget(owner);
    if (mHealthBar != nullptr) {
        mHealthBar->removeFromParentAndCleanup(true);
        mHealthBar->release();
        mHealthBar = nullptr;
    }
    dropNode(mTargetMarker);
    dropNode(mLinkBeam);
    dropNode(mLinkBeam2);
    if (mNode != nullptr) {
        if (mNode->getParent() != nullptr)
            mNode->removeFromParentAndCleanup(true);
        mNode->release();
        mNode = nullptr;
    }
    for (cocos2d::CCAnimation*& animation : mAnimations)
        cocos2d::ccSafeRelease(animation);
    if (GameScene* scene = currentScene()) {
        if (mTooltipIndicator != nullptr) {
            if (mTooltipIndicator->getParent() != nullptr)
                mTooltipIndicator->removeFromParentAndCleanup(true);
            cocos2d::ccSafeRelease(mTooltipIndicator);
        }
        // A drag tooltip must not outlive the view it shows.
        forgetDragTooltip(*scene);
    }
    gTooltipManager.removeTarget(this);
    if (owner != nullptr && owner->mInventory != nullptr)
        for (int32_t i = 0; i < owner->mInventory->getSlotCount(); ++i)
            if (Entity* item = owner->mInventory->getEntityAtIndex(i))
                item->unlink();
    cocos2d::ccSafeRelease(mCrystalDebuffFront);
    cocos2d::ccSafeRelease(mCrystalDebuffBack);
    for (PuppetInstance*& aura : mAuras)
        cocos2d::ccSafeRelease(aura);
}
