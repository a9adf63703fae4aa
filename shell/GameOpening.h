#pragma once

// Opening one of the player's listed games on the board: the state fetched
// when missing, a first state built for a matchmade game without one, an
// unanswered invitation sent to team selection, otherwise a new Game loaded
// from the stored state and shown in a new scene. Main thread only; each
// holds the game lock for its whole run. handler (null: none) is the page
// bridge that is told which game is on screen.

#include <cstdint>

class CocosV8Handler;
class Game;
class WebService;

// The id of the game on screen; 0 before any.
extern int64_t gOpenGameID;

// Opens the game; followedUp: the service settled the game just before.
void gotoGame(WebService& service, CocosV8Handler* handler, int64_t gameId, bool followedUp);
// Builds the first state of the listed game (seeded with the id's low 32
// bits), stores it in the record, and opens it when asked to.
void startNewGameFromRecord(WebService& service, CocosV8Handler* handler, int64_t gameId,
                            bool open);
// Loads the listed game's stored state into a new current game and shows
// it in a new scene; an unloadable state keeps the previous game.
void openGameScene(WebService& service, CocosV8Handler* handler, int64_t gameId, bool followedUp);
// Leaves the running scene; true.
bool popGameScene();
// The page's team selection for an invitation the local player has not
// answered.
void showTeamSelectForGame(WebService& service, int64_t gameId);
// Lets go of the shell's reference to the game it opened (shutdown, after
// the scenes went).
void releaseOpenedGame();
// Makes game the one the shell holds for the board, releasing the one held
// before (the puzzles hand theirs over too).
void holdOpenedGame(Game* game);
