#pragma once

// The modal card of one player of the shown game, opened from a banner's
// profile button: name, avatar in the player's colour, civ with a button
// that opens the civ's team details, the tiles the player still has to play
// ("Reinforcements:") and the game's round, over a full-window fade.
//
// The player shown is the game's current player for the local record, the
// other seat otherwise. Created with new and added to the game scene at z
// 10000 (GameScene::openPlayerCard); on entering, the card drops that first
// reference, so the scene owns it and removing it frees it. Every touch
// outside its two buttons is swallowed; the cancel button dismisses it, the
// civ button leaves it open. Main thread only.

#include "platform/engine/CCLayer.h"

#include <cstdint>
#include <string>

namespace cocos2d {
class CCLabelBMFont;
class CCSprite;
} // namespace cocos2d

class Button;
struct PlayerRecord;

class PlayerCardLayer : public cocos2d::CCLayer {
public:
    // Builds the card from the record and the scene's game. A player missing
    // from the game draws the avatar unflipped without its colour layer and
    // an empty reinforcements count; an unknown or "Random" civ no civ line
    // and no civ button.
    explicit PlayerCardLayer(const PlayerRecord& record);
    ~PlayerCardLayer() override;

    void onEnter() override;
    void onExit() override;

    // Shrinks and fades the card, then removes it after 0.2 s.
    virtual void dismiss();
    // The civ's team details, when the card has a civ.
    virtual void onTeamDetails();

    // Swallows every touch.
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

    cocos2d::CCSprite* getBackground() const { return mCardBackground; }
    cocos2d::CCSprite* getAvatar() const { return mAvatar; }
    Button* getCancelButton() const { return mCancelButton; }
    Button* getCivButton() const { return mCivButton; }
    cocos2d::CCLabelBMFont* getReinforcementsLabel() const { return mReinforcements; }
    cocos2d::CCLabelBMFont* getRoundLabel() const { return mRound; }
    int32_t getCivId() const { return mCivId; }
    const std::string& getPlayerName() const { return mPlayerName; }

private:
    void buildAvatar(const PlayerRecord& record, int32_t playerIndex);
    void buildCiv(const PlayerRecord& record);
    void removeSelf();

    cocos2d::CCSprite* mCardBackground = nullptr; // retained
    cocos2d::CCSprite* mFade = nullptr;           // retained
    int32_t mCivId = -1;
    std::string mPlayerName;
    // Children of the background, not retained.
    cocos2d::CCSprite* mAvatar = nullptr;
    Button* mCancelButton = nullptr;
    Button* mCivButton = nullptr;
    cocos2d::CCLabelBMFont* mReinforcements = nullptr;
    cocos2d::CCLabelBMFont* mRound = nullptr;
    bool mOwnReferenceDropped = false;
};
