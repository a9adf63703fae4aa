#include "platform/engine/CCGeometry.h"

#include <cmath>

namespace cocos2d {

bool CCRect::CCRectContainsPoint(const CCRect& rect, const CCPoint& point) {
    return point.x >= CCRectGetMinX(rect) && point.x <= CCRectGetMaxX(rect) &&
           point.y >= CCRectGetMinY(rect) && point.y <= CCRectGetMaxY(rect);
}

bool CCRect::CCRectIntersectsRect(const CCRect& a, const CCRect& b) {
    return !(CCRectGetMaxX(a) < CCRectGetMinX(b) || CCRectGetMaxX(b) < CCRectGetMinX(a) ||
             CCRectGetMaxY(a) < CCRectGetMinY(b) || CCRectGetMaxY(b) < CCRectGetMinY(a));
}

float ccpLength(const CCPoint& a) {
    return std::sqrt(ccpLengthSQ(a));
}

float ccpDistance(const CCPoint& a, const CCPoint& b) {
    return ccpLength(ccpSub(a, b));
}

} // namespace cocos2d
