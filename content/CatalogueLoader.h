#pragma once

// The loader of the small catalogue files (avatar packs, taunt packs): a
// checked data file whose root holds one element per entry.

#include "content/DataFileCrc.h"
#include "content/XMLHelper.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Replaces entries with the element children of "<file>.xml" (checked
// against its CRC-32) in file order, each read by a new Entry's
// load(const XmlNode*); an entry whose load fails is reported and skipped.
// False when the file is missing, altered or malformed (entries are then
// empty); true otherwise, however many entries it holds.
template <class Entry>
bool loadCatalogue(std::string_view file, const char* element,
                   std::vector<std::unique_ptr<Entry>>& entries) {
    entries.clear();
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!loadCheckedXmlFile(file, root, holder) || root == nullptr)
        return false;
    for (const XmlNode* node = root->first_node(element); node != nullptr;
         node = node->next_sibling(element)) {
        auto entry = std::make_unique<Entry>();
        if (!entry->load(node)) {
            std::printf("ERROR: failed to load a %s.\n", element);
            continue;
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

// The text of an element of a catalogue entry.
inline std::string catalogueText(const XmlNode* node) {
    return std::string(node->value(), node->value_size());
}
