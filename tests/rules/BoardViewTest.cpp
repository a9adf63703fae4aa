#include "BoardViewTestSupport.h"

#include "platform/engine/CCAutoreleasePool.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCImage.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

using cocos2d::CCNode;
using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace {

const cocos2d::ccColor3B cWhite = cocos2d::ccc3(255, 255, 255);

std::array<float, 12> cornersOf(const CocosGameBoardLink& view, int32_t x, int32_t y) {
    std::array<float, 12> corners{};
    EXPECT_TRUE(view.getSlotCorners(x, y, corners));
    return corners;
}

} // namespace

TEST_F(BoardViewTest, WithoutAGameSceneTheViewKeepsItsMeasuresAndBuildsNoNode) {
    SettingsManager::instance().mRestrictedTargeting = true;
    ASSERT_TRUE(mView->linkAt(CCPoint(6, 54)));
    CocosGameBoardLink* board = view();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->getCellSize(), CCSize(52.222f, 50.0f));
    EXPECT_FLOAT_EQ(board->getCellScale(), 0.8f);
    EXPECT_EQ(board->getCellOffset(), CCPoint(3, 7));
    EXPECT_EQ(board->getVertices().size(), 60u);
    EXPECT_EQ(board->getNode(), nullptr);
    EXPECT_TRUE(board->getSlotOverlays().empty());
    EXPECT_TRUE(board->getRangeArrows().empty());
    Entity* knight = standing("knight", GridSlot(4, 2));
    board->highlightSlot(GridSlot(4, 2), cWhite);
    board->showRangeArrows(knight);
    board->showTeleporterEffect(GridSlot(3, 0), 0.0f);
    board->playPremiumPuppet(GridSlot(4, 2), 0.0f);
    board->hideSlotHighlights();
    board->hideRangeArrows();
    board->hideTeleporterEffects();
}

