// The end of a match: the full-screen effect of victory, challenge or
// tutorial completion, or defeat, with its text puppet, the taunt award of
// the game and the units cheering or slumping.

#include "scene/GameScene.h"

#include "scene/EntityView.h"
#include "scene/widgets/HeaderTextStyle.h"

#include "content/BConfig.h"
#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"
#include "content/XMLHelper.h"
#include "content/protos/ProtoEntity.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"
#include "rules/AnimStateIds.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"
#include "rules/TileRack.h"
#include "rules/core/EntityState.h"
#include "rules/core/RNG.h"

#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCLabelTTF.h"

#include <string>
#include <vector>

using namespace cocos2d;

namespace {

constexpr int32_t cAnimCheer = 41;
constexpr int32_t cUnitKind = 0;
constexpr int cEffectZOrder = 1000;
constexpr int cEffectTextZOrder = 10;
constexpr int cAwardZOrder = 11000;

struct TextEffect {
    const char* mName;
    int32_t mOption; // the option naming its texture
};
constexpr TextEffect cTextEffects[] = {
    {"VictoryFX_TextProgrammaticChallenge", cOptShortVictoryTexture},
    {"VictoryFX_TextProgrammatic", cOptLongVictoryTexture},
    {"DefeatedFX_DefeatedTextProgrammatic", cOptDefeatTexture},
};

int32_t intOption(int32_t id, int32_t fallback) {
    int32_t value = fallback;
    BConfig::instance().getInt(id, value);
    return value;
}

// The award's text as a label: styled text under "OnlyUseTTF", else the
// notice font.
CCNode* awardLabel(const std::string& text) {
    if (BConfig::instance().isSetById(cOptOnlyUseTTF)) {
        const DropShadowInfo shadow = headerTextShadow();
        const OutlineFillInfo outline = headerTextOutline(
            ccc4(195, 255, 255, 255), ccc4(155, 235, 235, 255), ccc4(125, 214, 214, 255));
        return CCLabelTTF::labelWithString(text.c_str(), CCSize(480, 200), CCTextAlignmentCenter,
                                           getHeaderFontName(), 30.0f, 16.0f, &shadow, &outline);
    }
    CCLabelBMFont* label = CCLabelBMFont::labelOrEmpty(text.c_str(), "BigNotify.fnt");
    label->setColor(ccc3(155, 255, 255));
    return label;
}

} // namespace

void GameScene::loadTextEffect() {
    for (const TextEffect& effect : cTextEffects) {
        // An option set without a value names the attachment itself.
        std::string texture = BConfig::instance().stringById(effect.mOption, effect.mName);
        if (texture.empty())
            texture = effect.mName;
        XMLHelper xml;
        rapidxml::xml_document<char>& document = xml.document();
        XmlNode* element = document.allocate_node(rapidxml::node_element, "Attachment");
        element->append_attribute(document.allocate_attribute("name", effect.mName));
        element->append_attribute(document.allocate_attribute(
            "textureName", document.allocate_string(texture.c_str(), texture.size() + 1)));
        PuppetRegistry::loadAttachment(effect.mName, element);
    }
}

void GameScene::playEndOfGameEffect(bool victory, bool challenge, bool tutorial) {
    loadTextEffect();
    const char* effect = "Effects/Defeated01";
    const char* text = "Effects/DefeatedTextProgrammatic";
    if (victory && tutorial) {
        effect = "Effects/TutorialEnd01";
        text = "Effects/TutorialEndTextProgrammatic";
    } else if (victory && challenge) {
        effect = "Effects/VictoryChallenge01";
        text = "Effects/VictoryTextProgrammaticChallenge";
    } else if (victory) {
        effect = "Effects/Victory01";
        text = "Effects/VictoryTextProgrammatic";
    }
    const int32_t effectIndex = PuppetRegistry::loadPuppet(effect);
    if (effectIndex < 0)
        return; // no effect: the summary still makes the units react
    dropEndOfGameEffect();
    // Both are held by their parents: the effect by the scene, the text by
    // the effect.
    mEndEffectPuppet = PuppetInstance::create(effectIndex, ccc3(255, 255, 255));
    const int32_t textIndex = PuppetRegistry::loadPuppet(text);
    if (textIndex >= 0)
        mEndEffectText = PuppetInstance::create(textIndex, ccc3(255, 255, 255));
    const CCSize win = CCDirector::sharedDirector()->getWinSize();
    mEndEffectPuppet->setPosition(CCPoint(win.width * 0.5f, win.height * 0.5f));
    if (mEndEffectText != nullptr)
        mEndEffectPuppet->addChild(mEndEffectText, cEffectTextZOrder);
    mEndEffectPuppet->setIsVisible(false);
    addChild(mEndEffectPuppet, cEffectZOrder);
}

