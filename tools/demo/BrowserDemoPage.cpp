#include "BrowserDemoPage.h"

#include "shell/BrowserPageHost.h"
#include "shell/CocosV8Handler.h"
#include "shell/ShellState.h"

#include "platform/browser/BridgeDispatcher.h"

#include <SDL.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// "in" on the logged-in screen (it shows the player's name), "out" on the
// login screen.
const char* const cScreenQuestion =
    "($('#GamesListScreen').is(':visible') && $('#LoggedInName').text() !== '') ? 'in' : "
    "$('#LoginScreen').is(':visible') ? 'out' : 'neither'";

// The centres of the form's user name and password fields and its button,
// in page pixels.
const char* const cFormQuestion =
    "JSON.stringify(['#account', '#password', '#LoginButton'].map(function (id) {"
    "  var r = $(id)[0].getBoundingClientRect();"
    "  return [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)]; }))";

uint32_t windowId() {
    return gMainWindow != nullptr ? SDL_GetWindowID(gMainWindow) : 0;
}

void pushFocus() {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = windowId();
    event.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    SDL_PushEvent(&event);
}

void pushClick(int x, int y) {
    SDL_Event event{};
    event.button.windowID = windowId();
    event.button.button = SDL_BUTTON_LEFT;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    for (const uint32_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        event.type = type;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&event);
    }
}

// Ctrl+A: the field's text selected, so that typing replaces it.
void pushSelectAll() {
    SDL_Event event{};
    event.key.windowID = windowId();
    event.key.keysym.sym = SDLK_a;
    event.key.keysym.scancode = SDL_SCANCODE_A;
    event.key.keysym.mod = KMOD_LCTRL;
    for (const uint32_t type : {SDL_KEYDOWN, SDL_KEYUP}) {
        event.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&event);
    }
}

// Typed text, in pieces that fit an SDL text event (never splitting a
// character).
void pushText(const std::string& text) {
    constexpr size_t room = sizeof(SDL_TextInputEvent::text) - 1;
    for (size_t at = 0; at < text.size();) {
        size_t size = std::min(room, text.size() - at);
        while (size > 1 && at + size < text.size() && (text[at + size] & 0xC0) == 0x80)
            --size;
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = windowId();
        std::memcpy(event.text.text, text.data() + at, size);
        SDL_PushEvent(&event);
        at += size;
    }
}

} // namespace

BrowserDemoPage::BrowserDemoPage(BrowserPageHost& host) : mHost(host) {
    std::function<void()> registerBridge = shellSeams().registerBridge;
    shellSeams().registerBridge = [this, registerBridge] {
        if (registerBridge)
            registerBridge();
        CocosV8Handler* handler = cocosV8Handler();
        if (handler == nullptr)
            return;
        setBridgeDispatcher(
            [this, handler](const std::string& function, const nlohmann::json& arguments) {
                mCalls.push_back(function);
                return handler->Execute(function, arguments);
            });
    };
}

bool BrowserDemoPage::calledSinceMark() const {
    return std::find(mCalls.begin() + ptrdiff_t(std::min(mAwaitedFrom, mCalls.size())),
                     mCalls.end(), mAwaited) != mCalls.end();
}

std::optional<bool> BrowserDemoPage::loggedIn() {
    if (!mHost.pageShown() || !calledSinceMark())
        return std::nullopt;
    if (!mAnswer) {
        if (!mAsking) {
            mAsking = true;
            mHost.evaluate(cScreenQuestion, [this](const std::string& answer) {
                mAsking = false;
                if (answer == "in" || answer == "out") {
                    mAnswer = answer == "in";
                    mPaintsAtAnswer = mHost.paintCount();
                }
            });
        }
        return std::nullopt;
    }
    // A snapshot asked for after the answer is in the frame.
    if (mHost.paintCount() < mPaintsAtAnswer + 2)
        return std::nullopt;
    return mAnswer;
}

bool BrowserDemoPage::submitLogin(const std::string& user, const std::string& password) {
    // A page without the form: nothing is pressed, and the wait for the
    // logged-in screen runs out.
    if (mFormMissing)
        return true;
    if (mForm.empty()) {
        if (!mAsking) {
            mAsking = true;
            mHost.evaluate(cFormQuestion, [this, user, password](const std::string& answer) {
                mAsking = false;
                planForm(answer, user, password);
            });
        }
        return false;
    }
    while (mFormNext < mForm.size()) {
        FormAction& action = mForm[mFormNext];
        if (!action.pushed) {
            if (mFormNext + 1 == mForm.size()) {
                // The button: the page is settled once it called the bridge.
                mAwaited = "loginButton";
                mAwaitedFrom = mCalls.size();
                mAnswer.reset();
            }
            action.push();
            action.pushed = true;
        }
        if (action.check.empty() || action.checked) {
            ++mFormNext;
            continue;
        }
        if (!mAsking) {
            mAsking = true;
            mHost.evaluate(action.check, [this](const std::string& answer) {
                mAsking = false;
                if (answer == "true" && mFormNext < mForm.size())
                    mForm[mFormNext].checked = true;
            });
        }
        return false;
    }
    return true;
}

void BrowserDemoPage::planForm(const std::string& answer, const std::string& user,
                               const std::string& password) {
    const nlohmann::json places = nlohmann::json::parse(answer, nullptr, false);
    if (!places.is_array() || places.size() != 3 ||
        !std::all_of(places.begin(), places.end(), [](const nlohmann::json& place) {
            return place.is_array() && place.size() == 2 && place[0].is_number() &&
                   place[1].is_number();
        })) {
        std::fprintf(stderr, "tarnwick-demo: no login form in the page (%s)\n", answer.c_str());
        mFormMissing = true;
        return;
    }
    const auto at = [&places](size_t i) {
        return std::pair{places[i][0].get<int>(), places[i][1].get<int>()};
    };
    // Each field clicked, its text selected and typed over, and read back
    // before the next: a person's pace.
    const auto typeInto = [&](size_t i, const std::string& id, const std::string& text) {
        const std::pair<int, int> place = at(i);
        const int x = place.first;
        const int y = place.second;
        mForm.push_back({[x, y, text] {
                             pushFocus();
                             pushClick(x, y);
                             pushSelectAll();
                             pushText(text);
                         },
                         "$('#" + id + "').val() === " + nlohmann::json(text).dump()});
    };
    typeInto(0, "account", user);
    typeInto(1, "password", password);
    const std::pair<int, int> button = at(2);
    mForm.push_back({[x = button.first, y = button.second] { pushClick(x, y); }, {}});
}
