// Requests on worker threads: fire-and-forget, and the quit that ends
// running workers early and starts no new ones.

#include "LoopbackTestSupport.h"

#include "service/ServiceWorkers.h"

using namespace std::chrono_literals;

class ServiceWorkersTest : public LoopbackTest {};

TEST_F(ServiceWorkersTest, AFireAndForgetRequestReachesTheServer) {
    ServiceWorkers workers;
    const RequestStamp stamp = mClient.stamp(Endpoint::UpdateHomeColor);
    ServerRequest request(stamp.mUrl);
    stamp.addIdentity(request);
    request.addFormInt("homeColor", 3);
    stamp.addSignature(request);
    EXPECT_TRUE(workers.sendAndForget(std::move(request)));
    ASSERT_TRUE(mServer.waitForRequests(1, 5s));
    EXPECT_EQ(*mServer.requests().at(0).field("homeColor"), "3");
    workers.quit();
    EXPECT_EQ(workers.runningCount(), 0u);
}

TEST_F(ServiceWorkersTest, QuitEndsAWorkerWaitingOnASlowReplyAndStartsNoMore) {
    script(Endpoint::UpdateAvatar, {200, "<Success/>", 60s});
    ServiceWorkers workers;
    ServerRequest request(mClient.endpointUrl(Endpoint::UpdateAvatar));
    request.addFormString("avatar", "PACK|1");
    request.setTimeout(60s);
    ASSERT_TRUE(workers.sendAndForget(std::move(request)));
    ASSERT_TRUE(mServer.waitForRequests(1, 5s));
    EXPECT_EQ(workers.runningCount(), 1u);

    // Far less than either time-out: the progress check aborts the request.
    const auto started = std::chrono::steady_clock::now();
    workers.quit();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 20s);
    EXPECT_EQ(workers.runningCount(), 0u);
    EXPECT_TRUE(workers.isQuitting());

    bool ran = false;
    EXPECT_FALSE(workers.start([&ran](const std::atomic<bool>&) { ran = true; }));
    EXPECT_FALSE(ran);
}

TEST(ServiceWorkersJobTest, AJobSeesTheQuittingFlag) {
    ServiceWorkers workers;
    std::atomic<bool> started{false};
    std::atomic<bool> sawQuit{false};
    ASSERT_TRUE(workers.start([&](const std::atomic<bool>& quitting) {
        started = true;
        while (!quitting.load())
            std::this_thread::sleep_for(1ms);
        sawQuit = true;
    }));
    while (!started.load())
        std::this_thread::sleep_for(1ms);
    workers.quit();
    EXPECT_TRUE(sawQuit.load());
}
