#include "platform/engine/CCAffineTransform.h"

#include <algorithm>
#include <cmath>

namespace cocos2d {

CCPoint CCPointApplyAffineTransform(const CCPoint& point, const CCAffineTransform& t) {
    return CCPoint(t.a * point.x + t.c * point.y + t.tx, t.b * point.x + t.d * point.y + t.ty);
}

CCRect CCRectApplyAffineTransform(const CCRect& rect, const CCAffineTransform& t) {
    const float left = CCRect::CCRectGetMinX(rect);
    const float right = CCRect::CCRectGetMaxX(rect);
    const float bottom = CCRect::CCRectGetMinY(rect);
    const float top = CCRect::CCRectGetMaxY(rect);
    const CCPoint corners[4] = {
        CCPointApplyAffineTransform(CCPoint(left, bottom), t),
        CCPointApplyAffineTransform(CCPoint(right, bottom), t),
        CCPointApplyAffineTransform(CCPoint(left, top), t),
        CCPointApplyAffineTransform(CCPoint(right, top), t),
    };
    float minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const CCPoint& p : corners) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return CCRect(minX, minY, maxX - minX, maxY - minY);
}

CCAffineTransform CCAffineTransformConcat(const CCAffineTransform& first,
                                          const CCAffineTransform& second) {
    return CCAffineTransform{first.a * second.a + first.b * second.c,
                             first.a * second.b + first.b * second.d,
                             first.c * second.a + first.d * second.c,
                             first.c * second.b + first.d * second.d,
                             first.tx * second.a + first.ty * second.c + second.tx,
                             first.tx * second.b + first.ty * second.d + second.ty};
}

CCAffineTransform CCAffineTransformTranslate(const CCAffineTransform& t, float tx, float ty) {
    return CCAffineTransformConcat(CCAffineTransform{1, 0, 0, 1, tx, ty}, t);
}

CCAffineTransform CCAffineTransformRotate(const CCAffineTransform& t, float angle) {
    const float s = std::sin(angle);
    const float c = std::cos(angle);
    return CCAffineTransformConcat(CCAffineTransform{c, s, -s, c, 0, 0}, t);
}

CCAffineTransform CCAffineTransformScale(const CCAffineTransform& t, float sx, float sy) {
    return CCAffineTransformConcat(CCAffineTransform{sx, 0, 0, sy, 0, 0}, t);
}

CCAffineTransform CCAffineTransformInvert(const CCAffineTransform& t) {
    const float determinant = t.a * t.d - t.b * t.c;
    if (determinant == 0.0f)
        return CCAffineTransformIdentity;
    const float inv = 1.0f / determinant;
    return CCAffineTransform{inv * t.d,
                             -inv * t.b,
                             -inv * t.c,
                             inv * t.a,
                             inv * (t.c * t.ty - t.d * t.tx),
                             inv * (t.b * t.tx - t.a * t.ty)};
}

} // namespace cocos2d
