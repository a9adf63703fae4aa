#pragma once

// One kind of aura, read from an "Aura" element of settings.xml: the effect
// puppets drawn at a unit for the state, buff or premium square of its type,
// and how they are layered.

#include "content/XMLHelper.h"

#include <cstdint>
#include <string>
#include <string_view>

class ProtoAura {
public:
    ProtoAura();
    virtual ~ProtoAura();

    // Needs the attribute "type" (a name outside the table keeps -1), then
    // reads the children; false for a null element or one without "type".
    bool load(const XmlNode* element);
    // The aura type of that name, letter case ignored; -1 when unknown.
    static int32_t typeFromName(std::string_view name);

    int32_t mType = -1;
    std::string mEffect;
    std::string mUpgradedEffect; // for the upgraded form of the unit
    int32_t mZOrder = 0;
    float mOffsetY = 0.0f;
    float mOpacity = 1.0f;
};
