// The README's main job with no display: tools/play.sh starts its own
// loopback server on a free port, logs in as demo through the real menu
// page's form under Xvfb and leaves the two screenshots of the page.

#include "ShellTestSupport.h"

#include "platform/render/CCImage.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

namespace {

using PlayScriptTest = ShellTest;

// A screenshot's pixel (x, y from the top-left) as 0xRRGGBB; 0xFF000000
// when the file or the point is missing.
uint32_t pixelAt(const std::filesystem::path& file, int x, int y) {
    cocos2d::CCImage image;
    if (!image.initWithImageFile(file.string()) || x >= image.getWidth() || y >= image.getHeight())
        return 0xFF000000;
    const uint8_t* p = &image.getData()[(size_t(y) * size_t(image.getWidth()) + size_t(x)) * 4];
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

bool near(uint32_t colour, uint32_t want) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((colour >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > 3)
            return false;
    return true;
}

// Runs a command with no display in the test's folder (its data, its
// temporary files, shots/ for the screenshots); the exit code and
// everything printed.
int runHeadless(const std::filesystem::path& folder, const std::string& command,
                std::string& output) {
    // Under the sanitizers the page's toolkit and engine keep allocations
    // for the life of the process: the page tests' suppressions. No session
    // bus: D-Bus would try to start one through the X display and keep what
    // it allocated for that.
    const std::string line =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy "
        "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent "
        "LSAN_OPTIONS=suppressions=" TARNWICK_SOURCE_DIR
        "/tests/platform/browser_page/lsan.supp:print_suppressions=0 XDG_DATA_HOME='" +
        folder.string() + "' XDG_RUNTIME_DIR='" + folder.string() + "' TMPDIR='" + folder.string() +
        "' TARNWICK_SHOTS='" + (folder / "shots").string() + "' " + command + " 2>&1";
    FILE* pipe = popen(line.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    std::array<char, 512> buffer;
    while (fgets(buffer.data(), int(buffer.size()), pipe) != nullptr)
        output += buffer.data();
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// tools/play.sh on a free port.
int runPlay(const std::filesystem::path& folder, std::string& output) {
    const std::filesystem::path build =
        std::filesystem::path(TARNWICK_DEMO).parent_path().parent_path();
    return runHeadless(folder,
                       "TARNWICK_PORT=0 bash '" TARNWICK_SOURCE_DIR "/tools/play.sh' '" +
                           build.string() + "'",
                       output);
}

} // namespace

TEST_F(PlayScriptTest, LogsInAsDemoHeadlessThroughThePageThenByTheStoredKey) {
    std::string output;
    ASSERT_EQ(runPlay(mFolder, output), 0) << output;
    EXPECT_NE(output.find("logged in as demo"), std::string::npos) << output;
    EXPECT_NE(output.find("screenshots in " + (mFolder / "shots").string()), std::string::npos)
        << output;
    // The real page in layout mode 2 (1434 by 990): its board area's own
    // background in both; the login form's user name field (white) only
    // before the login.
    const struct {
        const char* file;
        int x, y;
        uint32_t colour;
        bool same;
    } points[] = {
        {"login.png", 900, 400, 0x101420, true},
        {"logged-in.png", 900, 400, 0x101420, true},
        {"login.png", 200, 294, 0xFFFFFF, true},
        {"logged-in.png", 200, 294, 0xFFFFFF, false},
    };
    for (const auto& point : points) {
        const uint32_t colour = pixelAt(mFolder / "shots" / point.file, point.x, point.y);
        EXPECT_EQ(near(colour, point.colour), point.same)
            << point.file << " at " << point.x << "," << point.y << ": " << std::hex << colour
            << "\n"
            << output;
    }

    // The second start: the key stored by the first logs in by itself.
    std::string again;
    ASSERT_EQ(runPlay(mFolder, again), 0) << again;
    EXPECT_NE(again.find("logged in by the stored key"), std::string::npos) << again;
    EXPECT_TRUE(near(pixelAt(mFolder / "shots" / "login.png", 900, 400), 0x101420)) << again;
}

TEST_F(PlayScriptTest, WithNoDisplayAtAllTheRecordingHostStandsInAndNoServerFailsTheLogin) {
    std::string output;
    EXPECT_EQ(runHeadless(mFolder,
                          "TARNWICK_SERVER_URL=http://127.0.0.1:1/ '" TARNWICK_DEMO
                          "' --root '" TARNWICK_SOURCE_DIR "' --shots '" +
                              (mFolder / "shots").string() + "'",
                          output),
              1)
        << output;
    EXPECT_NE(output.find("failed: the logged-in screen"), std::string::npos) << output;
    EXPECT_TRUE(std::filesystem::exists(mFolder / "shots" / "login.png")) << output;
}
