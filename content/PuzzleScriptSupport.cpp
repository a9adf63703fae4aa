#include "content/PuzzleScriptSupport.h"

namespace {

PuzzleScriptSupport*& installedSupport() {
    static PuzzleScriptSupport* support = nullptr;
    return support;
}

} // namespace

PuzzleScriptSupport::~PuzzleScriptSupport() = default;

void setPuzzleScriptSupport(PuzzleScriptSupport* support) {
    installedSupport() = support;
}

PuzzleScriptSupport* puzzleScriptSupport() {
    return installedSupport();
}

bool loadPuzzleScriptNodes(const XmlNode* script, PuzzleScriptNodeList& nodes) {
    PuzzleScriptSupport* support = installedSupport();
    return support && support->loadPuzzleScriptNodes(script, nodes);
}

void deletePuzzleScriptNodes(PuzzleScriptNodeList& nodes) {
    if (PuzzleScriptSupport* support = installedSupport())
        support->deletePuzzleScriptNodes(nodes);
}

void cacheTutorialCategoryIndices() {
    if (PuzzleScriptSupport* support = installedSupport())
        support->cacheTutorialCategoryIndices();
}
