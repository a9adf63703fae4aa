// News, game guide, version check and the service's option text against
// scripted replies.

#include "LoopbackTestSupport.h"

#include "service/ListNotifications.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"

#include <vector>

using namespace std::chrono_literals;

namespace {

class NewsVersionTest : public LoopbackTest {
protected:
    void SetUp() override {
        LoopbackTest::SetUp();
        setListNotificationHook([this](const std::string& name) { mPosted.push_back(name); });
    }
    void TearDown() override {
        setListNotificationHook({});
        // Unset, and without the value an earlier text gave (which a later
        // "+Name" would otherwise bring back).
        for (const char* name : {"SubmitTurnVersion", "CreateGameVersion"}) {
            BConfig::instance().unset(name);
            if (OptionValue* record = BConfig::instance().findValue(name, true))
                record->type = cOptionDefined;
        }
    }

    std::vector<std::string> mPosted;
};

} // namespace

TEST_F(NewsVersionTest, AddressesOfTheNewsAndTheGuide) {
    EXPECT_EQ(mClient.getNewsUrl(), mServer.baseUrl() + "news/News/getTarnwickNews");
    const std::string guide = mClient.getGameGuideUrl();
    EXPECT_EQ(guide, mServer.baseUrl() + "news/News/getTarnwickGameGuide?ver=1");
}

TEST_F(NewsVersionTest, TheNewsCountIsReadAndPosted) {
    const struct {
        const char* body;
        bool ok;
        int32_t key;
        int32_t diff;
    } cases[] = {
        {"<root key=\"7\" diff=\"2\"/>", true, 7, 2},
        {"<root key=\"9\"/>", false, 9, 2},
        {"<root diff=\"4\"/>", false, 9, 2},
        {"<Error>Busy</Error>", false, 9, 2},
        {"<root key=\"x\" diff=\"1\"", false, 9, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        mPosted.clear();
        script(Endpoint::GetNews, {200, c.body});
        EXPECT_EQ(mClient.getNews(), c.ok);
        EXPECT_EQ(mClient.mNewsKey.load(), c.key);
        EXPECT_EQ(mClient.mNewsDiff.load(), c.diff);
        EXPECT_EQ(mPosted, c.ok ? std::vector<std::string>{"LargestNewsIDUpdated"}
                                : std::vector<std::string>{});
    }
    const ReceivedRequest first = mServer.requests().at(0);
    EXPECT_EQ(first.path, "/news/News/getTarnwickNewsGetLargeID");
    EXPECT_EQ(*first.field("key"), "0") << "nothing stored under HighestNewsRead";
    EXPECT_EQ(*first.field("ver"), "2");
    EXPECT_EQ(first.parts.size(), 2u);

    mStore.setValue("HighestNewsRead", "7");
    script(Endpoint::GetNews, {200, "<root key=\"7\" diff=\"0\"/>"});
    EXPECT_TRUE(mClient.getNews());
    EXPECT_EQ(*mServer.requests().back().field("key"), "7");
}

TEST_F(NewsVersionTest, TheVersionCheckReadsInOrderAndThenFetchesTheOptionText) {
    const struct {
        ScriptedReply reply;
        int code;
        int64_t protocol, lower, upper;
        bool fetchesOptions;
    } cases[] = {
        {{200, "<root protocol=\"1040\" lowerGame=\"1000\" upperGame=\"1039\"/>"},
         0, 1040, 1000, 1039, true},
        {{200, "<root protocol=\"1040\" lowerGame=\"1000\"/>"}, 1, 1040, 1000, 99999999, false},
        {{200, "<root protocol=\"1040\" lowerGame=\"new\" upperGame=\"1\"/>"},
         1, 1040, 99999999, 99999999, false},
        {{200, "<Error/>"}, 1, 99999999, 99999999, 99999999, false},
        {{200, "", 0ms, true}, 99, 99999999, 99999999, 99999999, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply.body);
        const size_t before = mServer.requests().size();
        script(Endpoint::GetVersions, c.reply);
        EXPECT_EQ(mClient.getVersions(), c.code);
        EXPECT_EQ(mClient.mProtocolVersion, c.protocol);
        EXPECT_EQ(mClient.mLowerGameVersion, c.lower);
        EXPECT_EQ(mClient.mUpperGameVersion, c.upper);
        const std::vector<ReceivedRequest> sent = mServer.requests();
        ASSERT_EQ(sent.size(), before + (c.fetchesOptions ? 2 : 1));
        EXPECT_EQ(sent.back().path, c.fetchesOptions ? "/cfg/Server.cfg"
                                                     : "/cfg/Version/getTarnwickVersions");
        EXPECT_EQ(*sent.at(before).field("buildVer"), "1039");
        EXPECT_EQ(sent.at(before).parts.size(), 1u);
    }
}

TEST_F(NewsVersionTest, TheOptionTextSetsTheEndpointVersionsItNames) {
    const struct {
        ScriptedReply reply;
        int code;
        int32_t submit, create;
    } cases[] = {
        {{200, ""}, 0, 2, 1},
        {{200, "SubmitTurnVersion=3"}, 0, 3, 1},
        {{200, "CreateGameVersion=4\nSomethingElse=1"}, 0, 3, 4},
        {{404, "SubmitTurnVersion=9"}, 1, 3, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply.body);
        script(Endpoint::ServerConfig, c.reply);
        EXPECT_EQ(mClient.fetchServerConfig(), c.code);
        EXPECT_EQ(mClient.endpoint(Endpoint::SubmitTurn).mVersion, c.submit);
        EXPECT_EQ(mClient.endpoint(Endpoint::CreateGame).mVersion, c.create);
    }
    EXPECT_EQ(mServer.requests().back().method, "GET");
    EXPECT_EQ(mClient.stamp(Endpoint::SubmitTurn).mVersion, 3);
}

TEST_F(NewsVersionTest, AnOptionWithoutAValueLeavesItsVersion) {
    script(Endpoint::ServerConfig, {200, "+SubmitTurnVersion +CreateGameVersion"});
    EXPECT_EQ(mClient.fetchServerConfig(), 0);
    EXPECT_TRUE(BConfig::instance().isSetById(cOptSubmitTurnVersion));
    EXPECT_EQ(mClient.endpoint(Endpoint::SubmitTurn).mVersion, 2);
    EXPECT_EQ(mClient.endpoint(Endpoint::CreateGame).mVersion, 1);
}
