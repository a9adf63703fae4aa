// The heads-up display that init builds once, before a game is bound; it is
// placed from the window size at that moment and mostly starts hidden.

#include "scene/GameScene.h"

#include "scene/sound/SoundPlayback.h"
#include "scene/views/ImagePaths.h"
#include "scene/widgets/Button.h"

#include "content/BConfig.h"
#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "content/Preferences.h"
#include "content/RegisteredOptions.h"
#include "content/settings/SettingsManager.h"
#include "puppet/AnimState.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"

#include "platform/engine/CCDirector.h"
#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "platform/render/CCTexture2D.h"
#include "platform/render/CCTextureCache.h"

#include <cstdio>

using cocos2d::CCLabelBMFont;
using cocos2d::CCPoint;
using cocos2d::CCSize;
using cocos2d::CCSprite;

namespace {

constexpr const char* cButtonFont = "ArialRoundedMTBold";
constexpr const char* cPushSound = "sound/Generic_Push_Button.mp3";

// A sprite of the image (empty when it is missing), retained.
CCSprite* retainedSprite(const std::string& file) {
    CCSprite* sprite = CCSprite::spriteWithFile(file);
    sprite->retain();
    return sprite;
}

// A turn button the scene holds: added at its z, hidden and enabled.
void addHiddenButton(cocos2d::CCNode* scene, Button* button, int z) {
    scene->addChild(button, z);
    button->setEnabled(true);
    button->showReleased();
    button->setIsVisible(false);
}

} // namespace

bool GameScene::init() {
    if (!CCLayer::init())
        return false;
    if (gGameScene != nullptr)
        std::printf("**> gGameScene not NULL! Bad.\n");
    gGameScene = this;
    setSoundSceneNode(this);

    const CCSize win = cocos2d::CCDirector::sharedDirector()->getWinSize();
    buildButtons(win.width, win.height);
    buildBanners(win.width, win.height);
    buildFlyouts();
    buildGems();
    buildReticleFrames();

    mResetFlash = retainedSprite("ResetFlash.png");
    mResetFlash->setPosition(CCPoint(win.width * 0.5f, win.height * 0.5f));
    mResetFlash->setScale(100.0f);
    mResetFlash->setOpacity(0);
    addChild(mResetFlash, cResetFlashZOrder);

    mReplayBar = retainedSprite("Replay_ReplayBar.png");
    mReplayBar->setPosition(CCPoint(245, 25));
    mReplayBar->setIsVisible(false);
    addChild(mReplayBar, 1000);

    mReplaySkipButton =
        new Button("UI_FFButton.png", "UI_FFButton.png", "UI_FFButton_Pressed.png", CCPoint(76, 26),
                   "", cButtonFont, 14, Button::insets(0, 0, 0, 0));
    mReplaySkipButton->mSound = cPushSound;
    mReplaySkipButton->mTapTarget = this;
    mReplaySkipButton->mTapSelector = callfunc_selector(GameScene::onActionPointsTap);
    mReplaySkipButton->setIsVisible(false);
    addChild(mReplaySkipButton, 1);

    mScoreTallyBackground = retainedSprite("ScoreTallyBG.png");
    mScoreTallyBackground->setPosition(CCPoint(win.width * 0.5f - 112.0f, win.height - 30.0f));
    mScoreTallyBackground->setOpacity(0);
    addChild(mScoreTallyBackground, 1);
    mScoreTallyLabel = cocos2d::CCLabelTTF::labelWithString(
        "+99", CCSize(40, 20), cocos2d::CCTextAlignmentCenter, cButtonFont, 14.0f);
    mScoreTallyLabel->retain();
    mScoreTallyLabel->setColor(cocos2d::ccc3(255, 255, 127));
    const CCSize tally = mScoreTallyBackground->getContentSize();
    mScoreTallyLabel->setPosition(CCPoint(tally.width * 0.5f, tally.height * 0.5f));
    mScoreTallyBackground->addChild(mScoreTallyLabel, 1);

    cocos2d::CCTextureCache* textures = cocos2d::CCTextureCache::sharedTextureCache();
    mHealthGreenTexture = textures->addImage("HP_Green.png");
    if (mHealthGreenTexture != nullptr)
        mHealthGreenTexture->retain();
    mHealthRedTexture = textures->addImage("HP_Red.png");
    if (mHealthRedTexture != nullptr)
        mHealthRedTexture->retain();

    buildTestPuppet();
    mPendingPuzzle = {-1, -1};
    return true;
}

