// The interface page's own scripts, as the page loads them, in
// JavaScriptCore: every page function the program's statements call is
// defined there.

#include "PageScript.h"

#include "shell/ShellWindows.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// jQuery as a stand-in whose every call chains.
constexpr const char* cStandIns = R"JS(
var window = this;
var chain = new Proxy(function () {}, { get: function () { return function () { return chain; }; } });
var $ = function (what) { return typeof what === 'function' ? undefined : chain; };
)JS";

TEST(InterfacePageTest, DefinesEveryPageFunctionTheProgramCalls) {
    const std::string html = readFile(TARNWICK_SOURCE_DIR "/html/GameLayoutLarge.html");
    ASSERT_FALSE(html.empty());
    PageScript page;
    ASSERT_TRUE(page.run(cStandIns));
    // The page's own scripts, in its order (jQuery comes from the system).
    const std::regex script(R"(<script src="([A-Za-z]+\.js)\")");
    int loaded = 0;
    for (std::sregex_iterator it(html.begin(), html.end(), script), end; it != end; ++it) {
        const std::string source = readFile(TARNWICK_SOURCE_DIR "/html/" + (*it)[1].str());
        ASSERT_FALSE(source.empty()) << (*it)[1];
        ASSERT_TRUE(page.run(source)) << (*it)[1];
        ++loaded;
    }
    ASSERT_GE(loaded, 2);
    for (const char* function :
         {"positionElement", "setBoardSize", "navigateTo", "locAlert", "hideBoardElements",
          "hideBoardOverlays", "prepLocText", "setUsername", "setPassword", "loadingFinished",
          "loginSuccess", "loginFailed", "logoutSuccess", "logoutFailed", "navigateToGamesList",
          "navigateToCreateGame"})
        EXPECT_EQ(page.text(std::string("typeof ") + function), "function") << function;
}

TEST(InterfacePageTest, ItsStyleSheetLoadsEveryPrivateFontFromTheProgramsFolder) {
    const std::string css = readFile(TARNWICK_SOURCE_DIR "/html/GameLayout.css");
    for (const std::string& file : privateFontFiles()) {
        // The rule that names the file: "@font-face { ... src: url(../FILE); }".
        const size_t src = css.find("src: url(../" + file + ");");
        ASSERT_NE(src, std::string::npos) << file;
        const size_t rule = css.rfind("@font-face {", src);
        EXPECT_TRUE(rule != std::string::npos && css.find('}', rule) > src) << file;
    }
}

TEST(InterfacePageTest, NavigateToTakesAScreensNameWithOrWithoutItsEnding) {
    PageScript page;
    ASSERT_TRUE(page.run(R"JS(
var shown = [], ids = ['#LoginScreen', '#GamesListScreen', '#GamesList'];
var $ = function (what) {
  if (typeof what === 'function') return;
  return { length: ids.indexOf(what) >= 0 ? 1 : 0, hide: function () {},
           show: function () { shown.push(what); return this; },
           closest: function () { return { show: function () {} }; } };
};)JS"));
    ASSERT_TRUE(page.run(readFile(TARNWICK_SOURCE_DIR "/html/GameLayout.js")));
    const struct {
        const char* screen;
        const char* shown;
    } cases[] = {
        {"GamesList", "#GamesListScreen"},
        {"GamesListScreen", "#GamesListScreen"},
        {"Login", "#LoginScreen"},
        {"LoginScreen", "#LoginScreen"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(page.run(std::string("shown = []; navigateTo('") + c.screen + "');"));
        EXPECT_EQ(page.text("shown.join()"), c.shown) << c.screen;
    }
}

} // namespace
