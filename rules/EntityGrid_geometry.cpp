// The on-screen layout of a grid. Rows are a perspective trapezoid: row 0
// (front) is one cell high and each row further back is 2.8 units lower;
// with a far-row scale s below 1 the grid narrows linearly toward the back,
// centred. Position, size, cell size and s come from the grid's view, so a
// grid without a view measures 0 and maps no point.

#include "rules/EntityGrid.h"

#include "rules/CocosEntityGridLink.h"
#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/SceneServices.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCNode.h"

#include <cmath>
#include <limits>

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace {

constexpr float cRowShrink = 2.8f;
// Where pointForCoords answers for a square outside the grid.
constexpr float cNoPointY = 123.0f;

// The measures of a grid's layout, read from its view.
struct Layout {
    explicit Layout(const EntityGrid& grid) {
        origin = grid.getViewPosition();
        size = grid.getViewSize();
        if (const auto* view = dynamic_cast<const CocosEntityGridLink*>(grid.getLink())) {
            cell = view->getCellSize();
            farScale = view->getCellScale();
            hasView = true;
        }
    }

    // How much of a row a row at height y takes, 1 at the front.
    float factor(const CCPoint& p) const {
        if (!hasView || farScale == 1.0f || size.height <= 0.0f)
            return 1.0f;
        if (p.y < origin.y || p.y > origin.y + size.height)
            return 1.0f;
        return 1.0f - ((p.y - origin.y) / size.height) * (1.0f - farScale);
    }

    // The point moved toward the centre line by its row's narrowing.
    CCPoint project(const CCPoint& p) const {
        const float f = factor(p);
        return CCPoint((p.x - origin.x) * f + origin.x + (1.0f - f) * 0.5f * size.width, p.y);
    }

    // Shrinking of the rows in front of row n: the sum of (i + 0.5) x 2.8.
    static float rowShift(int32_t n) {
        float shift = 0.0f;
        for (int32_t i = 0; i < n; ++i)
            shift += (static_cast<float>(i) + 0.5f) * cRowShrink;
        return shift;
    }

    CCPoint origin;
    CCSize size;
    CCSize cell;
    float farScale = 1.0f;
    bool hasView = false;
};

} // namespace

bool EntityGrid::containsPoint(const CCPoint& point) {
    return !isLocked() && !coordsForPoint(point).isNone();
}

GridSlot EntityGrid::coordsForPoint(const CCPoint& point) {
    const Layout layout(*this);
    const float f = layout.factor(point);
    const float cellWidth = layout.cell.width * f;
    if (!(cellWidth > 0.0f))
        return GridSlot();
    const float inset = (1.0f - f) * layout.size.width * 0.5f;
    const float column = std::floor((point.x - layout.origin.x - inset) / cellWidth);

    int32_t row = -1;
    float dy = point.y - layout.origin.y;
    if (dy >= 0.0f) {
        float rowHeight = layout.cell.height;
        for (int32_t r = 0; r < mHeight; ++r) {
            if (dy <= rowHeight) {
                row = r;
                break;
            }
            dy -= rowHeight;
            rowHeight -= cRowShrink;
        }
    }
    if (column < 0.0f || column >= static_cast<float>(mWidth) || row < 0)
        return GridSlot();
    return GridSlot(static_cast<int32_t>(column), row);
}

CCPoint EntityGrid::pointForCoords(const GridSlot& slot, bool perspective) {
    if (slot.x < 0 || slot.x >= mWidth || slot.y < 0 || slot.y >= mHeight)
        return CCPoint(0.0f, cNoPointY);
    const Layout layout(*this);
    const CCPoint point(layout.origin.x + layout.cell.width * static_cast<float>(slot.x) +
                            0.5f * layout.cell.width,
                        layout.origin.y + layout.cell.height * static_cast<float>(slot.y) +
                            0.5f * layout.cell.height - Layout::rowShift(slot.y));
    return perspective ? layout.project(point) : point;
}

CCPoint EntityGrid::latticePoint(int32_t column, int32_t rowLine, const CCPoint& offset) const {
    const Layout layout(*this);
    if (!layout.hasView)
        return CCPoint(0.0f, 0.0f);
    float y = layout.origin.y;
    for (int32_t r = 0; r < rowLine; ++r)
        y += layout.cell.height - cRowShrink * static_cast<float>(r);
    const float x = layout.origin.x + layout.cell.width * static_cast<float>(column);
    return layout.project(CCPoint(x + offset.x, y + offset.y));
}

CCPoint EntityGrid::snapPoint(const CCPoint& point) {
    return containsPoint(point) ? pointForCoords(coordsForPoint(point), true) : point;
}

Entity* EntityGrid::findNearestEntity(const CCPoint& point, Entity* excluded) {
    const cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
    const CCPoint scenePoint = director->convertToScene(point);
    const CCPoint glPoint = director->convertToGL(point);
    Entity* best = nullptr;
    float bestDistance = std::numeric_limits<float>::max();
    for (int32_t i = 0; i < getSlotCount(); ++i) {
        Entity* entity = getEntityAtIndex(i);
        if (entity == nullptr || entity == excluded)
            continue;
        const CocosEntityLink* view = entity->getEntityLink();
        const cocos2d::CCNode* node = view != nullptr ? view->getMainNode() : nullptr;
        if (node == nullptr || !entity->containsPoint(glPoint))
            continue;
        const float distance =
            cocos2d::ccpLengthSQ(cocos2d::ccpSub(node->getPosition(), scenePoint));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = entity;
        }
    }
    return best;
}

void EntityGrid::drawDebug() {
    const Layout layout(*this);
    const float scale = cocos2d::CCDirector::sharedDirector()->getContentScaleFactor();
    GridDebugDrawing drawing;
    drawing.mColor = cocos2d::ccColor4F{0.3f, 0.6f, 1.0f, 0.2f};
    drawing.mLineWidth = scale;
    drawing.mPointSize = scale;
    // Row lines from the front edge back, each narrowed by its perspective.
    auto project = [&layout](float x, float y) { return layout.project(CCPoint(x, y)); };
    const float left = layout.origin.x;
    const float right = layout.origin.x + layout.cell.width * static_cast<float>(mWidth);
    float y = layout.origin.y;
    std::vector<float> rowLines{y};
    for (int32_t r = 0; r < mHeight; ++r) {
        y += layout.cell.height - cRowShrink * static_cast<float>(r);
        rowLines.push_back(y);
    }
    for (const float lineY : rowLines) {
        drawing.mLines.push_back(project(left, lineY));
        drawing.mLines.push_back(project(right, lineY));
    }
    for (int32_t c = 0; c <= mWidth; ++c) {
        const float x = left + layout.cell.width * static_cast<float>(c);
        for (size_t r = 0; r + 1 < rowLines.size(); ++r) {
            drawing.mLines.push_back(project(x, rowLines[r]));
            drawing.mLines.push_back(project(x, rowLines[r + 1]));
        }
    }
    for (int32_t r = 0; r < mHeight; ++r)
        for (int32_t c = 0; c < mWidth; ++c)
            drawing.mPoints.push_back(pointForCoords(GridSlot(c, r), true));
    sceneServices().drawGridDebug(drawing);
}
