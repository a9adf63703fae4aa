#pragma once

// What the shell's tests share: a folder of their own for the lock and the
// user's files, offscreen video and dummy audio, and the call record.

#include "shell/ShellState.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/shell-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        mFolder = pattern;
        setenv("XDG_RUNTIME_DIR", mFolder.c_str(), 1);
        setenv("XDG_DATA_HOME", mFolder.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        clearShellCalls();
        setShellCallRecording(true);
    }

    void TearDown() override {
        setShellCallRecording(false);
        std::error_code ignored;
        std::filesystem::remove_all(mFolder, ignored);
    }

    // The recorded calls without the ones every pass makes.
    static std::vector<std::string> callsWithoutPasses() {
        std::vector<std::string> out;
        for (const std::string& call : shellCalls())
            if (call != "platformCallbacks" && call != "audioUpdate" &&
                call != "seam:bridgeUpdate" && call != "page:doWork" && call != "frame" &&
                call != "page:drawPage" && call != "swapBuffers" && call != "runTick")
                out.push_back(call);
        return out;
    }

    std::filesystem::path mFolder;
};
