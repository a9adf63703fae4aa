// Binding a game to the scene: the player banners, the names, the puzzle's
// script and dialog layer, and the HUD parts that follow the game's health.

#include "scene/GameScene.h"

#include "scene/widgets/Button.h"
#include "scene/widgets/HealthBar.h"

#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "content/settings/PlayerColor.h"
#include "content/settings/ProtoCiv.h"
#include "content/settings/ProtoPuzzle.h"
#include "content/settings/SettingsManager.h"
#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameRecord.h"
#include "rules/GamesList.h"
#include "rules/Player.h"
#include "rules/PuzzleScript.h"
#include "rules/core/EntityState.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCTouchDispatcher.h"
#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCTextureCache.h"

#include <boost/thread/recursive_mutex.hpp>

#include <cmath>
#include <cstdio>
#include <mutex>
#include <utility>

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace {

int32_t gGamesViewed = 0;

// The crossover civ's class avatars: a player of that civ showing one of
// them gets the civ's vanity layer on its units.
constexpr const char* cCrossoverClassAvatars[] = {"KX4_Knight", "KX4_Archer",  "KX4_Mage",
                                                  "KX4_Cleric", "KX4_Rogue",   "KX4_Brute",
                                                  "KX4_Ranger", "KX4_Warlock", "KX4_Engineer"};
GameScene::DialogManagerFactory gDialogManagerFactory;

// The player's share of its victory units' health; 0 without any.
float victoryHealthFraction(const Player& player) {
    const int32_t maximum = player.getVictoryMaxHealth();
    return maximum > 0 ? float(player.getVictoryHealth()) / float(maximum) : 0.0f;
}

void setColor(cocos2d::CCSprite* layer, const PlayerColor* color) {
    if (layer != nullptr && color != nullptr)
        layer->setColor(cocos2d::ccc3(color->mRed, color->mGreen, color->mBlue));
}

} // namespace

void GameScene::setDialogManagerFactory(DialogManagerFactory factory) {
    gDialogManagerFactory = std::move(factory);
}

int32_t GameScene::gamesViewed() {
    return gGamesViewed;
}

void GameScene::setGame(Game* game) {
    std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
    // The old game is forgotten before it is released: its destructor
    // unbinds a scene that still names it, which would release it again.
    if (Game* old = mGame) {
        mGame = nullptr;
        // A game replaced by another stops taking the touches its bind
        // registered (its views stay until it goes).
        if (old != game)
            cocos2d::CCTouchDispatcher::sharedDispatcher()->removeDelegate(old);
        old->release();
    }
    if (gGameScene != nullptr)
        if (auto* current = dynamic_cast<GameScene*>(gGameScene))
            current->clearEffects();
    if (game == nullptr)
        return;
    ++gGamesViewed;
    std::printf("GameScene::setGame -- gameID: %lld (total games viewed: %d)\n",
                static_cast<long long>(game->mGameID), gGamesViewed);
    mGame = game;
    game->retain();
    buildPlayerBanner();

    const SettingsManager& settings = SettingsManager::instance();
    const int32_t local = game->mCurrentPlayer;
    const Player* localPlayer = game->getPlayer(local);
    const Player* otherPlayer = game->getPlayer(local == 0 ? 1 : 0);
    ProtoCiv* localCiv = localPlayer != nullptr ? settings.getCiv(localPlayer->mCivId) : nullptr;
    ProtoCiv* otherCiv = otherPlayer != nullptr ? settings.getCiv(otherPlayer->mCivId) : nullptr;
    if (localCiv != nullptr) {
        loadSpriteSheet(localCiv);
        if (otherCiv != nullptr && otherCiv->mId != localCiv->mId)
            loadSpriteSheet(otherCiv);
    }
    chooseAvatar(0);
    chooseAvatar(1);
    game->linkAt(CCPoint(0, 0), true);

    if (game->isLocalGame()) {
        mLocalNameLabel->setString(localizedCString("You"));
        mOpponentNameLabel->setString(localizedCString("Opponent"));
        startPuzzleScript();
    } else {
        const GameRecord* record = gamesList().findGame(game->mGameID);
        if (record == nullptr)
            return; // no names, refresh, final placement nor replay
        const int32_t i = record->findPlayerIndex(gamesList().getNickname());
        if (const PlayerRecord* opponent = record->getPlayer(i == 0 ? 1 : 0))
            mOpponentNameLabel->setString(opponent->mName.c_str());
        if (const PlayerRecord* self = record->getPlayer(i))
            mLocalNameLabel->setString(self->mName.c_str());
    }

    if (localCiv != nullptr && mLocalProfileButton != nullptr)
        mLocalProfileButton->mSound = localCiv->mPlayerCardOpenSound;
    if (otherCiv != nullptr && mOpponentProfileButton != nullptr)
        mOpponentProfileButton->mSound = otherCiv->mPlayerCardOpenSound;

    refreshPlayerHealth();
    refreshTurnButtons();
    hideTurnMarkers();
    refreshCrystalDebuffs(0.0f);
    if (mScoreTallyBackground != nullptr)
        mScoreTallyBackground->setPosition(
            CCPoint(local == 0 ? 128.0f : 353.0f, mScoreTallyBackground->getPosition().y));
    game->finishVisualsNow();
    mJustBound = true;
    // A finished game whose local player has left play opens with its
    // end effect built.
    const GameRecord* record = game->getGameRecord();
    const PlayerRecord* self = record != nullptr ? record->getPlayer(local) : nullptr;
    if (game->mGameOver && self != nullptr && self->mStatus == cGameInactive)
        playEndOfGameEffect(game->isCurrentPlayerWinner());
}