TEST_F(BoardViewTest, AttachingPutsEveryPieceOnTheScene) {
    SettingsManager::instance().mRestrictedTargeting = true;
    showScene();
    ASSERT_TRUE(mView->linkAt(CCPoint(6, 54)));
    const CocosGameBoardLink& board = *view();

    // The art, centred in the 960 x 640 window and shifted by (-1, -3).
    ASSERT_NE(board.getNode(), nullptr);
    EXPECT_EQ(board.getNode()->getParent(), mScene->mNode);
    EXPECT_EQ(board.getNode()->getZOrder(), -10);
    EXPECT_EQ(board.getNode()->getPosition(), CCPoint(479, 317));

    ASSERT_EQ(board.getSlotOverlays().size(), 45u);
    for (int32_t i = 0; i < 45; ++i) {
        const SlotOverlaySprite* overlay = board.getSlotOverlays()[static_cast<size_t>(i)];
        EXPECT_EQ(overlay->getZOrder(), 9);
        EXPECT_FALSE(overlay->getIsVisible());
        EXPECT_EQ(const_cast<SlotOverlaySprite*>(overlay)->getOpacity(), 0);
        const GridSlot slot = mView->coordsOfIndex(i);
        EXPECT_EQ(overlay->getSlotQuad(), cornersOf(board, slot.x, slot.y)) << i;
    }

    // Squares with art: Power (4, 2), Defense (4, 1), Teleporters (3, 0), (6, 4).
    const std::vector<std::pair<GridSlot, int32_t>> premium = {
        {GridSlot(4, 2), cPremiumPower},
        {GridSlot(4, 1), cPremiumDefense},
        {GridSlot(3, 0), cPremiumTeleporter},
        {GridSlot(6, 4), cPremiumTeleporter}};
    ASSERT_EQ(board.getPremiumOverlays().size(), premium.size());
    for (size_t i = 0; i < premium.size(); ++i) {
        const auto& [slot, type] = premium[i];
        SlotOverlaySprite* overlay = board.getPremiumOverlays()[i];
        EXPECT_EQ(overlay->getZOrder(), 8) << i;
        EXPECT_EQ(overlay->mTooltipKind, 1) << i;
        EXPECT_EQ(overlay->mPremiumType, type) << i;
        const CCPoint centre = mView->pointForCoords(slot, true);
        EXPECT_EQ(overlay->getTooltipPosition(), CCPoint(centre.x, centre.y - 12)) << i;
        EXPECT_EQ(overlay->getSlotQuad(), cornersOf(board, slot.x, slot.y)) << i;
        EXPECT_EQ(mServices->mTargets[i], static_cast<TooltipProtocol*>(overlay)) << i;
    }

    // Puppets: Power's and the two teleporters' squares, each at its row's z.
    ASSERT_EQ(board.getPremiumPuppets().size(), 3u);
    for (const GridSlot slot : {GridSlot(4, 2), GridSlot(3, 0), GridSlot(6, 4)}) {
        PuppetInstance* puppet = board.premiumPuppetAt(slot);
        ASSERT_NE(puppet, nullptr);
        EXPECT_NE(puppet->getPuppet(), nullptr);
        EXPECT_EQ(puppet->getZOrder(), mView->zOrderForCoords(slot));
        EXPECT_EQ(puppet->getCurrentState(), 0);
        EXPECT_TRUE(puppet->isLooping());
        const CCPoint centre = mView->pointForCoords(slot, true);
        EXPECT_EQ(puppet->getPosition(), CCPoint(centre.x, centre.y - 14));
    }
    EXPECT_EQ(board.premiumPuppetAt(GridSlot(4, 1)), nullptr);

    ASSERT_EQ(board.getTeleportEffects().size(), 2u);
    for (PuppetInstance* effect : board.getTeleportEffects()) {
        EXPECT_EQ(effect->getZOrder(), 300);
        EXPECT_FALSE(effect->getIsVisible());
        EXPECT_EQ(effect->getPuppetIndex(), PuppetRegistry::loadPuppet("Effects/Teleport01"));
    }

    ASSERT_EQ(board.getRangeArrows().size(), 4u);
    for (cocos2d::CCSprite* arrow : board.getRangeArrows()) {
        EXPECT_EQ(arrow->getZOrder(), 200);
        EXPECT_EQ(arrow->getOpacity(), 0);
        EXPECT_EQ(arrow->getAnchorPoint(), CCPoint(0, 0.5f));
        EXPECT_FLOAT_EQ(arrow->getScaleX(), 1.5f);
    }

    // Six zone tiles, each with its flipped twin on the mirrored column.
    ASSERT_EQ(board.getDeployMarkers().size(), 12u);
    const int32_t zone[6][2] = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 2}};
    for (size_t i = 0; i < 6; ++i) {
        const SlotOverlaySprite* own = board.getDeployMarkers()[i * 2];
        const SlotOverlaySprite* twin = board.getDeployMarkers()[i * 2 + 1];
        EXPECT_EQ(own->getZOrder(), 8);
        EXPECT_EQ(twin->getZOrder(), 8);
        EXPECT_FALSE(own->isFlipX());
        EXPECT_TRUE(twin->isFlipX());
        EXPECT_EQ(own->getSlotQuad(), cornersOf(board, zone[i][0], zone[i][1])) << i;
        EXPECT_EQ(twin->getSlotQuad(), cornersOf(board, 8 - zone[i][0], zone[i][1])) << i;
    }
}

TEST_F(BoardViewTest, TheLargeLayoutCentresTheArtAndArrowsNeedRestrictedTargeting) {
    showScene();
    mServices->mLayoutMode = 2;
    ASSERT_TRUE(mView->linkAt(CCPoint(23, 89)));
    EXPECT_EQ(view()->getNode()->getPosition(), CCPoint(480, 320));
    EXPECT_TRUE(view()->getRangeArrows().empty());
    const size_t children = mScene->mNode->getChildrenCount();
    view()->showRangeArrows(standing("knight", GridSlot(4, 2)));
    view()->hideRangeArrows();
    EXPECT_EQ(mScene->mNode->getChildrenCount(), children);
}

TEST_F(BoardViewTest, AHighlightFadesInThenPulsesAndClearingFadesItOut) {
    showScene();
    ASSERT_TRUE(mView->linkAt(CCPoint(6, 54)));
    SlotOverlaySprite* overlay = view()->getSlotOverlays()[static_cast<size_t>(4 + 2 * 9)];
    view()->highlightSlots(GridSlot(4, 2), GridSlot(5, 3), cocos2d::ccc3(10, 200, 30));
    EXPECT_TRUE(overlay->getIsVisible());
    EXPECT_EQ(overlay->getColor(), cocos2d::ccc3(10, 200, 30));
    EXPECT_TRUE(view()->getSlotOverlays()[5 + 3 * 9]->getIsVisible());
    EXPECT_FALSE(view()->getSlotOverlays()[6 + 3 * 9]->getIsVisible());
    const struct {
        float at;
        uint8_t opacity;
    } steps[] = {{0.175f, 255}, {0.875f, 170}, {1.575f, 255}};
    float now = 0.0f;
    for (const auto& step : steps) {
        run(step.at - now);
        now = step.at;
        EXPECT_NEAR(overlay->getOpacity(), step.opacity, 1) << step.at;
    }
    EXPECT_EQ(overlay->numberOfRunningActions(), 1u) << "the pulse goes on";

    view()->hideSlotHighlights();
    run(0.1f);
    EXPECT_TRUE(overlay->getIsVisible());
    run(0.025f);
    EXPECT_EQ(overlay->getOpacity(), 0);
    run(0.01f);
    EXPECT_FALSE(overlay->getIsVisible());
    EXPECT_EQ(overlay->numberOfRunningActions(), 0u);
}

