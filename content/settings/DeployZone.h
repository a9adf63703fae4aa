#pragma once

// The squares of a board where the first player may deploy, read from a
// board's "deployZone" element of "tile" children; the board rules give the
// second player the mirror image.

#include "content/XMLHelper.h"

#include <cstdint>
#include <vector>

struct DeployTile {
    int32_t x = 0;
    int32_t y = 0;
};

class DeployZone {
public:
    virtual ~DeployZone();

    // Appends each "tile" child's "x" and "y"; the first tile without both,
    // or with a number out of range or below 0, ends the load with false.
    bool load(const XmlNode* element);

    std::vector<DeployTile> mTiles;
};
