#pragma once

// The replay of a saved turn with no display: a game-state blob opened in a
// fresh game as the game scene opens one (the headless scene, views and
// animation driver stand-ins, the views linked, Game::startReplay), played
// on the hand clock in steps of 1/30 s to its end, or skipped at a chosen
// tick, then the presentation after it let run out. The game's blob is then
// compared with the blob as opened: playback never changes the model. The
// program's own views and animation driver may stand in for the stand-ins.

#include <cstdint>
#include <string>
#include <vector>

class RNG;
class SceneServices;

struct HeadlessReplayResult {
    bool mLoaded = false;
    // Game::startReplay started a replay (the turn had recorded actions).
    bool mReplayed = false;
    // The replay ended within the time limit.
    bool mEnded = false;
    // The blob after the replay equals the blob as opened, byte for byte.
    bool mSameBlob = false;
    // Clock steps until the replay ended.
    int32_t mTicks = 0;

    // "" when sound; else what went wrong.
    std::string problem() const;
};

struct HeadlessReplayOptions {
    // The player who opens the game (its current player).
    int32_t mOpener = 0;
    // The id the game is loaded with (its record in the games list).
    int64_t mGameId = -1;
    // The tick at which the replay is skipped; negative: never.
    int32_t mSkipAtTick = -1;
    // Game time the replay may take at most.
    float mLimitSeconds = 120.0f;
    // The scene services that make the views and play their animations;
    // null: the views and driver stand-ins. Given ones stay installed.
    SceneServices* mServices = nullptr;
};

class HeadlessReplay {
public:
    static constexpr float cTick = 1.0f / 30.0f;

    static HeadlessReplayResult run(const std::vector<uint8_t>& blob,
                                    const HeadlessReplayOptions& options);
    // A saved turn replayed to its end, then again skipped at a tick drawn
    // from skips (when it replayed): "" when both are sound, else what went
    // wrong. Counts the turns that replayed in replays.
    static std::string check(const std::vector<uint8_t>& blob, HeadlessReplayOptions options,
                             RNG& skips, int32_t& replays);
};
