#pragma once

// The notifications that the service posts to the page bridge about its
// lists ("LargestNewsIDUpdated", the games list's changes). The shell installs
// the hook that forwards them to the page; without one a post does nothing.
// Posts may come from worker threads: the hook runs on the posting thread.

#include <functional>
#include <string>
#include <string_view>

using ListNotificationHook = std::function<void(const std::string& name)>;

// Installs hook; an empty one removes it.
void setListNotificationHook(ListNotificationHook hook);
void postListNotification(std::string_view name);
