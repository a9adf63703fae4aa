#include "puppet/PuppetKeyframe.h"

namespace {

// Reads a 0..255 attribute scaled to 0..1; an absent one keeps out.
void readByteScaled(const XmlNode* element, const char* name, float& out) {
    if (xmlAttrFloat(element, name, out))
        out *= cByteToUnit;
}

} // namespace

bool PuppetKeyframe::load(const XmlNode* element) {
    *this = PuppetKeyframe();
    if (!element)
        return false;
    xmlAttrFloat(element, "rotation", mRotation);
    xmlAttrFloat(element, "translationX", mTranslationX);
    xmlAttrFloat(element, "translationY", mTranslationY);
    mTranslationX *= 0.5f;
    mTranslationY *= 0.5f;
    xmlAttrFloat(element, "scaleX", mScaleX);
    xmlAttrFloat(element, "scaleY", mScaleY);
    readByteScaled(element, "alpha", mAlpha);
    readByteScaled(element, "tintRed", mTintRed);
    readByteScaled(element, "tintGreen", mTintGreen);
    readByteScaled(element, "tintBlue", mTintBlue);
    return true;
}
