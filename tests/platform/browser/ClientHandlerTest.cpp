#include "platform/browser/ClientHandler.h"
#include "platform/browser/BridgeDispatcher.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

struct SchemeCase {
    const char* url;
    bool served;
    const char* file;
    const char* mimeType;
    int status; // after reading the file
};

// The scheme's files live in a temporary current folder for the test.
class ClientHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        mOldFolder = std::filesystem::current_path();
        mFolder = std::filesystem::path(::testing::TempDir()) / ("scheme-folder-" + std::to_string(getpid()));
        std::filesystem::remove_all(mFolder);
        for (const char* file : {"data/a.png", "html/DATA/a.png", "html/UI/a.png", "html/a.js",
                                 "html/a.JS", "html/app/bridge/anything"})
            write(file, file);
        std::filesystem::create_directories(mFolder / "secret");
        write("secret/store", "keys");
        std::filesystem::current_path(mFolder);
    }
    void TearDown() override {
        std::filesystem::current_path(mOldFolder);
        std::filesystem::remove_all(mFolder);
        setBridgeDispatcher({});
    }
    void write(const std::string& name, const std::string& text) {
        std::filesystem::create_directories((mFolder / name).parent_path());
        std::ofstream(mFolder / name, std::ios::binary) << text;
    }

    std::filesystem::path mOldFolder;
    std::filesystem::path mFolder;
};

TEST_F(ClientHandlerTest, SchemeTableResolvesReadsAndRefuses) {
    const SchemeCase cases[] = {
        {"tarnwick://data/a.png", true, "data/a.png", "text/html", 200},
        {"tarnwick://DATA/a.png", true, "html/DATA/a.png", "text/html", 200},
        {"tarnwick://UI/a.png", true, "html/UI/a.png", "text/html", 200},
        {"TARNWICK://data/a.png", false, "", "", 200},
        {"file:///data/a.png", false, "", "", 200},
        {"tarnwick:/", false, "", "", 200},
        {"tarnwick://a.js", true, "html/a.js", "application/javascript", 200},
        {"tarnwick://a.JS", true, "html/a.JS", "text/html", 200},
        {"tarnwick://a.js?v=2", true, "html/a.js?v=2", "text/html", 404},
        {"tarnwick://", true, "html/", "text/html", 404},
        {"tarnwick://UI", true, "html/UI", "text/html", 404},
        {"tarnwick://data/../secret/store", true, "data/../secret/store", "text/html", 404},
        {"tarnwick://../secret/store", true, "html/../secret/store", "text/html", 404},
        {"tarnwick:///etc/passwd", true, "html//etc/passwd", "text/html", 404},
        {"tarnwick://data\\..\\secret\\store", true, "html/data\\..\\secret\\store", "text/html",
         404},
        {"tarnwick://data/missing.png", true, "data/missing.png", "text/html", 404},
    };
    for (const SchemeCase& c : cases) {
        SCOPED_TRACE(c.url);
        SchemeRequest request = ClientHandler::OnBeforeResourceLoad(c.url);
        EXPECT_EQ(request.served, c.served);
        EXPECT_FALSE(request.bridge);
        if (!c.served)
            continue;
        EXPECT_EQ(request.file, c.file);
        EXPECT_EQ(request.mimeType, c.mimeType);
        std::string body;
        EXPECT_EQ(ClientHandler::readSchemeFile(request, body), c.status == 200);
        EXPECT_EQ(request.status, c.status);
        if (c.status == 200)
            EXPECT_EQ(body, c.file);
        else
            EXPECT_EQ(body, "");
    }
}

TEST_F(ClientHandlerTest, BridgePathReadsNoFileAndAnswersThroughTheDispatcher) {
    SchemeRequest request =
        ClientHandler::OnBeforeResourceLoad("tarnwick://app/bridge/anything?%5B1%2C%22x%22%5D");
    ASSERT_TRUE(request.bridge);
    EXPECT_EQ(request.file, "");
    EXPECT_EQ(request.function, "anything");
    EXPECT_EQ(request.arguments, "[1,\"x\"]");

    std::string seen;
    setBridgeDispatcher([&](const std::string& function,
                            const nlohmann::json& arguments) -> std::optional<nlohmann::json> {
        seen = function + arguments.dump();
        if (function == "nothing")
            return std::nullopt;
        return nlohmann::json{{"n", arguments[0].get<int>() + 1}};
    });
    EXPECT_EQ(answerBridgeCall("anything", request.arguments), R"({"value":{"n":2}})");
    EXPECT_EQ(seen, "anything[1,\"x\"]");
    EXPECT_EQ(answerBridgeCall("nothing", "[]"), "{}");

    seen.clear();
    for (const char* bad : {"", "[1,", "{\"a\":1}", "7"})
        EXPECT_EQ(answerBridgeCall("anything", bad), "{}") << bad;
    EXPECT_EQ(seen, "");
}

TEST(PopupPlacementTest, CentresA1024By768WindowTruncatingTowardZero) {
    const PopupPlacement narrow = ClientHandler::OnBeforePopup(100, 50, 1100, 650);
    EXPECT_EQ(narrow.x, 100 - 12);
    EXPECT_EQ(narrow.y, 50 - 84);
    EXPECT_EQ(narrow.width, 1024);
    EXPECT_EQ(narrow.height, 768);
    EXPECT_LT(ClientHandler::OnBeforePopup(0, 0, 1000, 768).x, 0);
    EXPECT_EQ(ClientHandler::OnBeforePopup(0, 0, 1025, 768).x, 0);
    EXPECT_EQ(ClientHandler::OnBeforePopup(0, 0, 1023, 767).x, 0); // -1 / 2 truncates to 0
    EXPECT_EQ(ClientHandler::OnBeforePopup(0, 0, 1434, 990).x, 205);
    EXPECT_EQ(ClientHandler::OnBeforePopup(0, 0, 1434, 990).y, 111);
}

} // namespace