void GameScene::buildButtons(float w, float h) {
    mSubmitButton =
        new Button("UI_SubmitButton.png", "UI_SubmitButtonDis.png", "UI_SubmitButton_Pressed.png",
                   CCPoint(w - 41, 25), "", cButtonFont, 14, Button::insets(0, 0, 0, 0));
    mSubmitButton->mHitScale = 0.5f;
    mSubmitButton->mSound = "sound/UI_Front_End_Begin_Battle.mp3";
    mSubmitButton->mTapTarget = this;
    mSubmitButton->mTapSelector = callfunc_selector(GameScene::onSubmitButton);
    mSubmitButton->setTooltip(
        "UI/Avatars/Avatar_Submit.png", localizedCString("Submit Turn"),
        localizedCString("Tap this when you are ready to confirm your turn and send it to "
                         "your opponent."));
    addHiddenButton(this, mSubmitButton, 1);
    mSubmitOverlay = retainedSprite("UI_SubmitButtonOverlay.png");
    mSubmitOverlay->setPosition(mSubmitButton->getPosition());
    mSubmitOverlay->setIsVisible(false);
    addChild(mSubmitOverlay, 5);

    mSettingsButton = new Button("UI_SettingsButton.png", "UI_SettingsButton.png",
                                 "UI_SettingsButton_Pressed.png", CCPoint(64, h - 18), "",
                                 cButtonFont, 14, Button::insets(0, 0, 0, 0));
    mSettingsButton->mHitScale = 0.5f;
    mSettingsButton->mSound = cPushSound;
    mSettingsButton->mTapTarget = this;
    mSettingsButton->mTapSelector = callfunc_selector(GameScene::onSettingsButton);
    mSettingsButton->setTooltip(
        "UI/Avatars/Avatar_Settings.png", localizedCString("Settings"),
        localizedCString("Tap to open a menu with various in-game options."));
    addChild(mSettingsButton, 1);

    const cocos2d::ccColor3B labelColor = cocos2d::ccc3(210, 220, 210);
    mRematchButton =
        new Button("UI/RematchButton.png", "UI/RematchButton.png", "UI/RematchButton_Pressed.png",
                   CCPoint(w - 41, 65), localizedCString("Rematch"), getHeaderFontName(), 32,
                   Button::insets(1, 4, 1, 4));
    mRematchButton->mSound = cPushSound;
    mRematchButton->mTapTarget = this;
    mRematchButton->mTapSelector = callfunc_selector(GameScene::onRematchButton);
    if (cocos2d::CCLabelTTF* label = mRematchButton->getLabel())
        label->setColor(labelColor);
    addHiddenButton(this, mRematchButton, 1001);
    mRematchOverlay = retainedSprite("RematchButton01Overlay.png");
    mRematchOverlay->setPosition(mRematchButton->getPosition());
    mRematchOverlay->setIsVisible(false);
    addChild(mRematchOverlay, 1002);

    mNextGameButton = new Button("UI/NextGameButton.png", "UI/NextGameButton.png",
                                 "UI/NextGameButton_Pressed.png", CCPoint(w - 41, 25),
                                 localizedCString("Next\nGame"), getHeaderFontName(), 32,
                                 Button::insets(4, 7, 4, 7));
    mNextGameButton->mSound = cPushSound;
    mNextGameButton->mTapTarget = this;
    mNextGameButton->mTapSelector = callfunc_selector(GameScene::onNextGameButton);
    if (cocos2d::CCLabelTTF* label = mNextGameButton->getLabel())
        label->setColor(labelColor);
    addHiddenButton(this, mNextGameButton, 1001);

    mNextGameId = -1;
    mNextGameStatusOk = false;
    bool partialUndo = false;
    if (!prefGetBool("Vellix_PartialUndo", partialUndo))
        partialUndo = false;

    mActionPointsButton = new Button(CCPoint(75, 26));
    mActionPointsButton->mSound = cPushSound;
    mActionPointsButton->mTapTarget = this;
    mActionPointsButton->mTapSelector = callfunc_selector(GameScene::onActionPointsTap);
    mActionPointsButton->mHoldTarget = this;
    mActionPointsButton->mHoldSelector = callfunc_selector(GameScene::onActionPointsHeld);
    mActionPointsButton->setTooltip(
        "UI/Avatars/Avatar_Undo.png", localizedCString("Action Points"),
        localizedCString(partialUndo ? "Shows how many actions you have left for this turn. Tap "
                                       "to rewind one action!"
                                     : "Shows how many actions you have left for this turn. Tap "
                                       "this to Reset your turn!"));
    addChild(mActionPointsButton, 1);
    mActionPointsArrow = retainedSprite("ActionPoints_Arrow.png");
    mActionPointsArrow->setPosition(CCPoint(-16.0f, 2.5f));
    mActionPointsArrow->setOpacity(0);
    mActionPointsButton->addChild(mActionPointsArrow, 2);
}

