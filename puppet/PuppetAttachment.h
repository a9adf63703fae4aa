#pragma once

// One piece of art that a puppet part can show, loaded once by name through
// PuppetRegistry::loadAttachment from its own file, from an "Attachment" of
// the shared attachments file or from a puppet file's "Attachments". Parts and
// attachment-override tags refer to it by index.
//
// So far it keeps the names its element gives; the base transform, the
// colour companion, the click mask, text styles and sprites join it with the
// drawing of puppets.

#include "content/XMLHelper.h"

#include <string>

class PuppetAttachment {
public:
    PuppetAttachment();
    virtual ~PuppetAttachment();

    // Reads an attachment element; false only for a null element.
    bool load(const XmlNode* element);

    std::string mTextureName; // sprite-frame name or image file under the resource root
    std::string mPuppetName;  // a puppet drawn as this part; empty = none
};
