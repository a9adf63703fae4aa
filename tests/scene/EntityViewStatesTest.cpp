// An entity view's states and overlays, driven through the entity's link:
// auras, premium squares, the health bar's width, debuff transitions,
// target markers, equipment and the link beams.

#include "EntityViewTestSupport.h"

#include "scene/widgets/HealingBeamSprite.h"
#include "scene/widgets/HealthBar.h"

#include "puppet/PuppetAnimAction.h"
#include "rules/ActionResultInfo.h"
#include "rules/AnimStateIds.h"

#include "platform/engine/CCActionManager.h"
#include "platform/render/CCProgressTimer.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCTexture2D.h"

#include <cmath>

using namespace cocos2d;

namespace {

// The view of an entity as the rules reach it.
CocosEntityLink* linkOf(const EntityView* view) {
    return view->entity()->getEntityLink();
}

} // namespace

TEST_F(EntityViewTest, AVictoryUnitShowsOnlyShieldsArmorDebuffAndHighlight) {
    EntityView* crystal = view("crystal");
    for (int32_t aura = 0; aura < EntityView::cAuraCount; ++aura) {
        linkOf(crystal)->showAura(aura, false, 0.0f, false);
        EXPECT_EQ(crystal->isAuraShown(aura), aura == 7 || aura == 12 || aura == 19) << aura;
    }
}

TEST_F(EntityViewTest, AShowDuringItsDelayShowsOnceAndAHiddenOverlayStaysHidden) {
    EntityView* unit = view("knight");
    PuppetInstance* overlay = unit->getAura(9);
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->getParent(), unit->getMainNode());
    EXPECT_EQ(overlay->getZOrder(), 9);
    linkOf(unit)->hideAura(9, true, 0.0f);
    EXPECT_EQ(overlay->numberOfRunningActions(), 0u);
    linkOf(unit)->showAura(9, true, 0.5f, false);
    EXPECT_TRUE(unit->isAuraShown(9)) << "shown once its show is scheduled";
    EXPECT_FALSE(overlay->getIsVisible());
    linkOf(unit)->showAura(9, true, 0.0f, false);
    EXPECT_FALSE(overlay->getIsVisible()) << "the second show does not replace the first";
    EXPECT_EQ(overlay->getOpacity(), 127);
    run(0.6f);
    EXPECT_TRUE(overlay->getIsVisible());
    EXPECT_EQ(overlay->getCurrentState(), cAnimStatePlay);
}

TEST_F(EntityViewTest, PremiumSquareOverlaysFollowAMove) {
    EntityView* unit = view("knight", 0, GridSlot(4, 2));
    EXPECT_TRUE(unit->isAuraShown(2)) << "built on the Power square";
    ActionResultInfo move(unit->entity()->mId);
    move.mInitialSlot = GridSlot(4, 2);
    move.mFinalSlot = GridSlot(5, 2);
    move.mFinalState = cStateDeployedToGameBoard;
    linkOf(unit)->applyPremiumTileAura(&move, 0.0f);
    EXPECT_FALSE(unit->isAuraShown(2));
    EXPECT_TRUE(unit->isAuraShown(14));

    move.mInitialSlot = GridSlot(5, 2);
    move.mFinalSlot = GridSlot(0, 0);
    move.mFinalState = cStateOnTileRack;
    linkOf(unit)->applyPremiumTileAura(&move, 0.0f);
    for (int32_t aura = 0; aura < EntityView::cAuraCount; ++aura)
        EXPECT_FALSE(unit->isAuraShown(aura)) << aura;
}

TEST_F(EntityViewTest, TheBarsWidthFollowsTheMaximumHealth) {
    const struct {
        const char* name;
        int32_t maxHealth;
        float scale;
    } cases[] = {{"knight", 800, 1.0f},   {"knight", 1600, 1.5f},   {"knight", 400, 0.75f},
                 {"crystal", 4500, 1.0f}, {"crystal", 9000, 1.25f}, {"knight", 0, 0.5f}};
    int32_t x = 0;
    for (const auto& c : cases) {
        Entity* unit = make(c.name, 0, GridSlot(x++, 0));
        if (std::string(c.name) == "crystal")
            mGame->mPlayers[0]->mVictoryUnitIds.push_back(unit->mId);
        unit->mMaxHealthBonus = c.maxHealth - unit->getMaxHealth();
        unit->mHealth = c.maxHealth / 2;
        EntityView* made = link(unit);
        HealthBar* bar = made->getHealthBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_FLOAT_EQ(bar->getScaleX(), c.scale) << c.name << " " << c.maxHealth;
        EXPECT_FLOAT_EQ(bar->getScaleY(), 1.0f);
        EXPECT_FLOAT_EQ(bar->getBar()->getPercentage(), c.maxHealth > 0 ? 50.0f : 0.0f)
            << c.maxHealth;
    }
}