void GameScene::buildBanners(float w, float h) {
    const std::string image =
        layoutMode() == 2 ? "UI/PlayerBanner-iPad.png" : "UI/PlayerBanner.png";
    mLocalBanner = retainedSprite(image);
    mLocalBanner->setPosition(CCPoint(w * 0.5f, h - 20.0f));
    mLocalBanner->setAnchorPoint(CCPoint(1.0f, 0.5f));
    mLocalBanner->setFlipX(true);
    addChild(mLocalBanner, 5);
    mOpponentBanner = retainedSprite(image);
    mOpponentBanner->setPosition(CCPoint(w * 0.5f, h - 20.0f));
    mOpponentBanner->setAnchorPoint(CCPoint(0.0f, 0.5f));
    addChild(mOpponentBanner, 5);

    std::string colorImage;
    if (findColorImagePath(image, colorImage)) {
        mLocalBannerColor = retainedSprite(colorImage);
        mLocalBannerColor->setAnchorPoint(CCPoint(0, 0));
        mLocalBannerColor->setPosition(CCPoint(0, 0));
        mLocalBannerColor->setFlipX(true);
        mLocalBannerColor->setColor(cocos2d::ccc3(50, 50, 235));
        mLocalBanner->addChild(mLocalBannerColor);
        mOpponentBannerColor = retainedSprite(colorImage);
        mOpponentBannerColor->setAnchorPoint(CCPoint(0, 0));
        mOpponentBannerColor->setPosition(CCPoint(0, 0));
        mOpponentBannerColor->setColor(cocos2d::ccc3(234, 50, 50));
        mOpponentBanner->addChild(mOpponentBannerColor);
    }

    mVsBadge = retainedSprite("VsBadge.png");
    mVsBadge->setPosition(CCPoint(w * 0.5f, h - 16.0f));
    addChild(mVsBadge, 6);
}

