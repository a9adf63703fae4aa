#include "DemoScript.h"

#include "shell/MainLoop.h"

#include "platform/engine/CCApplication.h"
#include "platform/render/CCImage.h"

#include <GLES/gl.h>
#include <SDL.h>

#include <algorithm>
#include <cstdio>

void DemoScript::add(std::string name, Step step, uint32_t waitMs) {
    mSteps.push_back({std::move(name), std::move(step), waitMs});
}

void DemoScript::frame() {
    if (mEnded)
        return;
    const uint32_t now = SDL_GetTicks();
    if (!mStarted) {
        mStarted = true;
        mStepStart = now;
    }
    while (mNext < mSteps.size()) {
        const Entry& entry = mSteps[mNext];
        const State state = entry.step();
        if (state == State::Failed) {
            std::fprintf(stderr, "tarnwick-demo: failed: %s\n", entry.name.c_str());
            end(true);
            return;
        }
        if (state == State::Waiting) {
            if (now - mStepStart > entry.waitMs) {
                std::fprintf(stderr, "tarnwick-demo: waited too long for %s\n", entry.name.c_str());
                end(true);
            }
            return;
        }
        ++mNext;
        mStepStart = now;
    }
    end(false);
}

void DemoScript::end(bool failed) {
    mEnded = true;
    mFailed = failed;
    quitApplication();
}

int DemoScript::status() const {
    return mEnded && !mFailed ? 0 : 1;
}

bool saveWindow(const std::string& path) {
    int board[4];
    int width = 0;
    int height = 0;
    cocos2d::CCApplication::getSceneDims(board[0], board[1], board[2], board[3], width, height);
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4);
    glViewport(0, 0, width, height);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<uint8_t> rows(pixels.size());
    const size_t row = size_t(width) * 4;
    for (int y = 0; y < height; ++y) // GL rows run from the bottom
        std::copy(pixels.begin() + ptrdiff_t(size_t(y) * row),
                  pixels.begin() + ptrdiff_t(size_t(y + 1) * row),
                  rows.begin() + ptrdiff_t(size_t(height - 1 - y) * row));
    for (size_t i = 3; i < rows.size(); i += 4)
        rows[i] = 255;
    cocos2d::CCImage image;
    return image.initWithRawData(std::move(rows), width, height, false) && image.saveToFile(path);
}

DemoScript::Step screenshotStep(const std::filesystem::path& file) {
    return [file] {
        if (!saveWindow(file.string())) {
            std::fprintf(stderr, "could not write %s\n", file.c_str());
            return DemoScript::State::Failed;
        }
        std::printf("wrote %s\n", file.c_str());
        std::fflush(stdout);
        return DemoScript::State::Done;
    };
}
