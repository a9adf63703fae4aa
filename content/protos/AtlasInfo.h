#pragma once

// The sprite-atlas part of a proto (element "Atlas"): the image (the
// element's text) and its grid of cells.

#include "content/XMLHelper.h"

#include <cstdint>
#include <string>

class AtlasInfo {
public:
    virtual ~AtlasInfo();

    // The text and the attributes present; false only for a null element.
    bool load(const XmlNode* element);

    std::string mImage;
    int32_t mCellDimX = 1;
    int32_t mCellDimY = 1;
    int32_t mCellsPerRow = 1;
    int32_t mCellsPerColumn = 1;
};
