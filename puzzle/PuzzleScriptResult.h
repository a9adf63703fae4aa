#pragma once

// What a puzzle script does when a trigger fires, built from one result node.
// Results act on the scene on screen through gGameScene and its running
// script; with no scene (or no script) they do nothing. They never report
// errors. Every result element has its class; "showDialog" and "showArrow"
// build only on a scene with its dialog layer.

#include <memory>

class PuzzleResultNode;

class PuzzleScriptResult {
public:
    // The result class of the node's type, loaded from the node; null for a
    // null node, a type without a class or a load that fails.
    static std::unique_ptr<PuzzleScriptResult> create(const PuzzleResultNode* node);

    PuzzleScriptResult();
    PuzzleScriptResult(const PuzzleScriptResult&) = delete;
    PuzzleScriptResult& operator=(const PuzzleScriptResult&) = delete;
    virtual ~PuzzleScriptResult();

    // Reads the node's attributes; true here.
    virtual bool load(const PuzzleResultNode* node);
    // Acts when the owning trigger fires; nothing here.
    virtual void execute();
    // Undoes what it shows when the owning trigger is reset; nothing here.
    virtual void reset();
};