void GameScene::dropEndOfGameEffect() {
    if (mEndEffectPuppet != nullptr)
        mEndEffectPuppet->removeFromParentAndCleanup(true);
    mEndEffectPuppet = nullptr;
    mEndEffectText = nullptr;
}

void GameScene::showEndOfGameSummary(bool victory, bool tutorial) {
    Game* game = mGame;
    const Player* current = game != nullptr ? game->getCurrentPlayer() : nullptr;
    if (current == nullptr)
        return;
    const bool puzzle = game->mPuzzleCategory >= 0 && game->mPuzzleIndex >= 0;
    if (BConfig::instance().isSetById(cOptSound))
        CocosDenshion::SimpleAudioEngine::sharedEngine()->stopBackgroundMusic(false);
    if (mEndEffectPuppet == nullptr)
        playEndOfGameEffect(victory, puzzle, tutorial);
    if (mEndEffectPuppet != nullptr && mEndEffectText != nullptr) {
        mEndEffectPuppet->stopAllActions();
        mEndEffectPuppet->setIsVisible(true);
        for (PuppetInstance* puppet : {mEndEffectPuppet, mEndEffectText})
            puppet->runAction(PuppetAnimAction::actionWithAnim(cAnimStatePlay, false, 0.0f, -1.0f,
                                                               cAnimStateIdle, 0.0f, puppet));
    }

    // The taunt award of a counted game; its label needs the effect.
    if (game->mTurnCount >= intOption(cOptMinTurnsForCountedWin, 6) && !puzzle &&
        mEndEffectPuppet != nullptr) {
        const int32_t count = victory ? intOption(cOptTauntRewardForWinning, 2)
                                      : intOption(cOptTauntRewardForLosing, 1);
        std::string text;
        if (count == 1)
            formatLocalized(text, "You were awarded 1 taunt!", count);
        else
            formatLocalized(text, "You were awarded %d taunts!", count);
        CCNode* label = awardLabel(text);
        if (CCRGBAProtocol* rgba = ccRGBAProtocolOf(label))
            rgba->setOpacity(0);
        label->setPosition(CCPoint(0, 100));
        label->setScale(0.5f);
        label->runAction(CCSequence::actions(
            CCDelayTime::actionWithDuration(3.5f),
            CCSpawn::actions(CCFadeIn::actionWithDuration(0.25f),
                             CCEaseElasticOut::actionWithAction(
                                 CCScaleTo::actionWithDuration(0.7f, 1.0f), 0.2f))));
        mEndEffectPuppet->addChild(label, cAwardZOrder);
    }

    // The units of the board and of the current player's rack react.
    const int32_t winner = victory ? game->mCurrentPlayer : (game->mCurrentPlayer == 0 ? 1 : 0);
    std::vector<int32_t> ids;
    for (const EntityGrid* grid : {static_cast<const EntityGrid*>(game->mGameBoard),
                                   static_cast<const EntityGrid*>(current->mTileRack)})
        if (grid != nullptr)
            ids.insert(ids.end(), grid->getSlots().begin(), grid->getSlots().end());
    for (int32_t id : ids) {
        Entity* entity = id >= 0 ? game->getEntity(id) : nullptr;
        auto* view =
            entity != nullptr ? dynamic_cast<EntityView*>(entity->getEntityLink()) : nullptr;
        PuppetInstance* puppet = view != nullptr ? view->puppet() : nullptr;
        const ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
        if (puppet == nullptr || proto == nullptr || proto->mType != cUnitKind ||
            proto->mVictoryUnit || entity->mState == cStateKnockedOut ||
            entity->mState == cStateDead)
            continue;
        const float start = static_cast<float>(gRng.rand());
        const int32_t state = entity->mOwner == winner
                                  ? cAnimCheer
                                  : entity->resolveAnimationState(cAnimStateDefeated, false);
        puppet->playAnimation(state, start, true, PuppetInstance::cDefaultBlend);
    }
}
