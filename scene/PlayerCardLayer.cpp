#include "scene/PlayerCardLayer.h"

#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "content/settings/ProtoCiv.h"
#include "content/settings/SettingsManager.h"
#include "rules/Game.h"
#include "rules/GameRecord.h"
#include "rules/GameSceneInterface.h"
#include "rules/Player.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"
#include "scene/ShellServices.h"
#include "scene/views/ImagePaths.h"
#include "scene/widgets/Button.h"
#include "scene/widgets/ModalTouch.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

#include <string>

using namespace cocos2d;

namespace {

// The player the card shows: the current one for the local record, else
// the other seat; null when the game does not hold it.
const Player* modelPlayer(const Game* game, bool local) {
    if (game == nullptr)
        return nullptr;
    const int32_t current = game->mCurrentPlayer;
    const int32_t index = local ? current : (current == 0 ? 1 : 0);
    if (index < 0 || index >= static_cast<int32_t>(game->mPlayers.size()))
        return nullptr;
    return game->mPlayers[size_t(index)];
}

// The tiles still to play: the player's own chest (none when the chest is
// shared) and its rack.
int32_t reinforcements(const Player& player) {
    int32_t count = 0;
    if (player.mTileChest != nullptr)
        count += player.mTileChest->getEntityCount();
    if (player.mTileRack != nullptr)
        count += player.mTileRack->getEntityCount();
    return count;
}

// A details-font caption in a box, centred, without shadow.
void addCaption(CCNode* parent, const char* text, const CCSize& box, const CCPoint& position) {
    CCLabelTTF* label = CCLabelTTF::labelWithString(text, box, CCTextAlignmentCenter,
                                                    getDetailsFontName(), 14.0f, 8.0f);
    label->setPosition(position);
    parent->addChild(label, 1);
}

// A sprite of the image at a point of the parent, at z 1.
CCSprite* addSprite(CCNode* parent, const char* image, const CCPoint& position) {
    CCSprite* sprite = CCSprite::spriteWithFile(image);
    sprite->setPosition(position);
    parent->addChild(sprite, 1);
    return sprite;
}

// A number in "number.fnt" at z 2.
CCLabelBMFont* addNumber(CCNode* parent, const std::string& text, const CCPoint& position) {
    CCLabelBMFont* label = CCLabelBMFont::labelOrEmpty(text.c_str(), "number.fnt");
    label->setPosition(position);
    parent->addChild(label, 2);
    return label;
}

// A card button with no label; the tap calls the card.
Button* addButton(CCNode* parent, const char* normal, const char* pressed, const CCPoint& position,
                  PlayerCardLayer* card, SEL_CallFunc tap, const char* sound) {
    auto* button = new Button(normal, normal, pressed, position, "", getHeaderFontName(), 16,
                              Button::defaultInsets());
    button->mTapTarget = card;
    button->mTapSelector = tap;
    button->mSound = sound;
    parent->addChild(button, 1);
    button->release();
    return button;
}

} // namespace

PlayerCardLayer::PlayerCardLayer(const PlayerRecord& record) : mPlayerName(record.mName) {
    init();
    const CCSize win = CCDirector::sharedDirector()->getWinSize();
    const float w = win.width;
    const float h = win.height;
    const Game* game = gGameScene != nullptr ? gGameScene->getGame() : nullptr;
    const Player* player = modelPlayer(game, record.mIsLocal);

    setContentSize(win);
    mCardBackground = CCSprite::spriteWithFile("UI/PlayerCardBackground.png");
    mCardBackground->setPosition(CCPoint(w / 2, h / 2));
    mCardBackground->retain();
    addChild(mCardBackground, -10);
    CCSprite* bg = mCardBackground;
    const float bgWidth = bg->getContentSize().width;

    mCancelButton =
        addButton(bg, "UI_CancelButton.png", "UI_CancelButton_Pressed.png", CCPoint(188, 178), this,
                  callfunc_selector(PlayerCardLayer::dismiss), "sound/UI_PlayerCard_Dismiss.mp3");

    const DropShadowInfo nameShadow(1.0f, 1.0f, 0.85f, 0.0f, 3.0f);
    CCLabelTTF* name =
        CCLabelTTF::labelWithString(record.mName.c_str(), CCSize(130, 27), CCTextAlignmentCenter,
                                    getDetailsFontName(), 26.0f, 12.0f, &nameShadow);
    name->setPosition(CCPoint(bgWidth / 2, 182));
    bg->addChild(name, 1);

    addSprite(bg, "HelpTooltip_Separator.png", CCPoint(bgWidth / 2, 166));
    addSprite(bg, "HelpTooltip_Separator.png", CCPoint(bgWidth / 2, 70));

    buildAvatar(record, player != nullptr ? player->mIndex : -1);
    buildCiv(record);

    addSprite(bg, "Chest01.png", CCPoint(30, 27))->setScale(0.75f);
    addSprite(bg, "UI/PlayerCardNumberBox.png", CCPoint(70, 27));
    mReinforcements =
        addNumber(bg, player != nullptr ? std::to_string(reinforcements(*player)) : std::string(),
                  CCPoint(70, 27));
    addCaption(bg, localizedCString("Reinforcements:"), CCSize(84, 18), CCPoint(70, 55));

    addSprite(bg, "UI/RoundIcon.png", CCPoint(135, 27));
    addSprite(bg, "UI/PlayerCardNumberBox.png", CCPoint(170, 27));
    mRound = addNumber(bg, game != nullptr ? std::to_string(game->mTurnCount) : std::string(),
                       CCPoint(170, 27));
    addCaption(bg, localizedCString("Round #:"), CCSize(68, 18), CCPoint(170, 55));

    mFade = retainedFullScreenFade();
    mFade->runAction(CCFadeIn::actionWithDuration(0.25f));
    addChild(mFade, -11);

    bg->setScale(0.75f);
    bg->setOpacity(0);
    bg->runAction(CCSpawn::actionOneTwo(
        CCEaseOut::actionWithAction(CCScaleTo::actionWithDuration(0.15f, 1.0f), 2.0f),
        CCEaseOut::actionWithAction(CCFadeIn::actionWithDuration(0.15f), 2.0f)));
}

