#include "puzzle/PuzzleScriptNode.h"

#include <algorithm>

const std::array<std::string_view, 20> cTriggerElementNames = {
    "",
    "section",
    "onStart",
    "onNamedTag",
    "multiTag",
    "untilTag",
    "onUnitDeployed",
    "onUnitMoved",
    "onUnitAttacked",
    "onUnitHealed",
    "onUnitEquipped",
    "onSpell",
    "onAP",
    "onAPRemaining",
    "onUnitSelected",
    "onUnitDeselected",
    "onKO",
    "onStomp",
    "onUndo",
    "onSubmit",
};

const std::array<std::string_view, 15> cResultElementNames = {
    "",          "victory",     "defeat",         "showDialog", "hideDialog", "hideAllDialogs",
    "sendTag",   "setSection",  "reset",          "showUI",     "hideUI",     "showArrow",
    "hideArrow", "sendToLogin", "sendToMainMenu",
};

namespace {

template <size_t N>
int32_t typeForName(const std::array<std::string_view, N>& names, std::string_view name) {
    if (name.empty())
        return 0;
    const auto found = std::find(names.begin() + 1, names.end(), name);
    return found != names.end() ? static_cast<int32_t>(found - names.begin()) : 0;
}

std::string_view nameOf(const XmlNode* element) {
    return {element->name(), element->name_size()};
}

// Every attribute as written; a name given twice keeps the last value.
void readAttributes(const XmlNode* element, PuzzleAttributes& attributes) {
    for (const XmlAttribute* attribute = element->first_attribute(); attribute;
         attribute = attribute->next_attribute())
        attributes[std::string(attribute->name(), attribute->name_size())] =
            std::string(attribute->value(), attribute->value_size());
}

bool isElement(const XmlNode* node) {
    return node->type() == rapidxml::node_element;
}

// Parses each child element of parent into a new node appended to list; a
// child that fails is dropped. False when one failed.
template <class Node>
bool loadChildren(const XmlNode* parent, std::vector<std::unique_ptr<Node>>& list) {
    bool loaded = true;
    for (const XmlNode* child = parent->first_node(); child; child = child->next_sibling()) {
        if (!isElement(child))
            continue;
        auto node = std::make_unique<Node>();
        if (node->load(child))
            list.push_back(std::move(node));
        else
            loaded = false;
    }
    return loaded;
}

} // namespace

int32_t triggerTypeForName(std::string_view name) {
    return typeForName(cTriggerElementNames, name);
}

int32_t resultTypeForName(std::string_view name) {
    return typeForName(cResultElementNames, name);
}

std::string attributeText(const PuzzleAttributes& attributes, std::string_view name) {
    const auto found = attributes.find(name);
    return found != attributes.end() ? found->second : std::string();
}

bool PuzzleResultNode::load(const XmlNode* element) {
    if (!element)
        return false;
    mType = resultTypeForName(nameOf(element));
    if (mType == cResultNone)
        return false;
    readAttributes(element, mAttributes);
    mText.assign(element->value(), element->value_size());
    return true;
}

bool PuzzleScriptNode::load(const XmlNode* element) {
    if (!element)
        return false;
    mType = triggerTypeForName(nameOf(element));
    if (mType == cTriggerNone)
        return false;
    readAttributes(element, mAttributes);
    if (mType == cTriggerSection || mType == cTriggerUntilTag)
        return loadChildren(element, mChildren);
    return loadChildren(element, mResults);
}
