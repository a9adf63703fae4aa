#include "rules/CocosTileRackLink.h"

#include "rules/CocosEntityLink.h"
#include "rules/CurrentCiv.h"
#include "rules/Entity.h"
#include "rules/TileRack.h"

#include "platform/render/CCSprite.h"

using namespace cocos2d;

namespace {

constexpr int cRackZOrder = 5;

} // namespace

CocosTileRackLink::CocosTileRackLink(TileRack* owner) : CocosEntityGridLink(owner) {
    mCellSize = CCSize(49.0f, 42.0f);
}

CocosTileRackLink::~CocosTileRackLink() {
    dropNode(mSprite);
    mNode = nullptr;
}

bool CocosTileRackLink::attach(const CCPoint& position, const CCSize& size) {
    CCNode* scene = sceneNode();
    CCSize art(0.0f, 0.0f);
    if (scene != nullptr && mOwner != nullptr) {
        mSprite =
            CCSprite::spriteWithFile(currentPlayerIsKx4a() ? "TileRackKX4.png" : "TileRack.png");
        mSprite->retain();
        mSprite->setPosition(position);
        scene->addChild(mSprite, cRackZOrder);
        mNode = mSprite;
        art = mSprite->getContentSize();
    }
    return CocosEntityGridLink::attach(
        CCPoint(position.x - art.width / 2, position.y - art.height / 2), size);
}

void CocosTileRackLink::setTilesVisible(bool visible) {
    const auto* rack = dynamic_cast<TileRack*>(mOwner);
    if (rack == nullptr)
        return;
    for (int32_t i = 0; i < rack->getSlotCount(); ++i) {
        const Entity* entity = rack->getEntityAtIndex(i);
        const CocosEntityLink* view = entity != nullptr ? entity->getEntityLink() : nullptr;
        if (CCNode* node = view != nullptr ? view->getMainNode() : nullptr)
            node->setIsVisible(visible);
    }
}
