#include "puppet/PuppetAttachment.h"

PuppetAttachment::PuppetAttachment() = default;

PuppetAttachment::~PuppetAttachment() = default;

bool PuppetAttachment::load(const XmlNode* element) {
    if (!element)
        return false;
    xmlAttrString(element, "textureName", mTextureName);
    mPuppetName.clear();
    xmlAttrString(element, "puppetName", mPuppetName);
    return true;
}
