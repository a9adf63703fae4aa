#include "content/settings/ProtoAura.h"

#include "content/protos/AuraType.h"
#include "content/protos/ProtoFields.h"

ProtoAura::ProtoAura() = default;

ProtoAura::~ProtoAura() = default;

int32_t ProtoAura::typeFromName(std::string_view name) {
    return auraTypeFromName(name);
}

bool ProtoAura::load(const XmlNode* element) {
    if (!element)
        return false;
    const XmlAttribute* type = xmlFindAttribute(element, "type");
    if (!type)
        return false;
    mType = typeFromName(xmlText(type));
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (xmlNameEquals(child, "Effect"))
            mEffect = xmlText(child);
        else if (xmlNameEquals(child, "UpgradedEffect"))
            mUpgradedEffect = xmlText(child);
        else if (xmlNameEquals(child, "ZOrder"))
            xmlValueInt(child, mZOrder);
        else if (xmlNameEquals(child, "OffsetY"))
            xmlValueFloat(child, mOffsetY);
        else if (xmlNameEquals(child, "Opacity"))
            xmlValueFloat(child, mOpacity);
    }
    return true;
}
