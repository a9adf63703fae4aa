#pragma once

// A stand-in of the entity animation driver for headless playback on the
// hand clock. It records the driver's lines as HeadlessSceneServices does;
// for the states whose visual ends by reporting the entity's step (place,
// deploy, birth, move, the attacks, the abilities) it reports the step to
// the entity's game a fixed time after the line's delay, and a taunt's end
// calls the game's taunt-finished step. The report runs on the entity's
// view node, so it goes with the view; without a view nothing runs, as with
// the driver.

#include "tools/scenefakes/HeadlessSceneServices.h"

class HeadlessAnimationDriver : public HeadlessSceneServices {
public:
    // stepTime: seconds from a line's delay to its report.
    explicit HeadlessAnimationDriver(float stepTime = 0.5f);

    // Whether the driver's visual of the state ends with the step report.
    static bool reportsStep(int32_t state);
    // Whether the state is a taunt.
    static bool isTaunt(int32_t state);

    void playEntityAnimation(Entity* entity, int32_t state, const GridSlot& own,
                             const GridSlot& toward, float delay, const GridSlot& end) override;
    void playEntityAnimationInPlace(Entity* entity, int32_t state, const GridSlot& toward,
                                    float delay) override;

    float mStepTime;

private:
    // Schedules the end of the state's visual on the entity's view node.
    void scheduleEnd(Entity* entity, int32_t state, float delay);
};
