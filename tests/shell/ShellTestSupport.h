#pragma once

// What the shell's tests share: a folder of their own for the lock and the
// user's files, offscreen video and dummy audio, and the call record.

#include "shell/ShellState.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/wait.h>

// Runs a shell command line; its exit code (-1 when it did not exit) and
// everything it printed, appended to output.
inline int runCommandLine(const std::string& line, std::string& output) {
    FILE* pipe = popen(line.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    std::array<char, 512> buffer;
    while (fgets(buffer.data(), int(buffer.size()), pipe) != nullptr)
        output += buffer.data();
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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

    // A copy of the sample content's data files (not its folders) and
    // languages in the test's folder, with a database that does not parse.
    std::filesystem::path brokenDatabaseContent() const {
        const std::filesystem::path root = mFolder / "root";
        std::filesystem::create_directories(root / "data");
        for (const auto& entry : std::filesystem::directory_iterator(TARNWICK_SOURCE_DIR "/data"))
            if (entry.is_regular_file() && entry.path().extension() != ".png")
                std::filesystem::copy_file(entry.path(), root / "data" / entry.path().filename());
        std::filesystem::copy(TARNWICK_SOURCE_DIR "/vellix", root / "vellix",
                              std::filesystem::copy_options::recursive);
        std::ofstream(root / "data" / "database.xml") << "<Database><Entity";
        return root;
    }

    std::filesystem::path mFolder;
};
