#pragma once

// The real menu page of a tarnwick-demo run (see DemoPage.h). Its native
// calls are noted on their way to the bridge; once the call that settles
// the page came (on load "closeSplashScreen", the last of its load calls;
// after a submitted form "loginButton"), the statements those calls sent
// have all been queued ahead of the run's own question to the page, so the
// answer read from the document is the settled one. Input goes into SDL's
// queue, where the shell takes it as a person's: focus, clicks on the
// form's fields and button, Ctrl+A and typed text, one field at a time.

#include "DemoPage.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class BrowserPageHost;

class BrowserDemoPage : public DemoPage {
public:
    // Call after installBridgeSeams and before runShell: notes the page's
    // native calls from the bridge's registration on.
    explicit BrowserDemoPage(BrowserPageHost& host);
    std::optional<bool> loggedIn() override;
    bool submitLogin(const std::string& user, const std::string& password) override;

private:
    // Events pushed into SDL's queue, then (when not empty) a question to
    // the page that answers "true" once they landed.
    struct FormAction {
        std::function<void()> push;
        std::string check;
        bool pushed = false;
        bool checked = false;
    };

    bool calledSinceMark() const;
    void planForm(const std::string& answer, const std::string& user, const std::string& password);

    BrowserPageHost& mHost;
    std::vector<std::string> mCalls;
    // The call that settles the page, and from which of mCalls on.
    std::string mAwaited = "closeSplashScreen";
    size_t mAwaitedFrom = 0;
    bool mAsking = false;
    std::optional<bool> mAnswer;
    int mPaintsAtAnswer = 0;
    std::vector<FormAction> mForm;
    size_t mFormNext = 0;
    bool mFormMissing = false;
};
