#include "content/settings/ScoringInfo.h"

#include "content/protos/ProtoFields.h"

ScoringInfo::~ScoringInfo() = default;

bool ScoringInfo::load(const XmlNode* element) {
    if (!element)
        return true;
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        // The first four are read as strtol reads them, the others keep their
        // value when the text is out of range.
        if (xmlNameEquals(child, "deploy"))
            mDeploy = parseIntText(xmlText(child));
        else if (xmlNameEquals(child, "damage"))
            mDamage = parseIntText(xmlText(child));
        else if (xmlNameEquals(child, "knockout"))
            mKnockout = parseIntText(xmlText(child));
        else if (xmlNameEquals(child, "equip"))
            mEquip = parseIntText(xmlText(child));
        else if (xmlNameEquals(child, "heal"))
            xmlValueInt(child, mHeal);
        else if (xmlNameEquals(child, "revive"))
            xmlValueInt(child, mRevive);
        else if (xmlNameEquals(child, "scoreTile"))
            xmlValueInt(child, mScoreTile);
    }
    return true;
}
