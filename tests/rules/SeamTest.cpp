#include "rules/CocosLink.h"

#include <gtest/gtest.h>

#include <vector>

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace {

// A view that logs its life and can refuse to attach.
class LoggingLink : public CocosLink {
public:
    LoggingLink(CocosLinkageDelegate* owner, std::vector<std::string>& log, int number,
                bool attaches)
        : CocosLink(owner), mLog(log), mNumber(number), mAttaches(attaches) {}
    ~LoggingLink() override { mLog.push_back("delete " + std::to_string(mNumber)); }
    bool attach(const CCPoint& position, const CCSize& size) override {
        mLog.push_back("attach " + std::to_string(mNumber));
        return mAttaches && CocosLink::attach(position, size);
    }

    std::vector<std::string>& mLog;
    int mNumber;
    bool mAttaches;
};

class LoggingDelegate : public CocosLinkageDelegate {
public:
    ~LoggingDelegate() override { unlink(); }
    void createLink() override {
        ++mMade;
        mLog.push_back("create " + std::to_string(mMade));
        mLink = mMakes ? new LoggingLink(this, mLog, mMade, mAttaches) : nullptr;
    }

    std::vector<std::string> mLog;
    int mMade = 0;
    bool mAttaches = true;
    bool mMakes = true;
};

} // namespace

TEST(Seam, AnUnlinkedObjectAnswersZeroAndUnlinkingItDoesNothing) {
    LoggingDelegate object;
    EXPECT_FALSE(object.hasLink());
    EXPECT_EQ(object.getLink(), nullptr);
    EXPECT_EQ(object.getViewPosition(), CCPoint(0, 0));
    EXPECT_EQ(object.getViewSize(), CCSize(0, 0));
    object.unlink();
    EXPECT_TRUE(object.mLog.empty());
}

TEST(Seam, LinkingAgainDeletesTheOldViewBeforeMakingTheNewOne) {
    LoggingDelegate object;
    ASSERT_TRUE(object.link(CCPoint(3, 4), CCSize(10, 20)));
    EXPECT_EQ(object.getViewPosition(), CCPoint(3, 4));
    EXPECT_EQ(object.getViewSize(), CCSize(10, 20));
    EXPECT_EQ(object.getLink()->getOwner(), &object);
    ASSERT_TRUE(object.linkAt(CCPoint(7, 8)));
    EXPECT_EQ(object.mLog, (std::vector<std::string>{"create 1", "attach 1", "delete 1", "create 2",
                                                     "attach 2"}));
    EXPECT_EQ(object.getViewSize(), CCSize(0, 0));
    EXPECT_EQ(object.getViewPosition(), CCPoint(7, 8));
}

TEST(Seam, AFailedAttachOrCreationLeavesTheObjectUnlinked) {
    LoggingDelegate object;
    ASSERT_TRUE(object.linkAt(CCPoint(1, 1)));
    object.mAttaches = false;
    EXPECT_FALSE(object.linkAt(CCPoint(2, 2)));
    EXPECT_FALSE(object.hasLink());
    EXPECT_EQ(object.mLog.back(), "delete 2");
    object.mMakes = false;
    EXPECT_FALSE(object.linkAt(CCPoint(2, 2)));
    EXPECT_FALSE(object.hasLink());
}

TEST(Seam, ThePlainDelegateMakesAPlainViewAndFreesIt) {
    CocosLinkageDelegate object;
    ASSERT_TRUE(object.link(CCPoint(5, 6), CCSize(1, 2)));
    EXPECT_EQ(object.getLink()->getPosition(), CCPoint(5, 6));
    // The destructor frees the view left behind (the leak checker watches).
}
