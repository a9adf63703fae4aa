#include "puppet/PuppetReplacement.h"

#include "puppet/PuppetRegistry.h"

#include <algorithm>
#include <string>

void loadReplacements(const XmlNode* element, PuppetReplacements& out) {
    std::string category;
    std::string attachment;
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (!xmlNameEquals(child, "Replacement") || !xmlAttrString(child, "category", category) ||
            !xmlAttrString(child, "attachment", attachment))
            continue;
        PuppetReplacement pair;
        pair.mCategory = PuppetRegistry::categoryIndex(category);
        if (!attachment.empty())
            pair.mAttachment = PuppetRegistry::loadAttachment(attachment);
        out.push_back(pair);
    }
}

int32_t pickReplacement(const PuppetReplacements& replacements,
                        const std::vector<int32_t>& activeCategories, int32_t fallback) {
    for (const PuppetReplacement& pair : replacements)
        if (std::find(activeCategories.begin(), activeCategories.end(), pair.mCategory) !=
            activeCategories.end())
            return pair.mAttachment;
    return fallback;
}
