#pragma once

// The in-game menu the Settings button opens over the board: a column of
// buttons to replay the opponent's turn, resign (while the game runs and its
// current player is active) or else delete and rematch, switch sound,
// switch partial undo ("Vellix_PartialUndo", read by the undo of the
// action-points button) and close.
//
// The layer itself is an invisible full-window colour quad (its blend
// leaves the screen unchanged) that swallows every touch at priority 0; the
// menu registers ahead of it, so only its items answer. Created with new and
// added to the game scene at z 10000, never released by its creator: it
// drops that reference when it leaves the scene, so removing it frees it
// (ModalTouch.h). Resign, Delete and Rematch remove the layer before the
// scene's operation runs; Replay and Close fade it out first. Main thread
// only.

#include "platform/engine/CCLayerColor.h"

namespace cocos2d {
class CCLabelTTF;
class CCMenu;
class CCSprite;
} // namespace cocos2d

class GameScene;

class SettingsLayer : public cocos2d::CCLayerColor {
public:
    SettingsLayer();
    ~SettingsLayer() override;

    void onEnter() override;
    void onExit() override;

    // Swallows every touch the menu does not take.
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

    // The items' callbacks; each plays the push sound (the sound item only
    // after switching, so switching off is silent).
    void onReplay(cocos2d::CCObject* sender);
    void onResign(cocos2d::CCObject* sender);
    void onDelete(cocos2d::CCObject* sender);
    void onRematch(cocos2d::CCObject* sender);
    void onToggleSound(cocos2d::CCObject* sender);
    void onTogglePartialUndo(cocos2d::CCObject* sender);
    void onClose(cocos2d::CCObject* sender);
    // "Partial Undo: ON" or "OFF" as the preference reads (absent: off).
    void updatePartialUndoLabel();

    cocos2d::CCMenu* getMenu() const { return mMenu; }
    cocos2d::CCLabelTTF* getSoundLabel() const { return mSoundLabel; }
    cocos2d::CCLabelTTF* getPartialUndoLabel() const { return mPartialUndoLabel; }

    static constexpr const char* cPartialUndoKey = "Vellix_PartialUndo";

private:
    // Fades the layer out over 0.15 s, then removes it; the items stop
    // answering at once, so a second tap during the fade does nothing.
    void fadeAway();
    void removeSelf();
    void clickSound();
    // Plays the click, removes the layer, then runs the scene's operation.
    void handOver(void (GameScene::*operation)());

    cocos2d::CCLabelTTF* mSoundLabel = nullptr;       // retained
    cocos2d::CCLabelTTF* mPartialUndoLabel = nullptr; // retained
    cocos2d::CCSprite* mFade = nullptr;               // retained
    cocos2d::CCMenu* mMenu = nullptr;                 // a child
    bool mReleased = false;
    bool mClosing = false;
};
