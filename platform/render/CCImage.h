#pragma once

// A decoded image in memory: width, height, whether it has an alpha
// channel, the bits per component of the file, and its pixels as 8-bit RGBA
// rows from the top (straight alpha, never premultiplied). Decoding runs
// on the CPU (stb_image), so images load without a display.

#include <cstdint>
#include <string>
#include <vector>

namespace cocos2d {

class CCImage {
public:
    enum EImageFormat {
        kFmtJpg = 0,
        kFmtPng,
        kFmtRawData,
        kFmtUnKnown,
    };

    // Text alignment inside a box: the low nibble horizontal (1 left,
    // 2 right, 3 centre), the high nibble vertical (1 top, 2 bottom,
    // 3 centre).
    enum ETextAlign {
        kAlignCenter = 0x33,
        kAlignTop = 0x13,
        kAlignTopRight = 0x12,
        kAlignRight = 0x32,
        kAlignBottomRight = 0x22,
        kAlignBottom = 0x23,
        kAlignBottomLeft = 0x21,
        kAlignLeft = 0x31,
        kAlignTopLeft = 0x11,
    };

    // Reads and decodes the file (the path as given); false when it is
    // missing or not an image. The format is a hint: the content decides.
    bool initWithImageFile(const std::string& path, EImageFormat format = kFmtPng);
    // Decodes an encoded image held in memory.
    bool initWithImageData(const void* data, size_t length);
    // Takes RGBA pixels of that size (rows from the top).
    bool initWithRawData(std::vector<uint8_t> rgba, int width, int height, bool hasAlpha);

    int getWidth() const { return mWidth; }
    int getHeight() const { return mHeight; }
    bool hasAlpha() const { return mHasAlpha; }
    int getBitsPerComponent() const { return mBitsPerComponent; }
    // width x height x 4 bytes; empty before a successful init.
    const std::vector<uint8_t>& getData() const { return mData; }
    // The alpha byte of pixel (x, y), y from the top.
    uint8_t alphaAt(int x, int y) const { return mData[(size_t(y) * mWidth + x) * 4 + 3]; }

    // Writes the image as a PNG file.
    bool saveToFile(const std::string& path) const;

private:
    std::vector<uint8_t> mData;
    int mWidth = 0;
    int mHeight = 0;
    int mBitsPerComponent = 0;
    bool mHasAlpha = false;
};

} // namespace cocos2d
