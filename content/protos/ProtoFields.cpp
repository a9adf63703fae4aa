#include "content/protos/ProtoFields.h"

#include "content/protos/Database.h"
#include "puppet/AnimState.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

std::string xmlText(const XmlBase* node) {
    if (!node || !node->value())
        return {};
    return std::string(node->value(), node->value_size());
}

int32_t parseIntText(std::string_view text) {
    const std::string copy(text);
    const long value = std::strtol(copy.c_str(), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

float parseFloatText(std::string_view text) {
    const std::string copy(text);
    const double value = std::strtod(copy.c_str(), nullptr);
    if (value > FLT_MAX)
        return HUGE_VALF;
    if (value < -FLT_MAX)
        return -HUGE_VALF;
    return static_cast<float>(value);
}

void readFieldValue(const XmlBase* node, FieldKind kind, std::string& out) {
    if (kind == FieldKind::Text)
        out = xmlText(node);
}

void readFieldValue(const XmlBase* node, FieldKind kind, int32_t& out) {
    switch (kind) {
    case FieldKind::Int:
        out = parseIntText(xmlText(node));
        break;
    case FieldKind::Anim:
        out = animStateFromName(xmlText(node));
        break;
    case FieldKind::ProtoRef:
        out = Database::getProtoIdByName(xmlText(node));
        break;
    default:
        break;
    }
}

void readFieldValue(const XmlBase* node, FieldKind kind, float& out) {
    if (kind == FieldKind::Float)
        out = parseFloatText(xmlText(node));
}

void readFieldValue(const XmlBase* node, FieldKind kind, bool& out) {
    switch (kind) {
    case FieldKind::Bool:
        xmlValueBool(node, out);
        break;
    case FieldKind::Presence:
        out = true;
        break;
    case FieldKind::Clear:
        out = false;
        break;
    default:
        break;
    }
}
