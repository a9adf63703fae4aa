#pragma once

// Replacement pairs: under an active replacement category a puppet part, or an
// attachment-override tag, shows another attachment. Both read the pairs from
// "Replacement" children and pick from them by the same rule.

#include "content/XMLHelper.h"

#include <cstdint>
#include <vector>

struct PuppetReplacement {
    int32_t mCategory = -1;   // PuppetRegistry::categoryIndex
    int32_t mAttachment = -1; // -1: the category shows nothing
};

using PuppetReplacements = std::vector<PuppetReplacement>;

// Appends a pair for every "Replacement" child of element that has both
// "category" and "attachment"; an empty "attachment" gives -1.
void loadReplacements(const XmlNode* element, PuppetReplacements& out);

// The attachment of the first pair, in file order, whose category is among the
// active ones; fallback when none is.
int32_t pickReplacement(const PuppetReplacements& replacements,
                        const std::vector<int32_t>& activeCategories, int32_t fallback);
