#pragma once

// The notifications that the service posts to the page bridge about its
// lists ("LargestNewsIDUpdated", the games list's changes). The shell installs
// the hook that forwards them to the page; without one a post does nothing.
// Posts may come from worker threads: the hook runs on the posting thread.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

using ListNotificationHook = std::function<void(const std::string& name)>;

// Installs hook; an empty one removes it.
void setListNotificationHook(ListNotificationHook hook);
void postListNotification(std::string_view name);

// Removing a game from the list asks the pages to forget it (its entry in
// the games page, its balloons). The shell installs the hook; without one
// the purge does nothing.
using GamePurgeHook = std::function<void(int64_t gameId)>;

// Installs hook; an empty one removes it.
void setGamePurgeHook(GamePurgeHook hook);
void purgeGameFromAll(int64_t gameId);
