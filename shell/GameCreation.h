#pragma once

// New games and accepted invitations: the team "random" turned into a civ of
// the settings, the local player's first state built on a temporary Game and
// posted to the service, and the page told how the attempt ended. Main
// thread only, except pickRandomCivId, which the matchmaking worker calls
// too.

#include "shell/CocosV8Handler.h"

#include <cstdint>
#include <string>
#include <string_view>

class WebService;

// The roster's team that stands for a civ drawn at random.
inline constexpr std::string_view cRandomTeamName = "random";

// The answer of acceptGameWithCiv for a state that does not load.
inline constexpr int32_t cAcceptStateUnreadable = 99;

// A list position of a civ of the settings, drawn uniformly from the
// cosmetic generator under the game lock (the generator has no lock of its
// own); -1 when the settings hold no civ.
int32_t pickRandomCivId();
// The name of the civ pickRandomCivId draws; empty when there is none.
std::string randomCivName();
// Replaces the exact text "random" by a drawn civ name (left as it is when
// the settings hold no civ); any other text stays.
void resolveRandomTeam(std::string& team);

// Builds the first state of a new game with the local player (index 0) on
// the civ named team and posts it against opponent: WebService::createGame's
// code, gameId the new game's id.
int32_t createGameWithCiv(WebService& service, const std::string& team, const std::string& opponent,
                          int64_t& gameId);
// The bridge's createGame: true only when the game was created. The created
// game opens after the page's next list rebuild; a failure is told to the
// page.
bool createGameRequest(CocosV8Handler& handler, std::string team, const std::string& opponent);
// The page's text for a creation code; empty for codes that show nothing.
std::string creationFailureText(int32_t code);

// Completes the listed invitation with the local player's first state on the
// civ named team and posts it: WebService::matchAccepted's code;
// cAcceptStateUnreadable (record unchanged) when the stored state does not
// load; 2 without a request for an unlisted game, one without state or
// without the local player, or a team that names no civ. A refused accept
// leaves the record's state and civ as they were.
int32_t acceptGameWithCiv(CocosV8Handler& handler, const std::string& team, int64_t gameId);

// The bridge's rows.
BridgeResult bridgeCreateGame(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeAcceptGame(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeDeclineGame(CocosV8Handler& handler, const BridgeArguments& arguments);
