#pragma once

// 2-D affine transforms: x' = a x + c y + tx, y' = b x + d y + ty.

#include "platform/engine/CCGeometry.h"

namespace cocos2d {

struct CCAffineTransform {
    float a = 1.0f;
    float b = 0.0f;
    float c = 0.0f;
    float d = 1.0f;
    float tx = 0.0f;
    float ty = 0.0f;
};

inline CCAffineTransform CCAffineTransformMake(float a, float b, float c, float d, float tx,
                                               float ty) {
    return CCAffineTransform{a, b, c, d, tx, ty};
}
inline const CCAffineTransform CCAffineTransformIdentity;

CCPoint CCPointApplyAffineTransform(const CCPoint& point, const CCAffineTransform& t);
CCRect CCRectApplyAffineTransform(const CCRect& rect, const CCAffineTransform& t);
// first applied, then second.
CCAffineTransform CCAffineTransformConcat(const CCAffineTransform& first,
                                          const CCAffineTransform& second);
CCAffineTransform CCAffineTransformTranslate(const CCAffineTransform& t, float tx, float ty);
// Rotation by an angle in radians, counter-clockwise.
CCAffineTransform CCAffineTransformRotate(const CCAffineTransform& t, float angle);
CCAffineTransform CCAffineTransformScale(const CCAffineTransform& t, float sx, float sy);
// The identity for a transform that cannot be inverted.
CCAffineTransform CCAffineTransformInvert(const CCAffineTransform& t);

} // namespace cocos2d
