#include "platform/browser/PagePixels.h"

#include <bit>
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
            // A native-endian 0xAARRGGBB word, as cairo stores it, becomes
            // the bytes R, G, B, 255.
            uint32_t pixel;
            std::memcpy(&pixel, in + size_t(i) * 4, 4);
            if constexpr (std::endian::native == std::endian::little) {
                const uint32_t rgba = 0xFF000000u | ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) |
                                      ((pixel >> 16) & 0xFFu);
                std::memcpy(dest + size_t(i) * 4, &rgba, 4);
            } else {
                const uint8_t rgba[4] = {uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel),
                                         255};
                std::memcpy(dest + size_t(i) * 4, rgba, 4);
            }
        }
    }
}
