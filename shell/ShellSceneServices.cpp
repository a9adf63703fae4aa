#include "shell/ShellSceneServices.h"

#include "shell/Leaderboards.h"

void ShellSceneServices::updateCivLeaderboards() {
    ::updateCivLeaderboards(mService);
}
