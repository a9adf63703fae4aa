// The typed readers of element and attribute names and values.

#include "content/XMLHelper.h"

#include "content/NoCase.h"
#include "content/NumberText.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>

namespace {

std::string_view valueOf(const XmlBase* node) {
    return node ? std::string_view(node->value(), node->value_size()) : std::string_view();
}

// The value's leading decimal number; false only when it is out of range.
bool readNumber(const XmlBase* node, long long& out) {
    errno = 0;
    out = strtollText(valueOf(node));
    return errno != ERANGE;
}

template <typename T>
bool readAttribute(const XmlNode* element, const char* name, T& out,
                   bool (*reader)(const XmlBase*, T&)) {
    const XmlAttribute* attribute = xmlFindAttribute(element, name);
    return attribute && reader(attribute, out);
}

bool readInRange(const XmlBase* node, long long low, long long high, long long& out) {
    return readNumber(node, out) && out >= low && out <= high;
}

} // namespace

XmlAttribute* xmlFindAttribute(const XmlNode* element, const char* name) {
    return element ? element->first_attribute(name, 0, true) : nullptr;
}

void xmlFindAttributes(const XmlNode* element, std::span<const std::string_view> names,
                       std::span<const XmlAttribute*> found) {
    std::fill(found.begin(), found.end(), nullptr);
    if (!element)
        return;
    for (const XmlAttribute* attribute = element->first_attribute(); attribute;
         attribute = attribute->next_attribute()) {
        const std::string_view name(attribute->name(), attribute->name_size());
        for (size_t i = 0; i < names.size(); ++i) {
            if (!found[i] && names[i] == name) {
                found[i] = attribute;
                break;
            }
        }
    }
}

bool xmlValueInt(const XmlBase* node, int32_t& out) {
    long long value = 0;
    if (!readInRange(node, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                     value))
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

bool xmlValueInt64(const XmlBase* node, int64_t& out) {
    long long value = 0;
    if (!readNumber(node, value))
        return false;
    out = value;
    return true;
}

bool xmlValueByte(const XmlBase* node, uint8_t& out) {
    long long value = 0;
    if (!readInRange(node, 0, 255, value))
        return false;
    out = static_cast<uint8_t>(value);
    return true;
}

bool xmlValueFloat(const XmlBase* node, float& out) {
    errno = 0;
    const double value = strtodText(valueOf(node));
    if (errno == ERANGE)
        return false;
    const float narrowed = static_cast<float>(value);
    if (std::isinf(narrowed) && !std::isinf(value))
        return false;
    out = narrowed;
    return true;
}

bool xmlValueBool(const XmlBase* node, bool& out) {
    const std::string_view text = valueOf(node);
    if (text == "1" || equalsNoCase(text, "true"))
        out = true;
    else if (text == "0" || equalsNoCase(text, "false"))
        out = false;
    else
        return false;
    return true;
}

bool xmlAttrString(const XmlNode* element, const char* name, std::string& out) {
    const XmlAttribute* attribute = xmlFindAttribute(element, name);
    if (!attribute)
        return false;
    out = valueOf(attribute);
    return true;
}

bool xmlAttrInt(const XmlNode* element, const char* name, int32_t& out) {
    return readAttribute(element, name, out, xmlValueInt);
}

bool xmlAttrFloat(const XmlNode* element, const char* name, float& out) {
    return readAttribute(element, name, out, xmlValueFloat);
}

bool xmlAttrBool(const XmlNode* element, const char* name, bool& out) {
    return readAttribute(element, name, out, xmlValueBool);
}

bool xmlAttrByte(const XmlNode* element, const char* name, uint8_t& out) {
    return readAttribute(element, name, out, xmlValueByte);
}
