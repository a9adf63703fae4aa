#include "puzzle/PuzzleSectionTrigger.h"

#include "puzzle/PuzzleScriptNode.h"

bool PuzzleSectionTrigger::load(const PuzzleScriptNode* node) {
    return loadSection(node, "name");
}

bool PuzzleSectionTrigger::loadSection(const PuzzleScriptNode* node,
                                       std::string_view nameAttribute) {
    if (!node)
        return false;
    const auto name = node->mAttributes.find(nameAttribute);
    if (name == node->mAttributes.end())
        return false;
    mName = name->second;
    bool loaded = true;
    for (const std::unique_ptr<PuzzleScriptNode>& childNode : node->mChildren) {
        if (std::unique_ptr<PuzzleScriptTrigger> child = create(childNode.get()))
            mChildren.push_back(std::move(child));
        else
            loaded = false;
    }
    return loaded;
}

void PuzzleSectionTrigger::reset() {
    mActive = false;
    forward([](PuzzleScriptTrigger& child) { child.reset(); });
}

void PuzzleSectionTrigger::setSection(const std::string& name) {
    mActive = name == mName;
}

void PuzzleSectionTrigger::onStart() {
    forwardWhileActive([](PuzzleScriptTrigger& child) { child.onStart(); });
}

void PuzzleSectionTrigger::onUnitAction(CandidateAction* action) {
    forwardWhileActive([action](PuzzleScriptTrigger& child) { child.onUnitAction(action); });
}

void PuzzleSectionTrigger::onKO(Entity* entity) {
    forwardWhileActive([entity](PuzzleScriptTrigger& child) { child.onKO(entity); });
}

void PuzzleSectionTrigger::onStomp(Entity* entity) {
    forwardWhileActive([entity](PuzzleScriptTrigger& child) { child.onStomp(entity); });
}

void PuzzleSectionTrigger::onNamedTag(const std::string& tag) {
    forwardWhileActive([&tag](PuzzleScriptTrigger& child) { child.onNamedTag(tag); });
}

void PuzzleSectionTrigger::onUnitSelected(Entity* entity) {
    forwardWhileActive([entity](PuzzleScriptTrigger& child) { child.onUnitSelected(entity); });
}

void PuzzleSectionTrigger::onUnitDeselected() {
    forwardWhileActive([](PuzzleScriptTrigger& child) { child.onUnitDeselected(); });
}

void PuzzleSectionTrigger::onAPRemaining(Player* player) {
    forwardWhileActive([player](PuzzleScriptTrigger& child) { child.onAPRemaining(player); });
}

void PuzzleSectionTrigger::onUndo(bool wholeTurn) {
    forwardWhileActive([wholeTurn](PuzzleScriptTrigger& child) { child.onUndo(wholeTurn); });
}

void PuzzleSectionTrigger::onSubmit() {
    forwardWhileActive([](PuzzleScriptTrigger& child) { child.onSubmit(); });
}

PuzzleUntilTagTrigger::PuzzleUntilTagTrigger() {
    mActive = true;
}

bool PuzzleUntilTagTrigger::load(const PuzzleScriptNode* node) {
    return loadSection(node, "tagName");
}

void PuzzleUntilTagTrigger::reset() {
    PuzzleSectionTrigger::reset();
    mActive = true;
}

void PuzzleUntilTagTrigger::setSection(const std::string& name) {
    forwardWhileActive([&name](PuzzleScriptTrigger& child) { child.setSection(name); });
}

void PuzzleUntilTagTrigger::onNamedTag(const std::string& tag) {
    if (tag == mName)
        mActive = false;
    else
        forward([&tag](PuzzleScriptTrigger& child) { child.onNamedTag(tag); });
}
