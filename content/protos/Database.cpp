#include "content/protos/Database.h"

#include "content/DataFileCrc.h"
#include "content/protos/ProtoFields.h"

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

    // Pass 1, one walk over the root's children: the name of every entity
    // element. Each named entity gets the next id, so references by name
    // resolve in pass 2 whatever the order of the file; an element without
    // a name makes no proto.
    std::vector<const XmlNode*> elements;
    std::vector<std::string_view> names;
    for (const XmlNode* element = root->first_node(); element; element = element->next_sibling()) {
        if (element->type() != rapidxml::node_element || !xmlNameEquals(element, "entity"))
            continue;
        if (const XmlAttribute* name = xmlFindAttribute(element, "name")) {
            elements.push_back(element);
            names.push_back(xmlValueView(name));
        }
    }
    database.indexNames(names);

    // Pass 2: each proto made and read in full in turn. After a proto that
    // refuses its element the rest are made with their names only.
    database.mStore.reset(elements.size());
    std::vector<ProtoEntity*>& protos = database.mProtos;
    protos.reserve(elements.size());
    bool loaded = true;
    for (size_t i = 0; i < elements.size(); ++i) {
        ProtoEntity* proto = database.mStore.make();
        proto->mName.assign(names[i]);
        proto->mId = static_cast<int32_t>(i);
        protos.push_back(proto);
        loaded = loaded && proto->load(elements[i]);
    }
    return loaded;
}

void Database::indexNames(std::span<const std::string_view> names) {
    size_t nameBytes = 0;
    for (const std::string_view name : names)
        nameBytes += name.size();
    mNameBytes.reserve(nameBytes); // the views below need the block to stay put
    mNames.reserve(names.size());
    for (const std::string_view name : names) {
        const size_t start = mNameBytes.size();
        mNameBytes += name;
        mNames.push_back(
            {std::string_view(mNameBytes).substr(start), static_cast<int32_t>(mNames.size())});
    }
    mPositionByName.assign(mNames);
}

void Database::clear() {
    instance().mPositionByName.clear();
    instance().mNames.clear();
    instance().mNameBytes.clear();
    instance().mProtos.clear();
    instance().mStore.reset(0);
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
