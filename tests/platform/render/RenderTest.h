#pragma once

// Shared fixture of the render tests: a hand-stepped director with a 960 x
// 640 pixel window at content scale 1, the resource root in a fresh
// temporary folder where tests write their images, and every cache purged
// afterwards so that the leak checker sees each reference. Rendering runs
// offscreen (no display server) and sound on SDL's dummy driver.

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCImage.h"
#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "platform/render/CCTextureCache.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

struct Rgba {
    uint8_t r, g, b, a;
};

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // One folder per process: the same test of another build may run
        // at the same time.
        mRoot = std::filesystem::path(::testing::TempDir()) /
                ("render-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                 "-" + std::to_string(getpid()));
        std::filesystem::remove_all(mRoot);
        std::filesystem::create_directories(mRoot);
        cocos2d::CCFileUtils::setResourcePath(mRoot.string());
        director()->setWinSizeInPixels(cocos2d::CCSize(960, 640));
        director()->setContentScaleFactor(1.0f);
        director()->setIsHighDefinition(false);
    }
    void TearDown() override {
        director()->purgeDirector();
        cocos2d::CCSpriteFrameCache::purgeSharedSpriteFrameCache();
        cocos2d::CCTextureCache::purgeSharedTextureCache();
        cocos2d::CCBMFontConfiguration::purgeCachedData();
        cocos2d::CCFileUtils::setResourcePath("");
        std::filesystem::remove_all(mRoot);
    }

    static cocos2d::CCDirector* director() { return cocos2d::CCDirector::sharedDirector(); }

    // High-definition mode at content scale 2, as the program runs.
    static void highDefinition() {
        director()->setContentScaleFactor(2.0f);
        director()->setIsHighDefinition(true);
    }

    // The pixel of the view's last frame at a GL point (origin bottom-left).
    static Rgba viewPixel(cocos2d::CCEGLView& view, int x, int y) {
        cocos2d::CCImage image;
        EXPECT_TRUE(view.readPixels(image));
        const uint8_t* p =
            &image.getData()[(size_t(image.getHeight() - 1 - y) * image.getWidth() + x) * 4];
        return Rgba{p[0], p[1], p[2], p[3]};
    }

    // Writes a PNG under the resource root, each pixel from the function
    // (x from the left, y from the top).
    void writePng(const std::string& name, int width, int height,
                  const std::function<Rgba(int, int)>& pixel) const {
        std::vector<uint8_t> data(size_t(width) * height * 4);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Rgba p = pixel(x, y);
                uint8_t* out = &data[(size_t(y) * width + x) * 4];
                out[0] = p.r;
                out[1] = p.g;
                out[2] = p.b;
                out[3] = p.a;
            }
        const auto path = mRoot / name;
        std::filesystem::create_directories(path.parent_path());
        ASSERT_NE(stbi_write_png(path.string().c_str(), width, height, 4, data.data(), width * 4),
                  0);
    }
    void writeSolidPng(const std::string& name, int width, int height, Rgba color) const {
        writePng(name, width, height, [color](int, int) { return color; });
    }
    void writeText(const std::string& name, const std::string& text) const {
        const auto path = mRoot / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    std::filesystem::path mRoot;
};
