#pragma once

// The parsed form of a puzzle file's "script" element: one PuzzleScriptNode
// per trigger element and one PuzzleResultNode per result element, with
// every attribute kept as text. The catalogue entry owns the top-level nodes
// for the rest of the run; each time the puzzle is played the run-time builds
// live triggers and results from them (PuzzleScriptTrigger::create,
// PuzzleScriptResult::create). Element and attribute names match exactly,
// case-sensitively.

#include "content/PuzzleScriptSupport.h"
#include "content/XMLHelper.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The trigger elements by type; 0 is no trigger.
enum PuzzleTriggerType : int32_t {
    cTriggerNone = 0,
    cTriggerSection = 1,
    cTriggerStart = 2,
    cTriggerNamedTag = 3,
    cTriggerMultiTag = 4,
    cTriggerUntilTag = 5,
    cTriggerUnitDeployed = 6,
    cTriggerUnitMoved = 7,
    cTriggerUnitAttacked = 8,
    cTriggerUnitHealed = 9,
    cTriggerUnitEquipped = 10,
    cTriggerSpell = 11,
    cTriggerAP = 12,
    cTriggerAPRemaining = 13,
    cTriggerUnitSelected = 14,
    cTriggerUnitDeselected = 15,
    cTriggerKO = 16,
    cTriggerStomp = 17,
    cTriggerUndo = 18,
    cTriggerSubmit = 19,
};

// The result elements by type; 0 is no result.
enum PuzzleResultType : int32_t {
    cResultNone = 0,
    cResultVictory = 1,
    cResultDefeat = 2,
    cResultShowDialog = 3,
    cResultHideDialog = 4,
    cResultHideAllDialogs = 5,
    cResultSendTag = 6,
    cResultSetSection = 7,
    cResultReset = 8,
    cResultShowUI = 9,
    cResultHideUI = 10,
    cResultShowArrow = 11,
    cResultHideArrow = 12,
    cResultSendToLogin = 13,
    cResultSendToMainMenu = 14,
};

// Element names, indexed by type (entry 0 unused).
extern const std::array<std::string_view, 20> cTriggerElementNames;
extern const std::array<std::string_view, 15> cResultElementNames;

// The type of an element name; 0 for a name not in the table.
int32_t triggerTypeForName(std::string_view name);
int32_t resultTypeForName(std::string_view name);

using PuzzleAttributes = std::map<std::string, std::string, std::less<>>;

// An attribute's text; empty when absent.
std::string attributeText(const PuzzleAttributes& attributes, std::string_view name);

class PuzzleResultNode {
public:
    // Reads a result element: its type, attributes and own text (the child
    // elements are not read). False for a name not in the result table.
    bool load(const XmlNode* element);

    int32_t mType = cResultNone;
    PuzzleAttributes mAttributes;
    std::string mText;
};

class PuzzleScriptNode {
public:
    // Reads a trigger element and everything below it. "section" and
    // "untilTag" hold trigger elements, every other trigger holds result
    // elements. A child that fails is dropped and fails this node; the other
    // children are still read.
    bool load(const XmlNode* element);

    int32_t mType = cTriggerNone;
    PuzzleAttributes mAttributes;
    std::vector<std::unique_ptr<PuzzleScriptNode>> mChildren;
    std::vector<std::unique_ptr<PuzzleResultNode>> mResults;
};
