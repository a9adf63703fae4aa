#pragma once

// Table-driven reading of proto records. A record lists its simple keys
// (element or attribute name, how the value is read, the member it goes to);
// readFieldKey finds the key of a node and stores the node's value.
//
// Values are read as the proto files expect: ints with strtol base 10 and
// floats with strtod, stored whatever the conversion reports (numbers beyond
// the type's range saturate); bools "true"/"1"/"false"/"0" in any case, any
// other text leaving the member unchanged.

#include "content/NumberText.h"
#include "content/XMLHelper.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>

enum class FieldKind {
    Text,     // the value as it stands
    Int,      // strtol base 10
    Float,    // strtod
    Bool,     // a boolean word; other text changes nothing
    Presence, // true whatever the value
    Clear,    // false whatever the value
    Anim,     // animation-state name, -1 when unknown
    ProtoRef, // proto name, -1 when unknown
};

template <class Record> struct FieldKey {
    using Member =
        std::variant<std::string Record::*, int32_t Record::*, float Record::*, bool Record::*>;
    std::string_view name;
    FieldKind kind;
    Member member;
};

// The node's value as a string ("" when it has none).
std::string xmlText(const XmlBase* node);

// Reads node's value as kind into an int, float, string or bool target.
void readFieldValue(const XmlBase* node, FieldKind kind, std::string& out);
void readFieldValue(const XmlBase* node, FieldKind kind, int32_t& out);
void readFieldValue(const XmlBase* node, FieldKind kind, float& out);
void readFieldValue(const XmlBase* node, FieldKind kind, bool& out);

// Stores node's value through the first key named exactly as the node; false
// when no key has that name.
template <class Record>
bool readFieldKey(Record& record, std::span<const FieldKey<Record>> keys, const XmlBase* node) {
    for (const FieldKey<Record>& key : keys) {
        if (!xmlNameEquals(node, key.name))
            continue;
        std::visit([&](auto member) { readFieldValue(node, key.kind, record.*member); },
                   key.member);
        return true;
    }
    return false;
}

// readFieldKey over a fixed table through a hash of its names, for records
// read many times.
template <class Record> class FieldKeyIndex {
public:
    explicit FieldKeyIndex(std::span<const FieldKey<Record>> keys) {
        for (const FieldKey<Record>& key : keys)
            mKeys.try_emplace(key.name, &key); // the first key of a name wins
    }
    bool read(Record& record, const XmlBase* node) const {
        const auto found = mKeys.find(std::string_view(node->name(), node->name_size()));
        if (found == mKeys.end())
            return false;
        const FieldKey<Record>& key = *found->second;
        std::visit([&](auto member) { readFieldValue(node, key.kind, record.*member); },
                   key.member);
        return true;
    }

private:
    std::unordered_map<std::string_view, const FieldKey<Record>*> mKeys;
};
