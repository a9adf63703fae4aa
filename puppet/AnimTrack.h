#pragma once

// The tracks of an animation node: the kept keys of one channel, turned at
// load into what evaluation needs, so that an evaluation is one binary search
// and a polynomial or a blend.
//
// Every track holds its values, their times relative to its start time and
// the start time (the time of the node's first frame). A spline track
// (Kochanek-Bartels, for translation, scale and alpha) holds one cubic
// segment per pair of neighbouring keys, times[i] being the end of segment
// i; a linear track (the tint colour, the rotation) holds the keys
// themselves, times[0] being 0. A channel of one key holds that key's value
// at every time. Times outside the track clamp to its first or last value.

#include "platform/engine/ccTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A two-dimensional spline value (translation, scale).
struct SplinePoint {
    float x = 0.0f;
    float y = 0.0f;
};

inline SplinePoint operator+(SplinePoint a, SplinePoint b) {
    return {a.x + b.x, a.y + b.y};
}
inline SplinePoint operator-(SplinePoint a, SplinePoint b) {
    return {a.x - b.x, a.y - b.y};
}
inline SplinePoint operator*(float f, SplinePoint a) {
    return {f * a.x, f * a.y};
}

// Where a time falls in a track: the segment or key index and the parameter
// 0..1 within it.
struct TrackPlace {
    int32_t index = 0;
    float u = 0.0f;
};

// The one search of both kinds of track: the first index whose time is not
// before t - startTime (the last index when there is none) and the
// parameter from the previous time (0 for index 0) to that one, clamped to
// 0..1 (a parameter that is not a number reads 0). Index -1 for a track
// without values.
TrackPlace findTrackPlace(const std::vector<float>& times, float startTime, float t);

// One cubic segment: p + m0 u + a u^2 + b u^3.
template <class Value> struct SplineSegment {
    Value p{};
    Value m0{};
    Value a{};
    Value b{};

    Value at(float u) const { return p + u * (m0 + u * (a + u * b)); }
};

template <class Value> class SplineTrack {
public:
    using Segment = SplineSegment<Value>;

    // Builds the segments through keys at times (strictly increasing; a key
    // whose time is not after the previous one stops the build, which
    // reports false and leaves the track empty). Every key has the tension
    // 0.5, the continuity 0.5 and the bias 0. One key gives one constant
    // segment.
    bool build(const std::vector<Value>& keys, const std::vector<float>& times);

    TrackPlace findSegment(float t) const { return findTrackPlace(mTimes, mStartTime, t); }
    // The value at t; a default value for an empty track.
    Value evaluate(float t) const {
        const TrackPlace place = findSegment(t);
        return place.index < 0 ? Value{} : mValues[static_cast<size_t>(place.index)].at(place.u);
    }
    // The end of the last segment, relative to the start time; 0 when none.
    float endTime() const { return mTimes.empty() ? 0.0f : mTimes.back(); }

    std::vector<Segment> mValues;
    std::vector<float> mTimes; // end of each segment
    float mStartTime = 0.0f;
};

// Keys interpolated one pair at a time.
template <class Key> class LinearTrack {
public:
    // Keeps keys with their times (strictly increasing; false, and the track
    // left empty, when one is not after the previous one). One key is held
    // at every time.
    bool setKeys(const std::vector<Key>& keys, const std::vector<float>& times) {
        clear();
        if (keys.empty() || keys.size() != times.size())
            return false;
        for (size_t i = 1; i < times.size(); ++i)
            if (!(times[i] > times[i - 1]))
                return false;
        mStartTime = times[0];
        mValues = keys;
        for (float time : times)
            mTimes.push_back(time - mStartTime);
        return true;
    }

    TrackPlace findKey(float t) const { return findTrackPlace(mTimes, mStartTime, t); }

    std::vector<Key> mValues;
    std::vector<float> mTimes; // of each key, relative to the start
    float mStartTime = 0.0f;

protected:
    void clear() {
        mValues.clear();
        mTimes.clear();
        mStartTime = 0.0f;
    }
};

// The tint: 8-bit colours blended channel by channel.
class ColorTrack : public LinearTrack<cocos2d::ccColor3B> {
public:
    // The colour at t; black for an empty track.
    cocos2d::ccColor3B evaluate(float t) const;
};

// The rotation in degrees, interpolated along the shorter arc.
class AngleTrack : public LinearTrack<float> {
public:
    // The angle at t, between -360 and 360 degrees; 0 for an empty track.
    float evaluate(float t) const;
};

// The angle u of the way from a to b (radians) along the shorter arc,
// through half-angle unit vectors; between -2 pi and 2 pi.
float rotateTowards(float a, float b, float u);

// Each channel 0..1 as a byte: times 255, clamped to 0..255 (a value that
// is not a number reads 0), truncated.
cocos2d::ccColor3B colorFloatToBytes(float red, float green, float blue);
