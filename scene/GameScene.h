#pragma once

// The engine layer on which a match is shown: it owns the heads-up display
// (turn buttons, banners, flyout pools, reticle frames, the reset flash, the
// replay bar, the score tally), takes every touch as a standard delegate of
// priority 10 and the Back key, keeps the Game in play, and is the scene the
// rules reach through gGameScene. At most one exists at a time; a second one
// warns and takes over gGameScene. Created only through node (or
// sceneWithGame). Main thread only.
//
// Z-orders on the scene: HUD buttons and the tally 1, banners and the Submit
// overlay 5, VS badge 6, replay bar and test puppet 1000, Rematch and Next
// Game 1001, Rematch overlay 1002, flyouts 2000, modal layers 10000, puzzle
// dialogs 10001, reset flash 50000, fake cursors 100000.
//
// Files: GameScene.cpp (creation, lifecycle), GameScene_binding.cpp
// (binding, banners, health), GameScene_refresh.cpp (turn buttons, gems,
// replay controls), GameScene_sheets.cpp (sprite sheets),
// GameScene_highlights.cpp (tutorial highlights), GameScene_drag.cpp (drag
// tooltip), GameScene_hud.cpp (init), GameScene_effects.cpp
// (flyouts, banners, slow motion, effect lists), GameScene_turns.cpp
// (turn controller), GameScene_endOfGame.cpp (end of the match).

#include "rules/GameSceneInterface.h"

#include "platform/engine/CCLayer.h"

#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace cocos2d {
class CCLabelBMFont;
class CCLabelTTF;
class CCScene;
class CCSet;
class CCSprite;
class CCTexture2D;
class CCTouch;
} // namespace cocos2d

class Button;
class Entity;
class HealthBar;
struct PlayerRecord;
class PuppetInstance;
class ProtoCiv;
class PuzzleScript;
struct PlayerRecord;

// Ten prebuilt entries used in turn: the eleventh request restarts the oldest.
template <class T> struct FlyoutPool {
    static constexpr int32_t cSize = 10;
    std::array<T, cSize> mEntries{};
    int32_t mIndex = 0;

    T next() {
        T entry = mEntries[size_t(mIndex)];
        mIndex = (mIndex + 1) % cSize;
        return entry;
    }
};

// A score flyout: a bitmap-font label on a sprite; only the sprite is retained.
struct ScoreFlyout {
    virtual ~ScoreFlyout() = default;
    cocos2d::CCLabelBMFont* mLabel = nullptr;
    cocos2d::CCSprite* mSprite = nullptr;
};

class GameScene : public cocos2d::CCLayer, public GameSceneInterface {
public:
    // An autoreleased scene with its HUD built, or null when init fails.
    static GameScene* node();
    // An autoreleased CCScene placed at the board's rectangle holding a new
    // scene bound to gCurrentGame.
    static cocos2d::CCScene* sceneWithGame();

    ~GameScene() override;
    void onEnter() override;
    void onExit() override;
    void onPause() override {}
    void onResume() override {}
    void onViewDidAppear(bool animated) override;
    void draw() override {}

    // Builds the HUD and becomes gGameScene; false only when the layer fails.
    virtual bool init() override;
    // Ends the director.
    virtual void quit(cocos2d::CCObject* sender);
    // The score flyout's hook, called as it appears; data is the amount
    // when the score counts and no replay runs, else 0. Nothing here.
    virtual void onScoreFlyoutDone(cocos2d::CCNode* sprite, void* data);

