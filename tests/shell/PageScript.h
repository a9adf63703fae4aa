#pragma once

// Runs page statements in JavaScriptCore, with no display: stub page
// functions keep the texts they receive. Each PageScript starts the stubs
// afresh in the process's one context.

#include <JavaScriptCore/JavaScript.h>

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
