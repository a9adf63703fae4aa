#pragma once

// A page script of html/ run in JavaScriptCore over stand-ins that keep the
// page's calls in the array "calls".

#include "PageScript.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

class PageFileTest : public ::testing::Test {
protected:
    // Runs the stand-ins, then the page file (a path below html/).
    void load(const char* standIns, const std::string& file) {
        std::ifstream in(TARNWICK_SOURCE_DIR "/html/" + file);
        const std::string script{std::istreambuf_iterator<char>(in),
                                 std::istreambuf_iterator<char>()};
        ASSERT_FALSE(script.empty());
        ASSERT_TRUE(mPage.run(standIns));
        ASSERT_TRUE(mPage.run(script));
    }
    // The calls since the last look, one a line.
    std::string calls() {
        const std::string out = mPage.text("calls.join('\\n')");
        mPage.run("calls = [];");
        return out;
    }

    PageScript mPage;
};
