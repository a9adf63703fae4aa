#include "puzzle/PuzzleTagTrigger.h"

#include "puzzle/PuzzleScriptNode.h"

#include <algorithm>

bool PuzzleTagTrigger::load(const PuzzleScriptNode* node) {
    if (!PuzzleScriptTrigger::load(node))
        return false;
    mTagName = attributeText(node->mAttributes, "tagName");
    return true;
}

void PuzzleTagTrigger::onNamedTag(const std::string& tag) {
    if (tag == mTagName)
        fire();
}

bool PuzzleMultiTagTrigger::load(const PuzzleScriptNode* node) {
    if (!PuzzleScriptTrigger::load(node))
        return false;
    const std::string names = attributeText(node->mAttributes, "tagNames");
    size_t start = 0;
    for (size_t end = names.find(';'); end != std::string::npos; end = names.find(';', start)) {
        mTags[names.substr(start, end - start)] = false;
        start = end + 1;
    }
    if (start < names.size())
        mTags[names.substr(start)] = false;
    return true;
}

void PuzzleMultiTagTrigger::reset() {
    for (auto& [tag, received] : mTags)
        received = false;
}

void PuzzleMultiTagTrigger::onNamedTag(const std::string& tag) {
    if (const auto found = mTags.find(tag); found != mTags.end())
        found->second = true;
    if (std::all_of(mTags.begin(), mTags.end(), [](const auto& entry) { return entry.second; }))
        fire();
}
