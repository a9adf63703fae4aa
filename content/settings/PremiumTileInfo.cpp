#include "content/settings/PremiumTileInfo.h"

#include "content/settings/SettingsManager.h"

#include <cmath>
#include <cstdio>

namespace {

// trunc(amount x factor) added to value, the product taken in float as the
// stat rules do; the sum is held in the int32 range (a NaN product adds
// nothing) so odd data cannot overflow.
int32_t addScaled(int32_t value, int32_t amount, float factor) {
    const double product = std::trunc(static_cast<double>(static_cast<float>(amount) * factor));
    if (std::isnan(product))
        return value;
    const double sum = static_cast<double>(value) + product;
    if (sum >= static_cast<double>(INT32_MAX))
        return INT32_MAX;
    if (sum <= static_cast<double>(INT32_MIN))
        return INT32_MIN;
    return static_cast<int32_t>(sum);
}

} // namespace

PremiumTileEntry::~PremiumTileEntry() = default;

bool PremiumTileEntry::load(const XmlNode* element) {
    if (!element)
        return false;
    int32_t x = -1;
    int32_t y = -1;
    for (const XmlAttribute* attribute = element->first_attribute(); attribute;
         attribute = attribute->next_attribute()) {
        if (xmlNameEquals(attribute, "type"))
            mType = premiumTileTypeFromName(
                std::string_view(attribute->value(), attribute->value_size()));
        else if (xmlNameEquals(attribute, "x"))
            xmlValueInt(attribute, x);
        else if (xmlNameEquals(attribute, "y"))
            xmlValueInt(attribute, y);
        else if (xmlNameEquals(attribute, "linkTarget"))
            xmlValueInt(attribute, mLinkTarget);
        else
            std::printf("**> error parsing premium tile entry\n");
    }
    if (x < 0 || y < 0)
        return false;
    mX = x;
    mY = y;
    return true;
}

PremiumTileInfo::~PremiumTileInfo() = default;

bool PremiumTileInfo::load(const XmlNode* element) {
    if (!element)
        return false;
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (!xmlNameEquals(child, "premiumTile")) {
            std::printf("**> error parsing premium tile info\n");
            continue;
        }
        auto entry = std::make_unique<PremiumTileEntry>();
        if (entry->load(child))
            mEntries.push_back(std::move(entry));
    }
    return true;
}

PremiumTileEntry* PremiumTileInfo::getEntryAt(int32_t x, int32_t y) const {
    for (const auto& entry : mEntries)
        if (entry && entry->mX == x && entry->mY == y)
            return entry.get();
    return nullptr;
}

bool PremiumTileInfo::applyBonusAt(int32_t x, int32_t y, int32_t type, int32_t& value,
                                   float factor) const {
    bool found = false;
    for (const auto& entry : mEntries) {
        if (entry && entry->mType == type && entry->mX == x && entry->mY == y) {
            found = true;
            break;
        }
    }
    if (!found)
        return false;
    if (const ProtoPremiumTile* kind = SettingsManager::instance().premiumTileKind(type))
        value = addScaled(value, kind->mAmount, factor);
    return true;
}

int32_t PremiumTileInfo::countOfType(int32_t type) const {
    int32_t count = 0;
    for (const auto& entry : mEntries)
        if (entry && (type == cPremiumInvalid || entry->mType == type))
            ++count;
    return count;
}
