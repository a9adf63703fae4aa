// The README's main job with no display: tools/play.sh starts its own
// loopback server on a free port, logs in as demo under Xvfb, plays a turn
// against the bot and leaves a screenshot of each step (the first run's in
// the build folder).

#include "ShellTestSupport.h"

#include "shell/LayoutModes.h"

#include "platform/render/CCImage.h"

#include <array>
#include <cstdio>
#include <cstdlib>
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

// The colour of one pixel as 0xRRGGBB; 0 when the file does not load.
uint32_t pixelAt(const std::filesystem::path& file, int x, int y) {
    cocos2d::CCImage image;
    if (!image.initWithImageFile(file.string()) || x >= image.getWidth() || y >= image.getHeight())
        return 0;
    const size_t at = (size_t(y) * size_t(image.getWidth()) + size_t(x)) * 4;
    const std::vector<uint8_t>& pixels = image.getData();
    return uint32_t(pixels[at]) << 16 | uint32_t(pixels[at + 1]) << 8 | pixels[at + 2];
}

// Runs tools/play.sh with no display in the test's folder (its data, its
// temporary files) and a free port, the screenshots going to shots; the
// exit code and everything printed.
int runPlay(const std::filesystem::path& folder, const std::filesystem::path& shots,
            std::string& output) {
    const std::filesystem::path build =
        std::filesystem::path(TARNWICK_DEMO).parent_path().parent_path();
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy "
        "TARNWICK_PORT=0 XDG_DATA_HOME='" +
        folder.string() + "' XDG_RUNTIME_DIR='" + folder.string() + "' TMPDIR='" + folder.string() +
        "' TARNWICK_SHOTS='" + shots.string() + "' bash '" TARNWICK_SOURCE_DIR "/tools/play.sh' '" +
        build.string() + "' 2>&1";
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

TEST_F(PlayScriptTest, PlaysATurnAgainstTheBotHeadlessThenLogsInByTheStoredKey) {
    // The first run's screenshots stay in the build folder.
    const std::filesystem::path shots =
        std::filesystem::path(TARNWICK_DEMO).parent_path().parent_path() / "tests" / "shell" /
        "play-shots";
    std::error_code ignored;
    std::filesystem::remove_all(shots, ignored);
    std::string output;
    ASSERT_EQ(runPlay(mFolder, shots, output), 0) << output;
    EXPECT_NE(output.find("logged in as demo"), std::string::npos) << output;
    EXPECT_NE(output.find("played a turn against the bot"), std::string::npos) << output;
    EXPECT_NE(output.find("screenshots in " + shots.string()), std::string::npos) << output;
    for (const char* name : {"login.png", "logged-in.png", "games-list.png", "board.png",
                             "drop.png", "submitted.png", "back.png"})
        EXPECT_TRUE(showsSomething(shots / name)) << name << "\n" << output;

    // Layout mode 2 on Xvfb's screen: the page's dark background in the
    // corner, the menu panel unchanged by the board, the board drawn inside
    // its rectangle.
    LayoutRect board;
    LayoutRect menu;
    ASSERT_TRUE(layoutBoardRect(2, board) && layoutNavMenuRect(2, menu));
    const uint32_t corner = pixelAt(shots / "board.png", 2, 2);
    EXPECT_NEAR(corner >> 16, 26, 2) << std::hex << corner;
    EXPECT_NEAR(corner >> 8 & 0xff, 28, 2) << std::hex << corner;
    EXPECT_NEAR(corner & 0xff, 41, 2) << std::hex << corner;
    EXPECT_LT(changedShare(shots / "logged-in.png", shots / "board.png", menu), 0.01);
    EXPECT_GT(changedShare(shots / "logged-in.png", shots / "board.png", board), 0.05);
    EXPECT_GT(changedShare(shots / "board.png", shots / "drop.png", board), 0.0);

    // The second start: the key stored by the first logs in by itself, and
    // the game goes on.
    std::string again;
    ASSERT_EQ(runPlay(mFolder, mFolder / "shots", again), 0) << again;
    EXPECT_NE(again.find("logged in by the stored key"), std::string::npos) << again;
    EXPECT_NE(again.find("played a turn against the bot"), std::string::npos) << again;
}
