#pragma once

// The pose of one bone or attachment: nine floats read from the key-frame
// attributes of an element. Attachments use it for their base transform,
// animation files for their frames, and a live puppet evaluates its tracks
// into one every frame.

#include "content/XMLHelper.h"

// 1/255 as the stored 8-bit colour and alpha values are scaled, in single
// precision.
inline constexpr float cByteToUnit = 0.003921569f;

class PuppetKeyframe {
public:
    // Resets to the defaults and reads "rotation", "translationX",
    // "translationY", "scaleX", "scaleY", "alpha", "tintRed", "tintGreen" and
    // "tintBlue". The translation is halved (file units are pixels at twice
    // the point size); alpha and tint, given 0..255, are scaled to 0..1 when
    // present. False only for a null element.
    bool load(const XmlNode* element);

    float mRotation = 0.0f;     // degrees
    float mTranslationX = 0.0f; // points
    float mTranslationY = 0.0f;
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
    float mAlpha = 1.0f; // 0..1
    float mTintRed = 0.0f; // 0..1
    float mTintGreen = 0.0f;
    float mTintBlue = 0.0f;
};
