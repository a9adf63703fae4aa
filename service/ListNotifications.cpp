#include "service/ListNotifications.h"

#include <mutex>

namespace {

std::mutex& hookMutex() {
    static std::mutex mutex;
    return mutex;
}

ListNotificationHook& installedHook() {
    static ListNotificationHook hook;
    return hook;
}

GamePurgeHook& installedPurgeHook() {
    static GamePurgeHook hook;
    return hook;
}

} // namespace

void setListNotificationHook(ListNotificationHook hook) {
    const std::lock_guard lock(hookMutex());
    installedHook() = std::move(hook);
}

void postListNotification(std::string_view name) {
    ListNotificationHook hook;
    {
        const std::lock_guard lock(hookMutex());
        hook = installedHook();
    }
    // Called without the lock, so the hook may post or reinstall.
    if (hook)
        hook(std::string(name));
}

void setGamePurgeHook(GamePurgeHook hook) {
    const std::lock_guard lock(hookMutex());
    installedPurgeHook() = std::move(hook);
}

void purgeGameFromAll(int64_t gameId) {
    GamePurgeHook hook;
    {
        const std::lock_guard lock(hookMutex());
        hook = installedPurgeHook();
    }
    if (hook)
        hook(gameId);
}