TEST_F(BoardViewTest, RangeArrowsPointAlongTheClampedRange) {
    SettingsManager::instance().mRestrictedTargeting = true;
    showScene();
    ASSERT_TRUE(mView->linkAt(CCPoint(6, 54)));
    // A knight of range 1 in the front row: the arrow toward the front is
    // clamped onto its own slot.
    Entity* knight = standing("knight", GridSlot(4, 0));
    ASSERT_EQ(knight->getRange(), 1);
    view()->showRangeArrows(knight);
    const CCPoint origin = mView->pointForCoords(GridSlot(4, 0), true);
    const GridSlot targets[4] = {GridSlot(5, 0), GridSlot(4, 0), GridSlot(3, 0), GridSlot(4, 1)};
    const float rowSteps[4] = {0, -1, 0, 1};
    std::array<float, 4> lengths{};
    for (size_t i = 0; i < 4; ++i) {
        cocos2d::CCSprite* arrow = view()->getRangeArrows()[i];
        const CCPoint end = mView->pointForCoords(targets[i], true);
        const float dx = end.x - origin.x, dy = end.y - origin.y;
        lengths[i] = (1.42f - rowSteps[i] * 0.025f) * std::hypot(dx, dy) / 52.222f;
        EXPECT_EQ(arrow->getPosition(), origin) << i;
        EXPECT_FLOAT_EQ(arrow->getRotation(), -std::atan2(dy, dx) * 180 / std::numbers::pi_v<float>)
            << i;
        EXPECT_FLOAT_EQ(arrow->getScaleX(), 0.8f * lengths[i]) << i;
    }
    run(0.25f);
    for (size_t i = 0; i < 4; ++i) {
        cocos2d::CCSprite* arrow = view()->getRangeArrows()[i];
        EXPECT_NEAR(arrow->getScaleX(), lengths[i], 1e-4f) << i;
        EXPECT_NEAR(arrow->getScaleY(), 1.5f, 1e-4f) << i;
        EXPECT_EQ(arrow->getOpacity(), 255) << i;
    }
    view()->hideRangeArrows();
    run(0.15f);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(view()->getRangeArrows()[i]->getScaleX(), lengths[i] * 0.5f, 1e-4f) << i;
        EXPECT_EQ(view()->getRangeArrows()[i]->getOpacity(), 0) << i;
    }
}

TEST_F(BoardViewTest, TeleporterEffectsShowAfterTheirDelayAndPremiumPuppetsPlay) {
    showScene();
    ASSERT_TRUE(mView->linkAt(CCPoint(6, 54)));
    PuppetInstance* effect = view()->teleportEffectAt(GridSlot(6, 4));
    ASSERT_NE(effect, nullptr);
    view()->showTeleporterEffect(GridSlot(6, 4), 0.3f);
    view()->showTeleporterEffect(GridSlot(0, 0), 0.0f); // no teleporter there
    run(0.25f);
    EXPECT_FALSE(effect->getIsVisible());
    run(0.1f);
    EXPECT_TRUE(effect->getIsVisible());
    run(0.3f);
    EXPECT_EQ(effect->getOpacity(), 255);
    view()->hideTeleporterEffects();
    EXPECT_FALSE(effect->getIsVisible());

    PuppetInstance* power = view()->premiumPuppetAt(GridSlot(4, 2));
    view()->playPremiumPuppet(GridSlot(4, 2), 0.2f);
    run(0.1f);
    EXPECT_EQ(power->getCurrentState(), 0);
    run(0.15f);
    EXPECT_EQ(power->getCurrentState(), 30);
}