void GameScene::startPuzzleScript() {
    if (mPuzzleDialogManager != nullptr) {
        mPuzzleDialogManager->removeFromParentAndCleanup(true);
        mPuzzleDialogManager->release();
        mPuzzleDialogManager = nullptr;
    }
    delete mPuzzleScript;
    mPuzzleScript = nullptr;
    if (mGame->mPuzzleIndex < 0)
        return;
    const ProtoPuzzle* puzzle =
        SettingsManager::instance().getPuzzle(mGame->mPuzzleCategory, mGame->mPuzzleIndex);
    if (puzzle == nullptr || puzzle->mScript == nullptr)
        return;
    if (gDialogManagerFactory) {
        mPuzzleDialogManager = gDialogManagerFactory();
        if (mPuzzleDialogManager != nullptr) {
            mPuzzleDialogManager->retain();
            if (gGameScene != nullptr)
                gGameScene->getSceneNode()->addChild(mPuzzleDialogManager, cPuzzleDialogZOrder);
        }
    }
    mPuzzleScript = createPuzzleScript(*puzzle);
    if (mPuzzleScript != nullptr)
        mPuzzleScript->start();
}

void GameScene::dropPlayerBanner() {
    auto drop = [](auto*& node) {
        if (node == nullptr)
            return;
        node->removeFromParentAndCleanup(true);
        node->release();
        node = nullptr;
    };
    drop(mLocalNameLabel);
    drop(mOpponentNameLabel);
    drop(mLocalHealthLabel);
    drop(mOpponentHealthLabel);
    drop(mLocalHealthBar);
    drop(mOpponentHealthBar);
    drop(mLocalTurnMarker);
    drop(mOpponentTurnMarker);
    drop(mLocalProfileButton);
    drop(mOpponentProfileButton);
}

