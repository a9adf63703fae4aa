// Fuzzes the catalogue records' reading of parsed XML: every child of the
// root is read as the record its name gives ("civ", "board", "puzzle",
// "color", "category"), then the tile allocations are expanded and counted.

#include "content/XMLHelper.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void loadDatabase() {
    XMLHelper holder;
    holder.setText(R"(<Database><entity name="knight"/><entity name="archer"/>
        <entity name="crystal"/></Database>)");
    XmlNode* root = nullptr;
    if (holder.parse(root))
        Database::loadRoot(root);
}

void exercise(const TileAllocation* allocation) {
    if (!allocation)
        return;
    std::vector<const TileRecord*> out;
    for (const auto& entry : allocation->mEntries)
        TileAllocationEntry::expand(out, *entry);
    allocation->countTile("knight");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static XMLHelper* const holder = new XMLHelper(); // 64 KB pool: not on the stack
    static const bool databaseLoaded = (loadDatabase(), true);
    (void)databaseLoaded;
    holder->setText(std::string_view(reinterpret_cast<const char*>(data), size));
    XmlNode* root = nullptr;
    SettingsManager& settings = SettingsManager::instance();
    if (holder->parse(root) && root) {
        for (const XmlNode* child = root->first_node(); child; child = child->next_sibling()) {
            if (xmlNameEquals(child, "civ")) {
                auto civ = std::make_unique<ProtoCiv>(static_cast<int32_t>(settings.mCivs.size()));
                if (civ->load(child)) {
                    exercise(civ->mTileAllocation.get());
                    settings.mCivs.push_back(std::move(civ));
                }
            } else if (xmlNameEquals(child, "board")) {
                ProtoGameBoard board;
                board.load(child);
            } else if (xmlNameEquals(child, "puzzle")) {
                ProtoPuzzle puzzle("fuzz");
                puzzle.load(child);
                exercise(puzzle.mTileAllocation.get());
            } else if (xmlNameEquals(child, "color")) {
                PlayerColor color;
                color.load(child);
            } else if (xmlNameEquals(child, "category")) {
                settings.parsePuzzleCategory(child);
            }
        }
    }
    settings.clear();
    holder->clear();
    return 0;
}
