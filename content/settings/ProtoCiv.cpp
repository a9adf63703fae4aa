#include "content/settings/ProtoCiv.h"

#include "content/LocalizedStrings.h"
#include "content/protos/ProtoFields.h"

namespace {

using C = ProtoCiv;
using K = FieldKind;

const FieldKey<C> cCivKeys[] = {
    {"iconName", K::Text, &C::mIconName},
    {"spriteSheet", K::Text, &C::mSpriteSheet},
    {"backgroundImage", K::Text, &C::mBackgroundImage},
    {"emblemImage", K::Text, &C::mEmblemImage},
    {"playerCardEmblemImage", K::Text, &C::mPlayerCardEmblemImage},
    {"largeEmblemImage", K::Text, &C::mLargeEmblemImage},
    {"teamBonusIcon", K::Text, &C::mTeamBonusIcon},
    {"teamDetailImage", K::Text, &C::mTeamDetailImage},
    {"PlayerCardOpenSound", K::Text, &C::mPlayerCardOpenSound},
    {"actionsPerTurn", K::Int, &C::mActionsPerTurn},
    {"backgroundR", K::Int, &C::mBackgroundR},
    {"backgroundG", K::Int, &C::mBackgroundG},
    {"backgroundB", K::Int, &C::mBackgroundB},
};

} // namespace

ProtoCiv::ProtoCiv(int32_t id) : mId(id) {}

ProtoCiv::~ProtoCiv() = default;

bool ProtoCiv::load(const XmlNode* element) {
    if (!element)
        return false;
    for (const XmlAttribute* attribute = element->first_attribute(); attribute;
         attribute = attribute->next_attribute())
        if (xmlNameEquals(attribute, "name"))
            mName = xmlText(attribute);

    static const FieldKeyIndex<ProtoCiv> keys(cCivKeys);
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (keys.read(*this, child))
            continue;
        if (xmlNameEquals(child, "tileAllocation")) {
            mTileAllocation = std::make_unique<TileAllocation>();
            if (!mTileAllocation->load(child))
                mTileAllocation.reset();
        }
    }

    const std::string prefix = "Civ_" + mName + "_";
    mDisplayName = localizedStringOrDefault(prefix + "DisplayName", "");
    mShortDescription = localizedStringOrDefault(prefix + "ShortDescription", "");
    mLongDescription = localizedStringOrDefault(prefix + "LongDescription", "");
    mTeamBonusDescription = localizedStringOrDefault(prefix + "TeamBonusDescription", "");
    mTeamBonusTitle = localizedStringOrDefault(prefix + "TeamBonusTitle", "");
    return true;
}
