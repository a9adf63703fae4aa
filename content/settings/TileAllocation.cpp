#include "content/settings/TileAllocation.h"

#include "content/protos/Database.h"
#include "rules/core/RNG.h"

TileAllocationEntry::~TileAllocationEntry() = default;

std::unique_ptr<TileRecord> TileAllocationEntry::loadTile(const XmlNode* element) {
    auto record = std::make_unique<TileRecord>();
    xmlAttrString(element, "name", record->mName);
    if (!xmlValueInt(element, record->mCount) || record->mCount > cMaxTileCount)
        return nullptr;
    return record;
}

bool TileAllocationEntry::loadRandom(const XmlNode* element) {
    xmlAttrInt(element, "choose", mChoose);
    if (mChoose < 1)
        return false;
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element || !xmlNameEquals(child, "tile"))
            continue;
        if (std::unique_ptr<TileRecord> record = loadTile(child))
            mTiles.push_back(std::move(record));
    }
    return !mTiles.empty();
}

bool TileAllocationEntry::expand(std::vector<const TileRecord*>& out,
                                 const TileAllocationEntry& entry) {
    out.clear();
    if (entry.mType != cSingleTile && entry.mType != cRandomChoice)
        return false;
    for (const auto& record : entry.mTiles)
        out.push_back(record.get());
    if (entry.mType == cRandomChoice) {
        const int64_t drops = static_cast<int64_t>(out.size()) - entry.mChoose;
        for (int64_t i = 0; i < drops; ++i) {
            const uint32_t j = gRng.randInt(static_cast<uint32_t>(out.size() - 1));
            out.erase(out.begin() + j);
        }
    }
    return true;
}

TileAllocation::TileAllocation() = default;
TileAllocation::~TileAllocation() = default;

bool TileAllocation::load(const XmlNode* element) {
    if (!element)
        return false;
    xmlAttrBool(element, "randomize", mRandomize);
    std::vector<const TileRecord*> expansion;
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        auto entry = std::make_unique<TileAllocationEntry>();
        if (xmlNameEquals(child, "tile")) {
            std::unique_ptr<TileRecord> record = TileAllocationEntry::loadTile(child);
            if (!record)
                continue;
            entry->mTiles.push_back(std::move(record));
        } else if (xmlNameEquals(child, "random")) {
            entry->mType = TileAllocationEntry::cRandomChoice;
            if (!entry->loadRandom(child))
                continue;
        } else {
            continue;
        }
        // Every tile must name a proto, also those this expansion leaves out.
        for (const auto& record : entry->mTiles)
            if (Database::getProtoIdByName(record->mName) < 0)
                return false;
        TileAllocationEntry::expand(expansion, *entry);
        for (const TileRecord* record : expansion)
            mProtoIds.push_back(Database::getProtoIdByName(record->mName));
        mEntries.push_back(std::move(entry));
    }
    return true;
}

int32_t TileAllocation::countTile(std::string_view name) const {
    std::vector<const TileRecord*> expansion;
    for (const auto& entry : mEntries) {
        if (entry->mType == TileAllocationEntry::cRandomChoice)
            return 0;
        TileAllocationEntry::expand(expansion, *entry);
        for (const TileRecord* record : expansion)
            if (record->mName == name)
                return record->mCount;
    }
    return 0;
}
