#pragma once

// The test driver's road after the login: the games list asked for until
// the game against the bot waits for the player, the game opened through
// the page's selectGame, one legal drop dragged with synthesized mouse
// events through the engine's view, the turn submitted and confirmed, and
// the list asked for until the bot's turn is back, and the game opened
// again with it. One screenshot a step.

#include <cstdint>
#include <functional>
#include <string>

class DemoGameRoad {
public:
    enum class Result { Running, Done, Failed };
    // shoot: writes the window as the named screenshot (false on failure).
    // timeoutMs: the whole road's time limit.
    DemoGameRoad(std::function<bool(const char* name)> shoot, uint32_t timeoutMs);

    // Called before each swap once logged in; quits the program when the
    // road fails (the script that runs it quits once its steps are done).
    Result step();
    Result stepOnce();
    Result result() const { return mResult; }

private:
    enum class Stage {
        AskList,
        WaitList,
        WaitBoard,
        Drag,
        WaitDrop,
        Submit,
        WaitBack,
        Reopened,
        End
    };

    void fail(const std::string& why);
    bool startDrag();
    // What the page's entry of the game calls when clicked.
    void clickEntry(uint32_t now);
    // The game opened has been shown a while and replays nothing.
    bool settled();

    std::function<bool(const char*)> mShoot;
    uint32_t mTimeout;
    uint32_t mStart = 0;
    uint32_t mLastAsk = 0;
    Stage mStage = Stage::AskList;
    Result mResult = Result::Running;
    // Set during a step: a job's frames drawn inside it do not step again.
    bool mInStep = false;
    int mFrames = 0;
    int64_t mGameId = 0;
    int32_t mTurnCount = 0;
    size_t mCommands = 0;
    const void* mSubmitted = nullptr; // compared only, never used

    int mDragStep = 0;
    int mAttempt = 0;
    int mFromX = 0;
    int mFromY = 0;
    int mToX = 0;
    int mToY = 0;
};