    // Touches (every touch set, also those that others swallowed) and keys.
    bool wantAllTouches() override { return true; }
    void keyMenuClicked() override {}
    // Input (GameScene_input.cpp): health numbers while the board is
    // touched with a primary touch; under the option "FakeCursor" a cursor
    // sprite follows every touch.
    void ccTouchesBegan(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccTouchesMoved(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccTouchesEnded(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccTouchesCancelled(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    // Prints "keybackclicked." and cancels the bound game's drag.
    void keyBackClicked() override;
    // Whether a touch of the set is the primary one (id 0; the mouse).
    static bool hasPrimaryTouch(const cocos2d::CCSet* touches);
    // Fades out and removes the cursors of the set's touches.
    void releaseFakeCursors(const cocos2d::CCSet* touches);
    const std::vector<std::pair<cocos2d::CCSprite*, cocos2d::CCTouch*>>& fakeCursors() const {
        return mFakeCursors;
    }

    // Back to the games list (from the page, or Back's confirmation): stops
    // the end effect's sounds and drops the turn's pending statistics.
    void backToGames();
    void onBackConfirmed(cocos2d::CCObject* sender);

    // Submitting the turn (GameScene_turns.cpp). The Submit button: in a
    // local game only tells the puzzle script; the winner confirms "Submit
    // Victory!", anyone else picks in a SubmitConfirmLayer (warned about
    // unspent action points).
    void onSubmitButton();
    // The confirmation (argument: SubmitConfirmLayer::tauntRequested):
    // finishes the turn, then runs the submit job through the shell.
    void onSubmitConfirmed(cocos2d::CCObject* taunt);
    // The job: sends the turn (the saved state, or with the option
    // "SubmitTurnVersion" above 2 the turn record) with the game's result;
    // the service's code, -1 without a game or record.
    int submitTurnWorker();
    // Failure: a notice, the turn stays finished (Submit sends it again).
    // Success: the tally goes, the taunts or the rack refill play, the
    // turn statistics are committed.
    void onSubmitTurnDone(int result);
    // The action-points button: a tap undoes one action when the
    // preference "Vellix_PartialUndo" is on outside puzzles, else the whole
    // turn; a hold always the whole turn; during a replay a tap skips it.
    // Nothing once the turn is finished or the game over.
    void onActionPointsTap();
    void onActionPointsHeld();
    void onActionPointsTapped(bool wholeTurn);
    // Back from the page: asks first ("Back (Resets Actions)") only while
    // one's own running turn has actions, else leaves at once.
    void onBackButton();
    // Resign and delete, from the settings menu: a question, then the job
    // updating the local player's status; failures show a notice. A
    // resignation ends the game on screen.
    void onResignButton();
    void onResignConfirmed(cocos2d::CCObject* sender);
    int resignWorker();
    void onResignDone(int result);
    void onDeleteButton();
    void onDeleteConfirmed(cocos2d::CCObject* sender);
    // Sends Deleted with the substatus of the record's local player (else
    // of the current player's entry, else -1: unchanged).
    int deleteWorker();
    void onDeleteDone(int result);
    // Rematch: the rematch page for this game's opponent, unless 40 games
    // already run.
    void onRematchButton();
    // The Settings button: the settings menu over the board at z 10000
    // (GameScene_settings.cpp).
    void onSettingsButton();
    // The card of a player's record over the board at z 10000
    // (GameScene_playerCard.cpp); the banners' profile buttons look the
    // record up.
    void openPlayerCard(const PlayerRecord& record);
    // Next Game: the first game awaiting the local player; opened at once
    // when its state is listed, else after a job that settles and fetches
    // it (a matchmade game without state starts anew).
    void onNextGameButton();
    int nextGameWorker();
    void onNextGameDone(int result);
    // The next puzzle: remembered, then launched by the shell after an
    // empty job under "Loading Game...".
    void loadNextPuzzle(int32_t categoryIndex, int32_t puzzleIndex);
    int loadGameWorker();
    void onLoadGameDone(int result);
    // The player banners' profile buttons: the card of the record's player
    // at the current index, or at the other index; nothing without the
    // record or that player.
    void showPlayerCard();
    void showOpponentPlayerCard();
    // The wall clock in UTC seconds, for the time-to-move statistics; null
    // restores the system clock.
    using Clock = int64_t (*)();
    static void setClock(Clock clock);

    // The end of the match (GameScene_endOfGame.cpp). The three text-effect
    // attachments under the names the options give their textures; the
    // hidden effect of the outcome (tutorial wins over challenge) with its
    // text puppet, none when the effect puppet is missing; and the summary:
    // the effect played, the taunt award of a counted online game on it,
    // and the units of the board and the current player's rack cheering
    // (the winner's) or slumping.
    void loadTextEffect();
    void playEndOfGameEffect(bool victory, bool challenge = false, bool tutorial = false);
    void showEndOfGameSummary(bool victory, bool tutorial);

    // GameSceneInterface.
    cocos2d::CCNode* getSceneNode() override { return this; }
    Game* getGame() const override { return mGame; }
    void setGame(Game* game) override;
    PuzzleScript* getPuzzleScript() const override { return mPuzzleScript; }
    void addEffectNode(cocos2d::CCNode* node) override;
    void clearEffectNodes() override;
    void removeFinishedEffects() override;
    cocos2d::CCSpriteFrame* getReachMarkerFrame() const override { return mReticleFrames[2]; }
    cocos2d::CCSpriteFrame* getHealMarkerFrame() const override { return mReticleFrames[3]; }
    void refreshPlayerBanners() override {
        refreshPlayerHealth();
        refreshActionPoints();
    }
    void hideTurnControls() override;
    void onTurnStarted() override;
    // A tap on the tile chest, outside replays: how to swap tiles.
    void onTileChestTapped() override;
    void playAPRegenEffect(float delay) override;
    void setPlayerHealth(int32_t player, float fraction, bool animate, float delay) override;
    void setPlayerHealthText(int32_t player, int32_t label, float fraction) override;
    void showHealthNumbers() override;
    void hideHealthNumbers() override;
    void setCrystalDebuffLevels(int32_t player, int32_t level, bool animate, float delay) override;
    void showTurnNotice(const std::string& text) override;
    void showBigAttackBanner(const std::string& text, const cocos2d::CCPoint& position,
                             cocos2d::CCFiniteTimeAction* followUp, float delay,
                             float duration) override;
    void showDamageFlyout(int32_t amount, const cocos2d::CCPoint& position, float delay) override;
    void showHealingFlyout(int32_t amount, const cocos2d::CCPoint& position, float delay) override;
    void showScoreFlyout(int32_t amount, const cocos2d::CCPoint& position, float delay, bool counts,
                         float scale = 1.0f) override;
    void startSlowMotion(float scale, float hold, float delay) override;
    // The dragged tile's target: the unit under it wears the "Highlight"
    // aura and, while the button is down, shows its tooltip panel beside
    // the pointer; nothing during a replay.
    void updateDrag(float x, float y, TooltipProtocol* target, bool buttonDown) override;
    void showDragTooltip();

    // Effects (the flash of a reset or undo, flyouts stopped at once).
    void playResetFlash();
    void stopHudActions();
    // The effect lists: mEffectNodes retains its nodes; mEffects owns the
    // reference its caller took.
    void removeEffectNode(cocos2d::CCNode* node);
    void addEffect(cocos2d::CCNode* node);
    void clearEffects();
    // Removes a child of the scene with clean-up (a CCCallFuncN target).
    void removeNodeFromScene(cocos2d::CCNode* node);

    // The HUD that follows the bound game: a player's health as text into
    // label (fraction 0..1; negative recomputes it from the victory units;
    // without a victory health pool the score or, with split chests, the
    // units left), both players' health, the banners' turn markers hidden,
    // and each player's crystals debuffed by the opponent's units on
    // victory damage squares.
    void setPlayerHealthText(cocos2d::CCLabelTTF* label, int32_t player, float fraction);
    void refreshPlayerHealth();
    void hideTurnMarkers() override;
    void refreshCrystalDebuffs(float delay);
    // Which of Submit, Rematch and Next Game show, and their overlays'
    // pulses; untouched while a tutorial hides Submit.
    void refreshTurnButtons();
    // The action-points button, its arrow and gems, then the turn buttons.
    void refreshActionPoints();
    // Zeroes the local player's new-chat count in the game's record.
    void markChatRead();
    void hideScoreTally();

    // Tutorial highlights by control name ("PlayerBanner", "ResetButton",
    // "SubmitButton", "TileChest", "SettingsButton"): revealing one with its
    // tooltip indicator, or hiding both. True for the HUD controls; false for
    // the chest and unknown names. A control's position ("HelpButton",
    // "SubmitButton", "ResetButton"); (0, 0) for others or a missing one.
    bool highlightControl(const std::string& name);
    bool unhighlightControl(const std::string& name);
    cocos2d::CCPoint getControlPosition(const std::string& name) const;

    // A civ's sprite sheet ("data/<sheet>.xml", its "-hd" twin in high
    // definition) registered with the sprite-frame cache, keeping frames
    // already there; unloading removes its frames. A missing or broken
    // sheet registers nothing; a null civ does nothing.
    void loadSpriteSheet(const ProtoCiv* civ);
    void unloadSpriteSheet(const ProtoCiv* civ);

    // The puzzle dialog layer a tutorial or challenge puts over the scene;
    // none is made while no factory is installed.
    using DialogManagerFactory = std::function<cocos2d::CCNode*()>;
    static void setDialogManagerFactory(DialogManagerFactory factory);
    // Games bound to any scene in this process.
    static int32_t gamesViewed();

    bool isSlowMotionActive() const { return mSlowMotionActive; }

    // The process-wide layout mode of the board scene (0 small, 1 medium,
    // 2 large), which the shell chooses by screen size; 0 until set.
    static int32_t layoutMode();
    static void setLayoutMode(int32_t mode);

    static constexpr int cTouchPriority = 10;
    static constexpr int cFlyoutZOrder = 2000;
    static constexpr int cModalZOrder = 10000;
    static constexpr int cPuzzleDialogZOrder = 10001;
    static constexpr int cResetFlashZOrder = 50000;

protected:
    GameScene();

private:
    void buildButtons(float w, float h);
    void buildBanners(float w, float h);
    void buildFlyouts();
    void buildGems();
    void buildReticleFrames();
    void buildTestPuppet();
    // Binding (GameScene_binding.cpp).
    void buildPlayerBanner();
    void dropPlayerBanner();
    void buildProfileButtons(float w, float h, int32_t current);
    void chooseAvatar(int32_t player);
    void startPuzzleScript();
    void showBonusActionNotice();
    void dropEndOfGameEffect();
    const PlayerRecord* cardPlayer(bool opponent) const;
    void showPlayerBanner(bool shown);
    void closeDragTooltip();
    void unloadSpriteSheets();
    void showNumberFlyout(cocos2d::CCLabelBMFont* label, const std::string& text,
                          const cocos2d::CCPoint& position, float delay);
    void onSlowMotionStart(cocos2d::ccTime dt);
    void onSlowMotionEnd(cocos2d::ccTime dt);
    void cancelSlowMotion();
    // Whether the record's player at the current index has left play
    // (status inactive): the game ended.
    bool currentPlayerInactive() const;
    // Runs worker and then completion with its result through the shell's
    // job runner, under text; the scene stays alive through both.
    void runJob(const char* text, int (GameScene::*worker)(), void (GameScene::*completion)(int));
    // A question at z 10000 titled with the localised title; OK calls
    // callback on the scene.
    void ask(const char* title, const char* okSound, cocos2d::SEL_MenuHandler callback);
    // A notice of the localised text at z 10000.
    void showNotice(const char* text);

public:
    // Members, as the HUD refresh, input and turn controller use them.
    Game* mGame = nullptr; // retained
    cocos2d::CCLabelTTF* mLocalNameLabel = nullptr;
    cocos2d::CCLabelTTF* mOpponentNameLabel = nullptr;
    cocos2d::CCLabelTTF* mOpponentHealthLabel = nullptr;
    cocos2d::CCLabelTTF* mLocalHealthLabel = nullptr;
    cocos2d::CCLabelBMFont* mLocalTurnMarker = nullptr;
    cocos2d::CCLabelBMFont* mOpponentTurnMarker = nullptr;
    HealthBar* mLocalHealthBar = nullptr;    // owned
    HealthBar* mOpponentHealthBar = nullptr; // owned
    Button* mSubmitButton = nullptr;
    Button* mRematchButton = nullptr;
    Button* mNextGameButton = nullptr;
    Button* mActionPointsButton = nullptr;
    Button* mLocalProfileButton = nullptr;
    Button* mOpponentProfileButton = nullptr;
    Button* mSettingsButton = nullptr;
    Button* mHelpButton = nullptr; // never built
    FlyoutPool<cocos2d::CCLabelBMFont*> mDamageFlyouts;
    FlyoutPool<cocos2d::CCLabelBMFont*> mHealingFlyouts;
    FlyoutPool<ScoreFlyout*> mScoreFlyouts; // owned
    std::vector<cocos2d::CCSprite*> mActionPointGems;
    // "attackReticle", "attackReticle2", "attackBlockedReticle",
    // "healReticle", "abilityReticle".
    std::array<cocos2d::CCSpriteFrame*, 5> mReticleFrames{};
    cocos2d::CCSprite* mResetFlash = nullptr;
    cocos2d::CCSprite* mActionPointsArrow = nullptr;
    cocos2d::CCSprite* mSubmitOverlay = nullptr;
    cocos2d::CCSprite* mRematchOverlay = nullptr;
    cocos2d::CCSprite* mReplayBar = nullptr;
    Button* mReplaySkipButton = nullptr;
    cocos2d::CCLabelTTF* mScoreTallyLabel = nullptr;
    cocos2d::CCSprite* mScoreTallyBackground = nullptr;
    int32_t mScoreTallyCount = 0;
    cocos2d::CCTexture2D* mHealthGreenTexture = nullptr;
    cocos2d::CCTexture2D* mHealthRedTexture = nullptr;
    cocos2d::CCSprite* mLocalBannerColor = nullptr;
    cocos2d::CCSprite* mOpponentBannerColor = nullptr;
    cocos2d::CCSprite* mVsBadge = nullptr;
    cocos2d::CCSprite* mLocalBanner = nullptr;
    cocos2d::CCSprite* mOpponentBanner = nullptr;
    std::vector<std::pair<cocos2d::CCSprite*, cocos2d::CCTouch*>> mFakeCursors;
    float mSlowMotionScale = 1.0f;
    float mSlowMotionHold = 0.0f;
    bool mSlowMotionActive = false;
    bool mJustBound = false;
    PuppetInstance* mEndEffectPuppet = nullptr;
    PuppetInstance* mEndEffectText = nullptr;
    std::vector<cocos2d::CCNode*> mEffectNodes; // retained
    uint64_t mSubmitRecordStamp = 0;
    int64_t mNextGameId = -1;
    bool mNextGameStatusOk = false;
    std::vector<cocos2d::CCNode*> mEffects;          // one reference each
    cocos2d::CCNode* mPuzzleDialogManager = nullptr; // retained
    PuzzleScript* mPuzzleScript = nullptr;           // owned
    bool mHighlightBanner = true;
    bool mHighlightReset = true;
    bool mHighlightSubmit = true;
    std::array<int32_t, 2> mPendingPuzzle{-1, -1};
    std::array<bool, 2> mClassAvatar{};
    cocos2d::CCNode* mDragTooltip = nullptr; // retained
    Entity* mDragTooltipEntity = nullptr;
};
