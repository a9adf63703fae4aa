#pragma once

// The expected CRC-32 of the data files the program ships, and the loader of
// those files. The shipped table is generated at build time from the files
// in data/ (tools/data-crc-table), so an edited or damaged file is refused at
// run time; tests put their own table in its place.

#include "content/XMLHelper.h"

#include <cstdint>
#include <span>
#include <string_view>

struct DataFileCrc {
    std::string_view name; // data name, as loadXmlFile takes it
    uint32_t crc;          // zlib crc32 of the whole file, started from 0
};

// The table generated from data/ by the build.
std::span<const DataFileCrc> shippedDataFileCrcs();

// The table in use: the shipped one unless replaced. The replacement table
// must outlive its use; an empty span restores the shipped table.
std::span<const DataFileCrc> dataFileCrcTable();
void setDataFileCrcTable(std::span<const DataFileCrc> table);

// The expected CRC-32 of data name; false when the table has none.
bool expectedDataFileCrc(std::string_view name, uint32_t& outCrc);

// loadXmlFile of name.xml checked against the table. A file without an entry
// cannot be verified and is refused like a damaged one.
bool loadCheckedXmlFile(std::string_view name, XmlNode*& outRoot, XMLHelper& holder);
