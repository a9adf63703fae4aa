#include "shell/ArtSize.h"

#include "platform/engine/CCFileUtils.h"

#include <array>
#include <cstdint>
#include <fstream>

namespace {

// The size in a PNG's header; false when the file is no PNG.
bool pngSize(const std::string& path, ArtSize& out) {
    std::ifstream in(path, std::ios::binary);
    std::array<unsigned char, 24> header{};
    if (!in.read(reinterpret_cast<char*>(header.data()), header.size()))
        return false;
    static constexpr unsigned char cSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    for (int i = 0; i < 8; ++i)
        if (header[i] != cSignature[i])
            return false;
    const auto word = [&](int at) {
        return int(uint32_t(header[at]) << 24 | uint32_t(header[at + 1]) << 16 |
                   uint32_t(header[at + 2]) << 8 | uint32_t(header[at + 3]));
    };
    out = ArtSize{word(16), word(20)};
    return out.width > 0 && out.height > 0 && out.width < 65536 && out.height < 65536;
}

} // namespace

ArtSize artPixelSize(const std::string& relativePath) {
    std::string hd = relativePath;
    const size_t dot = hd.rfind('.');
    hd.insert(dot == std::string::npos ? hd.size() : dot, "-hd");
    ArtSize size;
    if (pngSize(cocos2d::CCFileUtils::fullPathFromRelativePath(hd), size))
        return size;
    if (pngSize(cocos2d::CCFileUtils::fullPathFromRelativePath(relativePath), size))
        return ArtSize{size.width * 2, size.height * 2};
    return ArtSize{};
}
