#pragma once

// The opaque pixels of an image as one bit each (alpha 128 or more), for
// touches that hit only where a puppet part is drawn. Bit y * width + x is
// column x of row y counted from the image's bottom, matching the engine's
// y-up node coordinates. Masks are cached process-wide by file name and
// referred to by index; entries live until the process exits.

#include "platform/engine/CCGeometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cocos2d {
class CCNode;
}

class AlphaMask {
public:
    // Loads the PNG; false unless it loads with an alpha channel and 8 bits
    // per component.
    bool initWithImageFile(const std::string& file);
    // A new mask of the image, or null.
    static AlphaMask* create(const std::string& file);

    bool isOpaqueAt(int bitIndex) const;
    int getWidth() const { return mWidth; }
    int getHeight() const { return mHeight; }

    // The cached mask's index for the file, loading it on first use; -1
    // when the image cannot be used (not remembered: a later call tries
    // again).
    static int indexForFile(const std::string& file);
    // The cached mask of an index, or null when out of range.
    static AlphaMask* maskAtIndex(int index);
    // Whether the world point hits the node: inside its content rectangle
    // and, with a mask, on an opaque pixel (content points and mask pixels
    // compare one to one).
    static bool hitTest(const cocos2d::CCPoint& worldPoint, cocos2d::CCNode* node,
                        const AlphaMask* mask);

private:
    std::vector<uint32_t> mBits;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
};
