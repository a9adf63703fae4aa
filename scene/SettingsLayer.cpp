#include "scene/SettingsLayer.h"

#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "content/Preferences.h"
#include "rules/Game.h"
#include "rules/GameRecord.h"
#include "scene/GameScene.h"
#include "scene/sound/SoundPlayback.h"
#include "scene/widgets/ModalTouch.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCMenu.h"
#include "platform/engine/CCMenuItem.h"
#include "platform/engine/CCSequence.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

#include <vector>

using namespace cocos2d;

namespace {

constexpr const char* cPushSound = "sound/Generic_Push_Button.mp3";

// Whether the menu offers Resign: a running game with a record whose
// player at the current index is still active.
bool canResign(const Game* game) {
    if (game == nullptr || game->mGameOver)
        return false;
    const GameRecord* record = game->getGameRecord();
    const PlayerRecord* player =
        record != nullptr ? record->getPlayer(game->mCurrentPlayer) : nullptr;
    return player != nullptr && player->mStatus == cGameActive;
}

bool partialUndoOn() {
    bool on = false;
    return prefGetBool(SettingsLayer::cPartialUndoKey, on) && on;
}

// The game scene the layer hands its operations to; null without one.
GameScene* boardScene() {
    return dynamic_cast<GameScene*>(gGameScene);
}

} // namespace

SettingsLayer::SettingsLayer() {
    initWithColor(ccc4(255, 255, 255, 255));
    setBlendFunc(ccBlendFunc{kCCBlendZero, kCCBlendOne});

    struct Entry {
        const char* text;
        SEL_MenuHandler callback;
        CCLabelTTF** stored;
    };
    std::vector<Entry> entries;
    const Game* game = gCurrentGame;
    entries.push_back({game != nullptr && game->canUndo() ? "Replay (Resets Actions)" : "Replay",
                       menu_selector(SettingsLayer::onReplay), nullptr});
    if (canResign(game)) {
        entries.push_back({"Resign", menu_selector(SettingsLayer::onResign), nullptr});
    } else {
        entries.push_back({"Delete", menu_selector(SettingsLayer::onDelete), nullptr});
        entries.push_back({"Rematch", menu_selector(SettingsLayer::onRematch), nullptr});
    }
    entries.push_back({isSoundEnabled() ? "Sound: ON" : "Sound: OFF",
                       menu_selector(SettingsLayer::onToggleSound), &mSoundLabel});
    entries.push_back({"Partial Undo: OFF", menu_selector(SettingsLayer::onTogglePartialUndo),
                       &mPartialUndoLabel});
    entries.push_back({"Close", menu_selector(SettingsLayer::onClose), nullptr});

    auto* items = new CCMutableArray<CCMenuItem*>();
    for (const Entry& entry : entries) {
        CCMenuItemSprite* item = CCMenuItemSprite::itemFromNormalSprite(
            CCSprite::spriteWithFile("UI/Button-280.png"),
            CCSprite::spriteWithFile("UI/Button-280-Glow.png"), this, entry.callback);
        CCLabelTTF* label =
            CCLabelTTF::labelWithString(localizedCString(entry.text), CCSize(254, 26),
                                        CCTextAlignmentCenter, getHeaderFontName(), 26.0f, 10.0f);
        const CCSize size = item->getContentSize();
        label->setPosition(CCPoint(size.width / 2, size.height / 2 - 1));
        if (entry.stored != nullptr) {
            *entry.stored = label;
            label->retain();
            item->addChild(label, 1);
        } else {
            item->addChild(label, 10);
        }
        items->addObject(item);
    }
    updatePartialUndoLabel();
    mMenu = CCMenu::menuWithItemArray(items);
    items->release();
    mMenu->alignItemsVerticallyWithPadding(-3.0f);
    addChild(mMenu);

    runAction(CCFadeIn::actionWithDuration(0.15f));

    mFade = retainedFullScreenFade();
    addChild(mFade, -10);
}

SettingsLayer::~SettingsLayer() {
    ccSafeRelease(mSoundLabel);
    ccSafeRelease(mPartialUndoLabel);
    if (mFade != nullptr) {
        mFade->removeFromParentAndCleanup(true);
        ccSafeRelease(mFade);
    }
}

void SettingsLayer::onEnter() {
    enterWithTouches(this, this, 0);
}

void SettingsLayer::onExit() {
    exitModal(this, this, mReleased);
}

bool SettingsLayer::ccTouchBegan(CCTouch* /*touch*/, CCEvent* /*event*/) {
    return true;
}

void SettingsLayer::ccTouchMoved(CCTouch* /*touch*/, CCEvent* /*event*/) {}
void SettingsLayer::ccTouchEnded(CCTouch* /*touch*/, CCEvent* /*event*/) {}

void SettingsLayer::clickSound() {
    int32_t id = 0;
    playSoundEffect(cPushSound, &id, false);
}

void SettingsLayer::fadeAway() {
    mClosing = true;
    runAction(CCSequence::actionOneTwo(
        CCFadeOut::actionWithDuration(0.15f),
        CCCallFunc::actionWithTarget(this, callfunc_selector(SettingsLayer::removeSelf))));
}

void SettingsLayer::removeSelf() {
    removeFromParentAndCleanup(true);
}

void SettingsLayer::onReplay(CCObject* /*sender*/) {
    if (mClosing)
        return;
    clickSound();
    fadeAway();
    if (gCurrentGame != nullptr)
        gCurrentGame->startReplay();
}

void SettingsLayer::handOver(void (GameScene::*operation)()) {
    if (mClosing)
        return;
    clickSound();
    GameScene* scene = boardScene();
    removeSelf(); // the scene's reference goes: the layer must not be used after this
    if (scene != nullptr)
        (scene->*operation)();
}

void SettingsLayer::onResign(CCObject* /*sender*/) {
    handOver(&GameScene::onResignButton);
}

void SettingsLayer::onDelete(CCObject* /*sender*/) {
    handOver(&GameScene::onDeleteButton);
}

void SettingsLayer::onRematch(CCObject* /*sender*/) {
    handOver(&GameScene::onRematchButton);
}

void SettingsLayer::onToggleSound(CCObject* /*sender*/) {
    if (mClosing)
        return;
    toggleSound();
    clickSound();
    mSoundLabel->setString(localizedCString(isSoundEnabled() ? "Sound: ON" : "Sound: OFF"));
}

void SettingsLayer::onTogglePartialUndo(CCObject* /*sender*/) {
    if (mClosing)
        return;
    prefSetBool(cPartialUndoKey, !partialUndoOn());
    clickSound();
    updatePartialUndoLabel();
}

void SettingsLayer::updatePartialUndoLabel() {
    if (mPartialUndoLabel != nullptr)
        mPartialUndoLabel->setString(
            localizedCString(partialUndoOn() ? "Partial Undo: ON" : "Partial Undo: OFF"));
}

void SettingsLayer::onClose(CCObject* /*sender*/) {
    if (mClosing)
        return;
    clickSound();
    fadeAway();
}
