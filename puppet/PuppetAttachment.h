#pragma once

// One piece of art that a puppet part can show, loaded once by name through
// PuppetRegistry::loadAttachment from its own file, from an "Attachment" of
// the shared attachments file or from a puppet file's "Attachments". Parts and
// attachment-override tags refer to it by index.
//
// An attachment is an image (a sprite frame or an image file, with an
// optional "_Color" companion that the puppet tints with the player's
// colour), a nested puppet, or a text label; it carries the base transform
// that places it on its bone and an optional click mask for pixel-exact
// touches. Which files exist is decided once, at load; the images are loaded
// on the first sprite and kept (retained) for the life of the attachment.
// Main thread only (the engine's caches).

#include "content/XMLHelper.h"
#include "puppet/PuppetKeyframe.h"
#include "puppet/TextStyle.h"

#include <cstdint>
#include <memory>
#include <string>

namespace cocos2d {
class CCNode;
class CCSprite;
class CCTexture2D;
} // namespace cocos2d

class PuppetInstance;

class PuppetAttachment {
public:
    PuppetAttachment();
    PuppetAttachment(const PuppetAttachment&) = delete;
    PuppetAttachment& operator=(const PuppetAttachment&) = delete;
    // Releases the textures it holds.
    virtual ~PuppetAttachment();

    // Reads an attachment element: the base transform, "textureName" (with
    // the high-resolution suffix removed, and its ".pvr" form when only that
    // file exists), the "_Color" companion when its file or sprite frame
    // exists, "puppetName", "clickMaskName" and the last "text" child. False
    // only for a null element.
    bool load(const XmlNode* element);

    // The image of the texture name, loaded through the shared texture cache
    // on first use and kept; null without a name or while the image cannot
    // be loaded (tried again on the next call).
    cocos2d::CCTexture2D* getTexture() const;
    // A new autoreleased node for a part: a label for a text attachment (a
    // dynamic text is read from the puppet when one is given, else ""), else
    // a sprite of the texture name's sprite frame or of the texture; null
    // when there is no image.
    cocos2d::CCNode* createSprite(const PuppetInstance* puppet) const;
    // A new autoreleased sprite of the "_Color" companion, or null.
    cocos2d::CCSprite* createColorSprite() const;

    std::string mTextureName;      // sprite-frame name or image file under the resource root
    std::string mColorTextureName; // the companion; empty = none
    std::string mPuppetName;       // a puppet drawn as this part; empty = none
    int32_t mClickMask = -1;       // AlphaMask index; -1 = none
    PuppetKeyframe mBaseTransform;
    std::unique_ptr<TextStyle> mTextStyle; // present for a text attachment

private:
    mutable cocos2d::CCTexture2D* mTexture = nullptr;      // retained once loaded
    mutable cocos2d::CCTexture2D* mColorTexture = nullptr; // retained once loaded
};
