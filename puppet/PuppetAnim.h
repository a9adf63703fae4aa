#pragma once

// One animation file: the key-framed tracks that move a puppet's bones, loaded
// once by name through PuppetRegistry::loadAnim. Puppet definitions refer to
// it by index from their animation entries.
//
// So far it accepts its file's root; the bone nodes, their tracks and the
// length join it with the playing of animations.

#include "content/XMLHelper.h"

class PuppetAnim {
public:
    PuppetAnim();
    virtual ~PuppetAnim();

    // Reads the root element of an animation file; true for any root.
    bool loadNodes(const XmlNode* root);

    float mLength = 0.0f; // seconds
};
