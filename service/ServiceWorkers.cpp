#include "service/ServiceWorkers.h"

#include <memory>
#include <utility>
#include <vector>

ServiceWorkers::~ServiceWorkers() {
    quit();
}

bool ServiceWorkers::start(Job job) {
    std::unique_lock lock(mMutex);
    reapDone(lock);
    if (mQuitting.load())
        return false;
    Worker& worker = mWorkers.emplace_back();
    worker.thread = std::thread([this, &worker, job = std::move(job)]() mutable {
        job(mQuitting);
        job = nullptr;
        const std::lock_guard ended(mMutex);
        worker.done = true;
        mEnded.notify_all();
    });
    return true;
}

bool ServiceWorkers::sendAndForget(ServerRequest&& request) {
    auto owned = std::make_shared<ServerRequest>(std::move(request));
    return start([owned](const std::atomic<bool>& quitting) {
        owned->setCancelFlag(&quitting);
        (*owned)();
    });
}

void ServiceWorkers::quit() {
    std::unique_lock lock(mMutex);
    mQuitting.store(true);
    mEnded.wait(lock, [this] {
        for (const Worker& worker : mWorkers)
            if (!worker.done)
                return false;
        return true;
    });
    reapDone(lock);
}

size_t ServiceWorkers::runningCount() const {
    const std::lock_guard lock(mMutex);
    size_t running = 0;
    for (const Worker& worker : mWorkers)
        running += worker.done ? 0 : 1;
    return running;
}

void ServiceWorkers::reapDone(std::unique_lock<std::mutex>& lock) {
    std::vector<std::thread> ended;
    for (auto it = mWorkers.begin(); it != mWorkers.end();) {
        if (it->done) {
            ended.push_back(std::move(it->thread));
            it = mWorkers.erase(it);
        } else {
            ++it;
        }
    }
    // An ended worker only has its last unlock left: joined without the lock.
    lock.unlock();
    for (std::thread& thread : ended)
        thread.join();
    lock.lock();
}

ServiceWorkers& serviceWorkers() {
    static ServiceWorkers workers;
    return workers;
}
