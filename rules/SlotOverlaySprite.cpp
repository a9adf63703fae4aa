#include "rules/SlotOverlaySprite.h"

#include "rules/HelpTooltip.h"

#include "content/LocalizedStrings.h"
#include "content/settings/ProtoPremiumTile.h"
#include "content/settings/SettingsManager.h"

#include "platform/render/CCDrawing.h"

#include <new>

using namespace cocos2d;

SlotOverlaySprite::SlotOverlaySprite() = default;

SlotOverlaySprite::~SlotOverlaySprite() {
    setChild(nullptr);
}

SlotOverlaySprite* SlotOverlaySprite::spriteWithFile(const std::string& file) {
    auto* sprite = new (std::nothrow) SlotOverlaySprite();
    if (sprite == nullptr)
        return nullptr;
    // A missing image leaves the empty sprite that init() made.
    sprite->initWithFile(file);
    sprite->autorelease();
    return sprite;
}

SlotOverlaySprite* SlotOverlaySprite::spriteWithTexture(CCTexture2D* texture) {
    auto* sprite = new (std::nothrow) SlotOverlaySprite();
    if (sprite == nullptr)
        return nullptr;
    if (texture == nullptr || !sprite->initWithTexture(texture))
        sprite->init();
    sprite->autorelease();
    return sprite;
}

void SlotOverlaySprite::setChild(CCNode* child) {
    if (child == mChild)
        return;
    if (mChild != nullptr) {
        mChild->removeFromParentAndCleanup(true);
        mChild->release();
    }
    mChild = child;
    if (mChild != nullptr)
        mChild->retain();
}

// The sprite's own quad (colours with opacity, texture corners with flips)
// with the slot's corners as positions. It goes through the drawing's quad
// batch like any sprite, so the GL state stays the renderer's: the batch
// applies the blend function and restores the default itself.
void SlotOverlaySprite::draw() {
    ccV3F_C4B_T2F_Quad quad = getQuad();
    ccV3F_C4B_T2F* corners[4] = {&quad.tl, &quad.bl, &quad.tr, &quad.br};
    for (size_t i = 0; i < 4; ++i)
        corners[i]->vertices =
            ccVertex3F{mSlotQuad[i * 3], mSlotQuad[i * 3 + 1], mSlotQuad[i * 3 + 2]};
    ccDrawQuads(getTexture(), &quad, 1, getBlendFunc());
}

void SlotOverlaySprite::buildTooltip(CCNode* layer) {
    const ProtoPremiumTile* kind = SettingsManager::instance().premiumTileKind(mPremiumType);
    if (kind == nullptr)
        return;
    buildHelpTooltip(layer, kind->mTooltipPortrait.c_str(), kind->mTooltipTitle.c_str(),
                     localizedCString("Premium Square"), kind->mTooltipDescription.c_str());
}
