// The game lock: recursive on its owner's thread, exclusive across threads,
// and taken by the load of a game while it reads the game's listed record.

#include "ExecuteTestSupport.h"
#include "GameArchiveTestSupport.h"

#include "rules/GameRecord.h"
#include "rules/GamesList.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;

TEST(GameLockTest, IsRecursiveOnOneThreadAndBlocksAnother) {
    boost::recursive_mutex& lock = gameDataMutex();
    lock.lock();
    EXPECT_TRUE(lock.try_lock());
    bool otherGotIt = true;
    std::thread([&] { otherGotIt = lock.try_lock(); }).join();
    EXPECT_FALSE(otherGotIt);
    lock.unlock();
    lock.unlock();
    std::thread([&] {
        otherGotIt = lock.try_lock();
        if (otherGotIt)
            lock.unlock();
    }).join();
    EXPECT_TRUE(otherGotIt);
}

class GameLockLoadTest : public ExecuteTest {};

TEST_F(GameLockLoadTest, ALoadOfAListedGameWaitsWhileAnotherThreadHoldsTheLock) {
    FakeGamesList list;
    list.addRecord(42, 0, 0).mTurnCount = 1;
    const std::vector<uint8_t> blob = mGame->saveToBuffer();
    Game* opened = new Game();

    std::atomic<bool> held{false};
    std::atomic<bool> release{false};
    std::thread holder([&] {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        held = true;
        while (!release.load())
            std::this_thread::sleep_for(1ms);
    });
    while (!held.load())
        std::this_thread::sleep_for(1ms);

    std::atomic<bool> loaded{false};
    std::thread loader([&] { loaded = archive_test::load(*opened, blob); });
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(loaded.load());
    release = true;
    holder.join();
    loader.join();
    EXPECT_TRUE(loaded.load());
    opened->release();
}

TEST(GameLockTest, TellsWhetherTheCallingThreadHoldsIt) {
    EXPECT_FALSE(gameDataMutexHeldHere());
    {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        EXPECT_TRUE(gameDataMutexHeldHere());
        bool heldThere = true;
        std::thread([&] { heldThere = gameDataMutexHeldHere(); }).join();
        EXPECT_FALSE(heldThere);
    }
    EXPECT_FALSE(gameDataMutexHeldHere());
}
