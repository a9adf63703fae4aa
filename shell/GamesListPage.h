#pragma once

// The games list page: the native side redraws the page's list of games by
// running the page's own functions (html/GamesList.js). The service posts
// its list notifications, from whichever thread fetched the list; they only
// set the handler's rebuild flag, and the bridge's per-frame update calls
// rebuildGamesList on the main thread. Every text put into a statement goes
// through escapeQuotesForPage, so the page receives it unchanged.

#include "rules/GameRecord.h"

#include <cstdint>
#include <string>

class CocosV8Handler;

// The service's list notification for handler (any thread):
// "AsyncGamesListUpdated" sets mRebuildGamesList;
// "AsyncGamesListUpdatedAndUnchanged" sets it only while mGamesListBuilt is
// false. Names compare ignoring case; others do nothing.
void onGamesListNotification(CocosV8Handler& handler, const std::string& name);

// Called by the per-frame update when mRebuildGamesList was set. Under the
// game lock: the create entry, the sections MyTurn, OpponentsTurn,
// NotActive, NotInGame, the style call, the tray's new turns; then the
// deferred game becomes the game to open, or else the current game's chat
// panel is prepared again. Sets mGamesListBuilt.
void rebuildGamesList(CocosV8Handler& handler);
// One section: the title text, then the section's games by ascending
// last-turn time; in MyTurn the current game is selected before its entry.
void addGamesListSection(CocosV8Handler& handler, LocalGameState state);
// Sends one game's entry in section state ("addGameEntry" with its 13
// arguments); nothing for a record without both a local player and an
// opponent. The caller holds the game lock.
void addGameEntry(const GameRecord& record, LocalGameState state);
// Marks the puzzle button "NavPuzzleButton<category>-<index>"; nothing when
// either is -1.
void showCurrentPuzzleEntry(int32_t category, int32_t index);
// The page forgets the game everywhere and shows the games list. Called
// through the service's purge (removeGame), on any thread: the statement
// reaches the page on the main thread.
void purgeGameFromPage(int64_t gameId);
// "Build version: " and the program's four version numbers; prints the
// program's file name first.
std::string buildVersionText();

// The service's list notifications reach the process-wide handler (none
// before it exists), its purge reaches the page, and prepLaunch's build
// version text comes from buildVersionText.
void installGamesListHooks();
