#include "scene/widgets/TauntPack.h"

#include "content/CatalogueLoader.h"
#include "content/LocalizedStrings.h"

std::vector<std::unique_ptr<TauntPack>> gTauntPacks;

bool TauntPack::load(const XmlNode* element) {
    if (element == nullptr)
        return false;
    for (const XmlNode* child = element->first_node(); child != nullptr;
         child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (xmlNameEquals(child, "icon"))
            icon = catalogueText(child);
        else if (xmlNameEquals(child, "SKU"))
            SKU = catalogueText(child);
        else if (xmlNameEquals(child, "count"))
            xmlValueInt(child, count);
    }
    const std::string key = "TauntPack_" + SKU + "_";
    displayName = localizedStringOrDefault(key + "DisplayName", "");
    description = localizedStringOrDefault(key + "Description", "");
    return true;
}

bool loadTauntPacks() {
    return loadCatalogue("TauntPacks", "TauntPack", gTauntPacks);
}
