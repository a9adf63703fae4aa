#include "platform/render/CCImage.h"

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace cocos2d {

bool CCImage::initWithImageFile(const std::string& path, EImageFormat) {
    // Only regular files: reading a folder named as an image throws.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::vector<char> bytes;
    try {
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        return false;
    }
    return initWithImageData(bytes.data(), bytes.size());
}

bool CCImage::initWithImageData(const void* data, size_t length) {
    if (!data || length == 0 || length > size_t(INT_MAX))
        return false;
    const auto* bytes = static_cast<const stbi_uc*>(data);
    const int size = int(length);
    int width = 0;
    int height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(bytes, size, &width, &height, &channels))
        return false;
    const bool sixteen = stbi_is_16_bit_from_memory(bytes, size) != 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes, size, &width, &height, &channels, 4);
    if (!pixels)
        return false;
    mData.assign(pixels, pixels + size_t(width) * size_t(height) * 4);
    stbi_image_free(pixels);
    mWidth = width;
    mHeight = height;
    mHasAlpha = channels == 2 || channels == 4;
    mBitsPerComponent = sixteen ? 16 : 8;
    return true;
}

bool CCImage::initWithRawData(std::vector<uint8_t> rgba, int width, int height, bool hasAlpha) {
    if (width < 0 || height < 0 || rgba.size() != size_t(width) * size_t(height) * 4)
        return false;
    mData = std::move(rgba);
    mWidth = width;
    mHeight = height;
    mHasAlpha = hasAlpha;
    mBitsPerComponent = 8;
    return true;
}

bool CCImage::saveToFile(const std::string& path) const {
    if (mData.empty())
        return false;
    return stbi_write_png(path.c_str(), mWidth, mHeight, 4, mData.data(), mWidth * 4) != 0;
}

} // namespace cocos2d
