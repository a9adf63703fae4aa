#pragma once

// The team-selection and team-details pages: the roster of civs, the title
// and both players' header for a new game, an invitation, a rematch or
// matchmaking; one civ's descriptions, bonus and tiles; and the calls that
// send the player to these pages from the board. Every text goes into the
// page's statements escaped. Main thread only.

#include "shell/CocosV8Handler.h"

#include <cstdint>
#include <string>

class ProtoCiv;
class WebService;

// The other player's nickname while matchmaking, and the avatar shown for it.
inline constexpr const char* cUnknownOpponentName = "??";
inline constexpr const char* cUnknownAvatar = "UI/Avatars/UnknownAvatar.jpg";

// Builds the team-selection page: the roster ("random", then every civ in
// list order three to a row), the title and the players' header. gameId
// above 0 is an invitation; otherwise a new game (rematch: against the
// opponent of a finished game). Unless matchmaking, the opponent is looked
// up on the service; an unknown one shows "Invalid player name." and the
// page still gets its title and avatars.
void populateTeamSelect(WebService& service, const std::string& opponent, int64_t gameId,
                        bool matchmake, bool rematch);
// The roster entry of the random team, at (0, 0).
void addRandomTeamToRoster();
// The roster entry of one civ.
void addCivToRoster(const ProtoCiv& civ, int32_t column, int32_t row);
// Builds the team-details page of the civ: its texts and images, then one
// entry per tile of its allocation (tiles without a proto are skipped).
void populateTeamDetails(const ProtoCiv& civ);
// The colour text of the details page: "#" and each background component
// halved, as two lowercase hex digits.
std::string teamDetailsColor(const ProtoCiv& civ);

// The board's team button: the details of the civ with a way back to the
// board; nothing for an unknown civ.
void showTeamDetailsFromBoard(int32_t civId);
// The board's rematch button: team selection for a new game against the
// opponent of that listed game; nothing for a game not listed or without
// an opponent.
void showTeamSelectForOpponent(WebService& service, int64_t gameId);
// Runs "showTeamSelect('<pageGameId>', '<opponent of gameId>', false);" for
// a listed game with an opponent; false, nothing run, otherwise.
bool showTeamSelectAgainstOpponentOf(WebService& service, int64_t gameId, int64_t pageGameId);

// The bridge's populateTeamSelect(opponent, gameID, matchmake, rematch),
// teamRosterSelection(teamName) and populateTeamDetails(teamName).
BridgeResult bridgePopulateTeamSelect(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeTeamRosterSelection(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgePopulateTeamDetails(CocosV8Handler& handler, const BridgeArguments& arguments);
