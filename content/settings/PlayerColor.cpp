#include "content/settings/PlayerColor.h"

#include <algorithm>

namespace {

bool readComponent(const XmlNode* element, const char* name, uint8_t& out) {
    int32_t value = 0;
    if (!xmlAttrInt(element, name, value))
        return false;
    out = static_cast<uint8_t>(std::clamp(value, 0, 255));
    return true;
}

} // namespace

bool PlayerColor::load(const XmlNode* element) {
    return xmlAttrString(element, "name", mName) && readComponent(element, "red", mRed) &&
           readComponent(element, "green", mGreen) && readComponent(element, "blue", mBlue);
}
