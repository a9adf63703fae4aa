// A game scene whose every line does nothing: tests and fuzzers derive from
// it and answer only the lines they need.
#pragma once

#include "rules/GameSceneInterface.h"

#include <string>

class NullGameScene : public GameSceneInterface {
public:
    cocos2d::CCNode* getSceneNode() override { return nullptr; }
    PuzzleScript* getPuzzleScript() const override { return nullptr; }
    Game* getGame() const override { return nullptr; }
    void setGame(Game*) override {}
    void addEffectNode(cocos2d::CCNode*) override {}
    void clearEffectNodes() override {}
    void removeFinishedEffects() override {}
    cocos2d::CCSpriteFrame* getReachMarkerFrame() const override { return nullptr; }
    cocos2d::CCSpriteFrame* getHealMarkerFrame() const override { return nullptr; }
    void refreshPlayerBanners() override {}
    void hideTurnControls() override {}
    void onTurnStarted() override {}
    void onTileChestTapped() override {}
    void playAPRegenEffect(float) override {}
    void setPlayerHealth(int32_t, float, bool, float) override {}
    void setPlayerHealthText(int32_t, int32_t, float) override {}
    void showHealthNumbers() override {}
    void hideHealthNumbers() override {}
    void setCrystalDebuffLevels(int32_t, int32_t, bool, float) override {}
    void showTurnNotice(const std::string&) override {}
    void showBigAttackBanner(const std::string&, const cocos2d::CCPoint&,
                             cocos2d::CCFiniteTimeAction*, float, float) override {}
    void showDamageFlyout(int32_t, const cocos2d::CCPoint&, float) override {}
    void showHealingFlyout(int32_t, const cocos2d::CCPoint&, float) override {}
    void showScoreFlyout(int32_t, const cocos2d::CCPoint&, float, bool, float) override {}
    void startSlowMotion(float, float, float) override {}
    void updateDrag(float, float, TooltipProtocol*, bool) override {}
};
