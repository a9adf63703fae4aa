// The beam action between two entities: its ends on the puppets' bones
// (mirrored with the view, the target's 20 above its root), coincident
// ends, ends without a puppet, a second init and the copy.

#include "EntityViewTestSupport.h"

#include "scene/ActionLinkEntities.h"

#include "platform/render/CCSprite.h"

#include <cmath>

using namespace cocos2d;

namespace {

class ActionLinkEntitiesTest : public EntityViewTest {
protected:
    void SetUp() override {
        EntityViewTest::SetUp();
        writeSolidPng("Beam.png", 16, 4, {255, 255, 255, 255});
        mBeam = CCSprite::spriteWithFile("Beam.png");
        mBeam->retain();
    }
    void TearDown() override {
        mBeam->release();
        EntityViewTest::TearDown();
    }

    // Runs one step of a link from source to target with an extra length.
    void stretch(Entity* source, Entity* target, float extra) {
        ActionLinkEntities* action = ActionLinkEntities::actionWithEntities(source, target);
        ASSERT_NE(action, nullptr);
        action->mExtraLength = extra;
        action->startWithTarget(mBeam);
        action->step(0.016f);
        EXPECT_FALSE(action->isDone());
    }
    // Where the bone of an entity's view lies on the scene, by the view's
    // node, without mirroring.
    static CCPoint boneOnScene(const EntityView* view, const char* bone) {
        const CCPoint at = view->getPosition();
        const CCPoint p =
            view->puppet()->getBonePosition(-1, PuppetRegistry::boneIndex(bone), -1.0f, true);
        const CCNode* node = view->getMainNode();
        return CCPoint(at.x + p.x - node->getContentSize().width * node->getAnchorPoint().x,
                       at.y + p.y - node->getContentSize().height * node->getAnchorPoint().y);
    }

    CCSprite* mBeam = nullptr;
};

} // namespace

TEST_F(ActionLinkEntitiesTest, FromTheLaunchBoneToTwentyAboveTheRootMirroredWithTheView) {
    for (int32_t owner : {0, 1}) {
        EntityView* source = view("knight", owner, GridSlot(0, owner));
        EntityView* target = view("knight", 0, GridSlot(4, owner));
        target->getMainNode()->setPosition(CCPoint(300, 140));
        CCPoint a = boneOnScene(source, "BoneLaunchpoint");
        if (owner == 1) // the bone's x offset mirrored about the view's position
            a.x = 2 * source->getPosition().x - a.x;
        CCPoint b = boneOnScene(target, "BoneRoot");
        b.y += 20;
        stretch(source->entity(), target->entity(), 10.0f);
        const float length = std::hypot(b.x - a.x, b.y - a.y);
        EXPECT_FLOAT_EQ(mBeam->getPosition().x, (a.x + b.x) / 2) << owner;
        EXPECT_FLOAT_EQ(mBeam->getPosition().y, (a.y + b.y) / 2) << owner;
        EXPECT_NEAR(mBeam->getRotation(), -std::atan2(b.y - a.y, b.x - a.x) * 57.29578f, 1e-3);
        EXPECT_FLOAT_EQ(mBeam->getScaleX(), (length + 20.0f) / 16.0f) << owner;
        EXPECT_FLOAT_EQ(mBeam->getScaleY(), 1.0f);
    }
}

TEST_F(ActionLinkEntitiesTest, CoincidentEndsWithoutPuppetsTakeTheBonesAtTheCorner) {
    // Sprite views have no bones: (0, 0) at each end. The target 20 lower
    // than the source puts both ends on one point.
    EntityView* source = view("archer", 0, GridSlot(0, 0));
    EntityView* target = view("archer", 0, GridSlot(1, 0));
    source->getMainNode()->setPosition(CCPoint(100, 120));
    target->getMainNode()->setPosition(CCPoint(100, 100));
    mBeam->setRotation(45.0f);
    stretch(source->entity(), target->entity(), 6.0f);
    EXPECT_EQ(mBeam->getPosition(), CCPoint(100 - 20 * 0.25f, 120 - 20 * 0.125f));
    EXPECT_FLOAT_EQ(mBeam->getRotation(), 0.0f);
    EXPECT_FLOAT_EQ(mBeam->getScaleX(), 2 * 6.0f / 16.0f);
}

TEST_F(ActionLinkEntitiesTest, InitOnceAndCopiesWithoutTheExtraLength) {
    Entity* first = make("knight", 0, GridSlot(0, 0));
    Entity* second = make("knight", 0, GridSlot(1, 0));
    Entity* third = make("knight", 0, GridSlot(2, 0));
    EXPECT_EQ(ActionLinkEntities::actionWithEntities(first, nullptr), nullptr);
    ActionLinkEntities* action = ActionLinkEntities::actionWithEntities(first, second);
    ASSERT_NE(action, nullptr);
    EXPECT_FALSE(action->initWithEntities(third, third));
    EXPECT_EQ(action->getSourceEntity(), first);
    EXPECT_EQ(action->getTargetEntity(), second);
    action->mExtraLength = 10.0f;
    auto* copy = static_cast<ActionLinkEntities*>(action->copy());
    EXPECT_EQ(copy->getSourceEntity(), first);
    EXPECT_EQ(copy->getTargetEntity(), second);
    EXPECT_FLOAT_EQ(copy->mExtraLength, 0.0f);
    EXPECT_FALSE(copy->isDone());
    copy->release();
    // Entities without views: nothing moves.
    mBeam->setPosition(CCPoint(7, 7));
    stretch(first, second, 0.0f);
    EXPECT_EQ(mBeam->getPosition(), CCPoint(7, 7));
}
