#include "rules/CocosEntityGridLink.h"

#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/GameSceneInterface.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCNode.h"

using cocos2d::CCPoint;
using cocos2d::CCSize;

CocosEntityGridLink::CocosEntityGridLink(EntityGrid* owner) : CocosLink(owner) {}

CocosEntityGridLink::~CocosEntityGridLink() = default;

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

void CocosEntityGridLink::buildVertexGrid() {
    mVertices.clear();
    const auto* grid = dynamic_cast<EntityGrid*>(mOwner);
    if (grid == nullptr)
        return;
    const float scale = cocos2d::CCDirector::sharedDirector()->getContentScaleFactor();
    const CCPoint offset = getCellOffset();
    const int32_t width = grid->getWidth();
    const int32_t height = grid->getHeight();
    mVertices.reserve(static_cast<size_t>(width + 1) * static_cast<size_t>(height + 1));
    for (int32_t r = 0; r <= height; ++r) {
        for (int32_t c = 0; c <= width; ++c) {
            const CCPoint corner = grid->latticePoint(c, r, offset);
            mVertices.push_back(cocos2d::ccVertex3F{corner.x * scale, corner.y * scale, 0.0f});
        }
    }
}

bool CocosEntityGridLink::getSlotCorners(int32_t x, int32_t y, std::array<float, 12>& out) const {
    const auto* grid = dynamic_cast<EntityGrid*>(mOwner);
    if (grid == nullptr || x < 0 || y < 0 || x >= grid->getWidth() || y >= grid->getHeight())
        return false;
    const auto columns = static_cast<size_t>(grid->getWidth()) + 1;
    if (mVertices.size() != columns * (static_cast<size_t>(grid->getHeight()) + 1))
        return false;
    const auto vertex = [&](int32_t line, int32_t column) {
        return mVertices[static_cast<size_t>(line) * columns + static_cast<size_t>(column)];
    };
    const cocos2d::ccVertex3F corners[4] = {vertex(y + 1, x), vertex(y, x), vertex(y + 1, x + 1),
                                            vertex(y, x + 1)};
    for (size_t i = 0; i < 4; ++i) {
        out[i * 3] = corners[i].x;
        out[i * 3 + 1] = corners[i].y;
        out[i * 3 + 2] = corners[i].z;
    }
    return true;
}

cocos2d::CCNode* CocosEntityGridLink::sceneNode() {
    return gGameScene != nullptr ? gGameScene->getSceneNode() : nullptr;
}

void CocosEntityGridLink::removeAndRelease(cocos2d::CCNode* node) {
    if (node == nullptr)
        return;
    node->removeFromParentAndCleanup(true);
    node->release();
}
