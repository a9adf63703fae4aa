#pragma once

// What a tarnwick-demo run asks of the menu page, on either road: the real
// page in the off-screen browser, driven through the shell's event queue as
// a person's mouse and keys and read from its document (BrowserDemoPage),
// or, with no display at all, the recording host, whose page calls the run
// makes itself and whose statements it reads (RecordingDemoPage).

#include <optional>
#include <string>

class RecordingPageHost;

class DemoPage {
public:
    virtual ~DemoPage() = default;
    // Asked once a frame. Empty while the page has not settled: its load
    // calls not all made, a submitted form not yet answered, or the answer
    // not yet in the window's frame. Then whether the page shows its
    // logged-in screen.
    virtual std::optional<bool> loggedIn() = 0;
    // Puts the user name and password into the login form and presses its
    // button; asked once a frame until it says it is done.
    virtual bool submitLogin(const std::string& user, const std::string& password) = 0;
};

// The recording host's stand-in page: once the program started it makes
// the calls the page makes on load; the form's button is the bridge's
// "loginButton"; logged in once the page was told loginSuccess.
class RecordingDemoPage : public DemoPage {
public:
    explicit RecordingDemoPage(RecordingPageHost& host) : mHost(host) {}
    std::optional<bool> loggedIn() override;
    bool submitLogin(const std::string& user, const std::string& password) override;

private:
    RecordingPageHost& mHost;
    bool mLoaded = false;
};