void GameScene::buildPlayerBanner() {
    dropPlayerBanner(); // a scene bound again builds its banners anew
    const CCSize win = cocos2d::CCDirector::sharedDirector()->getWinSize();
    const float w = win.width;
    const float h = win.height;
    const int32_t current = mGame->mCurrentPlayer; // bound before the banners are built
    // Each element's position on player 0's side (left) and player 1's.
    auto side = [current](bool local) { return local == (current != 1) ? 0 : 1; };

    const cocos2d::DropShadowInfo nameShadow(1.0f, 1.0f, 0.75f, 0.0f, 1.5f);
    for (bool local : {true, false}) {
        const int s = side(local);
        auto* name = cocos2d::CCLabelTTF::labelWithString(
            local ? "You" : "?", CCSize(84, 16),
            s == 0 ? cocos2d::CCTextAlignmentLeft : cocos2d::CCTextAlignmentRight,
            getDetailsFontName(), 16.0f, 8.0f, &nameShadow);
        name->retain();
        name->setPosition(s == 0 ? CCPoint(w / 2 - 105, h - 20) : CCPoint(w / 2 + 106, h - 20));
        name->setAnchorPoint(s == 0 ? CCPoint(0, 0.5f) : CCPoint(1, 0.5f));
        addChild(name, 6);
        (local ? mLocalNameLabel : mOpponentNameLabel) = name;
    }
    const cocos2d::DropShadowInfo healthShadow(0.9f, 1.7f, 0.75f, 0.0f, 0.5f);
    for (bool local : {true, false}) {
        const int s = side(local);
        auto* text =
            cocos2d::CCLabelTTF::labelWithString("100%", getHeaderFontName(), 22.0f, &healthShadow);
        text->retain();
        text->setColor(cocos2d::ccc3(240, 240, 240));
        text->setPosition(s == 0 ? CCPoint(w / 2 - 25, h - 8) : CCPoint(w / 2 + 28, h - 8));
        text->setAnchorPoint(s == 0 ? CCPoint(1, 0.5f) : CCPoint(0, 0.5f));
        text->setOpacity(0);
        addChild(text, 8);
        (local ? mLocalHealthLabel : mOpponentHealthLabel) = text;
    }
    cocos2d::CCTexture2D* barTexture =
        cocos2d::CCTextureCache::sharedTextureCache()->addImage("UI/Health-MainBar.png");
    for (bool local : {true, false}) {
        const int s = side(local);
        auto* bar = new HealthBar();
        bar->init(barTexture, s == 0 ? CCPoint(0, 1) : CCPoint(1, 1), s == 0 ? 2 : 3);
        bar->mShowAlways = true;
        bar->setPosition(s == 0 ? CCPoint(w / 2 - 107, h - 4) : CCPoint(w / 2 + 108, h - 4));
        addChild(bar, 7);
        (local ? mLocalHealthBar : mOpponentHealthBar) = bar;
    }
    for (bool local : {true, false}) {
        const int s = side(local);
        auto* marker = cocos2d::CCLabelBMFont::labelOrEmpty("x1", "BigNotify.fnt");
        marker->retain();
        marker->setPosition(s == 0 ? CCPoint(w / 2 - 130, h - 29) : CCPoint(w / 2 + 120, h - 29));
        marker->setIsVisible(false);
        addChild(marker, 6);
        (local ? mLocalTurnMarker : mOpponentTurnMarker) = marker;
    }
    buildProfileButtons(w, h, current);
    setColor(mLocalBannerColor, mGame->getHomeColor());
    setColor(mOpponentBannerColor, mGame->getAwayColor());
}

void GameScene::buildProfileButtons(float w, float h, int32_t current) {
    const GameRecord* record = mGame->getGameRecord();
    if (record == nullptr)
        return;
    const bool large = layoutMode() == 2;
    const float scale = large ? 0.375f : 0.25f;
    for (int32_t player : {0, 1}) {
        const PlayerRecord* playerRecord = record->getPlayer(player);
        if (playerRecord == nullptr || playerRecord->mAvatar.empty())
            continue;
        const char* avatar = playerRecord->mAvatar.c_str();
        const CCPoint at =
            player == 0 ? (large ? CCPoint(w / 2 - 131, h - 25) : CCPoint(w / 2 - 123, h - 17))
                        : (large ? CCPoint(w / 2 + 132, h - 25) : CCPoint(w / 2 + 124, h - 17));
        auto* button = new Button(avatar, avatar, avatar, at, "", "ArialRoundedMTBold", 14,
                                  Button::insets(2, 2, 2, 2));
        button->setTooltip(
            "UI/Avatars/Avatar_FirstGame.jpg", localizedCString("Profile"),
            localizedCString("Tap this to display the player's profile information."));
        button->setScaleX(player == 0 ? scale : -scale);
        button->setScaleY(scale);
        button->applyColorOverlay(player == 0 ? mGame->getHomeColor() : mGame->getAwayColor());
        button->mTapTarget = this;
        button->mTapSelector = player == current
                                   ? callfunc_selector(GameScene::showPlayerCard)
                                   : callfunc_selector(GameScene::showOpponentPlayerCard);
        addChild(button, 6);
        (player == current ? mLocalProfileButton : mOpponentProfileButton) = button;
    }
}

