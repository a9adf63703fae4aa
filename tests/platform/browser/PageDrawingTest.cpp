#include "platform/browser/PagePixels.h"
#include "platform/browser/PageQuad.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A native-endian cairo pixel 0xAARRGGBB.
void putPixel(uint8_t* at, uint32_t argb) {
    std::memcpy(at, &argb, 4);
}

TEST(PagePixelsTest, PremultipliedBgraBecomesOpaqueRgbaBottomRowFirst) {
    // Two rows of two pixels, each row padded to 12 bytes.
    uint8_t source[24] = {};
    putPixel(source + 0, 0xFFFF0000);  // top left: red
    putPixel(source + 4, 0x80400000);  // top right: half-transparent red, premultiplied
    putPixel(source + 12, 0xFF00FF00); // bottom left: green
    putPixel(source + 16, 0x00000000); // bottom right: clear
    std::vector<uint8_t> out(64, 7);   // larger than needed: kept, not shrunk
    convertBgraToRgbaFlipped(source, 2, 2, 12, out);
    ASSERT_EQ(out.size(), 64u);
    const uint8_t expected[16] = {0, 255, 0, 255, 0, 0, 0, 255, 255, 0, 0, 255, 64, 0, 0, 255};
    EXPECT_EQ(std::memcmp(out.data(), expected, 16), 0);

    std::vector<uint8_t> grown;
    convertBgraToRgbaFlipped(source, 2, 2, 12, grown);
    EXPECT_EQ(grown, std::vector<uint8_t>(expected, expected + 16));
}

void expectVertex(const PageVertex& v, float x, float y, float u, float t) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, 0);
    EXPECT_EQ(v.r & v.g & v.b & v.a, 255);
    EXPECT_EQ(v.u, u);
    EXPECT_EQ(v.v, t);
}

TEST(PageQuadTest, VerticesRunTopLeftBottomLeftTopRightBottomRight) {
    const PageQuad quad = makePageQuad(10, 20, 30, 40, 0.25f, 0.5f, 0.75f, 1);
    expectVertex(quad[0], 10, 60, 0.25f, 1);
    expectVertex(quad[1], 10, 20, 0.25f, 0.5f);
    expectVertex(quad[2], 40, 60, 0.75f, 1);
    expectVertex(quad[3], 40, 20, 0.75f, 0.5f);
    EXPECT_EQ(offsetof(PageVertex, r), 12u);
    EXPECT_EQ(offsetof(PageVertex, u), 16u);
}

TEST(PageQuadTest, LoadingScreenOfLayoutMode2) {
    const PageRect board{395, 14, 1024, 768};
    const PageQuad image = loadingImageQuad(board, 990);
    expectVertex(image[0], 395, 976, 0, 0.75f);
    expectVertex(image[1], 395, 208, 0, 0);
    expectVertex(image[2], 1419, 976, 1, 0.75f);
    expectVertex(image[3], 1419, 208, 1, 0);

    // A 500 x 64 label: right edge 4 pixels inside the board's, top on its top.
    const PageQuad label = loadingLabelQuad(board, 1434, 990, 500, 64, layoutWidthForMode(2));
    expectVertex(label[0], 915, 976, 0, 0);
    expectVertex(label[1], 915, 912, 0, 1);
    expectVertex(label[2], 1415, 976, 1, 0);
    expectVertex(label[3], 1415, 912, 1, 1);
    EXPECT_EQ(layoutWidthForMode(0), 800);
    EXPECT_EQ(layoutWidthForMode(1), 1280);
}

} // namespace
