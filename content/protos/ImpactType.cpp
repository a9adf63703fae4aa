#include "content/protos/ImpactType.h"

#include "rules/core/NameTable.h"

const std::array<std::string_view, cImpactTypeCount> cImpactTypeNames = {
    "Impact", "ImpactBig", "ImpactMagic", "ImpactMagicBig", "ImpactRanged", "ImpactRangedBig",
};

int32_t impactTypeFromName(std::string_view name) {
    static const NoCaseNameIndex index(cImpactTypeNames);
    return index.find(name);
}
