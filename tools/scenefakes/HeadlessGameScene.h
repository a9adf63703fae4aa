#pragma once

// A game scene with no drawing of its own: its scene node is a real layer in
// a scene run by the director (step the clock with CCDirector::tick), effect
// nodes are kept as the board scene keeps them, and the HUD lines are
// recorded in call order. While it lives it is gGameScene.

#include "rules/GameSceneInterface.h"

#include "platform/engine/CCGeometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cocos2d {
class CCLayer;
class CCScene;
} // namespace cocos2d

class HeadlessGameScene : public GameSceneInterface {
public:
    // One recorded HUD call.
    struct Call {
        // "damage", "healing", "score", "playerHealth", "apRegen",
        // "crystalDebuff", "banner", "slowMotion", "hideTurnControls",
        // "turnStarted"
        std::string mName;
        int32_t mValue = 0; // amount, score, player
        cocos2d::CCPoint mPosition;
        float mDelay = 0.0f;
        float mFraction = 0.0f; // player health; crystal-debuff level; slow-motion scale
        bool mFlag = false;     // counts; animate
        std::string mText;      // banner
        float mDuration = 0.0f; // banner; slow-motion hold
    };

    HeadlessGameScene();
    ~HeadlessGameScene() override;

    cocos2d::CCNode* getSceneNode() override;
    Game* getGame() const override { return mGame; }
    void setGame(Game* game) override { mGame = game; }
    PuzzleScript* getPuzzleScript() const override { return nullptr; }

    // Retains the node and keeps it in order; clearing removes and releases.
    void addEffectNode(cocos2d::CCNode* node) override;
    void clearEffectNodes() override;
    void removeFinishedEffects() override;
    const std::vector<cocos2d::CCNode*>& effectNodes() const { return mEffectNodes; }

    cocos2d::CCSpriteFrame* getReachMarkerFrame() const override { return nullptr; }
    cocos2d::CCSpriteFrame* getHealMarkerFrame() const override { return nullptr; }
    void refreshPlayerBanners() override {}
    void hideTurnControls() override;
    void onTurnStarted() override;
    void onTileChestTapped() override {}
    void playAPRegenEffect(float delay) override;
    void setPlayerHealth(int32_t player, float fraction, bool animate, float delay) override;
    void setPlayerHealthText(int32_t, int32_t, float) override {}
    void showHealthNumbers() override {}
    void hideHealthNumbers() override {}
    void setCrystalDebuffLevels(int32_t player, int32_t level, bool animated, float delay) override;
    void showTurnNotice(const std::string&) override {}
    // Recorded; an effect node runs the follow-up when the banner would
    // have faded (delay + 1.2 x duration).
    void showBigAttackBanner(const std::string& text, const cocos2d::CCPoint& position,
                             cocos2d::CCFiniteTimeAction* followUp, float delay,
                             float duration) override;
    void showDamageFlyout(int32_t amount, const cocos2d::CCPoint& position, float delay) override;
    void showHealingFlyout(int32_t amount, const cocos2d::CCPoint& position, float delay) override;
    void showScoreFlyout(int32_t amount, const cocos2d::CCPoint& position, float delay, bool counts,
                         float scale) override;
    void startSlowMotion(float scale, float hold, float delay) override;
    void updateDrag(float, float, TooltipProtocol*, bool) override {}

    // The recorded HUD calls, in order.
    std::vector<Call> mCalls;

private:
    cocos2d::CCScene* mScene;
    cocos2d::CCLayer* mLayer;
    Game* mGame = nullptr;
    std::vector<cocos2d::CCNode*> mEffectNodes; // retained
};
