#pragma once

// The text style of a text attachment (its "text" child): which text the
// label shows, in which font, with which fill, outline, gradient and drop
// shadow. The engine's label options are passed to the label unchanged.
//
// Children of "text", in any order and any number, a later one overriding
// an earlier one: "key" (element text; "type" "localized" or "dynamic"),
// "font" ("type", "name", "size"; with "type" "config" the name and size
// name options), "fillColor", "outline" (with "width"), "fillGradient" (one
// child per colour stop, with "pos") and "dropShadow" ("offsetX",
// "offsetY", "alpha", "brightness", "blur"). Colours are "r", "g", "b", "a",
// each 0..255; reading stops at the first channel that is missing or bad.
// Outline width and shadow offsets are given in points and scaled by the
// content scale factor at load.

#include "content/XMLHelper.h"
#include "platform/render/CCLabelTTF.h"

#include <cstdint>
#include <string>

enum TextKeyType : int32_t {
    cTextKeyLocalized = 0, // the key is a localisation key
    cTextKeyDynamic = 1,   // the key names a text the live puppet holds
};

class TextStyle {
public:
    TextStyle();

    // Reads the "text" element's children; false only for a null element.
    // An unknown key type prints "unknown key type '<value>'" and keeps the
    // key type.
    bool load(const XmlNode* element);

    std::string mKey;
    int32_t mKeyType = cTextKeyLocalized;
    std::string mFontName;
    float mFontSize = 0.0f;
    cocos2d::OutlineFillInfo mOutlineFill; // no outline, white fill
    cocos2d::DropShadowInfo mDropShadow;   // invisible (alpha 0)

private:
    void loadKey(const XmlNode* element);
    void loadFont(const XmlNode* element);
};
