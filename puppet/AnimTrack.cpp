#include "puppet/AnimTrack.h"

#include "puppet/PuppetKeyframe.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

// The same for every key of every channel; the files cannot change them.
constexpr float cTension = 0.5f;
constexpr float cContinuity = 0.5f;
constexpr float cBias = 0.0f;

constexpr float cDegreesToRadians = 0.0174533f;
constexpr float cRadiansToDegrees = 57.29578f;

float clampUnit(float u) {
    if (!(u > 0.0f))
        return 0.0f;
    return u > 1.0f ? 1.0f : u;
}

uint8_t unitToByte(float value) {
    const float scaled = value * 255.0f;
    if (!(scaled > 0.0f))
        return 0;
    return scaled >= 255.0f ? 255 : static_cast<uint8_t>(scaled);
}

} // namespace

TrackPlace findTrackPlace(const std::vector<float>& times, float startTime, float t) {
    const float local = t - startTime;
    const auto count = static_cast<int32_t>(times.size());
    int32_t lo = 0;
    int32_t hi = count - 1;
    int32_t answer = count - 1; // when the search finds none
    while (lo <= hi) {
        const int32_t mid = (lo + hi) / 2;
        if (times[static_cast<size_t>(mid)] < local) {
            lo = mid + 1;
        } else if (mid == 0 || times[static_cast<size_t>(mid - 1)] < local) {
            answer = mid;
            break;
        } else {
            hi = mid - 1;
        }
    }
    TrackPlace place;
    place.index = answer;
    if (answer < 0)
        return place;
    const float previous = answer == 0 ? 0.0f : times[static_cast<size_t>(answer - 1)];
    place.u = clampUnit((local - previous) / (times[static_cast<size_t>(answer)] - previous));
    return place;
}

template <class Value>
bool SplineTrack<Value>::build(const std::vector<Value>& keys, const std::vector<float>& times) {
    mValues.clear();
    mTimes.clear();
    mStartTime = 0.0f;
    if (keys.empty() || keys.size() != times.size())
        return false;
    mStartTime = times[0];
    if (keys.size() == 1) {
        mValues.push_back(Segment{keys[0], Value{}, Value{}, Value{}});
        mTimes.push_back(0.0f);
        return true;
    }
    const size_t last = keys.size() - 1;
    constexpr float scale = (1.0f - cTension) / 2.0f;
    for (size_t i = 0; i < last; ++i) {
        if (!(times[i + 1] > times[i])) {
            mValues.clear();
            mTimes.clear();
            return false;
        }
        const Value& before = keys[i == 0 ? 0 : i - 1];
        const Value& from = keys[i];
        const Value& to = keys[i + 1];
        const Value& after = keys[std::min(i + 2, last)];
        const Value d = to - from;
        const Value m0 = scale * ((1.0f + cBias) * (1.0f - cContinuity) * (from - before) +
                                  (1.0f - cBias) * (1.0f + cContinuity) * d);
        const Value m1 = scale * ((1.0f + cBias) * (1.0f + cContinuity) * d +
                                  (1.0f - cBias) * (1.0f - cContinuity) * (after - to));
        mValues.push_back(Segment{from, m0, 3.0f * d - 2.0f * m0 - m1, m0 + m1 - 2.0f * d});
        mTimes.push_back(times[i + 1] - mStartTime);
    }
    return true;
}

template class SplineTrack<float>;
template class SplineTrack<SplinePoint>;

ccColor3B ColorTrack::evaluate(float t) const {
    const TrackPlace place = findKey(t);
    if (place.index <= 0)
        return place.index < 0 ? ccColor3B{} : mValues[0];
    const ccColor3B& from = mValues[static_cast<size_t>(place.index - 1)];
    const ccColor3B& to = mValues[static_cast<size_t>(place.index)];
    const auto blend = [u = place.u](uint8_t a, uint8_t b) {
        const float start = a * cByteToUnit;
        return start + (b * cByteToUnit - start) * u;
    };
    return colorFloatToBytes(blend(from.r, to.r), blend(from.g, to.g), blend(from.b, to.b));
}

float AngleTrack::evaluate(float t) const {
    const TrackPlace place = findKey(t);
    if (place.index <= 0)
        return place.index < 0 ? 0.0f : mValues[0];
    const float from = mValues[static_cast<size_t>(place.index - 1)] * cDegreesToRadians;
    const float to = mValues[static_cast<size_t>(place.index)] * cDegreesToRadians;
    return rotateTowards(from, to, place.u) * cRadiansToDegrees;
}

float rotateTowards(float a, float b, float u) {
    const float px = std::cos(a / 2.0f);
    const float py = std::sin(a / 2.0f);
    float qx = std::cos(b / 2.0f);
    float qy = std::sin(b / 2.0f);
    float d = px * qx + py * qy;
    if (d < 0.0f) {
        d = -d;
        qx = -qx;
        qy = -qy;
    }
    float w0 = 1.0f - u;
    float w1 = u;
    if (1.0f - d > 0.001f) {
        const float theta = std::acos(d);
        const float s = std::sin(theta);
        w0 = std::sin((1.0f - u) * theta) / s;
        w1 = std::sin(u * theta) / s;
    }
    return 2.0f * std::atan2(w0 * py + w1 * qy, w0 * px + w1 * qx);
}

ccColor3B colorFloatToBytes(float red, float green, float blue) {
    return ccColor3B{unitToByte(red), unitToByte(green), unitToByte(blue)};
}