void PlayerCardLayer::buildAvatar(const PlayerRecord& record, int32_t playerIndex) {
    mAvatar = addSprite(mCardBackground, record.mAvatar.c_str(), CCPoint(57, 118));
    mAvatar->setScale(0.7f);
    const bool flipped = playerIndex == 1;
    mAvatar->setFlipX(flipped);
    std::string colourPath;
    if (playerIndex < 0 || !findColorImagePath(record.mAvatar, colourPath))
        return;
    const SettingsManager& settings = SettingsManager::instance();
    const PlayerColor* colour = playerIndex == 0 ? settings.getHomeColor(record.mColor)
                                                 : settings.getAwayColor(record.mColor);
    if (colour == nullptr)
        return;
    CCSprite* layer = CCSprite::spriteWithFile(colourPath);
    const CCSize size = mAvatar->getContentSize();
    layer->setPosition(CCPoint(size.width / 2, size.height / 2));
    layer->setColor(ccc3(colour->mRed, colour->mGreen, colour->mBlue));
    layer->setFlipX(flipped);
    mAvatar->addChild(layer);
}

void PlayerCardLayer::buildCiv(const PlayerRecord& record) {
    const SettingsManager& settings = SettingsManager::instance();
    if (!settings.civIDForName(record.mCivName, mCivId))
        mCivId = -1;
    const ProtoCiv* civ = mCivId >= 0 ? settings.getCiv(mCivId) : nullptr;
    if (civ == nullptr)
        return;
    std::string team;
    formatLocalized(team, "Team: %S", civ->mDisplayName);
    CCLabelTTF* label = CCLabelTTF::labelWithString(
        team.c_str(), CCSize(101, 18), CCTextAlignmentCenter, getDetailsFontName(), 14.0f, 8.0f);
    label->setPosition(CCPoint(153, 145));
    mCardBackground->addChild(label, 1);

    mCivButton = addButton(
        mCardBackground, "UI/BuyButton.png", "UI/BuyButtonPressed.png", CCPoint(152, 107), this,
        callfunc_selector(PlayerCardLayer::onTeamDetails), "sound/UI_Game_UI_Select_Generic.mp3");
    // A civ with an emblem but no card emblem shows none.
    if (!civ->mEmblemImage.empty() && !civ->mPlayerCardEmblemImage.empty())
        mCivButton->addChild(CCSprite::spriteWithFile(civ->mPlayerCardEmblemImage), 1);
}

PlayerCardLayer::~PlayerCardLayer() {
    if (mCardBackground != nullptr) {
        mCardBackground->removeFromParentAndCleanup(true);
        ccSafeRelease(mCardBackground);
    }
    ccSafeRelease(mFade);
}

void PlayerCardLayer::onEnter() {
    enterWithTouches(this, this, 0);
    // From now on the scene owns the card.
    if (!mOwnReferenceDropped) {
        mOwnReferenceDropped = true;
        release();
    }
}

void PlayerCardLayer::onExit() {
    exitWithTouches(this, this);
}

void PlayerCardLayer::dismiss() {
    mCardBackground->runAction(CCSpawn::actionOneTwo(CCScaleTo::actionWithDuration(0.15f, 0.9f),
                                                     CCFadeOut::actionWithDuration(0.1f)));
    mFade->runAction(CCFadeTo::actionWithDuration(0.15f, 0));
    runAction(CCSequence::actionOneTwo(
        CCDelayTime::actionWithDuration(0.2f),
        CCCallFunc::actionWithTarget(this, callfunc_selector(PlayerCardLayer::removeSelf))));
}

void PlayerCardLayer::removeSelf() {
    removeFromParentAndCleanup(true);
}

void PlayerCardLayer::onTeamDetails() {
    if (mCivId >= 0)
        shellServices().showTeamDetailsFromBoard(mCivId);
}

bool PlayerCardLayer::ccTouchBegan(CCTouch* /*touch*/, CCEvent* /*event*/) {
    return true;
}

void PlayerCardLayer::ccTouchMoved(CCTouch* /*touch*/, CCEvent* /*event*/) {}
void PlayerCardLayer::ccTouchEnded(CCTouch* /*touch*/, CCEvent* /*event*/) {}
