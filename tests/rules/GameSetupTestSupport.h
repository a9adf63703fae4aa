#pragma once

// Settings for the set-up tests: a rack of 4, a 5 x 3 board, two board
// layouts (a crystal in each player's victory pool; a knight of player 1), and civs with tile
// allocations over the test database, built in memory. The fixture's game (two bare players) stays
// for the grid tests; newGame makes games as a new match is set up.

#include "RulesTestSupport.h"

#include "rules/GameSceneInterface.h"
#include "rules/PuzzleScript.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"

#include "content/Preferences.h"
#include "content/XMLHelper.h"
#include "content/settings/SettingsManager.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

// A record (tile allocation, board layout) read from its XML text; null
// when it does not load.
template <class Record> std::unique_ptr<Record> loadRecord(const char* text) {
    XMLHelper holder;
    holder.setText(text);
    XmlNode* root = nullptr;
    auto record = std::make_unique<Record>();
    if (!holder.parse(root) || !record->load(root))
        return nullptr;
    return record;
}

inline std::unique_ptr<TileAllocation> makeAllocation(const char* text) {
    return loadRecord<TileAllocation>(text);
}

inline std::unique_ptr<ProtoGameBoard> makeBoard(const char* text) {
    return loadRecord<ProtoGameBoard>(text);
}

// Adds a civ of that id and name with the allocation of that text (none
// when text is null).
inline ProtoCiv& addCiv(int32_t id, const char* name, const char* text) {
    auto civ = std::make_unique<ProtoCiv>(id);
    civ->mName = name;
    if (text != nullptr)
        civ->mTileAllocation = makeAllocation(text);
    ProtoCiv& kept = *civ;
    SettingsManager::instance().mCivs.push_back(std::move(civ));
    return kept;
}

// Civ 0 "blue": two knights, one sword, an archer; civ 1 "red": the council
// knight in place of the knight. Both in order, not shuffled.
inline constexpr const char* cBlueTiles = R"(<tileAllocation randomize="false">
  <tile name="knight">2</tile><tile name="sword">1</tile><tile name="archer">1</tile>
</tileAllocation>)";
inline constexpr const char* cRedTiles = R"(<tileAllocation randomize="false">
  <tile name="councilKnight">1</tile><tile name="archer">2</tile>
</tileAllocation>)";

using cocos2d::CCPoint;

// A game scene that records banner refreshes, health texts, notices and
// score flyouts, and hands out a puzzle script that records the
// action-points events when asked to.
class RecordingScene : public GameSceneInterface {
public:
    class Script : public PuzzleScript {
    public:
        void onAPRemaining(Player* player) override { mPlayers.push_back(player); }
        std::vector<Player*> mPlayers;
    };

    RecordingScene() { gGameScene = this; }
    ~RecordingScene() override { gGameScene = nullptr; }
    cocos2d::CCNode* getSceneNode() override { return nullptr; }
    Game* getGame() const override { return nullptr; }
    void setGame(Game*) override {}
    PuzzleScript* getPuzzleScript() const override { return mHasScript ? &mScript : nullptr; }
    void addEffectNode(cocos2d::CCNode*) override {}
    void clearEffectNodes() override {}
    void removeFinishedEffects() override {}
    cocos2d::CCSpriteFrame* getReachMarkerFrame() const override { return nullptr; }
    cocos2d::CCSpriteFrame* getHealMarkerFrame() const override { return nullptr; }
    void refreshPlayerBanners() override { ++mBannerRefreshes; }
    void hideTurnControls() override {}
    void onTurnStarted() override {}
    void onTileChestTapped() override {}
    void playAPRegenEffect(float) override {}
    void setPlayerHealth(int32_t, float, bool, float) override {}
    void setPlayerHealthText(int32_t player, int32_t, float value) override {
        mHealthTexts.push_back({player, value});
    }
    void showHealthNumbers() override {}
    void hideHealthNumbers() override {}
    void setCrystalDebuffLevels(int32_t, int32_t, bool, float) override {}
    void showTurnNotice(const std::string& text) override { mNotices.push_back(text); }
    void showBigAttackBanner(const std::string&, const CCPoint&, cocos2d::CCFiniteTimeAction*,
                             float, float) override {}
    void showDamageFlyout(int32_t, const CCPoint&, float) override {}
    void showHealingFlyout(int32_t, const CCPoint&, float) override {}
    void showScoreFlyout(int32_t points, const CCPoint& at, float delay, bool counts,
                         float scale) override {
        mFlyouts.push_back({points, at, delay, counts, scale});
    }
    void startSlowMotion(float, float, float) override {}
    void updateDrag(float, float, TooltipProtocol*, bool) override {}

    struct Flyout {
        int32_t points;
        CCPoint at;
        float delay;
        bool counts;
        float scale;
    };
    bool mHasScript = false;
    mutable Script mScript;
    int mBannerRefreshes = 0;
    std::vector<std::pair<int32_t, float>> mHealthTexts;
    std::vector<std::string> mNotices;
    std::vector<Flyout> mFlyouts;
};

class GameSetupTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        SettingsManager& settings = SettingsManager::instance();
        settings.clear();
        builtInPreferenceStore().clear();
        settings.mTileRackWidth = 4;
        settings.mBoardWidth = 5;
        settings.mBoardHeight = 3;
        settings.mActionPointsPerTurn = 6;
        settings.mGameBoards.push_back(makeBoard(R"(<board>
            <preplace name="crystal" x="0" y="1" player="0" victoryHealthPool="true"/>
            <preplace name="crystal" x="4" y="1" player="1" victoryHealthPool="true"
              healthFraction="0.5"/></board>)"));
        settings.mGameBoards.push_back(
            makeBoard(R"(<board><preplace name="knight" x="2" y="2" player="1"/></board>)"));
        addCiv(0, "blue", cBlueTiles);
        addCiv(1, "red", cRedTiles);
    }
    void TearDown() override {
        for (Game* game : mNewGames)
            game->release();
        SettingsManager::instance().clear();
        builtInPreferenceStore().clear();
        RulesTest::TearDown();
    }

    // A game set up as a new match with that seed; null when init fails.
    Game* newGame(int32_t seed, bool local = false) {
        auto* game = new Game();
        mNewGames.push_back(game);
        if (local)
            game->mFlags |= cGameLocal;
        return game->init(seed) ? game : nullptr;
    }

    // The proto ids of a grid's slots, -1 for an empty one.
    static std::vector<int32_t> protosIn(const EntityGrid& grid) {
        std::vector<int32_t> protos;
        for (int32_t i = 0; i < grid.getSlotCount(); ++i) {
            const Entity* entity = grid.getEntityAtIndex(i);
            protos.push_back(entity != nullptr ? entity->mProtoId : -1);
        }
        return protos;
    }

    std::vector<Game*> mNewGames;
};
