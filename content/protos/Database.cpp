#include "content/protos/Database.h"

#include "content/DataFileCrc.h"

#include <cstdio>
#include <utility>

Database& Database::instance() {
    static Database database;
    return database;
}

bool Database::init() {
    std::printf("Initializing database.\n");
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!loadCheckedXmlFile("database", root, holder))
        return false;
    const bool loaded = loadRoot(root);
    std::fflush(stdout);
    return loaded;
}

bool Database::loadRoot(const XmlNode* root) {
    clear();
    if (!root) // an empty file holds no usable database
        return false;
    Database& database = instance();
    std::vector<ProtoEntity*>& protos = database.mProtos;
    const auto isEntity = [](const XmlNode* element) {
        return element->type() == rapidxml::node_element && xmlNameEquals(element, "entity");
    };
    // The entity elements, found in one walk over the root's children: their
    // count sizes the store before any proto is made.
    std::vector<const XmlNode*> entities;
    for (const XmlNode* element = root->first_node(); element; element = element->next_sibling())
        if (isEntity(element))
            entities.push_back(element);
    database.mStore = std::make_unique<ProtoEntity[]>(entities.size());
    protos.reserve(entities.size());

    // Pass 1: every named entity gets the next id, so references by name
    // resolve in pass 2 whatever the order of the file. An element without
    // a name leaves its proto untouched for the next one.
    std::vector<std::pair<const XmlNode*, ProtoEntity*>> named;
    named.reserve(entities.size());
    for (const XmlNode* element : entities) {
        ProtoEntity* proto = &database.mStore[protos.size()];
        if (!proto->loadName(element))
            continue;
        proto->mId = static_cast<int32_t>(protos.size());
        named.emplace_back(element, proto);
        protos.push_back(proto);
    }

    database.indexNames();

    // Pass 2: the full read.
    for (const auto& [element, proto] : named)
        if (!proto->load(element))
            return false;
    return true;
}

void Database::indexNames() {
    size_t nameBytes = 0;
    for (const auto& proto : mProtos)
        nameBytes += proto->mName.size();
    mNameBytes.reserve(nameBytes); // the views below need the block to stay put
    mNames.reserve(mProtos.size());
    for (const auto& proto : mProtos) {
        const size_t start = mNameBytes.size();
        mNameBytes += proto->mName;
        mNames.push_back({std::string_view(mNameBytes).substr(start), proto->mId});
    }
    mPositionByName.assign(mNames);
}

void Database::clear() {
    instance().mPositionByName.clear();
    instance().mNames.clear();
    instance().mNameBytes.clear();
    instance().mProtos.clear();
    instance().mStore.reset();
    instance().mRemap.clear();
}

ProtoEntity* Database::getProto(int32_t id) {
    const Database& database = instance();
    const auto remapped = database.mRemap.find(id);
    const int32_t position = remapped != database.mRemap.end() ? remapped->second : id;
    if (position < 0 || position >= static_cast<int32_t>(database.mProtos.size()))
        return nullptr;
    return database.mProtos[position];
}

int32_t Database::getProtoIndexByName(std::string_view name) {
    const auto* found = instance().mPositionByName.find(name);
    return found ? found->value : -1;
}

int32_t Database::getProtoIdByName(std::string_view name) {
    // Ids are list positions.
    return getProtoIndexByName(name);
}

int32_t Database::protoCount() {
    return static_cast<int32_t>(instance().mProtos.size());
}

void Database::setRemap(int32_t savedId, int32_t position) {
    instance().mRemap[savedId] = position;
}

std::map<int32_t, int32_t> Database::getRemap() {
    return instance().mRemap;
}

void Database::restoreRemap(std::map<int32_t, int32_t> remap) {
    instance().mRemap = std::move(remap);
}
