#pragma once

// The one registry of entity protos, read once from "database.xml".
//
// A proto's id is its position in document order, fixed at load. Saved games
// carry ids; a loaded game re-resolves them by name and records the changes
// in the remap, which getProto consults first. Names compare exactly.
// Main thread only.

#include "content/XMLHelper.h"
#include "content/protos/ProtoStore.h"
#include "rules/core/NameIndex.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class Database {
public:
    // Loads "database.xml" (CRC-checked); false when the file cannot be used
    // or a proto refuses its element. Every named proto stays made; those
    // after the one that refused have their names only.
    static bool init();
    // The two passes over a parsed root: names and ids, then every proto in
    // full. Replaces what was loaded before; false for a null root.
    static bool loadRoot(const XmlNode* root);
    // Deletes every proto and empties the remap.
    static void clear();

    // The proto of a saved or current id; null when it names none.
    static ProtoEntity* getProto(int32_t id);
    // The id of the proto of exactly that name, or -1.
    static int32_t getProtoIdByName(std::string_view name);
    // The list position of the proto of exactly that name, or -1.
    static int32_t getProtoIndexByName(std::string_view name);
    static int32_t protoCount();

    // Makes a saved id name the proto at position (the fix-up of a loaded game).
    static void setRemap(int32_t savedId, int32_t position);
    // The remap as it stands, and putting back one taken earlier (a load
    // that fails undoes its fix-up).
    static std::map<int32_t, int32_t> getRemap();
    static void restoreRemap(std::map<int32_t, int32_t> remap);

private:
    static Database& instance();
    // Builds the name index over the names of the protos, by position.
    void indexNames(std::span<const std::string_view> names);

    // The protos in one block; mProtos lists those made, by id.
    ProtoStore mStore;
    std::vector<ProtoEntity*> mProtos;
    // Name to position of the first proto of that name, so that references
    // by name do not scan the list. The index reads its names from one block
    // of copies, close together rather than spread over the protos.
    std::string mNameBytes;
    std::vector<NameIndex<int32_t>::Entry> mNames;
    NameIndex<int32_t> mPositionByName;
    std::map<int32_t, int32_t> mRemap;
};
