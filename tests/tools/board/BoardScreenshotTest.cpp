// tarnwick-board run offscreen on the sample content: the screenshot shows
// the bound game (board, rack, both banners); bad arguments end with a
// message and a non-zero exit code.

#include <gtest/gtest.h>

#include <stb_image.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

class BoardScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "board-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        mDir = pattern;
    }
    void TearDown() override { fs::remove_all(mDir); }

    // The program's exit code with those arguments (output into a file of
    // the folder, read by output()); -1 when it did not exit.
    int run(const std::string& arguments) const {
        const std::string command = "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy '" +
                                    std::string(TARNWICK_BOARD_PROGRAM) + "' " + arguments +
                                    " > '" + (mDir / "output").string() + "' 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string output() const {
        std::ifstream in(mDir / "output");
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::string root() { return std::string(" --root '") + TARNWICK_SOURCE_DIR + "'"; }

    fs::path mDir;
};

struct Pixel {
    const char* what;
    int x, y; // from the top-left of the 1024 x 768 window
    std::array<int, 3> low, high;
};

} // namespace

TEST_F(BoardScreenshotTest, TheScreenshotShowsTheBoundGame) {
    const fs::path file = mDir / "out.png";
    ASSERT_EQ(run(root() + " --seed 1 --screenshot '" + file.string() + "' --frames 60"), 0)
        << output();
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> image(
        stbi_load(file.c_str(), &width, &height, &channels, 3), stbi_image_free);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(width, 1024);
    ASSERT_EQ(height, 768);
    const Pixel pixels[] = {
        {"a deploy square of the board", 250, 250, {20, 70, 20}, {90, 150, 90}},
        {"a rack tile", 557, 730, {0, 60, 160}, {120, 150, 255}},
        {"the local banner", 100, 72, {0, 40, 150}, {100, 130, 255}},
        {"the opponent's banner", 900, 72, {150, 0, 0}, {255, 90, 90}},
    };
    for (const Pixel& pixel : pixels) {
        const stbi_uc* rgb = image.get() + (size_t(pixel.y) * size_t(width) + size_t(pixel.x)) * 3;
        for (size_t c = 0; c < 3; ++c)
            EXPECT_TRUE(rgb[c] >= pixel.low[c] && rgb[c] <= pixel.high[c])
                << pixel.what << ": (" << int(rgb[0]) << ", " << int(rgb[1]) << ", " << int(rgb[2])
                << ")";
    }
}

TEST_F(BoardScreenshotTest, BadArgumentsEndWithAMessage) {
    struct Case {
        std::string arguments;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {root() + " --civs humans nobody --screenshot x.png", 1, "unknown civ \"nobody\""},
        {root() + " --frames many", 2, "usage: tarnwick-board"},
        {" --root '" + mDir.string() + "' --screenshot x.png", 1, "failed to init"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.arguments), c.code) << c.arguments;
        EXPECT_NE(output().find(c.message), std::string::npos) << c.arguments << "\n" << output();
    }
}
