#include "rules/CocosEntityGridLink.h"

#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"

#include "platform/engine/CCNode.h"

using cocos2d::CCPoint;
using cocos2d::CCSize;

CocosEntityGridLink::CocosEntityGridLink(EntityGrid* owner) : CocosLink(owner) {}

bool CocosEntityGridLink::attach(const CCPoint& position, const CCSize& /*size*/) {
    const auto* grid = dynamic_cast<EntityGrid*>(mOwner);
    if (grid == nullptr)
        return false;
    mPosition = position;
    mSize = CCSize(static_cast<float>(grid->getWidth()) * mCellSize.width,
                   static_cast<float>(grid->getHeight()) * mCellSize.height);
    return true;
}

CCSize CocosEntityGridLink::getCellSize() const {
    return mCellSize;
}

float CocosEntityGridLink::getCellScale() const {
    return mFarScale;
}

CCPoint CocosEntityGridLink::getCellOffset() const {
    return CCPoint(0.0f, 0.0f);
}

void CocosEntityGridLink::refreshEntities(bool visible) {
    if (mNode != nullptr)
        mNode->setIsVisible(visible);
    const auto* grid = dynamic_cast<EntityGrid*>(mOwner);
    if (grid == nullptr)
        return;
    for (int32_t i = 0; i < grid->getSlotCount(); ++i) {
        const Entity* entity = grid->getEntityAtIndex(i);
        const CocosEntityLink* view = entity != nullptr ? entity->getEntityLink() : nullptr;
        if (cocos2d::CCNode* node = view != nullptr ? view->getMainNode() : nullptr)
            node->setIsVisible(visible);
    }
}