TEST_F(EntityViewTest, DebuffTransitionsRowByRow) {
    const struct {
        int32_t from;
        int32_t to;
        int32_t transition; // -1: nothing runs
        int32_t followUp;
        bool hiddenAfter;
    } cases[] = {
        {0, 1, cAnimStatePlay, cAnimStateIdle, false},
        {1, 2, 36, 37, false},
        {2, 1, 38, cAnimStateIdle, false},
        {1, 0, 21, -1, true},
        {0, 0, -1, -1, true},
        {1, 1, -1, -1, false},
        {2, 2, -1, -1, false},
    };
    int32_t x = 0;
    for (const auto& c : cases) {
        EntityView* crystal = view("crystal", 0, GridSlot(x++, 0));
        crystal->setCrystalDebuffLevel(c.from, false, 0.0f);
        PuppetInstance* front = crystal->getCrystalDebuffFront();
        PuppetInstance* back = crystal->getCrystalDebuffBack();
        const int32_t before = front->getCurrentState();
        front->stopAllActions();
        back->stopAllActions();
        linkOf(crystal)->setCrystalDebuffLevel(c.to, true, 0.0f);
        EXPECT_EQ(crystal->getCrystalDebuffLevel(), c.to);
        EXPECT_EQ(front->numberOfRunningActions(), c.transition >= 0 ? 1u : 0u)
            << c.from << " to " << c.to;
        run(0.05f);
        if (c.transition < 0) {
            EXPECT_EQ(front->getCurrentState(), before) << c.from << " to " << c.to;
            continue;
        }
        EXPECT_EQ(front->getCurrentState(), c.transition) << c.from << " to " << c.to;
        EXPECT_EQ(back->getCurrentState(), c.transition);
        EXPECT_TRUE(front->getIsVisible());
        run(1.1f); // the pose lasts one second
        if (c.followUp >= 0) {
            EXPECT_EQ(front->getCurrentState(), c.followUp) << c.from << " to " << c.to;
        }
        EXPECT_EQ(front->getIsVisible(), !c.hiddenAfter) << c.from << " to " << c.to;
        EXPECT_EQ(back->getIsVisible(), !c.hiddenAfter);
    }
}

TEST_F(EntityViewTest, MarkersPulseOrTurn) {
    const struct {
        int32_t kind;
        float turnPerSecond; // 0: the pulse
    } cases[] = {{0, 90.0f}, {1, 90.0f}, {2, 0.0f}, {3, 30.0f}, {4, 90.0f}};
    int32_t x = 0;
    for (const auto& c : cases) {
        EntityView* unit = view("knight", 0, GridSlot(x++, 0));
        CCNode* marker = unit->getTargetMarkerNode();
        ASSERT_NE(marker, nullptr);
        EXPECT_FALSE(marker->getIsVisible());
        linkOf(unit)->setTargetMarker(c.kind);
        EXPECT_TRUE(marker->getIsVisible());
        EXPECT_EQ(static_cast<CCSprite*>(marker)->getTexture(),
                  mBoardScene->mReticleFrames[size_t(c.kind)]->getTexture());
        run(1.0f);
        if (c.turnPerSecond > 0.0f) {
            EXPECT_NEAR(marker->getRotation(), c.turnPerSecond, 2.0f) << c.kind;
            EXPECT_FLOAT_EQ(marker->getScale(), 1.0f);
        } else {
            EXPECT_FLOAT_EQ(marker->getRotation(), 0.0f);
            EXPECT_NEAR(marker->getScale(), 1.1f, 0.01f) << "the pulse's high point";
            run(0.5f);
            EXPECT_NEAR(marker->getScale(), 1.0f, 0.01f);
        }
        EXPECT_EQ(static_cast<CCSprite*>(marker)->getOpacity(), 255);
        linkOf(unit)->setTargetMarker(CocosEntityLink::cHideTargetMarker);
        run(0.3f);
        EXPECT_TRUE(marker->getIsVisible()) << "hidden at opacity 0";
        EXPECT_EQ(static_cast<CCSprite*>(marker)->getOpacity(), 0);
    }
}

TEST_F(EntityViewTest, EquipmentAnimatesLayersDualWieldsAndCarriesTheItemsNode) {
    EntityView* unit = view("knight", 0, GridSlot(2, 2));
    const ProtoEntity* sword = Database::getProto(proto("sword"));
    const int32_t weapon = PuppetRegistry::categoryIndex("weapon");
    linkOf(unit)->applyEquipment(sword, true);
    EXPECT_TRUE(unit->puppet()->hasCategory(weapon));
    EXPECT_TRUE(unit->isDualWielding());
    EXPECT_TRUE(unit->isAuraShown(7)) << "the item's aura";
    run(0.05f);
    EXPECT_EQ(unit->puppet()->getCurrentState(), cAnimStateAbility) << "the equip animation";
    run(1.1f);
    EXPECT_EQ(unit->puppet()->getCurrentState(), cAnimStateIdleFull) << "the variant of Idle";
    linkOf(unit)->removeEquipment(sword);
    EXPECT_FALSE(unit->puppet()->hasCategory(weapon));
    EXPECT_FALSE(unit->isDualWielding());

    // The item's own node moves onto the unit at z 2000 with its offset and scale.
    Entity* item = make("sword", 0, GridSlot(0, 0), unit->entity()->mInventory, cStateEquipped);
    linkOf(unit)->attachEquipmentSprite(item->mId, false);
    CCNode* itemNode = item->getEntityLink()->getMainNode();
    ASSERT_NE(itemNode, nullptr);
    EXPECT_EQ(itemNode->getParent(), unit->getMainNode());
    EXPECT_EQ(itemNode->getZOrder(), 2000);
    const CCSize size = unit->getMainNode()->getContentSize();
    EXPECT_EQ(itemNode->getPosition(), CCPoint(size.width / 2 + 6, size.height / 2 - 4));
    EXPECT_FLOAT_EQ(itemNode->getScale(), 0.5f);
    linkOf(unit)->hideEquipmentSprites();
    run(0.2f);
    EXPECT_FALSE(itemNode->getIsVisible());
    // A relink of the unit builds its equipment again and unlinks the item's view.
    EntityView* again = link(unit->entity());
    EXPECT_FALSE(item->hasLink());
    EXPECT_TRUE(again->isDualWielding());
}

