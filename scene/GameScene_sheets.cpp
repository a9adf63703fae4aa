// The civs' sprite sheets: an XML list of named rectangles in one image,
// registered with the sprite-frame cache while a game is shown.

#include "scene/GameScene.h"

#include "content/XMLHelper.h"
#include "content/settings/ProtoCiv.h"
#include "content/settings/SettingsManager.h"
#include "rules/Game.h"
#include "rules/Player.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "platform/render/CCTexture2D.h"
#include "platform/render/CCTextureCache.h"

#include <string>

using namespace cocos2d;

namespace {

// Reads the civ's sheet ("-hd" in high definition); false when it does not.
bool readSheet(const ProtoCiv* civ, XMLHelper& holder, XmlNode*& root) {
    if (civ == nullptr)
        return false;
    std::string name = civ->mSpriteSheet;
    CCFileUtils::ccRemoveHDSuffixFromFile(name);
    if (CCDirector::sharedDirector()->getIsHighDefinition())
        name += "-hd";
    return loadXmlFile(name, root, holder);
}

} // namespace

void GameScene::loadSpriteSheet(const ProtoCiv* civ) {
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!readSheet(civ, holder, root))
        return;
    std::string imagePath;
    if (!xmlAttrString(root, "imagePath", imagePath))
        return;
    CCFileUtils::ccRemoveHDSuffixFromFile(imagePath);
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(imagePath.c_str());
    if (texture == nullptr)
        return;
    const float scale = CCDirector::sharedDirector()->getIsHighDefinition() ? 0.5f : 1.0f;
    CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
    for (const XmlNode* sprite = root->first_node("sprite"); sprite != nullptr;
         sprite = sprite->next_sibling("sprite")) {
        std::string name;
        int32_t x = 0, y = 0, w = 0, h = 0;
        if (!xmlAttrString(sprite, "n", name) || !xmlAttrInt(sprite, "x", x) ||
            !xmlAttrInt(sprite, "y", y) || !xmlAttrInt(sprite, "w", w) ||
            !xmlAttrInt(sprite, "h", h))
            continue; // a sprite missing an attribute is skipped
        CCSpriteFrame* frame = frames->spriteFrameByName(name);
        if (frame == nullptr)
            frame = CCSpriteFrame::frameWithTexture(
                texture,
                CCRect(float(x) * scale, float(y) * scale, float(w) * scale, float(h) * scale));
        frames->addSpriteFrame(frame, name);
    }
}

void GameScene::unloadSpriteSheet(const ProtoCiv* civ) {
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!readSheet(civ, holder, root))
        return;
    CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
    for (const XmlNode* sprite = root->first_node("sprite"); sprite != nullptr;
         sprite = sprite->next_sibling("sprite")) {
        std::string name;
        if (xmlAttrString(sprite, "n", name) && frames->spriteFrameByName(name) != nullptr)
            frames->removeSpriteFrameByName(name);
    }
}

void GameScene::unloadSpriteSheets() {
    const SettingsManager& settings = SettingsManager::instance();
    const int32_t local = mGame->mCurrentPlayer;
    const Player* localPlayer = mGame->getPlayer(local);
    const Player* otherPlayer = mGame->getPlayer(local == 0 ? 1 : 0);
    const ProtoCiv* localCiv =
        localPlayer != nullptr ? settings.getCiv(localPlayer->mCivId) : nullptr;
    const ProtoCiv* otherCiv =
        otherPlayer != nullptr ? settings.getCiv(otherPlayer->mCivId) : nullptr;
    unloadSpriteSheet(localCiv);
    if (localCiv != nullptr && otherCiv != nullptr && otherCiv->mId != localCiv->mId)
        unloadSpriteSheet(otherCiv);
}