TEST_F(BoardViewTest, ThePremiumTooltipShowsTheSquaresHelp) {
    showScene();
    ASSERT_TRUE(mView->linkAt(CCPoint(6, 54)));
    CCNode* layer = CCNode::node();
    layer->setContentSize(CCSize(300, 200));
    view()->getPremiumOverlays()[0]->buildTooltip(layer); // Power
    EXPECT_EQ(layer->getChildrenCount(), 5u) << "portrait, title, kind, separator, text";
    CCNode* none = CCNode::node();
    view()->getPremiumOverlays()[1]->buildTooltip(none); // Defense: no texts, still a kind
    EXPECT_EQ(none->getChildrenCount(), 5u);
    SlotOverlaySprite* stray = SlotOverlaySprite::spriteWithFile("MovementGrid.png");
    CCNode* empty = CCNode::node();
    stray->buildTooltip(empty);
    EXPECT_EQ(empty->getChildrenCount(), 0u) << "no premium type";
}

TEST_F(BoardViewTest, RelinkingLeavesOneTooltipTargetPerSquareAndNoDanglingOne) {
    showScene();
    mGame->mTileChest = new TileChest(-1, mGame);
    mGame->mTileChest->setSize(1, 1);
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(mView->linkAt(CCPoint(6, 54)));
        ASSERT_TRUE(mGame->mTileChest->linkAt(CCPoint(25, 25)));
        cocos2d::CCPoolManager::sharedPoolManager()->finalize();
    }
    std::vector<TooltipProtocol*> expected(view()->getPremiumOverlays().begin(),
                                           view()->getPremiumOverlays().end());
    expected.push_back(dynamic_cast<TooltipProtocol*>(mGame->mTileChest->getLink()));
    EXPECT_EQ(mServices->mTargets, expected);
    // A tap on each target opens its tooltip.
    for (TooltipProtocol* target : mServices->mTargets) {
        EXPECT_TRUE(target->hitTestTooltip(target->getTooltipPosition()));
        CCNode* layer = CCNode::node();
        layer->setContentSize(CCSize(300, 200));
        target->buildTooltip(layer);
        EXPECT_GT(layer->getChildrenCount(), 0u);
    }
    mView->unlink();
    mGame->mTileChest->unlink();
    EXPECT_TRUE(mServices->mTargets.empty());
}

TEST_F(BoardViewTest, AHighlightBrightensItsSlotOnScreenOnly) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    cocos2d::CCEGLView screen;
    ASSERT_TRUE(screen.Create("board", 960, 640));
    director()->setOpenGLView(&screen);
    // Slot (4, 2) without its Power square's art and puppet.
    for (const auto& kind : SettingsManager::instance().mPremiumTiles)
        if (kind->mType == cPremiumPower)
            kind->mGridSlotOverlay = kind->mPuppet = "";
    showScene();
    ASSERT_TRUE(mView->linkAt(CCPoint(6, 54)));
    // The GL pixel at a scene point (content scale 1: points are pixels).
    const auto brightness = [&screen](const CCPoint& at) {
        cocos2d::CCImage image;
        EXPECT_TRUE(screen.readPixels(image));
        const auto x = static_cast<size_t>(at.x);
        const auto y = static_cast<size_t>(image.getHeight()) - 1 - static_cast<size_t>(at.y);
        const uint8_t* p = &image.getData()[(y * image.getWidth() + x) * 4];
        return p[0] + p[1] + p[2];
    };
    // Inside slot (4, 2), and in its neighbour (5, 2).
    const CCPoint inside = mView->pointForCoords(GridSlot(4, 2), true);
    const CCPoint outside = mView->pointForCoords(GridSlot(5, 2), true);
    run(0.05f);
    const int insideBefore = brightness(inside);
    const int outsideBefore = brightness(outside);
    view()->highlightSlot(GridSlot(4, 2), cWhite);
    run(0.2f);
    EXPECT_GT(brightness(inside), insideBefore + 60);
    EXPECT_EQ(brightness(outside), outsideBefore);
    director()->setOpenGLView(nullptr);
}

TEST_F(BoardViewTest, BoardFiveShowsTheSquaresCrossoverArt) {
    // The fixture's first layout as layout 5.
    auto& layouts = SettingsManager::instance().mGameBoards;
    layouts.resize(6);
    std::swap(layouts[0], layouts[5]);
    mView->setProtoIndex(5);
    showScene();
    ASSERT_TRUE(mView->linkAt(CCPoint(6, 54)));
    const auto texture = [](const char* file) {
        return cocos2d::CCTextureCache::sharedTextureCache()->addImage(file);
    };
    ASSERT_GE(view()->getPremiumOverlays().size(), 2u);
    EXPECT_EQ(view()->getPremiumOverlays()[0]->getTexture(), texture("Board/PremiumPower_KX4.png"));
    // Defense has no crossover art here: its own.
    EXPECT_EQ(view()->getPremiumOverlays()[1]->getTexture(), texture("Board/PremiumDefense.png"));
}
