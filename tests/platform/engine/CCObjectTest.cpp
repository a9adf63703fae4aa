#include "EngineTest.h"

#include "platform/engine/CCAutoreleasePool.h"
#include "platform/engine/CCString.h"

using namespace cocos2d;

namespace {

int gDestroyed = 0;

class Probe : public CCObject {
public:
    ~Probe() override { ++gDestroyed; }
};

class ObjectTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        gDestroyed = 0;
    }
};

} // namespace

TEST_F(ObjectTest, PoolDrainsOncePerFrameAndKeepsRetainedObjects) {
    auto* dropped = new Probe();
    dropped->autorelease();
    auto* kept = new Probe();
    kept->autorelease();
    kept->retain();
    EXPECT_EQ(dropped->autoreleaseCount(), 1u);

    tick(0.016f);
    EXPECT_EQ(gDestroyed, 1);
    EXPECT_EQ(kept->retainCount(), 1u);
    EXPECT_EQ(kept->autoreleaseCount(), 0u);

    tick(0.016f);
    EXPECT_EQ(gDestroyed, 1) << "a second frame does not release again";
    kept->release();
    EXPECT_EQ(gDestroyed, 2);
}

TEST_F(ObjectTest, LocalizedTextLivesUntilThePoolDrains) {
    const char* text = CCString::stringWithString("Cancel")->getCString();
    EXPECT_STREQ(text, "Cancel");
    EXPECT_EQ(CCPoolManager::sharedPoolManager()->getCurrentPool()->count(), 1u);
    tick(0);
    EXPECT_EQ(CCPoolManager::sharedPoolManager()->getCurrentPool()->count(), 0u);
}
