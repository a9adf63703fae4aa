#include "content/protos/ProtoFields.h"

#include "content/protos/Database.h"
#include "puppet/AnimState.h"

std::string xmlText(const XmlBase* node) {
    if (!node || !node->value())
        return {};
    return std::string(node->value(), node->value_size());
}

std::string_view xmlValueView(const XmlBase* node) {
    if (!node || !node->value())
        return {};
    return {node->value(), node->value_size()};
}

void readFieldValue(const XmlBase* node, FieldKind kind, std::string& out) {
    if (kind == FieldKind::Text)
        out.assign(xmlValueView(node));
}

void readFieldValue(const XmlBase* node, FieldKind kind, int32_t& out) {
    switch (kind) {
    case FieldKind::Int:
        out = parseIntText(xmlValueView(node));
        break;
    case FieldKind::Anim:
        out = animStateFromName(xmlValueView(node));
        break;
    case FieldKind::ProtoRef:
        out = Database::getProtoIdByName(xmlValueView(node));
        break;
    default:
        break;
    }
}

void readFieldValue(const XmlBase* node, FieldKind kind, float& out) {
    if (kind == FieldKind::Float)
        out = parseFloatText(xmlValueView(node));
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