void GameScene::buildFlyouts() {
    for (int32_t i = 0; i < FlyoutPool<CCLabelBMFont*>::cSize; ++i) {
        const std::pair<CCLabelBMFont**, const char*> kinds[] = {
            {&mDamageFlyouts.mEntries[size_t(i)], "damageflyout.fnt"},
            {&mHealingFlyouts.mEntries[size_t(i)], "healingflyout.fnt"}};
        for (const auto& [entry, font] : kinds) {
            CCLabelBMFont* label = CCLabelBMFont::labelOrEmpty(
                entry == &mDamageFlyouts.mEntries[size_t(i)] ? "+300" : "-300", font);
            label->retain();
            label->setPosition(CCPoint(300, 300));
            label->setOpacity(0);
            label->setScale(0.6f);
            label->setIsVisible(false);
            addChild(label, cFlyoutZOrder);
            *entry = label;
        }
    }
    for (ScoreFlyout*& flyout : mScoreFlyouts.mEntries) {
        flyout = new ScoreFlyout();
        flyout->mSprite = retainedSprite("ScoreTile_Effect.png");
        flyout->mSprite->setPosition(CCPoint(300, 300));
        flyout->mSprite->setAnchorPoint(CCPoint(0.75f, 0.5f));
        flyout->mSprite->setOpacity(0);
        flyout->mSprite->setIsVisible(false);
        addChild(flyout->mSprite, cFlyoutZOrder);
        flyout->mLabel = CCLabelBMFont::labelOrEmpty("x1", "scoreflyout.fnt");
        flyout->mLabel->setPosition(CCPoint(flyout->mSprite->getContentSize().width,
                                            flyout->mLabel->getContentSize().height * 0.5f));
        flyout->mSprite->addChild(flyout->mLabel);
    }
    mDamageFlyouts.mIndex = 0;
    mHealingFlyouts.mIndex = 0;
    mScoreFlyouts.mIndex = 0;
}

void GameScene::buildGems() {
    const int32_t count = SettingsManager::instance().mActionPointsPerTurn;
    for (int32_t i = 0; i < count; ++i) {
        CCSprite* gem = retainedSprite("ActionPoints_Gem.png");
        gem->setAnchorPoint(CCPoint(0, 0));
        gem->setPosition(CCPoint(0, 0));
        gem->setRotation(-91.0f - 72.0f * float(i));
        mActionPointsButton->addChild(gem, 3);
        mActionPointGems.push_back(gem);
    }
}

void GameScene::buildReticleFrames() {
    static constexpr std::pair<const char*, const char*> cFrames[] = {
        {"AttackReticle.png", "attackReticle"},
        {"AttackReticle2.png", "attackReticle2"},
        {"NO_Symbol.png", "attackBlockedReticle"},
        {"HealReticle.png", "healReticle"},
        {"AllyReticle01_OutsideRing.png", "abilityReticle"}};
    for (size_t i = 0; i < mReticleFrames.size(); ++i) {
        cocos2d::CCTexture2D* texture =
            cocos2d::CCTextureCache::sharedTextureCache()->addImage(cFrames[i].first);
        if (texture == nullptr)
            continue; // a missing image registers no frame
        const CCSize size = texture->getContentSize();
        cocos2d::CCSpriteFrame* frame = cocos2d::CCSpriteFrame::frameWithTexture(
            texture, cocos2d::CCRect(0, 0, size.width, size.height));
        frame->retain();
        mReticleFrames[i] = frame;
        cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFrame(frame,
                                                                              cFrames[i].second);
    }
}

void GameScene::buildTestPuppet() {
    const BConfig& config = BConfig::instance();
    if (!config.isSetById(cOptTestPuppet))
        return;
    const int32_t index = PuppetRegistry::loadPuppet(config.stringById(cOptTestPuppet, ""));
    PuppetInstance* puppet = PuppetInstance::create(index, cocos2d::ccc3(255, 255, 255));
    int32_t state = 0;
    if (config.isSetById(cOptTestPuppetAnim))
        state = animStateFromName(config.stringById(cOptTestPuppetAnim, ""));
    if (state < 0)
        state = 0;
    puppet->playAnimation(state, 0.0f, true, PuppetInstance::cDefaultBlend);
    puppet->setPosition(CCPoint(100, 100));
    addChild(puppet, 1000);
}
