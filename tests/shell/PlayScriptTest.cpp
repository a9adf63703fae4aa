// The README's main job with no display: tools/play.sh starts its own
// loopback server on a free port, logs in as demo through the real menu
// page's form under Xvfb, plays a turn against the bot (the first run then
// creates and matchmakes games against it through the page) and leaves a
// screenshot of each step (the first run's in the build folder).

#include "ShellTestSupport.h"

#include "shell/LayoutModes.h"

#include "platform/render/CCImage.h"

#include <cstdio>
#include <cstdlib>

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

// The share of a rectangle's pixels that differ between two screenshots of
// the same size (by more than a little in some channel); -1 when either
// does not load.
double changedShare(const std::filesystem::path& before, const std::filesystem::path& after,
                    const LayoutRect& rect) {
    cocos2d::CCImage first;
    cocos2d::CCImage second;
    if (!first.initWithImageFile(before.string()) || !second.initWithImageFile(after.string()) ||
        first.getWidth() != second.getWidth() || first.getHeight() != second.getHeight())
        return -1;
    size_t changed = 0;
    size_t total = 0;
    for (int y = rect.y; y < rect.y + rect.height && y < first.getHeight(); ++y)
        for (int x = rect.x; x < rect.x + rect.width && x < first.getWidth(); ++x) {
            const size_t at = (size_t(y) * size_t(first.getWidth()) + size_t(x)) * 4;
            ++total;
            for (size_t c = 0; c < 3; ++c)
                if (std::abs(int(first.getData()[at + c]) - int(second.getData()[at + c])) > 24) {
                    ++changed;
                    break;
                }
        }
    return total == 0 ? -1 : double(changed) / double(total);
}

// Runs a command with no display in the test's folder (its data, its
// temporary files), the screenshots going to shots; the exit code and
// everything printed.
int runHeadless(const std::filesystem::path& folder, const std::filesystem::path& shots,
                const std::string& command, std::string& output) {
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
        "' TARNWICK_SHOTS='" + shots.string() + "' " + command + " 2>&1";
    return runCommandLine(line, output);
}

// tools/play.sh on a free port, with tarnwick-demo's further switches.
int runPlay(const std::filesystem::path& folder, const std::filesystem::path& shots,
            std::string& output, const std::string& switches = {}) {
    const std::filesystem::path build =
        std::filesystem::path(TARNWICK_DEMO).parent_path().parent_path();
    return runHeadless(folder, shots,
                       "TARNWICK_PORT=0 bash '" TARNWICK_SOURCE_DIR "/tools/play.sh' '" +
                           build.string() + "' " + switches,
                       output);
}

} // namespace

TEST_F(PlayScriptTest, PlaysATurnAgainstTheBotThroughThePageThenLogsInByTheStoredKey) {
    // The first run's screenshots stay in the build folder.
    const std::filesystem::path shots =
        std::filesystem::path(TARNWICK_DEMO).parent_path().parent_path() / "tests" / "shell" /
        "play-shots";
    std::error_code ignored;
    std::filesystem::remove_all(shots, ignored);
    std::string output;
    // After the turn, new games against the bot through the page: by name,
    // an unknown name, and by matchmaking.
    ASSERT_EQ(runPlay(mFolder, shots, output, "--new-games"), 0) << output;
    for (const char* line :
         {"logged in as demo", "played a turn against the bot", "created a game against the bot",
          "an unknown name: Invalid player name.", "matchmade a game against the bot",
          "longest frame gap while matchmaking: "})
        EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
    EXPECT_NE(output.find("screenshots in " + shots.string()), std::string::npos) << output;
    for (const char* name :
         {"login.png", "logged-in.png", "games-list.png", "board.png", "drop.png", "submitted.png",
          "back.png", "create-game.png", "team-select.png", "team-details.png", "new-game.png",
          "invalid-name.png", "matchmaking.png", "matched.png"})
        EXPECT_TRUE(std::filesystem::exists(shots / name)) << name << "\n" << output;
    // The figure for the record: frames wait while the matchmaking worker
    // holds the game lock.
    const size_t gap = output.find("longest frame gap while matchmaking: ");
    if (gap != std::string::npos)
        std::printf("%s\n", output.substr(gap, output.find('\n', gap) - gap).c_str());

    // The real page in layout mode 2 (1434 by 990): its board area's own
    // background before a game shows; the login form's user name field
    // (white) only before the login.
    const struct {
        const char* file;
        int x, y;
        uint32_t colour;
        bool same;
    } points[] = {
        {"login.png", 900, 400, 0x101420, true},
        {"logged-in.png", 900, 400, 0x101420, true},
        {"login.png", 200, 160, 0xFFFFFF, true},
        {"logged-in.png", 200, 160, 0xFFFFFF, false},
        // The page's dark frame in the corner, under the board too.
        {"board.png", 2, 2, 0x1C202C, true},
    };
    for (const auto& point : points) {
        const uint32_t colour = pixelAt(shots / point.file, point.x, point.y);
        EXPECT_EQ(near(colour, point.colour), point.same)
            << point.file << " at " << point.x << "," << point.y << ": " << std::hex << colour
            << "\n"
            << output;
    }

    // The board drawn inside its rectangle, the drop changing it there and
    // leaving the menu panel as it was.
    LayoutRect board;
    LayoutRect menu;
    ASSERT_TRUE(layoutBoardRect(2, board) && layoutNavMenuRect(2, menu));
        EXPECT_GT(changedShare(shots / "logged-in.png", shots / "board.png", board), 0.05);
    EXPECT_GT(changedShare(shots / "board.png", shots / "drop.png", board), 0.0);
    EXPECT_LT(changedShare(shots / "board.png", shots / "drop.png", menu), 0.01);

    // The second start: the key stored by the first logs in by itself, and
    // the game goes on.
    std::string again;
    ASSERT_EQ(runPlay(mFolder, mFolder / "shots", again), 0) << again;
    EXPECT_NE(again.find("logged in by the stored key"), std::string::npos) << again;
    EXPECT_NE(again.find("played a turn against the bot"), std::string::npos) << again;
}

TEST_F(PlayScriptTest, WithNoDisplayAtAllTheRecordingHostStandsInAndNoServerFailsTheLogin) {
    std::string output;
    EXPECT_EQ(runHeadless(mFolder, mFolder / "shots",
                          "TARNWICK_SERVER_URL=http://127.0.0.1:1/ '" TARNWICK_DEMO
                          "' --root '" TARNWICK_SOURCE_DIR "' --shots '" +
                              (mFolder / "shots").string() + "'",
                          output),
              1)
        << output;
    EXPECT_NE(output.find("failed: the logged-in screen"), std::string::npos) << output;
    EXPECT_TRUE(std::filesystem::exists(mFolder / "shots" / "login.png")) << output;
}
