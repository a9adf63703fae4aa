#pragma once

// The steps of a tarnwick-demo run that drives the program as a person
// would. Each step is asked once a frame, just before the swap (so that a
// screenshot holds the frame just drawn), until it is done; a step that
// fails, or waits longer than it may (a minute unless given), ends the run as a failure. The
// program quits once no step is left.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class DemoScript {
public:
    enum class State { Waiting, Done, Failed };
    static constexpr uint32_t cStepWaitMs = 60000;
    using Step = std::function<State()>;

    // name: what the step does or waits for, printed when it fails;
    // waitMs: how long it may wait.
    void add(std::string name, Step step, uint32_t waitMs = cStepWaitMs);
    // The frame hook (setBeforeSwapHandler).
    void frame();
    // 0 once every step was done, else 1.
    int status() const;

private:
    struct Entry {
        std::string name;
        Step step;
        uint32_t waitMs;
    };
    void end(bool failed);

    std::vector<Entry> mSteps;
    size_t mNext = 0;
    uint32_t mStepStart = 0;
    bool mStarted = false;
    bool mEnded = false;
    bool mFailed = false;
};

// The whole window's pixels as drawn so far, as a PNG.
bool saveWindow(const std::string& path);
// A step writing the window to the file (failing when it cannot).
DemoScript::Step screenshotStep(const std::filesystem::path& file);
