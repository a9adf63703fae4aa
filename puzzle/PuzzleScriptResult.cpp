#include "puzzle/PuzzleScriptResult.h"

#include "puzzle/PuzzleDialogResults.h"
#include "puzzle/PuzzleSceneResults.h"
#include "puzzle/PuzzleScriptNode.h"
#include "puzzle/PuzzleSendTagResult.h"
#include "puzzle/PuzzleSetSectionResult.h"
#include "puzzle/PuzzleVictoryResult.h"

namespace {

std::unique_ptr<PuzzleScriptResult> newResult(int32_t type) {
    switch (type) {
    case cResultVictory:
    case cResultDefeat:
        return std::make_unique<PuzzleVictoryResult>();
    case cResultShowDialog:
        return std::make_unique<PuzzleShowDialogResult>();
    case cResultHideDialog:
        return std::make_unique<PuzzleHideDialogResult>();
    case cResultHideAllDialogs:
        return std::make_unique<PuzzleHideAllDialogsResult>();
    case cResultSendTag:
        return std::make_unique<PuzzleSendTagResult>();
    case cResultSetSection:
        return std::make_unique<PuzzleSetSectionResult>();
    case cResultReset:
        return std::make_unique<PuzzleResetResult>();
    case cResultShowUI:
    case cResultHideUI:
        return std::make_unique<PuzzleShowUIResult>();
    case cResultShowArrow:
        return std::make_unique<PuzzleShowArrowResult>();
    case cResultHideArrow:
        return std::make_unique<PuzzleHideArrowResult>();
    case cResultSendToLogin:
        return std::make_unique<PuzzleSendToResult>(true);
    case cResultSendToMainMenu:
        return std::make_unique<PuzzleSendToResult>(false);
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
