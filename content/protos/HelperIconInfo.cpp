#include "content/protos/HelperIconInfo.h"

#include "content/protos/ProtoFields.h"

HelperIconInfo::~HelperIconInfo() = default;

bool HelperIconInfo::load(const XmlNode* element) {
    if (!element)
        return false;
    mOffset = {};
    for (const XmlAttribute* attribute = element->first_attribute(); attribute;
         attribute = attribute->next_attribute()) {
        if (xmlNameEquals(attribute, "offsetX"))
            readFieldValue(attribute, FieldKind::Float, mOffset.x);
        else if (xmlNameEquals(attribute, "offsetY"))
            readFieldValue(attribute, FieldKind::Float, mOffset.y);
        else if (xmlNameEquals(attribute, "scale"))
            readFieldValue(attribute, FieldKind::Float, mScale);
    }
    return true;
}
