#include "rules/Entity.h"

#include "rules/CocosEntityLink.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/SceneServices.h"

#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"
#include "scene/sound/SoundPlayback.h"

#include "platform/engine/CCNode.h"

using cocos2d::CCEvent;
using cocos2d::CCPoint;
using cocos2d::CCTouch;

Entity::Entity(Game* game) : mGame(game) {}

Entity::~Entity() {
    delete mInventory;
    mInventory = nullptr;
    unlink();
    if (mLoopSoundId >= 0)
        stopSoundEffect(mLoopSoundId);
    if (mPonderLoopPlaying != 0 && mGame != nullptr)
        mGame->stopPonderSound();
}

bool Entity::init(int32_t id, int32_t protoId, int32_t owner) {
    const ProtoEntity* proto = Database::getProto(protoId);
    if (proto == nullptr)
        return false;
    mId = id;
    mProtoId = protoId;
    mOwner = owner;
    mHealth = proto->mHitPoints;
    mKnockedOutTurns = 0;
    mShields = 0;
    mCharge = proto->mMaxCharge;
    // A second init (a proto change) reuses the equipment grid, emptied:
    // items that were in it still point at it.
    if (mInventory == nullptr)
        mInventory = new EntityGrid(owner, mGame);
    mInventory->setSize(cInventoryWidth, 1);
    return true;
}

void Entity::setProto(int32_t protoId) {
    if (protoId == mProtoId || Database::getProto(protoId) == nullptr)
        return;
    if (!hasLink()) {
        init(mId, protoId, mOwner);
        return;
    }
    const cocos2d::CCNode* node = viewNode();
    const CCPoint position = node != nullptr ? node->getPosition() : getViewPosition();
    unlink();
    init(mId, protoId, mOwner);
    linkAt(position);
}

void Entity::changeState(EntityState state) {
    const bool couldDrag = canBeDragged();
    mState = state;
    if (!hasLink() || mGame == nullptr)
        return;
    const bool canDrag = canBeDragged();
    if (canDrag && !couldDrag)
        mGame->addTouchTarget(this);
    else if (!canDrag && couldDrag)
        mGame->removeTouchTarget(this);
}

bool Entity::ccTouchBegan(CCTouch* touch, CCEvent* event) {
    cocos2d::CCTargetedTouchDelegate* delegate = viewTouchDelegate();
    return delegate != nullptr && delegate->ccTouchBegan(touch, event);
}

void Entity::ccTouchMoved(CCTouch* touch, CCEvent* event) {
    if (cocos2d::CCTargetedTouchDelegate* delegate = viewTouchDelegate())
        delegate->ccTouchMoved(touch, event);
}

void Entity::ccTouchEnded(CCTouch* touch, CCEvent* event) {
    if (cocos2d::CCTargetedTouchDelegate* delegate = viewTouchDelegate())
        delegate->ccTouchEnded(touch, event);
}

void Entity::ccTouchCancelled(CCTouch* touch, CCEvent* event) {
    if (cocos2d::CCTargetedTouchDelegate* delegate = viewTouchDelegate())
        delegate->ccTouchCancelled(touch, event);
}

void Entity::createLink() {
    mLink = sceneServices().createEntityLink(this);
}

void Entity::setViewZOrder(int zOrder) {
    cocos2d::CCNode* node = viewNode();
    if (node != nullptr && node->getParent() != nullptr)
        node->getParent()->reorderChild(node, zOrder);
}

void Entity::refreshView() {
    if (mGrid != nullptr)
        setViewZOrder(mGrid->zOrderForCoords(mSlot));
}

void Entity::setTargetMarker(int32_t kind) {
    if (CocosEntityLink* view = getEntityLink())
        view->setTargetMarker(kind);
}

CocosEntityLink* Entity::getEntityLink() const {
    return dynamic_cast<CocosEntityLink*>(mLink);
}

cocos2d::CCNode* Entity::getPuppet() const {
    const ProtoEntity* proto = getProto();
    if (proto == nullptr || proto->mPuppetHandle < 0)
        return nullptr;
    return viewNode();
}

cocos2d::CCNode* Entity::viewNode() const {
    const CocosEntityLink* view = getEntityLink();
    return view != nullptr ? view->getMainNode() : nullptr;
}

cocos2d::CCTargetedTouchDelegate* Entity::viewTouchDelegate() const {
    CocosEntityLink* view = getEntityLink();
    return view != nullptr ? view->getTouchDelegate() : nullptr;
}

void Entity::playEffectSound(const std::string& name) {
    if (const cocos2d::CCNode* node = viewNode())
        playSoundEffectPanned(name, node->getPosition(), nullptr, false);
    else
        playSoundEffect(name, nullptr, false);
}

void Entity::applyCivVariant(int32_t civId) {
    if (mGame == nullptr || mGame->isLocalGame())
        return;
    const ProtoEntity* own = getProto();
    const ProtoCiv* civ = SettingsManager::instance().getCiv(civId);
    if (own == nullptr || civ == nullptr || !civ->mTileAllocation)
        return;
    // The civ's fixed tiles, up to its first random entry: the entity keeps
    // a proto the civ has, else takes the civ's last one of its class.
    int32_t variant = -1;
    for (const auto& entry : civ->mTileAllocation->mEntries) {
        if (entry->mType == TileAllocationEntry::cRandomChoice)
            break;
        for (const auto& tile : entry->mTiles) {
            const int32_t protoId = Database::getProtoIdByName(tile->mName);
            const ProtoEntity* proto = Database::getProto(protoId);
            if (proto == nullptr)
                continue;
            if (protoId == mProtoId)
                return;
            if (proto->mClassName == own->mClassName)
                variant = protoId;
        }
    }
    if (variant >= 0)
        setProto(variant);
}
