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
#include "rules/core/NameIndex.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

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

// The node's value as a string ("" when it has none), and a view of it in
// the parsed text.
std::string xmlText(const XmlBase* node);
std::string_view xmlValueView(const XmlBase* node);

// Reads node's value as kind into an int, float, string or bool target.
void readFieldValue(const XmlBase* node, FieldKind kind, std::string& out);
void readFieldValue(const XmlBase* node, FieldKind kind, int32_t& out);
void readFieldValue(const XmlBase* node, FieldKind kind, float& out);
void readFieldValue(const XmlBase* node, FieldKind kind, bool& out);

// Stores node's value through key, whatever the node's name.
template <class Record>
void readKeyedValue(Record& record, const FieldKey<Record>& key, const XmlBase* node) {
    std::visit([&](auto member) { readFieldValue(node, key.kind, record.*member); }, key.member);
}

// Stores node's value through the first key named exactly as the node; false
// when no key has that name.
template <class Record>
bool readFieldKey(Record& record, std::span<const FieldKey<Record>> keys, const XmlBase* node) {
    for (const FieldKey<Record>& key : keys) {
        if (!xmlNameEquals(node, key.name))
            continue;
        readKeyedValue(record, key, node);
        return true;
    }
    return false;
}

// readFieldKey over a fixed table through a hash of its names, for records
// read many times.
template <class Record> class FieldKeyIndex {
public:
    explicit FieldKeyIndex(std::span<const FieldKey<Record>> keys)
        : mEntries(entriesOf(keys)), mIndex(mEntries) {}
    FieldKeyIndex(const FieldKeyIndex&) = delete;
    FieldKeyIndex& operator=(const FieldKeyIndex&) = delete;

    bool read(Record& record, const XmlBase* node) const {
        const auto* found = mIndex.find(std::string_view(node->name(), node->name_size()));
        if (!found)
            return false;
        readKeyedValue(record, *found->value, node);
        return true;
    }
    // Reads every attribute of element that a key names.
    void readAttributes(Record& record, const XmlNode* element) const {
        for (const XmlAttribute* attribute = element->first_attribute(); attribute;
             attribute = attribute->next_attribute())
            read(record, attribute);
    }

private:
    using Index = NameIndex<const FieldKey<Record>*>;
    static std::vector<typename Index::Entry> entriesOf(std::span<const FieldKey<Record>> keys) {
        std::vector<typename Index::Entry> entries;
        entries.reserve(keys.size());
        for (const FieldKey<Record>& key : keys)
            entries.push_back({key.name, &key});
        return entries;
    }

    std::vector<typename Index::Entry> mEntries;
    Index mIndex;
};
