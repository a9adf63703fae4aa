// The README's main job with no display: tools/play.sh starts its own
// loopback server on a free port, logs in as demo under Xvfb and leaves the
// two screenshots.

#include "ShellTestSupport.h"

#include "platform/render/CCImage.h"

#include <array>
#include <cstdio>
#include <set>
#include <sys/wait.h>

namespace {

using PlayScriptTest = ShellTest;

// Whether a screenshot shows something: more than one colour, not all black.
bool showsSomething(const std::filesystem::path& file) {
    cocos2d::CCImage image;
    if (!image.initWithImageFile(file.string()))
        return false;
    const std::vector<uint8_t>& pixels = image.getData();
    std::set<uint32_t> colours;
    for (size_t i = 0; i + 3 < pixels.size() && colours.size() < 3; i += 4 * 97)
        colours.insert(uint32_t(pixels[i]) << 16 | uint32_t(pixels[i + 1]) << 8 | pixels[i + 2]);
    return colours.size() > 1 || (colours.size() == 1 && *colours.begin() != 0);
}

// Runs tools/play.sh with no display in the test's folder (its data, its
// temporary files, shots/ for the screenshots) and a free port; the exit
// code and everything printed.
int runPlay(const std::filesystem::path& folder, std::string& output) {
    const std::filesystem::path build =
        std::filesystem::path(TARNWICK_DEMO).parent_path().parent_path();
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy TARNWICK_PORT=0 XDG_DATA_HOME='" +
        folder.string() + "' XDG_RUNTIME_DIR='" + folder.string() + "' TMPDIR='" + folder.string() +
        "' TARNWICK_SHOTS='" + (folder / "shots").string() +
        "' bash '" TARNWICK_SOURCE_DIR "/tools/play.sh' '" + build.string() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    std::array<char, 512> buffer;
    while (fgets(buffer.data(), int(buffer.size()), pipe) != nullptr)
        output += buffer.data();
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST_F(PlayScriptTest, LogsInAsDemoHeadlessThenByTheStoredKey) {
    std::string output;
    ASSERT_EQ(runPlay(mFolder, output), 0) << output;
    EXPECT_NE(output.find("logged in as demo"), std::string::npos) << output;
    EXPECT_NE(output.find("screenshots in " + (mFolder / "shots").string()), std::string::npos)
        << output;
    for (const char* name : {"login.png", "logged-in.png"})
        EXPECT_TRUE(showsSomething(mFolder / "shots" / name)) << name << "\n" << output;

    // The second start: the key stored by the first logs in by itself.
    std::string again;
    ASSERT_EQ(runPlay(mFolder, again), 0) << again;
    EXPECT_NE(again.find("logged in by the stored key"), std::string::npos) << again;
}
