#include "content/DataFileCrc.h"

#include <algorithm>

namespace {

std::span<const DataFileCrc>& replacementTable() {
    static std::span<const DataFileCrc> table;
    return table;
}

} // namespace

std::span<const DataFileCrc> dataFileCrcTable() {
    const std::span<const DataFileCrc> replacement = replacementTable();
    return replacement.empty() ? shippedDataFileCrcs() : replacement;
}

void setDataFileCrcTable(std::span<const DataFileCrc> table) {
    replacementTable() = table;
}

bool expectedDataFileCrc(std::string_view name, uint32_t& outCrc) {
    const std::span<const DataFileCrc> table = dataFileCrcTable();
    const auto found = std::find_if(table.begin(), table.end(), [name](const DataFileCrc& entry) {
        return entry.name == name;
    });
    if (found == table.end())
        return false;
    outCrc = found->crc;
    return true;
}

bool loadCheckedXmlFile(std::string_view name, XmlNode*& outRoot, XMLHelper& holder) {
    uint32_t crc = 0;
    if (!expectedDataFileCrc(name, crc))
        return false;
    return loadXmlFile(name, outRoot, holder, "xml", crc, true);
}
