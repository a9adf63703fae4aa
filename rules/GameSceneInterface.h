#pragma once

// What the rules call in the scene of a running game. The board scene's
// GameScene (an engine layer) implements it and sets gGameScene to itself
// while a game is shown; gGameScene is null otherwise, and the rules then
// skip every call, as they do with no scene at all.

#include "platform/engine/CCGeometry.h"

#include <cstdint>
#include <string>

namespace cocos2d {
class CCFiniteTimeAction;
class CCNode;
class CCSpriteFrame;
} // namespace cocos2d

class Game;
class PuzzleScript;
class TooltipProtocol;

class GameSceneInterface {
public:
    virtual ~GameSceneInterface();

    // The scene layer; views and effects add their nodes to it with a z-order.
    virtual cocos2d::CCNode* getSceneNode() = 0;
    // The game shown, and binding the scene to a game (null: none).
    virtual Game* getGame() const = 0;
    virtual void setGame(Game* game) = 0;
    // The running puzzle script; null when none.
    virtual PuzzleScript* getPuzzleScript() const = 0;

    // Transient effect nodes: registering one (the scene retains it), and
    // removing and releasing all of them or only those whose actions ended.
    virtual void addEffectNode(cocos2d::CCNode* node) = 0;
    virtual void clearEffectNodes() = 0;
    virtual void removeFinishedEffects() = 0;
    // The target-marker frames of reach and heal (the scene's reticles
    // "attackBlockedReticle" and "healReticle").
    virtual cocos2d::CCSpriteFrame* getReachMarkerFrame() const = 0;
    virtual cocos2d::CCSpriteFrame* getHealMarkerFrame() const = 0;

    // Banners and turn controls.
    virtual void refreshPlayerBanners() = 0;
    virtual void hideTurnControls() = 0;
    virtual void onTurnStarted() = 0;
    virtual void onTileChestTapped() = 0;
    virtual void playAPRegenEffect(float delay) = 0;
    // A player's health label and bar (fraction 0..1).
    virtual void setPlayerHealth(int32_t player, float fraction, bool animate, float delay) = 0;
    // Rewrites one of the two health labels (0 the current player's, 1 the
    // other's) with a player's health fraction (0..1); a negative fraction
    // means recompute it from the game.
    virtual void setPlayerHealthText(int32_t player, int32_t label, float fraction) = 0;
    virtual void showHealthNumbers() = 0;
    virtual void hideHealthNumbers() = 0;
    // The crystal-debuff level shown on a player's victory units.
    virtual void setCrystalDebuffLevels(int32_t player, int32_t level, bool animated,
                                        float delay) = 0;

    // Notices, banners and floating numbers.
    virtual void showTurnNotice(const std::string& text) = 0;
    // The banner of a big attack ("" names none); followUp (or null) runs
    // after it fades, before it goes.
    virtual void showBigAttackBanner(const std::string& text, const cocos2d::CCPoint& position,
                                     cocos2d::CCFiniteTimeAction* followUp, float delay,
                                     float duration) = 0;
    virtual void showDamageFlyout(int32_t amount, const cocos2d::CCPoint& position,
                                  float delay) = 0;
    virtual void showHealingFlyout(int32_t amount, const cocos2d::CCPoint& position,
                                   float delay) = 0;
    // counts: the score is new (the scene's score hook hears it); scale
    // multiplies the flyout's own scales (an award's growing scale).
    virtual void showScoreFlyout(int32_t amount, const cocos2d::CCPoint& position, float delay,
                                 bool counts, float scale = 1.0f) = 0;
    // Slows the scheduler to scale for hold seconds of real time, starting
    // after delay; ignored while a slow motion runs.
    virtual void startSlowMotion(float scale, float hold, float delay) = 0;

    // Follows the pointer while a tile is dragged.
    virtual void updateDrag(float x, float y, TooltipProtocol* nearestTarget, bool buttonDown) = 0;
    // Hides the two turn-marker labels of the banners; nothing here.
    virtual void hideTurnMarkers();
};

// The scene of the game being shown; null outside a game.
extern GameSceneInterface* gGameScene;
