#pragma once

// The triggers of named tags: "onNamedTag" fires on every tag of its name;
// "multiTag" fires once every tag of its list has arrived, and then on every
// later tag of any name until it is reset.

#include "puzzle/PuzzleScriptTrigger.h"

#include <map>

class PuzzleTagTrigger : public PuzzleScriptTrigger {
public:
    // The results, then "tagName" (empty when absent).
    bool load(const PuzzleScriptNode* node) override;
    void onNamedTag(const std::string& tag) override;

private:
    std::string mTagName;
};

class PuzzleMultiTagTrigger : public PuzzleScriptTrigger {
public:
    // The results, then "tagNames" split at each ";": every piece before a
    // ";" is a tag (an empty one too), the piece after the last ";" only
    // when it is not empty.
    bool load(const PuzzleScriptNode* node) override;
    // Every tag back to not received (the results are not reset).
    void reset() override;
    void onNamedTag(const std::string& tag) override;

    // Each tag of the list with whether it has arrived.
    const std::map<std::string, bool>& tags() const { return mTags; }

private:
    std::map<std::string, bool> mTags;
};
