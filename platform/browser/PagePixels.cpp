#include "platform/browser/PagePixels.h"

#include <cstring>

void convertBgraToRgbaFlipped(const uint8_t* source, int width, int height, int stride,
                              std::vector<uint8_t>& out) {
    const size_t rowBytes = size_t(width) * 4;
    if (out.size() < rowBytes * size_t(height))
        out.resize(rowBytes * size_t(height));
    for (int row = 0; row < height; ++row) {
        const uint8_t* in = source + size_t(row) * size_t(stride);
        uint8_t* dest = out.data() + size_t(height - 1 - row) * rowBytes;
        for (int i = 0; i < width; ++i) {
            // A native-endian 0xAARRGGBB word, as cairo stores it.
            uint32_t pixel;
            std::memcpy(&pixel, in + size_t(i) * 4, 4);
            dest[4 * i] = uint8_t(pixel >> 16);
            dest[4 * i + 1] = uint8_t(pixel >> 8);
            dest[4 * i + 2] = uint8_t(pixel);
            dest[4 * i + 3] = 255;
        }
    }
}
