#pragma once

// The scene services the program installs: the board scene's own, with the
// shell's refresh of the platform's win stats and leaderboards behind the
// rules' hook (after a login and a won game).

#include "scene/GameSceneServices.h"

class WebService;

class ShellSceneServices : public GameSceneServices {
public:
    // service: the client whose win stats the boards show.
    explicit ShellSceneServices(WebService& service) : mService(service) {}

    void updateCivLeaderboards() override;

private:
    WebService& mService;
};
