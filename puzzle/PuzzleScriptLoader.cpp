#include "puzzle/PuzzleScriptLoader.h"

#include "puzzle/PuzzleScriptNode.h"

#include "content/settings/SettingsManager.h"

#include <memory>

namespace {

std::array<int32_t, 4>& cachedIndices() {
    static std::array<int32_t, 4> indices = {-1, -1, -1, -1};
    return indices;
}

} // namespace

bool PuzzleScriptLoader::loadPuzzleScriptNodes(const XmlNode* script, PuzzleScriptNodeList& nodes) {
    if (!script)
        return false;
    bool loaded = true;
    for (const XmlNode* child = script->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        auto node = std::make_unique<PuzzleScriptNode>();
        if (node->load(child))
            nodes.push_back(node.release());
        else
            loaded = false;
    }
    return loaded;
}

void PuzzleScriptLoader::deletePuzzleScriptNodes(PuzzleScriptNodeList& nodes) {
    for (PuzzleScriptNode* node : nodes)
        delete node;
    nodes.clear();
}

void PuzzleScriptLoader::cacheTutorialCategoryIndices() {
    const SettingsManager& settings = SettingsManager::instance();
    for (size_t i = 0; i < cTutorialCategoryNames.size(); ++i)
        cachedIndices()[i] = settings.categoryIndexForName(cTutorialCategoryNames[i]);
}

void installPuzzleScriptSupport() {
    // Never destroyed: the process-wide catalogue frees its nodes through it
    // at exit, whatever the order of the static destructors.
    static PuzzleScriptLoader* const loader = new PuzzleScriptLoader();
    setPuzzleScriptSupport(loader);
}

const std::array<int32_t, 4>& tutorialCategoryIndices() {
    return cachedIndices();
}
