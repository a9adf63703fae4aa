#pragma once

// The service's worker threads: every request that runs off the main thread
// (the fire-and-forget updates, and the polls and posts of the page's
// workers) runs as a job here. Once quitting has started no new worker
// starts; quit() tells running jobs to stop (the requests they hand the
// flag to abort within about a second) and waits until each has ended, so no
// worker outlives the client at exit.

#include "service/ServerRequest.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

class ServiceWorkers {
public:
    // A job gets the quitting flag to hand to its requests.
    using Job = std::function<void(const std::atomic<bool>& quitting)>;

    ServiceWorkers() = default;
    ServiceWorkers(const ServiceWorkers&) = delete;
    ServiceWorkers& operator=(const ServiceWorkers&) = delete;
    // Quits.
    ~ServiceWorkers();

    // Runs job on a new worker thread; false (and the job dropped) once
    // quitting has started.
    bool start(Job job);
    // Performs request on a worker; its result and reply are dropped.
    bool sendAndForget(ServerRequest&& request);

    // Stops new workers, aborts the running ones' requests and waits for
    // them to end.
    void quit();
    bool isQuitting() const { return mQuitting.load(); }
    // Workers that have not ended yet.
    size_t runningCount() const;

private:
    struct Worker {
        std::thread thread;
        bool done = false;
    };

    // Joins the workers that have ended; called with mMutex held.
    void reapDone(std::unique_lock<std::mutex>& lock);

    std::atomic<bool> mQuitting{false};
    mutable std::mutex mMutex;
    std::condition_variable mEnded;
    std::list<Worker> mWorkers;
};

// The process-wide facility.
ServiceWorkers& serviceWorkers();
