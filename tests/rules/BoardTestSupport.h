#pragma once

// Helpers of the board, equipment and stat tests: the fixture protos,
// settings and layouts under tests/fixtures/rules/data, a game whose board
// is set to layout 0, a recording board view and recording entity views.

#include "RulesTestSupport.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/CocosGameBoardLink.h"
#include "rules/GameBoard.h"
#include "rules/Graveyard.h"

#include "content/DataPath.h"
#include "content/settings/SettingsManager.h"

#include <set>
#include <utility>

// A board view that records what the board asks of it.
class RecordingBoardLink : public CocosGameBoardLink {
public:
    using CocosGameBoardLink::CocosGameBoardLink;

    void highlightSlot(const GridSlot& slot, const cocos2d::ccColor3B& /*color*/) override {
        mHighlighted.insert({slot.x, slot.y});
    }
    void hideSlotHighlights() override {
        mHighlighted.clear();
        ++mHides;
    }
    void showRangeArrows(const Entity* unit) override { mArrowsFor = unit->mId; }
    void hideRangeArrows() override { mArrowsFor = -1; }
    void showTeleporterEffect(const GridSlot& slot, float /*delay*/) override {
        mTeleporters.insert({slot.x, slot.y});
    }
    void hideTeleporterEffects() override { mTeleporters.clear(); }

    std::set<std::pair<int32_t, int32_t>> mHighlighted;
    std::set<std::pair<int32_t, int32_t>> mTeleporters;
    int32_t mArrowsFor = -1;
    int mHides = 0;
};

// The game board with the recording view.
class TestBoard : public GameBoard {
public:
    using GameBoard::GameBoard;
    void createLink() override { mLink = new RecordingBoardLink(this); }
    RecordingBoardLink* view() const { return dynamic_cast<RecordingBoardLink*>(mLink); }
};

// An entity view that records markers, aura selection and overlays.
class RecordingEntityLink : public FakeEntityLink {
public:
    using FakeEntityLink::FakeEntityLink;
    void setTargetMarker(int32_t kind) override { mMarker = kind; }
    void setAuraSelected(int32_t aura, bool selected, float /*delay*/) override {
        mSelectedAura = aura;
        mAuraSelected = selected;
    }
    void showHealthBar(float /*duration*/) override { mHealthBarShown = true; }
    void hideHealthBar(float /*duration*/) override { mHealthBarShown = false; }
    void attachEquipmentSprite(int32_t itemId, bool /*fadeIn*/) override {
        mSprites.push_back(itemId);
    }
    void hideEquipmentSprites() override { mSprites.clear(); }

    int32_t mMarker = -2; // never set
    bool mAuraSelected = false;
    int32_t mSelectedAura = -1;
    bool mHealthBarShown = false;
    std::vector<int32_t> mSprites;
};

class RecordingSceneServices : public FakeSceneServices {
public:
    CocosEntityLink* createEntityLink(Entity* entity) override {
        ++mLinksMade;
        return new RecordingEntityLink(entity);
    }
};

// A game of two players (with graveyards) over the fixture content, not
// local, player 0 to move, with a 9 x 5 board of layout 0. reset() starts a
// table row afresh.
class BoardRulesTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        mGame->mFlags &= static_cast<uint8_t>(~cGameLocal);
        setBaseFolder(TARNWICK_FIXTURES_DIR "/rules");
        XMLHelper protos;
        XMLHelper settings;
        XMLHelper boards;
        XmlNode* root = nullptr;
        ASSERT_TRUE(loadXmlFile("database", root, protos));
        ASSERT_TRUE(Database::loadRoot(root));
        SettingsManager& manager = SettingsManager::instance();
        manager.clear();
        ASSERT_TRUE(loadXmlFile("settings", root, settings));
        ASSERT_TRUE(manager.loadSettings(root));
        ASSERT_TRUE(loadXmlFile("gameboards", root, boards));
        for (XmlNode* element = root->first_node("board"); element;
             element = element->next_sibling("board")) {
            auto layout = std::make_unique<ProtoGameBoard>();
            ASSERT_TRUE(layout->load(element));
            manager.mGameBoards.push_back(std::move(layout));
        }
        setBaseFolder({});
        for (Player* player : mGame->mPlayers) {
            player->mGraveyard = new Graveyard(player->mIndex, mGame);
            player->mGraveyard->setSize(1, 1);
        }
        mBoard = new TestBoard(-1, mGame);
        mGame->mGameBoard = mBoard;
        mBoard->setSize(manager.mBoardWidth, manager.mBoardHeight);
    }
    void TearDown() override {
        mGame->mExecutingAction = nullptr;
        for (CandidateAction* action : mOwnActions)
            action->release();
        mOwnActions.clear();
        RulesTest::TearDown();
        SettingsManager::instance().clear();
    }

public:
    using RulesTest::entity;
    void reset() {
        TearDown();
        SetUp();
    }
    static int32_t proto(const char* name) { return Database::getProtoIdByName(name); }
    // A new entity of that proto; -1 when the name is unknown.
    int32_t make(const char* name, int32_t owner = 0) {
        return mGame->createEntity(proto(name), owner);
    }
    // A unit standing on the board.
    Entity* unitAt(const char* name, int32_t owner, GridSlot slot) {
        Entity* unit = entity(make(name, owner));
        EXPECT_TRUE(mBoard->placeEntityAt(unit->mId, slot));
        unit->changeState(cStateDeployedToGameBoard);
        return unit;
    }
    // A new item of that proto equipped on the unit; its id.
    int32_t equipNew(Entity* unit, const char* name, int32_t owner = 0,
                     CandidateAction* action = nullptr) {
        const int32_t item = make(name, owner);
        unit->equip(item, action);
        return item;
    }
    // An action of that type from source, kept until the test ends.
    CandidateAction* action(int32_t type, int32_t source) {
        auto* made = new CandidateAction(mGame, 1);
        made->mActionType = type;
        made->mSourceEntity = source;
        mOwnActions.push_back(made);
        return made;
    }
    // The same, made the action being executed.
    CandidateAction* executing(int32_t type, int32_t source) {
        mGame->mExecutingAction = action(type, source);
        return mGame->mExecutingAction;
    }
    bool carries(const Entity* unit, int32_t itemId) const {
        const std::vector<int32_t>& slots = unit->mInventory->getSlots();
        return std::find(slots.begin(), slots.end(), itemId) != slots.end();
    }

    TestBoard* mBoard = nullptr;
    std::vector<CandidateAction*> mOwnActions;
};
