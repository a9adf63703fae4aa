#include "puppet/PuppetAnimNode.h"

#include "puppet/PuppetRegistry.h"

#include <cmath>

using namespace cocos2d;

namespace {

// A frame moves a channel when it differs from the last key kept there, or
// from the next frame, by more than the channel's threshold.
constexpr float cTranslationThreshold = 0.1f;
constexpr float cScaleThreshold = 0.1f;
constexpr float cAlphaThreshold = 0.01f;
constexpr float cTintThreshold = 0.01f;
constexpr float cRotationThreshold = 1.0f;

constexpr float cSingleFrameLength = 0.01f;

float distance(float a, float b) {
    return std::fabs(a - b);
}

float distance(SplinePoint a, SplinePoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

struct Tint {
    float r, g, b;
};

float distance(Tint a, Tint b) {
    return std::sqrt((a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) +
                     (a.b - b.b) * (a.b - b.b));
}

// The kept keys of one channel with their times.
template <class Key> struct Channel {
    std::vector<Key> keys;
    std::vector<float> times;
};

// Splits frames (at least one) into a channel: the first and last frames,
// and each middle one that differs from the last kept key or from the next
// frame by more than threshold. valueOf gives a frame's value, store the key
// kept for a value and compared the value a kept key compares as. A key
// whose time is not after the last kept one is left out.
template <class Key, class ValueOf, class Store, class Compared>
void split(const std::vector<PuppetAnimNode::Frame>& frames, float threshold, ValueOf valueOf,
           Store store, Compared compared, Channel<Key>& channel) {
    const size_t last = frames.size() - 1;
    for (size_t i = 0; i <= last; ++i) {
        const auto value = valueOf(frames[i]);
        const bool kept = channel.keys.empty() || i == last ||
                          distance(value, compared(channel.keys.back())) > threshold ||
                          distance(value, valueOf(frames[i + 1])) > threshold;
        const float time = frames[i].mTime;
        if (kept && (channel.times.empty() || time > channel.times.back())) {
            channel.keys.push_back(store(value));
            channel.times.push_back(time);
        }
    }
}

// The channels whose keys are their values.
template <class Key, class ValueOf>
void split(const std::vector<PuppetAnimNode::Frame>& frames, float threshold, ValueOf valueOf,
           Channel<Key>& channel) {
    const auto same = [](const Key& key) { return key; };
    split(frames, threshold, valueOf, same, same, channel);
}

} // namespace

bool PuppetAnimNode::load(const XmlNode* element) {
    std::string name;
    if (!element || !xmlAttrString(element, "name", name))
        return false;
    mBone = PuppetRegistry::boneIndex(name);
    std::vector<Frame> frames;
    for (const XmlNode* child = element->first_node("frame"); child;
         child = child->next_sibling("frame")) {
        Frame frame;
        if (!xmlAttrFloat(child, "time", frame.mTime))
            return false;
        frame.mPose.load(child);
        frames.push_back(frame);
    }
    if (frames.empty())
        frames.push_back(Frame{});
    if (frames.size() == 1)
        frames.push_back(Frame{frames[0].mTime + cSingleFrameLength, frames[0].mPose});
    setFrames(frames);
    return true;
}

void PuppetAnimNode::setFrames(const std::vector<Frame>& frames) {
    if (frames.empty())
        return;
    Channel<SplinePoint> translation;
    split(frames, cTranslationThreshold,
          [](const Frame& f) { return SplinePoint{f.mPose.mTranslationX, f.mPose.mTranslationY}; },
          translation);
    Channel<SplinePoint> scale;
    split(frames, cScaleThreshold,
          [](const Frame& f) { return SplinePoint{f.mPose.mScaleX, f.mPose.mScaleY}; }, scale);
    Channel<float> alpha;
    split(frames, cAlphaThreshold, [](const Frame& f) { return f.mPose.mAlpha; }, alpha);
    // The tint is kept as bytes; the last kept key compares as bytes / 255.
    Channel<ccColor3B> tint;
    split(
        frames, cTintThreshold,
        [](const Frame& f) { return Tint{f.mPose.mTintRed, f.mPose.mTintGreen, f.mPose.mTintBlue}; },
        [](const Tint& c) { return colorFloatToBytes(c.r, c.g, c.b); },
        [](const ccColor3B& c) {
            return Tint{c.r * cByteToUnit, c.g * cByteToUnit, c.b * cByteToUnit};
        },
        tint);
    Channel<float> rotation;
    split(frames, cRotationThreshold, [](const Frame& f) { return f.mPose.mRotation; }, rotation);

    buildPointSpline(translation.keys, translation.times, mTranslation);
    buildPointSpline(scale.keys, scale.times, mScale);
    buildScalarSpline(alpha.keys, alpha.times, mAlpha);
    mTint.setKeys(tint.keys, tint.times);
    mRotation.setKeys(rotation.keys, rotation.times);
}

bool PuppetAnimNode::buildPointSpline(const std::vector<SplinePoint>& keys,
                                      const std::vector<float>& times,
                                      SplineTrack<SplinePoint>& track) {
    return track.build(keys, times);
}

bool PuppetAnimNode::buildScalarSpline(const std::vector<float>& keys,
                                       const std::vector<float>& times, SplineTrack<float>& track) {
    return track.build(keys, times);
}

void PuppetAnimNode::evaluate(float t, PuppetKeyframe& out) const {
    const SplinePoint translation = mTranslation.evaluate(t);
    const SplinePoint scale = mScale.evaluate(t);
    const ccColor3B tint = mTint.evaluate(t);
    out.mRotation = mRotation.evaluate(t);
    out.mTranslationX = translation.x;
    out.mTranslationY = translation.y;
    out.mScaleX = scale.x;
    out.mScaleY = scale.y;
    out.mAlpha = mAlpha.evaluate(t);
    out.mTintRed = tint.r * cByteToUnit;
    out.mTintGreen = tint.g * cByteToUnit;
    out.mTintBlue = tint.b * cByteToUnit;
}
