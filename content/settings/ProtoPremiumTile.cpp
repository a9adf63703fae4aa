#include "content/settings/ProtoPremiumTile.h"

#include "content/LocalizedStrings.h"
#include "content/protos/ProtoFields.h"

namespace {

using P = ProtoPremiumTile;
using K = FieldKind;

const FieldKey<P> cPremiumTileKeys[] = {
    {"amount", K::Int, &P::mAmount},
    {"gridSlotOverlay", K::Text, &P::mGridSlotOverlay},
    {"KX4GridSlotOverlay", K::Text, &P::mCrossoverGridSlotOverlay},
    {"puppet", K::Text, &P::mPuppet},
    {"activationSound", K::Text, &P::mActivationSound},
    {"tooltipPortrait", K::Text, &P::mTooltipPortrait},
};

} // namespace

ProtoPremiumTile::~ProtoPremiumTile() = default;

bool ProtoPremiumTile::load(const XmlNode* element) {
    if (!element)
        return false;
    // An element without attributes names no type.
    const XmlAttribute* first = element->first_attribute();
    mType = first ? premiumTileTypeFromName(xmlText(first)) : cPremiumInvalid;
    static const FieldKeyIndex<ProtoPremiumTile> keys(cPremiumTileKeys);
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling())
        if (child->type() == rapidxml::node_element)
            keys.read(*this, child);

    const std::string prefix = "PremiumTile_" + std::string(premiumTileTypeName(mType)) + "_";
    mTooltipTitle = localizedStringOrDefault(prefix + "TooltipTitle", "");
    mTooltipDescription = localizedStringOrDefault(prefix + "TooltipDescription", "");
    return true;
}
