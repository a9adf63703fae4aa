#include "puppet/PuppetAttachment.h"

#include "content/LocalizedStrings.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "platform/render/CCTexture2D.h"
#include "platform/render/CCTextureCache.h"
#include "puppet/PuppetInstance.h"
#include "scene/views/AlphaMask.h"

using namespace cocos2d;

namespace {

bool imageFileExists(const std::string& name) {
    return CCFileUtils::fileExists(CCFileUtils::fullPathFromRelativePath(name));
}

CCSpriteFrame* spriteFrameNamed(const std::string& name) {
    return CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(name);
}

// The texture of name, loaded once into slot and retained there.
CCTexture2D* loadTexture(const std::string& name, CCTexture2D*& slot) {
    if (!slot && !name.empty()) {
        slot = CCTextureCache::sharedTextureCache()->addImage(name);
        if (slot)
            slot->retain();
    }
    return slot;
}

// A sprite of the sprite frame of name when there is one, else of the
// texture loaded into slot; null when neither exists.
CCSprite* spriteOf(const std::string& name, CCTexture2D*& slot) {
    if (name.empty())
        return nullptr;
    if (CCSpriteFrame* frame = spriteFrameNamed(name))
        return CCSprite::spriteWithSpriteFrame(frame);
    if (CCTexture2D* texture = loadTexture(name, slot))
        return CCSprite::spriteWithTexture(texture);
    return nullptr;
}

} // namespace

PuppetAttachment::PuppetAttachment() = default;

PuppetAttachment::~PuppetAttachment() {
    if (mTexture)
        mTexture->release();
    if (mColorTexture)
        mColorTexture->release();
}

bool PuppetAttachment::load(const XmlNode* element) {
    if (!element)
        return false;
    mBaseTransform.load(element);

    xmlAttrString(element, "textureName", mTextureName);
    mColorTextureName = mTextureName;
    CCFileUtils::ccRemoveHDSuffixFromFile(mTextureName);
    const size_t dot = mTextureName.rfind('.');
    if (!imageFileExists(mTextureName) && dot != std::string::npos) {
        // A compressed texture may stand in for the image it was made from:
        // the whole extension is replaced ("X.jpeg" gives "X.pvr").
        const std::string compressed = mTextureName.substr(0, dot) + ".pvr";
        if (imageFileExists(compressed))
            mTextureName = compressed;
    }

    // The companion is named after the texture as written in the file.
    if (!mColorTextureName.empty()) {
        const size_t colourDot = mColorTextureName.rfind('.');
        mColorTextureName.insert(colourDot == std::string::npos ? mColorTextureName.size()
                                                                : colourDot,
                                 "_Color");
        if (!imageFileExists(mColorTextureName) && !spriteFrameNamed(mColorTextureName))
            mColorTextureName.clear();
    }

    mPuppetName.clear();
    xmlAttrString(element, "puppetName", mPuppetName);

    std::string maskName;
    if (xmlAttrString(element, "clickMaskName", maskName))
        mClickMask = AlphaMask::indexForFile(CCFileUtils::fullPathFromRelativePath(maskName));

    for (const XmlNode* child = element->first_node("text"); child;
         child = child->next_sibling("text")) {
        mTextStyle = std::make_unique<TextStyle>();
        mTextStyle->load(child);
    }
    return true;
}

CCTexture2D* PuppetAttachment::getTexture() const {
    return loadTexture(mTextureName, mTexture);
}

CCNode* PuppetAttachment::createSprite(const PuppetInstance* puppet) const {
    if (!mTextStyle)
        return spriteOf(mTextureName, mTexture);
    std::string text;
    if (mTextStyle->mKeyType == cTextKeyLocalized)
        text = localizedString(mTextStyle->mKey);
    else if (puppet)
        text = puppet->getDynamicText(mTextStyle->mKey);
    return CCLabelTTF::labelWithString(text.c_str(), mTextStyle->mFontName.c_str(),
                                       mTextStyle->mFontSize, &mTextStyle->mDropShadow,
                                       &mTextStyle->mOutlineFill);
}

CCSprite* PuppetAttachment::createColorSprite() const {
    return spriteOf(mColorTextureName, mColorTexture);
}
