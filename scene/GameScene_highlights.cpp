// Tutorial highlights: the HUD controls a tutorial reveals and hides one by
// one, each with a tooltip indicator, and where they sit for its arrows.

#include "scene/GameScene.h"

#include "scene/widgets/Button.h"
#include "scene/widgets/HealthBar.h"
#include "scene/widgets/TooltipManager.h"

#include "content/settings/SettingsManager.h"
#include "rules/CocosTileChestLink.h"
#include "rules/Game.h"
#include "rules/Player.h"
#include "rules/TileChest.h"

#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

#include <string>

using cocos2d::CCNode;
using cocos2d::CCPoint;

namespace {

// The chest in use: the current player's own with split chests, else the
// shared one; null without a game.
TileChest* chestInUse(const Game* game) {
    if (game == nullptr)
        return nullptr;
    if (!SettingsManager::instance().mSplitTileChest)
        return game->mTileChest;
    const Player* current = game->getCurrentPlayer();
    return current != nullptr ? current->mTileChest : nullptr;
}

// Shows or hides a button with its kind-3 indicator (registered while shown).
void revealButton(Button* button, bool shown) {
    if (button == nullptr)
        return;
    button->setIsVisible(shown);
    if (shown) {
        button->mTooltipKind = 3;
        button->showTooltipIndicator();
        gTooltipManager.addTarget(button);
    } else {
        button->hideTooltipIndicator();
    }
}

// Opens or closes the chest for the tutorial: shown with its tiles and
// taking drops, and its kind-1 indicator.
void revealChest(TileChest* chest, bool shown) {
    if (chest == nullptr)
        return;
    chest->setViewHidden(!shown);
    auto* view = dynamic_cast<CocosTileChestLink*>(chest->getLink());
    if (view != nullptr)
        view->refreshEntities(shown);
    chest->setLocked(!shown);
    if (view == nullptr)
        return;
    if (shown) {
        view->mTooltipKind = 1;
        view->showTooltipIndicator();
        gTooltipManager.addTarget(view);
    } else {
        view->hideTooltipIndicator();
    }
}

} // namespace

void GameScene::showPlayerBanner(bool shown) {
    for (CCNode* node : std::initializer_list<CCNode*>{
             mLocalNameLabel, mOpponentNameLabel, mLocalHealthLabel, mOpponentHealthLabel,
             mLocalHealthBar, mOpponentHealthBar, mLocalBanner, mOpponentBanner, mVsBadge,
             mLocalBannerColor, mOpponentBannerColor, mLocalProfileButton, mOpponentProfileButton})
        if (node != nullptr)
            node->setIsVisible(shown);
    mHighlightBanner = shown;
}

bool GameScene::highlightControl(const std::string& name) {
    if (name == "PlayerBanner") {
        showPlayerBanner(true);
        refreshPlayerHealth();
        return true;
    }
    if (name == "ResetButton") {
        revealButton(mActionPointsButton, true);
        mHighlightReset = true;
        refreshActionPoints();
        return true;
    }
    if (name == "SubmitButton") {
        revealButton(mSubmitButton, true);
        mHighlightSubmit = true;
        refreshTurnButtons();
        return true;
    }
    if (name == "TileChest") {
        revealChest(chestInUse(mGame), true);
        return false;
    }
    if (name == "SettingsButton") {
        revealButton(mSettingsButton, true);
        return true;
    }
    return false;
}

bool GameScene::unhighlightControl(const std::string& name) {
    if (name == "PlayerBanner") {
        showPlayerBanner(false);
        return true;
    }
    if (name == "ResetButton") {
        revealButton(mActionPointsButton, false);
        mHighlightReset = false;
        return true;
    }
    if (name == "SubmitButton") {
        revealButton(mSubmitButton, false);
        mHighlightSubmit = false;
        return true;
    }
    if (name == "TileChest") {
        revealChest(chestInUse(mGame), false);
        return false;
    }
    if (name == "SettingsButton") {
        revealButton(mSettingsButton, false);
        return true;
    }
    return false;
}

CCPoint GameScene::getControlPosition(const std::string& name) const {
    const Button* control = name == "HelpButton"     ? mHelpButton
                            : name == "SubmitButton" ? mSubmitButton
                            : name == "ResetButton"  ? mActionPointsButton
                                                     : nullptr;
    return control != nullptr ? control->getPosition() : CCPoint(0, 0);
}
