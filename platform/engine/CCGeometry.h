#pragma once

// Value types of the engine's 2-D geometry: points, sizes, rectangles, and
// the small point arithmetic the engine and its callers share.

namespace cocos2d {

class CCPoint {
public:
    CCPoint() = default;
    CCPoint(float x, float y) : x(x), y(y) {}

    static bool CCPointEqualToPoint(const CCPoint& a, const CCPoint& b) {
        return a.x == b.x && a.y == b.y;
    }
    bool operator==(const CCPoint& other) const = default;

    float x = 0.0f;
    float y = 0.0f;
};

class CCSize {
public:
    CCSize() = default;
    CCSize(float width, float height) : width(width), height(height) {}

    static bool CCSizeEqualToSize(const CCSize& a, const CCSize& b) {
        return a.width == b.width && a.height == b.height;
    }
    bool operator==(const CCSize& other) const = default;

    float width = 0.0f;
    float height = 0.0f;
};

class CCRect {
public:
    CCRect() = default;
    CCRect(float x, float y, float width, float height) : origin(x, y), size(width, height) {}

    static float CCRectGetMinX(const CCRect& rect) { return rect.origin.x; }
    static float CCRectGetMaxX(const CCRect& rect) { return rect.origin.x + rect.size.width; }
    static float CCRectGetMidX(const CCRect& rect) {
        return rect.origin.x + rect.size.width / 2.0f;
    }
    static float CCRectGetMinY(const CCRect& rect) { return rect.origin.y; }
    static float CCRectGetMaxY(const CCRect& rect) { return rect.origin.y + rect.size.height; }
    static float CCRectGetMidY(const CCRect& rect) {
        return rect.origin.y + rect.size.height / 2.0f;
    }
    // True when the point lies inside the rectangle or on its edges.
    static bool CCRectContainsPoint(const CCRect& rect, const CCPoint& point);
    static bool CCRectIntersectsRect(const CCRect& a, const CCRect& b);
    bool operator==(const CCRect& other) const = default;

    CCPoint origin;
    CCSize size;
};

inline bool CCRectContainsPoint(const CCRect& rect, const CCPoint& point) {
    return CCRect::CCRectContainsPoint(rect, point);
}

inline CCPoint CCPointMake(float x, float y) {
    return CCPoint(x, y);
}
inline CCPoint ccp(float x, float y) {
    return CCPoint(x, y);
}
inline CCSize CCSizeMake(float width, float height) {
    return CCSize(width, height);
}
inline CCRect CCRectMake(float x, float y, float width, float height) {
    return CCRect(x, y, width, height);
}

inline const CCPoint CCPointZero;
inline const CCSize CCSizeZero;
inline const CCRect CCRectZero;

inline CCPoint ccpAdd(const CCPoint& a, const CCPoint& b) {
    return CCPoint(a.x + b.x, a.y + b.y);
}
inline CCPoint ccpSub(const CCPoint& a, const CCPoint& b) {
    return CCPoint(a.x - b.x, a.y - b.y);
}
inline CCPoint ccpMult(const CCPoint& a, float factor) {
    return CCPoint(a.x * factor, a.y * factor);
}
inline CCPoint ccpNeg(const CCPoint& a) {
    return CCPoint(-a.x, -a.y);
}
inline float ccpDot(const CCPoint& a, const CCPoint& b) {
    return a.x * b.x + a.y * b.y;
}
inline float ccpLengthSQ(const CCPoint& a) {
    return ccpDot(a, a);
}
float ccpLength(const CCPoint& a);
float ccpDistance(const CCPoint& a, const CCPoint& b);

} // namespace cocos2d
