#include "puzzle/PuzzleDialogResults.h"

#include "puzzle/PuzzleDialogManager.h"
#include "puzzle/PuzzleScriptNode.h"

bool PuzzleShowDialogResult::load(const PuzzleResultNode* node) {
    PuzzleDialogManager* dialogs = PuzzleDialogManager::current();
    if (node == nullptr || dialogs == nullptr)
        return false;
    dialogs->addDialog(node);
    mName = attributeText(node->mAttributes, "name");
    return true;
}

void PuzzleShowDialogResult::execute() {
    if (PuzzleDialogManager* dialogs = PuzzleDialogManager::current())
        dialogs->showDialog(mName);
}

void PuzzleShowDialogResult::reset() {
    if (PuzzleDialogManager* dialogs = PuzzleDialogManager::current())
        dialogs->hideDialog(mName);
}

bool PuzzleHideDialogResult::load(const PuzzleResultNode* node) {
    if (node == nullptr)
        return false;
    mName = attributeText(node->mAttributes, "name");
    return true;
}

void PuzzleHideDialogResult::execute() {
    if (PuzzleDialogManager* dialogs = PuzzleDialogManager::current())
        dialogs->hideDialog(mName);
}

void PuzzleHideAllDialogsResult::execute() {
    if (PuzzleDialogManager* dialogs = PuzzleDialogManager::current())
        dialogs->hideAllDialogs();
}

bool PuzzleShowArrowResult::load(const PuzzleResultNode* node) {
    PuzzleDialogManager* dialogs = PuzzleDialogManager::current();
    if (node == nullptr || dialogs == nullptr)
        return false;
    mIndex = dialogs->addArrow(node);
    return mIndex >= 0;
}

void PuzzleShowArrowResult::execute() {
    if (PuzzleDialogManager* dialogs = PuzzleDialogManager::current())
        dialogs->showArrow(mIndex);
}

void PuzzleShowArrowResult::reset() {
    if (PuzzleDialogManager* dialogs = PuzzleDialogManager::current())
        dialogs->hideArrow();
}

void PuzzleHideArrowResult::execute() {
    if (PuzzleDialogManager* dialogs = PuzzleDialogManager::current())
        dialogs->hideArrow();
}