TEST_F(EntityViewTest, LinkBeamsFollowTheirTarget) {
    EntityView* witch = view("witch", 0, GridSlot(1, 1));
    Entity* first = make("knight", 0, GridSlot(3, 1));
    Entity* second = make("knight", 0, GridSlot(3, 3));
    link(first);
    link(second);
    linkOf(witch)->showLink(first, false);
    HealingBeamSprite* beam = witch->getLinkBeam();
    ASSERT_NE(beam, nullptr);
    ASSERT_NE(witch->getLinkBeam2(), nullptr);
    EXPECT_EQ(beam->getParent(), mBoardScene);
    EXPECT_EQ(beam->getZOrder(), 100);
    EXPECT_EQ(witch->getLinkBeam2()->getZOrder(), 101);
    EXPECT_FLOAT_EQ(beam->mSpeed, 0.75f);
    EXPECT_TRUE(hasCategory(witch, "link"));

    linkOf(witch)->showLink(first, true);
    EXPECT_EQ(witch->getLinkBeam(), beam) << "the same target keeps its beams";
    linkOf(witch)->showLink(second, false);
    EXPECT_NE(witch->getLinkBeam(), nullptr);
    EXPECT_EQ(beam->getParent(), nullptr) << "the old beams went first";

    HealingBeamSprite* fading = witch->getLinkBeam();
    linkOf(witch)->hideLink(second, true);
    EXPECT_EQ(witch->getLinkBeam(), nullptr);
    EXPECT_FALSE(hasCategory(witch, "link"));
    EXPECT_NE(std::find(mBoardScene->mEffects.begin(), mBoardScene->mEffects.end(), fading),
              mBoardScene->mEffects.end());
    run(0.6f);
    mBoardScene->removeFinishedEffects();
    EXPECT_TRUE(mBoardScene->mEffects.empty());

    // A target that names no entity: both beams on the scene, unstretched.
    linkOf(witch)->showLink(nullptr, false);
    ASSERT_NE(witch->getLinkBeam(), nullptr);
    EXPECT_EQ(witch->getLinkBeam()->numberOfRunningActions(), 0u);
}

TEST_F(EntityViewTest, KnockedOutDeadAndAliveLooks) {
    EntityView* unit = view("knight", 0, GridSlot(0, 0));
    EntityView* sprite = view("archer", 0, GridSlot(1, 0));
    for (EntityView* made : {unit, sprite})
        linkOf(made)->applyState(cStateKnockedOut);
    run(0.05f);
    EXPECT_TRUE(unit->isAuraShown(1));
    EXPECT_EQ(unit->puppet()->getCurrentState(), 20) << "KnockedOutIdle";
    EXPECT_FLOAT_EQ(sprite->getMainNode()->getRotation(), 90.0f);
    for (EntityView* made : {unit, sprite})
        linkOf(made)->applyState(cStateDeployedToGameBoard);
    run(0.05f);
    EXPECT_FALSE(unit->isAuraShown(1));
    EXPECT_EQ(unit->puppet()->getCurrentState(), cAnimStateIdleFull);
    EXPECT_FLOAT_EQ(sprite->getMainNode()->getRotation(), 90.0f) << "no animations: kept";
}

TEST_F(EntityViewTest, ShownOverlaysSelectAndPlayTheirAbility) {
    EntityView* unit = view("knight");
    PuppetInstance* overlay = unit->getAura(10);
    linkOf(unit)->setAuraSelected(10, true, 0.0f);
    run(0.05f);
    EXPECT_NE(overlay->getCurrentState(), 4) << "a hidden overlay is not selected";
    linkOf(unit)->showAura(10, false, 0.0f, false);
    linkOf(unit)->setAuraSelected(10, true, 0.2f);
    run(0.1f);
    EXPECT_NE(overlay->getCurrentState(), 4) << "after the delay";
    run(0.2f);
    EXPECT_EQ(overlay->getCurrentState(), 4) << "Select";
    linkOf(unit)->playAuraAbility(10, 0.0f);
    run(0.05f);
    EXPECT_EQ(overlay->getCurrentState(), cAnimStateAbility);
    run(1.1f);
    EXPECT_EQ(overlay->getCurrentState(), cAnimStateIdle);
}
