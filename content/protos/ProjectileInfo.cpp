#include "content/protos/ProjectileInfo.h"

#include "content/protos/ProtoFields.h"
#include "rules/core/NameTable.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace {

using P = ProjectileInfo;
using K = FieldKind;

const FieldKey<P> cProjectileKeys[] = {
    {"Art", K::Text, &P::mArt},
    {"Art2", K::Text, &P::mArt2},
    {"LaunchArt", K::Text, &P::mLaunchArt},
    {"LaunchArt2", K::Text, &P::mLaunchArt2},
    {"Puppet", K::Text, &P::mPuppet},
    {"ImpactEffect", K::Text, &P::mImpactEffect},
    {"ImpactEffectBig", K::Text, &P::mImpactEffectBig},
    {"Speed", K::Float, &P::mSpeed},
    {"AccelerationRate", K::Float, &P::mAccelerationRate},
    {"SpinSpeed", K::Float, &P::mSpinSpeed},
    {"ArcHeight", K::Float, &P::mArcHeight},
    {"HideForBigAttack", K::Presence, &P::mHideForBigAttack},
};

constexpr std::array<std::string_view, 3> cMoveTypeNames = {"Arc", "Direct", "Chain"};
// "none" is the default and has no word of its own.
constexpr std::array<std::string_view, 3> cOrientTypeNames = {"", "Direction", "Spin"};

// Stores the position of the child's text in names; other text changes nothing.
template <size_t N>
void readWord(const XmlNode* child, const std::array<std::string_view, N>& names, int32_t& out) {
    const int32_t value = findNameExact(names, xmlText(child));
    if (value >= 0)
        out = value;
}

} // namespace

ProjectileInfo::~ProjectileInfo() = default;

bool ProjectileInfo::load(const XmlNode* element) {
    if (!element)
        return false;
    static const FieldKeyIndex<ProjectileInfo> keys(cProjectileKeys);
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (keys.read(*this, child))
            continue;
        if (xmlNameEquals(child, "MoveType"))
            readWord(child, cMoveTypeNames, mMoveType);
        else if (xmlNameEquals(child, "OrientType"))
            readWord(child, cOrientTypeNames, mOrientType);
    }
    // The flight time is distance / speed without acceleration: it must be
    // finite, so such a projectile flies at the default speed.
    if (!(mSpeed > 0.0f) && !(mAccelerationRate > 0.0f)) {
        std::printf("**> projectile speed %g without acceleration never arrives, using %g\n",
                    static_cast<double>(mSpeed), static_cast<double>(cDefaultProjectileSpeed));
        mSpeed = cDefaultProjectileSpeed;
    }
    return true;
}

float ProjectileInfo::flightTime(float distance) const {
    if (mOrientType == cOrientSpin && mMoveType == cProjectileArc)
        distance = 2.0f * mArcHeight;
    if (mAccelerationRate > 0.0f)
        return std::sqrt(distance / (0.5f * mAccelerationRate));
    return distance / mSpeed;
}
