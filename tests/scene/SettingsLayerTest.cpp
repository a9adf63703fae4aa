// The settings menu over a running board scene: which items it offers, the
// sound and partial-undo switches, the hand-over to the scene's resign,
// replay and close, and the touches it keeps from the board.

#include "EntityViewTestSupport.h"
#include "FakeGamesList.h"

#include "scene/SettingsLayer.h"
#include "scene/widgets/Button.h"
#include "scene/widgets/ConfirmLayer.h"

#include "content/Preferences.h"
#include "rules/GameRecord.h"

#include "platform/engine/CCMenu.h"
#include "platform/render/CCLabelTTF.h"

using namespace cocos2d;

namespace {

constexpr int64_t cGameId = 31;
const std::string cClick = "sound/Generic_Push_Button.mp3";

// A game that counts the replays asked of it.
class ReplayCountingGame : public StepCountingGame {
public:
    bool startReplay() override {
        ++mReplays;
        return true;
    }
    int32_t mReplays = 0;
};

class SettingsLayerTest : public EntityViewTest {
protected:
    void SetUp() override {
        EntityViewTest::SetUp();
        builtInPreferenceStore().clear();
        mGame->mGameID = cGameId;
        mList.add(cGameId, {"Ada", "Bo"});
        mBoardScene->setGame(mGame);
    }
    void TearDown() override {
        if (mBoardScene != nullptr)
            mBoardScene->setGame(nullptr);
        builtInPreferenceStore().clear();
        EntityViewTest::TearDown();
    }

    SettingsLayer* open() {
        auto* layer = new SettingsLayer();
        mBoardScene->addChild(layer, GameScene::cModalZOrder);
        return layer;
    }
    template <class T> std::vector<T*> onScene() const {
        std::vector<T*> found;
        for (CCNode* child : *mBoardScene->getChildren())
            if (auto* typed = dynamic_cast<T*>(child))
                found.push_back(typed);
        return found;
    }
    static std::vector<CCNode*> items(const SettingsLayer* layer) {
        std::vector<CCNode*> found;
        for (CCNode* child : *layer->getMenu()->getChildren())
            found.push_back(child);
        return found;
    }
    static std::vector<std::string> texts(const SettingsLayer* layer) {
        std::vector<std::string> found;
        for (CCNode* item : items(layer))
            for (CCNode* child : *item->getChildren())
                if (auto* label = dynamic_cast<CCLabelTTF*>(child))
                    found.emplace_back(label->getString());
        return found;
    }
    // Taps the item with that text.
    void choose(const SettingsLayer* layer, const std::string& text) {
        const std::vector<std::string> shown = texts(layer);
        const auto at = std::find(shown.begin(), shown.end(), text);
        ASSERT_NE(at, shown.end()) << text;
        const CCNode* item = items(layer)[size_t(at - shown.begin())];
        const CCPoint point = item->convertToWorldSpaceAR(CCPoint(0, 0));
        tap(point.x, point.y);
    }

    FakeGamesList mList;
};

} // namespace

TEST_F(SettingsLayerTest, ItemsFollowTheGameAndItsRecord) {
    const std::vector<std::string> running = {"Replay", "Resign", "Sound: ON", "Partial Undo: OFF",
                                              "Close"};
    const std::vector<std::string> ended = {
        "Replay", "Delete", "Rematch", "Sound: ON", "Partial Undo: OFF", "Close"};
    struct Case {
        const char* name;
        void (*arrange)(Game*&, GameRecord&);
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {"running, current player active", [](Game*&, GameRecord&) {}, running},
        {"game over", [](Game*& game, GameRecord&) { game->mGameOver = true; }, ended},
        {"current player inactive",
         [](Game*&, GameRecord& record) { record.mPlayers[0]->mStatus = cGameInactive; }, ended},
        {"no record", [](Game*& game, GameRecord&) { game->mGameID = 99; }, ended},
        {"no game", [](Game*& game, GameRecord&) { game = nullptr; }, ended},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameRecord& record = *mList.mRecords[0];
        record.mPlayers[0]->mStatus = cGameActive;
        mGame->mGameOver = false;
        mGame->mGameID = cGameId;
        Game* current = mGame;
        c.arrange(current, record);
        gCurrentGame = current;
        SettingsLayer* layer = open();
        EXPECT_EQ(texts(layer), c.shown);
        layer->removeFromParentAndCleanup(true);
    }
    gCurrentGame = mGame;
    mGame->mGameOver = false;
    mGame->mFlags |= cGameHasActions;
    SettingsLayer* layer = open();
    EXPECT_EQ(texts(layer).front(), "Replay (Resets Actions)");
    // The layer's quad leaves the screen as it is; the menu is centred.
    EXPECT_EQ(layer->getBlendFunc(), (ccBlendFunc{kCCBlendZero, kCCBlendOne}));
    EXPECT_EQ(layer->getMenu()->getPosition().x, 480);
}

