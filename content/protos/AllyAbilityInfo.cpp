#include "content/protos/AllyAbilityInfo.h"

#include "content/protos/ProtoFields.h"
#include "rules/core/EntityState.h"

namespace {

using P = AllyAbilityInfo;
using K = FieldKind;

const FieldKey<P> cAllyAbilityKeys[] = {
    {"Cost", K::Int, &P::mCost},
    {"AttachProto", K::ProtoRef, &P::mAttachProto},
    {"SwapWithAlly", K::Presence, &P::mSwapWithAlly},
    {"RangeModifier", K::Int, &P::mRangeModifier},
};

} // namespace

AllyAbilityInfo::~AllyAbilityInfo() = default;

bool AllyAbilityInfo::load(const XmlNode* element) {
    if (!element)
        return false;
    static const FieldKeyIndex<AllyAbilityInfo> keys(cAllyAbilityKeys);
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (xmlNameEquals(child, "RequiredTargetState"))
            mRequiredTargetState = entityStateFromName(xmlText(child));
        else
            keys.read(*this, child);
    }
    return true;
}
