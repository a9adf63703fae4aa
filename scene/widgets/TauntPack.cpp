#include "scene/widgets/TauntPack.h"

#include "content/DataFileCrc.h"
#include "content/LocalizedStrings.h"

#include <cstdio>

std::vector<std::unique_ptr<TauntPack>> gTauntPacks;

namespace {

std::string nodeText(const XmlNode* node) {
    return std::string(node->value(), node->value_size());
}

} // namespace

bool TauntPack::load(const XmlNode* element) {
    if (element == nullptr)
        return false;
    for (const XmlNode* child = element->first_node(); child != nullptr;
         child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (xmlNameEquals(child, "icon"))
            icon = nodeText(child);
        else if (xmlNameEquals(child, "SKU"))
            SKU = nodeText(child);
        else if (xmlNameEquals(child, "count"))
            xmlValueInt(child, count);
    }
    const std::string key = "TauntPack_" + SKU + "_";
    displayName = localizedStringOrDefault(key + "DisplayName", "");
    description = localizedStringOrDefault(key + "Description", "");
    return true;
}

bool loadTauntPacks() {
    gTauntPacks.clear();
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!loadCheckedXmlFile("TauntPacks", root, holder) || root == nullptr)
        return false;
    for (const XmlNode* element = root->first_node("TauntPack"); element != nullptr;
         element = element->next_sibling("TauntPack")) {
        auto pack = std::make_unique<TauntPack>();
        if (!pack->load(element)) {
            std::printf("ERROR: failed to load a TauntPack.\n");
            continue;
        }
        gTauntPacks.push_back(std::move(pack));
    }
    return true;
}