TEST_F(SettingsLayerTest, SoundClicksOnlyWhenSwitchedOnAndPartialUndoIsStored) {
    SettingsLayer* layer = open();
    playedSounds();
    choose(layer, "Sound: ON");
    EXPECT_FALSE(isSoundEnabled());
    EXPECT_EQ(std::string(layer->getSoundLabel()->getString()), "Sound: OFF");
    EXPECT_TRUE(playedSounds().empty()) << "switching off is silent";
    choose(layer, "Sound: OFF");
    EXPECT_TRUE(isSoundEnabled());
    EXPECT_EQ(std::string(layer->getSoundLabel()->getString()), "Sound: ON");
    EXPECT_EQ(playedSounds(), std::vector<std::string>{cClick});

    const auto& stored = builtInPreferenceStore().values();
    choose(layer, "Partial Undo: OFF");
    EXPECT_EQ(stored.at(SettingsLayer::cPartialUndoKey), "true");
    EXPECT_EQ(std::string(layer->getPartialUndoLabel()->getString()), "Partial Undo: ON");
    choose(layer, "Partial Undo: ON");
    EXPECT_EQ(stored.at(SettingsLayer::cPartialUndoKey), "false");
    EXPECT_EQ(std::string(layer->getPartialUndoLabel()->getString()), "Partial Undo: OFF");
    EXPECT_EQ(onScene<SettingsLayer>().size(), 1u) << "the switches keep the menu open";
}

TEST_F(SettingsLayerTest, ResignLeavesOnlyTheConfirmation) {
    bool gone = false;
    SettingsLayer* layer = open();
    auto* watched = new WatchedNode(&gone);
    layer->addChild(watched);
    watched->release();
    choose(layer, "Resign");
    EXPECT_TRUE(onScene<SettingsLayer>().empty()) << "removed at once";
    director()->tick(0);
    EXPECT_TRUE(gone) << "and freed";
    ASSERT_EQ(onScene<ConfirmLayer>().size(), 1u);
    EXPECT_EQ(onScene<ConfirmLayer>()[0]->getZOrder(), GameScene::cModalZOrder);
}

TEST_F(SettingsLayerTest, ReplayAndCloseFadeOutAndReplayOnce) {
    auto* game = new ReplayCountingGame();
    gCurrentGame = game;
    SettingsLayer* layer = open();
    choose(layer, "Replay");
    choose(layer, "Replay"); // during the fade
    EXPECT_EQ(game->mReplays, 1);
    run(0.1f);
    EXPECT_EQ(onScene<SettingsLayer>().size(), 1u);
    run(0.1f);
    EXPECT_TRUE(onScene<SettingsLayer>().empty());

    gCurrentGame = nullptr;
    choose(open(), "Replay");
    choose(open(), "Close");
    run(0.2f);
    EXPECT_TRUE(onScene<SettingsLayer>().empty());
    gCurrentGame = mGame;
    game->release();
}

TEST_F(SettingsLayerTest, TheSettingsButtonOpensItAndItKeepsTouchesFromTheBoard) {
    const CCPoint button = mBoardScene->mSettingsButton->getPosition();
    tap(button.x, button.y);
    ASSERT_EQ(onScene<SettingsLayer>().size(), 1u);
    EXPECT_EQ(onScene<SettingsLayer>()[0]->getZOrder(), GameScene::cModalZOrder);

    auto* below = new CountingDelegate();
    CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(below, 1, true);
    tap(20, 20);
    tap(button.x, button.y);
    EXPECT_EQ(below->mBegan, 0);
    EXPECT_EQ(onScene<SettingsLayer>().size(), 1u) << "no second menu, still open";
    CCTouchDispatcher::sharedDispatcher()->removeDelegate(below);
    below->release();
}
