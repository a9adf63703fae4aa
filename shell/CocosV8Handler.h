#pragma once

// The page's native functions: every `cef.uiapp.<name>(...)` call of the
// menu page reaches CocosV8Handler::Execute through the native call road
// (platform/browser's bridge dispatcher). One table names the 73 functions
// with their parameters and the count each needs; it is the only source of
// dispatch. A row without a body yields no value.

#include "shell/BridgeArguments.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

class BSecureStorage;
class CocosV8Handler;
class ServiceWorkers;
class WebService;

// A function's value for the page; none: the call yields undefined.
using BridgeResult = std::optional<nlohmann::json>;
using BridgeBody = BridgeResult (*)(CocosV8Handler& handler, const BridgeArguments& arguments);

struct BridgeFunction {
    const char* name;
    const char* parameters; // as the page declares them, ", " between names
    size_t needed;          // fewer arguments: no effect and no value
    BridgeBody body;        // null: not built, no value
};

// The table, in the order the page's namespace declares the functions.
std::span<const BridgeFunction> bridgeFunctions();

class CocosV8Handler {
public:
    // The client and store the functions act on.
    CocosV8Handler(WebService& service, BSecureStorage& store);
    CocosV8Handler(const CocosV8Handler&) = delete;
    CocosV8Handler& operator=(const CocosV8Handler&) = delete;

    // Runs the named function (exact, case-sensitive) with the arguments (a
    // JSON array; extra ones ignored): its value, or none for a name not in
    // the table, a function not built, too few arguments, or a function
    // without a value. Never throws.
    BridgeResult Execute(const std::string& name, const nlohmann::json& arguments);

    WebService& service() const { return mService; }
    BSecureStorage& store() const { return mStore; }
    // Where the page's workers run (the service's workers unless set).
    ServiceWorkers& workers() const { return *mWorkers; }
    void setWorkers(ServiceWorkers& workers) { mWorkers = &workers; }

    // Once per pass of the main loop (BridgeUpdate.cpp): carries out what
    // the page asked for, paced by the shell's millisecond clock.
    void update();

    int64_t mGameToOpen = 0;
    uint32_t mLastGameOpenTime = 0;
    bool mGamesListRequested = false;
    uint32_t mLastGamesListPollTime = 0;
    bool mMatchmakeRequested = false;
    uint32_t mLastMatchmakeTime = 0;
    uint32_t mLastChatRefreshTime = 0;
    // The four matchmaking fields are guarded by gameDataMutex; the update
    // looks at the done flag before it takes the lock.
    std::string mMatchmakeTeam;
    int32_t mMatchmakeResult = 0;
    int64_t mMatchmakeGameID = 0;
    std::atomic<bool> mMatchmakeDone{false};
    // Read by the games-list worker.
    std::atomic<int64_t> mCurrentGameID{0};
    int64_t mDeferredGameID = 0;
    bool mForceChatRefresh = false;
    std::string mTeamSelectOpponent;
    bool mTeamSelectMatchmake = false;
    bool mGamesListEnabled = false;
    // Set by the games-list notification on the worker, cleared by the
    // update.
    std::atomic<bool> mRebuildGamesList{false};
    bool mShowLoadingOverlay = true;
    // Read by the games-list notification on the worker.
    std::atomic<bool> mGamesListBuilt{false};

private:
    WebService& mService;
    BSecureStorage& mStore;
    ServiceWorkers* mWorkers;
};

// The process-wide handler; null before registerClientUIPlugin.
CocosV8Handler* cocosV8Handler();
// Makes the process-wide handler (on the process-wide client and store)
// once and answers the page's native call road with its Execute.
void registerClientUIPlugin();
// Answers the native call road with handler's Execute.
void installBridgeDispatcher(CocosV8Handler& handler);
// Fills the shell's bridge registration seam with registerClientUIPlugin,
// its start-up stats seam with the platform stats and leaderboards, and
// installs the games list's hooks.
void installBridgeSeams();

// The page element that the off-screen page gives the keyboard focus: the
// off-screen client's focus element (main thread; a client made later
// takes it over from pageFocusElement).
void setPageFocusElement(const std::string& elementId);
std::string pageFocusElement();
// Unread news back to 0; the body of a worker.
void resetUnreadNewsCount();
void resetUnreadNewsCount(WebService& service);
