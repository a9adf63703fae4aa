#include "PageScript.h"

#include <vector>

namespace {

std::string toUtf8(JSStringRef string) {
    std::vector<char> buffer(JSStringGetMaximumUTF8CStringSize(string));
    const size_t size = JSStringGetUTF8CString(string, buffer.data(), buffer.size());
    return std::string(buffer.data(), size > 0 ? size - 1 : 0);
}

// Stubs of the login page's functions and of jQuery's calls the statements
// make; every text argument is kept in "received".
constexpr const char* cStubs =
    "var received = [];"
    "function keep() { for (var i = 0; i < arguments.length; ++i) received.push(arguments[i]); }"
    "var setUsername = keep, setPassword = keep, loadingFinished = keep, prepLocText = keep,"
    "    positionElement = keep, setBoardSize = keep;"
    "var $ = function(selector) { return { focus: function() {}, show: function() {},"
    "    attr: function(name, value) { keep(value); }, html: keep }; };";

} // namespace

// One context for the process, never released: the engine's teardown runs
// shared-pointer code that the sanitizers' vptr check, compiled into this
// program, cannot follow into the library.
JSGlobalContextRef sharedContext() {
    static JSGlobalContextRef context = JSGlobalContextCreate(nullptr);
    return context;
}

PageScript::PageScript() : mContext(sharedContext()) {
    run(cStubs);
}

PageScript::~PageScript() = default;

bool PageScript::run(const std::string& statement) {
    JSStringRef script = JSStringCreateWithUTF8CString(statement.c_str());
    JSValueRef exception = nullptr;
    JSEvaluateScript(mContext, script, nullptr, nullptr, 0, &exception);
    JSStringRelease(script);
    return exception == nullptr;
}

std::string PageScript::text(const std::string& expression) {
    JSStringRef script = JSStringCreateWithUTF8CString(expression.c_str());
    JSValueRef value = JSEvaluateScript(mContext, script, nullptr, nullptr, 0, nullptr);
    JSStringRelease(script);
    if (value == nullptr)
        return "<exception>";
    JSStringRef string = JSValueToStringCopy(mContext, value, nullptr);
    std::string out = toUtf8(string);
    JSStringRelease(string);
    return out;
}

// JavaScriptCore keeps a few allocations of its own for the life of the
// process; the leak checker of sanitized builds leaves them alone.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libjavascriptcoregtk-4.1.so\n";
}
