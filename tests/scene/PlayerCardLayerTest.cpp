// The player card over a running board scene: whose tiles it counts and how
// its avatar faces, the round, the civ line and button, the touches it keeps
// from the board, and its dismissal.

#include "EntityViewTestSupport.h"

#include "scene/PlayerCardLayer.h"
#include "scene/ShellServices.h"
#include "scene/widgets/Button.h"

#include "content/settings/PlayerColor.h"
#include "content/settings/ProtoCiv.h"
#include "rules/GameRecord.h"

#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCLabelTTF.h"

using namespace cocos2d;

namespace {

// Records the team-details requests.
class TeamDetailsShell : public ShellServices {
public:
    void showTeamDetailsFromBoard(int32_t civId) override { mCivIds.push_back(civId); }
    std::vector<int32_t> mCivIds;
};

class PlayerCardLayerTest : public EntityViewTest {
protected:
    void SetUp() override {
        EntityViewTest::SetUp();
        mBoardScene->setGame(mGame);
        setShellServices(&mShell);
        writeSolidPng("Avatars/Ada.png", 64, 64, {200, 200, 200, 255});
        writeSolidPng("Avatars/Ada_Color.png", 64, 64, {255, 255, 255, 255});
        SettingsManager& settings = SettingsManager::instance();
        addCiv(4, "orcs", "Orcs", "Emblem.png", "CardEmblem.png");
        addCiv(6, "elves", "Elves", "Emblem.png", "");
        for (auto* list : {&settings.mHomeColors, &settings.mAwayColors}) {
            auto colour = std::make_unique<PlayerColor>();
            colour->mRed = 10;
            colour->mGreen = 20;
            colour->mBlue = list == &settings.mHomeColors ? 30 : 40;
            list->push_back(std::move(colour));
        }
        // Two tiles in the first rack, three in the second, four shared.
        fill(mGame->mPlayers[0]->mTileRack, 2);
        fill(mGame->mPlayers[1]->mTileRack, 3, 1);
        fill(mGame->mTileChest, 4);
        mRecord.mName = "Ada";
        mRecord.mAvatar = "Avatars/Ada.png";
        mRecord.mCivName = "orcs";
    }
    void TearDown() override {
        setShellServices(nullptr);
        if (mBoardScene != nullptr)
            mBoardScene->setGame(nullptr);
        EntityViewTest::TearDown();
    }

    static void addCiv(int32_t id, const char* name, const char* display, const char* emblem,
                       const char* cardEmblem) {
        auto civ = std::make_unique<ProtoCiv>(id);
        civ->mName = name;
        civ->mDisplayName = display;
        civ->mEmblemImage = emblem;
        civ->mPlayerCardEmblemImage = cardEmblem;
        SettingsManager::instance().mCivs.push_back(std::move(civ));
    }
    void fill(EntityGrid* grid, int32_t count, int32_t owner = 0) {
        for (int32_t i = 0; i < count; ++i)
            EXPECT_TRUE(grid->addEntity(mGame->createEntity(proto("scout"), owner)));
    }
    PlayerCardLayer* open() {
        mBoardScene->openPlayerCard(mRecord);
        const std::vector<PlayerCardLayer*> cards = onScene();
        return cards.empty() ? nullptr : cards.back();
    }
    std::vector<PlayerCardLayer*> onScene() const {
        std::vector<PlayerCardLayer*> found;
        for (CCNode* child : *mBoardScene->getChildren())
            if (auto* card = dynamic_cast<PlayerCardLayer*>(child))
                found.push_back(card);
        return found;
    }
    static std::vector<std::string> captions(const PlayerCardLayer* card) {
        std::vector<std::string> found;
        for (CCNode* child : *card->getBackground()->getChildren())
            if (auto* label = dynamic_cast<CCLabelTTF*>(child))
                found.emplace_back(label->getString());
        return found;
    }
    void tapButton(const Button* button) {
        const CCPoint at = button->convertToWorldSpaceAR(CCPoint(0, 0));
        tap(at.x, at.y);
    }

    PlayerRecord mRecord;
    TeamDetailsShell mShell;
};

} // namespace

TEST_F(PlayerCardLayerTest, CountsTheShownPlayersTilesAndMirrorsTheSecondSeat) {
    struct Case {
        bool local;
        int32_t current;
        bool splitChest; // the second player holds a chest of one tile
        const char* count;
        bool flipped;
    };
    for (const Case& c : {Case{true, 0, false, "2", false}, Case{false, 0, false, "3", true},
                          Case{false, 0, true, "4", true}, Case{false, 1, false, "2", false},
                          Case{true, 1, true, "4", true}}) {
        SCOPED_TRACE(testing::Message() << c.local << c.current << c.splitChest);
        Player* second = mGame->mPlayers[1];
        if (c.splitChest && second->mTileChest == nullptr) {
            second->mTileChest = new TileChest(1, mGame);
            second->mTileChest->setSize(2, 1);
            fill(second->mTileChest, 1, 1);
        }
        mGame->mCurrentPlayer = c.current;
        mRecord.mIsLocal = c.local;
        PlayerCardLayer* card = open();
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(std::string(card->getReinforcementsLabel()->getString()), c.count);
        EXPECT_EQ(card->getAvatar()->isFlipX(), c.flipped);
        EXPECT_EQ(std::string(card->getRoundLabel()->getString()), "1") << "the first round";
        card->removeFromParentAndCleanup(true);
    }
}

