#include "puzzle/PuzzleScriptResult.h"

#include "puzzle/PuzzleScriptNode.h"
#include "puzzle/PuzzleSendTagResult.h"
#include "puzzle/PuzzleSetSectionResult.h"

namespace {

std::unique_ptr<PuzzleScriptResult> newResult(int32_t type) {
    switch (type) {
    case cResultSendTag:
        return std::make_unique<PuzzleSendTagResult>();
    case cResultSetSection:
        return std::make_unique<PuzzleSetSectionResult>();
    default:
        return nullptr;
    }
}

} // namespace

std::unique_ptr<PuzzleScriptResult> PuzzleScriptResult::create(const PuzzleResultNode* node) {
    if (!node)
        return nullptr;
    std::unique_ptr<PuzzleScriptResult> result = newResult(node->mType);
    if (!result || !result->load(node))
        return nullptr;
    return result;
}

PuzzleScriptResult::PuzzleScriptResult() = default;

PuzzleScriptResult::~PuzzleScriptResult() = default;

bool PuzzleScriptResult::load(const PuzzleResultNode* /*node*/) {
    return true;
}

void PuzzleScriptResult::execute() {}

void PuzzleScriptResult::reset() {}
