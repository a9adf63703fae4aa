#pragma once

// One "node" of an animation file: the key frames of one bone, split at load
// into five channels (translation, scale, alpha, tint, rotation), each with
// only the frames that change it by more than its threshold, and built into
// the tracks that evaluation reads.
//
// Every node has at least two frames: one without frames gets the identity
// pose at 0 s, and a single frame is repeated 0.01 s later. A frame whose
// time is not after the last one kept in a channel is left out of that
// channel, so the tracks always build.

#include "content/XMLHelper.h"
#include "puppet/AnimTrack.h"
#include "puppet/PuppetKeyframe.h"

#include <cstdint>
#include <vector>

class PuppetAnimNode {
public:
    // A frame of the node with its time in seconds.
    struct Frame {
        float mTime = 0.0f;
        PuppetKeyframe mPose;
    };

    // Reads the "node" element: "name" (interned as the bone id) and its
    // "frame" children. False when the node has no "name" or a frame has no
    // "time".
    bool load(const XmlNode* element);
    // Builds the tracks from frames in time order (at least one).
    void setFrames(const std::vector<Frame>& frames);

    // The pose at t seconds into the animation: rotation, translation,
    // scale, alpha (not clamped) and tint.
    void evaluate(float t, PuppetKeyframe& out) const;
    // The time of the node's last frame.
    float endTime() const { return mTranslation.mStartTime + mTranslation.endTime(); }

    static bool buildPointSpline(const std::vector<SplinePoint>& keys,
                                 const std::vector<float>& times,
                                 SplineTrack<SplinePoint>& track);
    static bool buildScalarSpline(const std::vector<float>& keys, const std::vector<float>& times,
                                  SplineTrack<float>& track);

    SplineTrack<SplinePoint> mTranslation;
    SplineTrack<SplinePoint> mScale;
    SplineTrack<float> mAlpha;
    ColorTrack mTint;
    AngleTrack mRotation;
    int32_t mBone = -1; // PuppetRegistry::boneIndex of "name"
};
