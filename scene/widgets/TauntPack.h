#pragma once

// Taunt packs: the catalogue of the data file "TauntPacks.xml". A pack
// element holds its "icon", "SKU" and "count" as child elements; its display
// name and description are the texts of "TauntPack_<SKU>_DisplayName" and
// "TauntPack_<SKU>_Description" (empty when absent). The catalogue is read
// once with the game data and lives until exit. Main thread only.

#include "content/XMLHelper.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TauntPack {
    // Reads the children of element and looks up the two texts; false only
    // for a null element. A missing child leaves its field as it was.
    bool load(const XmlNode* element);

    std::string displayName;
    std::string description;
    std::string icon;
    std::string SKU;
    int32_t count = 0;
};

// The packs in file order.
extern std::vector<std::unique_ptr<TauntPack>> gTauntPacks;

// Replaces the catalogue with the "TauntPack" children of "TauntPacks.xml",
// checked against its CRC-32. False when the file is missing, altered or
// malformed (the catalogue is then empty); true otherwise, however many
// packs it holds.
bool loadTauntPacks();
