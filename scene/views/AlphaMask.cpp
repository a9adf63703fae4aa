#include "scene/views/AlphaMask.h"

#include "platform/engine/CCNode.h"
#include "platform/render/CCImage.h"

#include <cmath>
#include <memory>
#include <unordered_map>

using namespace cocos2d;

namespace {

struct MaskCache {
    std::vector<std::unique_ptr<AlphaMask>> masks;
    std::unordered_map<std::string, int> indexByFile;
};

MaskCache& cache() {
    static MaskCache masks;
    return masks;
}

} // namespace

bool AlphaMask::initWithImageFile(const std::string& file) {
    CCImage image;
    if (!image.initWithImageFile(file, CCImage::kFmtPng) || !image.hasAlpha() ||
        image.getBitsPerComponent() != 8)
        return false;
    mWidth = image.getWidth();
    mHeight = image.getHeight();
    const size_t count = size_t(mWidth) * size_t(mHeight);
    mBits.assign((count + 31) / 32, 0);
    size_t i = 0;
    for (int y = 0; y < mHeight; ++y) {
        for (int x = 0; x < mWidth; ++x, ++i) {
            if (image.alphaAt(x, mHeight - 1 - y) >= 0x80)
                mBits[i / 32] |= uint32_t(1) << (i % 32);
        }
    }
    return true;
}

AlphaMask* AlphaMask::create(const std::string& file) {
    auto mask = std::make_unique<AlphaMask>();
    return mask->initWithImageFile(file) ? mask.release() : nullptr;
}

bool AlphaMask::isOpaqueAt(int bitIndex) const {
    if (bitIndex < 0 || size_t(bitIndex) >= size_t(mWidth) * size_t(mHeight))
        return false;
    return (mBits[size_t(bitIndex) / 32] >> (bitIndex % 32)) & 1u;
}

int AlphaMask::indexForFile(const std::string& file) {
    MaskCache& masks = cache();
    const auto found = masks.indexByFile.find(file);
    if (found != masks.indexByFile.end())
        return found->second;
    AlphaMask* mask = create(file);
    if (!mask)
        return -1;
    const int index = int(masks.masks.size());
    masks.masks.emplace_back(mask);
    masks.indexByFile[file] = index;
    return index;
}

AlphaMask* AlphaMask::maskAtIndex(int index) {
    MaskCache& masks = cache();
    if (index < 0 || size_t(index) >= masks.masks.size())
        return nullptr;
    return masks.masks[size_t(index)].get();
}

bool AlphaMask::hitTest(const CCPoint& worldPoint, CCNode* node, const AlphaMask* mask) {
    const CCPoint p = node->convertToNodeSpace(worldPoint);
    const CCSize& size = node->getContentSize();
    if (!CCRect::CCRectContainsPoint(CCRect(0, 0, size.width, size.height), p))
        return false;
    if (!mask)
        return true;
    const int x = int(std::trunc(p.x));
    const int y = int(std::trunc(p.y));
    if (x < 0 || x >= mask->mWidth || y < 0 || y >= mask->mHeight)
        return false;
    return mask->isOpaqueAt(y * mask->mWidth + x);
}