TEST_F(PlayerCardLayerTest, TheAvatarWearsTheSeatsColourOnlyForAListedIndex) {
    struct Case {
        bool local;
        int32_t colourIndex;
        int expectedBlue; // -1: no colour layer
    };
    for (const Case& c : {Case{true, 0, 30}, Case{false, 0, 40}, Case{true, 5, -1}}) {
        SCOPED_TRACE(c.colourIndex);
        mRecord.mIsLocal = c.local;
        mRecord.mColor = c.colourIndex;
        PlayerCardLayer* card = open();
        CCSprite* avatar = card->getAvatar();
        ASSERT_EQ(avatar->getChildrenCount(), c.expectedBlue < 0 ? 0u : 1u);
        if (c.expectedBlue >= 0) {
            auto* layer = dynamic_cast<CCSprite*>(avatar->getChildren()->getObjectAtIndex(0));
            EXPECT_EQ(layer->getColor().b, c.expectedBlue);
            EXPECT_EQ(layer->isFlipX(), avatar->isFlipX());
        }
        card->removeFromParentAndCleanup(true);
    }
}

TEST_F(PlayerCardLayerTest, TheCivButtonAsksForTeamDetailsAndKeepsTheCardOpen) {
    mRecord.mIsLocal = true;
    PlayerCardLayer* card = open();
    EXPECT_EQ(card->getCivId(), 4);
    const std::vector<std::string> texts = captions(card);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Team: Orcs"), texts.end());
    ASSERT_NE(card->getCivButton(), nullptr);
    EXPECT_EQ(card->getCivButton()->getChildrenCount(), 2u) << "image and card emblem";
    tapButton(card->getCivButton());
    EXPECT_EQ(mShell.mCivIds, std::vector<int32_t>{4});
    run(0.5f);
    EXPECT_EQ(onScene().size(), 1u);
    card->removeFromParentAndCleanup(true);

    struct Case {
        const char* civ;
        bool button;
        size_t buttonChildren;
    };
    for (const Case& c :
         {Case{"elves", true, 1u}, Case{"Random", false, 0u}, Case{"atlanteans", false, 0u}}) {
        SCOPED_TRACE(c.civ);
        mRecord.mCivName = c.civ;
        card = open();
        EXPECT_EQ(card->getCivButton() != nullptr, c.button);
        if (card->getCivButton() != nullptr)
            EXPECT_EQ(card->getCivButton()->getChildrenCount(), c.buttonChildren)
                << "no emblem without a card emblem";
        else
            EXPECT_EQ(card->getCivId(), -1);
        card->onTeamDetails();
        card->removeFromParentAndCleanup(true);
    }
    EXPECT_EQ(mShell.mCivIds, (std::vector<int32_t>{4, 6}));
}

TEST_F(PlayerCardLayerTest, OtherTouchesAreSwallowedAndCancelFreesTheCard) {
    PlayerCardLayer* card = open();
    bool gone = false;
    auto* watched = new WatchedNode(&gone);
    card->addChild(watched);
    watched->release();
    auto* below = new CountingDelegate();
    CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(below, 1, true);
    tap(20, 20);
    tap(480, 320);
    EXPECT_EQ(below->mBegan, 0);
    EXPECT_EQ(onScene().size(), 1u);
    CCTouchDispatcher::sharedDispatcher()->removeDelegate(below);
    below->release();

    tapButton(card->getCancelButton());
    run(0.15f);
    EXPECT_EQ(onScene().size(), 1u) << "still fading";
    run(0.1f);
    EXPECT_TRUE(onScene().empty());
    EXPECT_TRUE(gone);
}

TEST_F(PlayerCardLayerTest, AMissingPlayerShowsNoCountAndNoColour) {
    Player* second = mGame->mPlayers[1];
    mGame->mPlayers.pop_back();
    mRecord.mIsLocal = false;
    PlayerCardLayer* card = open();
    EXPECT_EQ(std::string(card->getReinforcementsLabel()->getString()), "");
    EXPECT_FALSE(card->getAvatar()->isFlipX());
    EXPECT_EQ(card->getAvatar()->getChildrenCount(), 0u);
    card->removeFromParentAndCleanup(true);
    mGame->mPlayers.push_back(second);
}
