#pragma once

// One selectable team colour of PlayerColors.xml.

#include "content/XMLHelper.h"

#include <cstdint>
#include <string>

struct PlayerColor {
    // Reads the attributes "name" (required) and "red", "green", "blue"
    // (required ints, clamped to 0..255). False when one is missing or
    // does not read.
    bool load(const XmlNode* element);

    std::string mName;
    uint8_t mRed = 255;
    uint8_t mGreen = 255;
    uint8_t mBlue = 255;
};
