#include "shell/ShellState.h"

#include <SDL.h>

#include <mutex>

std::atomic<bool> gAppRunning{true};
bool gAppMinimized = false;
bool gPrepLaunchDone = false;
SDL_Window* gMainWindow = nullptr;

namespace {

std::mutex gRecordMutex;
std::vector<std::string> gRecord;
std::atomic<bool> gRecording{false};
std::function<uint32_t()> gMillisecondClock;

void showMainWindowIfMade() {
    if (gMainWindow != nullptr)
        SDL_ShowWindow(gMainWindow);
}

ShellSeams recordingSeams() {
    ShellSeams seams;
    seams.requestStatsAndLeaderboards = [] { recordShellCall("seam:requestStatsAndLeaderboards"); };
    seams.loadPrivateFonts = [] { recordShellCall("seam:loadPrivateFonts"); };
    seams.registerBridge = [] { recordShellCall("seam:registerBridge"); };
    seams.showSplashScreen = [] {
        recordShellCall("seam:showSplashScreen");
        showMainWindowIfMade();
    };
    seams.bridgeUpdate = [] { recordShellCall("seam:bridgeUpdate"); };
    seams.removeTrayIcon = [] { recordShellCall("seam:removeTrayIcon"); };
    seams.buildVersionText = [] {
        recordShellCall("seam:buildVersionText");
        return std::string();
    };
    seams.closeSplashScreen = [] {
        recordShellCall("seam:closeSplashScreen");
        showMainWindowIfMade();
    };
    seams.setTrayIcon = [](bool newTurn) {
        recordShellCall(newTurn ? "seam:setTrayIcon(true)" : "seam:setTrayIcon(false)");
    };
    seams.resetWaitingGamesCount = [] { recordShellCall("seam:resetWaitingGamesCount"); };
    seams.popGameScene = [] { recordShellCall("seam:popGameScene"); };
    seams.forgetOpenGameId = [] { recordShellCall("seam:forgetOpenGameId"); };
    return seams;
}

ShellSeams& seamStorage() {
    static ShellSeams seams = recordingSeams();
    return seams;
}

} // namespace

void setShellCallRecording(bool on) {
    gRecording = on;
}

void recordShellCall(std::string_view name) {
    if (!gRecording)
        return;
    std::lock_guard lock(gRecordMutex);
    gRecord.emplace_back(name);
}

std::vector<std::string> shellCalls() {
    std::lock_guard lock(gRecordMutex);
    return gRecord;
}

void clearShellCalls() {
    std::lock_guard lock(gRecordMutex);
    gRecord.clear();
}

uint32_t shellMilliseconds() {
    if (gMillisecondClock)
        return gMillisecondClock();
    return static_cast<uint32_t>(SDL_GetTicks64());
}

void setShellMillisecondClock(std::function<uint32_t()> clock) {
    gMillisecondClock = std::move(clock);
}

ShellSeams& shellSeams() {
    return seamStorage();
}

void resetShellSeams() {
    seamStorage() = recordingSeams();
}