void GameScene::chooseAvatar(int32_t player) {
    if (player < 0 || player >= 2)
        return;
    bool found = false;
    const ProtoCiv* crossover = SettingsManager::instance().civForName("kx4a");
    const Player* owner = mGame->getPlayer(player);
    if (crossover != nullptr && owner != nullptr && owner->mCivId == crossover->mId &&
        mGame->mPuzzleCategory == -1 && mGame->mPuzzleIndex == -1) {
        const GameRecord* record = mGame->getGameRecord();
        const PlayerRecord* playerRecord = record != nullptr ? record->getPlayer(player) : nullptr;
        const std::string avatar = playerRecord != nullptr ? playerRecord->mAvatar : "";
        for (const char* id : cCrossoverClassAvatars)
            found = found || avatar.find(id) != std::string::npos;
        std::printf("Avatar: %s, match found: %s\n", avatar.c_str(), found ? "yes" : "no");
    }
    mClassAvatar[size_t(player)] = found;
}

void GameScene::setPlayerHealthText(cocos2d::CCLabelTTF* label, int32_t player, float fraction) {
    if (label == nullptr)
        return;
    const Player* owner = mGame != nullptr ? mGame->getPlayer(player) : nullptr;
    if (owner == nullptr) {
        label->setString("");
        return;
    }
    const SettingsManager& settings = SettingsManager::instance();
    std::string text;
    if (settings.mUseVictoryHealthPool && owner->getVictoryMaxHealth() > 0) {
        if (fraction < 0.0f)
            fraction = victoryHealthFraction(*owner);
        int32_t percent = int32_t(std::floor(100.0f * fraction + 0.5f));
        if (fraction > 0.0f && percent == 0)
            percent = 1;
        text = std::to_string(percent) + "%";
    } else {
        text =
            std::to_string(settings.mSplitTileChest ? owner->countRemainingUnits() : owner->mScore);
    }
    label->setString(text.c_str());
}

void GameScene::setPlayerHealthText(int32_t player, int32_t label, float fraction) {
    setPlayerHealthText(label == 0 ? mLocalHealthLabel : mOpponentHealthLabel, player, fraction);
}

void GameScene::setPlayerHealth(int32_t player, float fraction, bool animate, float delay) {
    if (mGame == nullptr || mGame->getPlayer(player) == nullptr)
        return;
    const bool local = player == mGame->mCurrentPlayer;
    setPlayerHealthText(local ? mLocalHealthLabel : mOpponentHealthLabel, player, fraction);
    if (HealthBar* bar = local ? mLocalHealthBar : mOpponentHealthBar)
        bar->setPercentage(fraction * 100.0f, animate, delay);
}

void GameScene::refreshPlayerHealth() {
    if (mGame == nullptr)
        return;
    for (int32_t player : {0, 1})
        if (const Player* owner = mGame->getPlayer(player))
            setPlayerHealth(player, victoryHealthFraction(*owner), false, 0.0f);
}

void GameScene::hideTurnMarkers() {
    if (mGame == nullptr || mGame->getCurrentPlayer() == nullptr ||
        mGame->getPlayer(mGame->mCurrentPlayer == 0 ? 1 : 0) == nullptr)
        return;
    for (cocos2d::CCNode* marker : {mLocalTurnMarker, mOpponentTurnMarker})
        if (marker != nullptr)
            marker->setIsVisible(false);
}

void GameScene::refreshCrystalDebuffs(float delay) {
    if (mGame == nullptr)
        return;
    for (int32_t player : {1, 0})
        if (mGame->getPlayer(player) != nullptr)
            setCrystalDebuffLevels(player, mGame->countUnitsOnVictoryDamageSquares(1 - player),
                                   false, delay);
}

void GameScene::setCrystalDebuffLevels(int32_t player, int32_t level, bool animate, float delay) {
    const Player* owner = mGame != nullptr ? mGame->getPlayer(player) : nullptr;
    if (owner == nullptr)
        return;
    for (int32_t id : owner->mVictoryUnitIds) {
        const Entity* unit = mGame->getEntity(id);
        CocosEntityLink* view = unit != nullptr ? unit->getEntityLink() : nullptr;
        if (view == nullptr)
            continue;
        const bool down = unit->mState == cStateKnockedOut || unit->mState == cStateDead;
        view->setCrystalDebuffLevel(down ? 0 : level, animate, delay);
    }
}
