#pragma once

// Runs page statements in JavaScriptCore, with no display: stub page
// functions keep the texts they receive. Each PageScript starts the stubs
// afresh in the process's one context.

#include <JavaScriptCore/JavaScript.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

class PageScript {
public:
    PageScript();
    ~PageScript();
    PageScript(const PageScript&) = delete;
    PageScript& operator=(const PageScript&) = delete;

    // Runs a statement; false when it throws or does not parse.
    bool run(const std::string& statement);
    // The value of an expression as a UTF-8 text.
    std::string text(const std::string& expression);

private:
    JSGlobalContextRef mContext;
};

// A page script of html/ tested over stand-ins that keep the page's calls
// in an array "calls".
class PageFileTest : public ::testing::Test {
protected:
    // Runs the stand-ins, then the file (a name in html/).
    void load(const std::string& standIns, const std::string& file) {
        std::ifstream in(std::string(TARNWICK_SOURCE_DIR "/html/") + file);
        const std::string script{std::istreambuf_iterator<char>(in),
                                 std::istreambuf_iterator<char>()};
        ASSERT_FALSE(script.empty()) << file;
        ASSERT_TRUE(mPage.run(standIns));
        ASSERT_TRUE(mPage.run(script)) << file;
    }
    // The calls since the last look, one a line.
    std::string calls() {
        const std::string out = mPage.text("calls.join('\\n')");
        mPage.run("calls = [];");
        return out;
    }

    PageScript mPage;
};
