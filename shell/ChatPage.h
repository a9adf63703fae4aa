#pragma once

// The chat panel of the page (html/Chat.js): prepared for a game with both
// players' names, avatars and colours, and rewritten from the service's
// chat lines. Main thread, under the game lock. Every text put into a
// statement goes through escapeQuotesForPage, so the page receives it
// unchanged.

#include <cstdint>

class CocosV8Handler;

// Called by the per-frame update for the game on screen, with force once
// after the game opened. Without force and without unread lines nothing is
// fetched or drawn. Otherwise fetches the game's chat (blocking), rewrites
// the panel from the record's lines, last to first, scrolls to the bottom
// (twice when lines were unread), clears the unread count and sends the
// game's entry again. Stops when the game left the list, before or during
// the fetch, or has no local player.
void refreshChat(CocosV8Handler& handler, int64_t gameId, bool force);
// Prepares the panel ("prepChat" with its nine arguments); nothing for an
// unlisted game or one with fewer than two players. flag: true after a
// games-list rebuild, false when the game was just opened. The caller holds
// the game lock.
void prepChat(CocosV8Handler& handler, int64_t gameId, bool flag);
