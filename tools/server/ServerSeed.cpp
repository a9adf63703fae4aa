#include "tools/server/ServerSeed.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

std::string requiredAttribute(const XmlNode& element, const char* name) {
    std::string value;
    if (!xmlAttrString(&element, name, value))
        throw ServerDatabaseError(std::string("seed: <") + element.name() + "> without " + name);
    return value;
}

void seedSetting(ServerDatabase& database, const XmlNode& element) {
    database.setSetting(requiredAttribute(element, "name"), requiredAttribute(element, "value"));
}

} // namespace

const std::map<std::string, SeedHandler, std::less<>>& seedHandlers() {
    static const std::map<std::string, SeedHandler, std::less<>> handlers = {
        {"Setting", &seedSetting},
    };
    return handlers;
}

void applyServerSeed(ServerDatabase& database, const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream)
        throw ServerDatabaseError("cannot read the seed " + file.string());
    std::ostringstream bytes;
    bytes << stream.rdbuf();

    XMLHelper holder;
    holder.setText(bytes.str());
    XmlNode* root = nullptr;
    if (!holder.parse(root) || (root = holder.document().first_node()) == nullptr ||
        !xmlNameEquals(root, "ServerSeed"))
        throw ServerDatabaseError("the seed " + file.string() + " is not a <ServerSeed> file");
    for (const XmlNode* element = root->first_node(); element != nullptr;
         element = element->next_sibling()) {
        if (element->type() != rapidxml::node_element)
            continue;
        const auto handler =
            seedHandlers().find(std::string_view(element->name(), element->name_size()));
        if (handler == seedHandlers().end())
            throw ServerDatabaseError("seed: unknown element <" +
                                      std::string(element->name(), element->name_size()) + ">");
        handler->second(database, *element);
    }
}
