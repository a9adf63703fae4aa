#pragma once

// The one process-wide holder of the rules' constants and of the content
// lists that are not entity protos, read at start-up from "settings.xml"
// (CRC-checked): board size, rack width, action points and costs, scoring,
// rule switches, the kinds of premium square and the auras; then the game
// boards, civs and player colours of their own files. The puzzle catalogue
// (tutorials and challenges) is built apart, whenever loadPuzzleCategories
// runs, and each build makes the previous one's indices and pointers stale.
// Rules read the members directly. Filled on the main thread, read-only
// afterwards.

#include "content/XMLHelper.h"
#include "content/settings/PlayerColor.h"
#include "content/settings/ProtoAura.h"
#include "content/settings/ProtoCiv.h"
#include "content/settings/ProtoGameBoard.h"
#include "content/settings/ProtoPremiumTile.h"
#include "content/settings/PuzzleCategory.h"
#include "content/settings/ScoringInfo.h"
#include "rules/core/EntityState.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class SettingsManager {
public:
    SettingsManager();
    SettingsManager(SettingsManager&&) = default;
    SettingsManager& operator=(SettingsManager&&) = default;
    // Deletes the scoring record and every record of every list.
    ~SettingsManager();

    static SettingsManager& instance();

    // Start-up's load: prints "Initializing settings manager.", reads
    // "settings.xml", then the boards, civs and player colours; needs the
    // proto database (allocations name protos). False when a file cannot be
    // used or a record refuses its element; what was read so far stays. On
    // success sets mInitialized and prints "Settings manager complete.".
    bool init();
    // The elements of settings.xml's root, in document order; false for a
    // null root, a refused premium tile or aura, or a negative board size.
    bool loadSettings(const XmlNode* root);
    // Back to the construction defaults.
    void clear();

    // The first kind of premium square of that type, or null.
    const ProtoPremiumTile* premiumTileKind(int32_t type) const;

    // The lists of their own files (CRC-checked); bad entries are skipped.
    // False only when the file cannot be used.
    bool loadGameBoards();
    bool loadCivs();
    bool loadPlayerColors();

    // Rebuilds the puzzle catalogue from "Puzzles/tutorialsCategories" and
    // "Puzzles/challengesCategories", finds the "Tutorials" and "Challenges"
    // categories and has the tutorials refresh their cached positions. Needs
    // the civs (puzzles include civs by name).
    void loadPuzzleCategories();
    // Adds the categories of "Puzzles/<name>.xml"; a file that does not load
    // adds nothing.
    void loadPuzzleCategoryFile(std::string_view name);
    // Appends a "category" element's category after its sub-categories;
    // its index, or -1 for another element.
    int32_t parsePuzzleCategory(const XmlNode* element);
    // The puzzle of "Puzzles/<filename>.xml", or null when it does not load.
    std::unique_ptr<ProtoPuzzle> loadPuzzle(std::string_view filename);
    void clearPuzzleCategories();

    // The board at index; another index prints a warning and wraps (as an
    // unsigned number) modulo the count. Null when there are no boards.
    ProtoGameBoard* getGameBoard(int32_t index) const;
    // The first civ of that id, or null.
    ProtoCiv* getCiv(int32_t civId) const;
    // The name of the first civ of that id; false, outName untouched, when none.
    bool civNameForID(int32_t civId, std::string& outName) const;
    // "Random" gives -1; else the id of the first civ of exactly that name.
    // False, outCivId untouched, when none.
    bool civIDForName(std::string_view name, int32_t& outCivId) const;
    // The list position of the first civ of that name in any letter case, or -1.
    int32_t civIndexForName(std::string_view name) const;
    // The civ of exactly that name; null for "Random" and unknown names.
    ProtoCiv* civForName(std::string_view name) const;
    // The colour at index, null outside the list.
    PlayerColor* getHomeColor(int32_t index) const;
    PlayerColor* getAwayColor(int32_t index) const;

    // Catalogue queries by category index and position; a bad index answers
    // -1, 0, false or null.
    int32_t categoryIndexForName(std::string_view name) const;
    int32_t subcategoryCount(int32_t category) const;
    int32_t puzzleCount(int32_t category) const;
    int32_t getSubcategory(int32_t category, int32_t n) const;
    bool categoryName(int32_t category, std::string& outName) const;
    ProtoPuzzle* getPuzzle(int32_t category, int32_t n) const;
    // The preference "CompletedPuzzle_<puzzle name>" (Preferences).
    void setPuzzleCompleted(int32_t category, int32_t n) const;
    bool isPuzzleCompleted(int32_t category, int32_t n) const;
    // Whether every puzzle of the category is completed (true without puzzles).
    bool isCategoryCompleted(int32_t category) const;

    bool mInitialized = false;
    int32_t mBoardWidth = 0;
    int32_t mBoardHeight = 0;
    float mBoardMaxDistanceWidthScale = 1.0f;
    int32_t mTileRackWidth = 0;
    int32_t mActionPointsPerTurn = 0;
    int32_t mKnockoutDeathThreshold = 0;
    std::unique_ptr<ScoringInfo> mScoringInfo; // null until "scoring" is read
    // A board's position is the board index games store.
    std::vector<std::unique_ptr<ProtoGameBoard>> mGameBoards;
    std::vector<std::unique_ptr<ProtoCiv>> mCivs;
    std::vector<std::unique_ptr<ProtoPremiumTile>> mPremiumTiles;
    std::vector<std::unique_ptr<PlayerColor>> mHomeColors;
    std::vector<std::unique_ptr<PlayerColor>> mAwayColors;
    std::vector<std::unique_ptr<ProtoAura>> mAuras;
    // Both catalogue files' categories; a category follows its sub-categories.
    std::vector<std::unique_ptr<PuzzleCategory>> mPuzzleCategories;
    int32_t mScoreToWin = -1;
    bool mUseVictoryHealthPool = true;
    int32_t mVictoryDamageOnCorpseStomp = 0;
    // The action points an action of each ActionType costs unless the
    // entity's proto says otherwise.
    std::array<int32_t, cActionTypeCount> mDefaultActionCost{};
    int32_t mInitialUnitWeighting = 3;
    bool mRestrictedTargeting = false;
    bool mRangedAttackBlocking = false;
    bool mRangedAttackBlockingVersion2 = false;
    bool mSplitTileChest = false;
    int32_t mChallengesCategoryIndex = -1;
    int32_t mTutorialsCategoryIndex = -1;

private:
    void loadDefaultActionCost(const XmlNode* element);
    void loadColorList(const XmlNode* list, std::vector<std::unique_ptr<PlayerColor>>& colors);
    const PuzzleCategory* category(int32_t index) const;
};
