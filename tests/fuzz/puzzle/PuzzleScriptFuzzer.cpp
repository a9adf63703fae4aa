// Fuzzes a puzzle's "script" element: parsed into nodes, built into a
// running script under a scene that answers it (so "sendTag" and
// "setSection" results act), which then hears each event once. The nodes
// and the script are freed every run.

#include "content/XMLHelper.h"
#include "puzzle/PuzzleScriptLoader.h"
#include "puzzle/PuzzleScriptRuntime.h"
#include "../../rules/NullGameScene.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// A scene that only hands out the script under test.
class ScriptScene : public NullGameScene {
public:
    PuzzleScript* getPuzzleScript() const override { return mScript; }

    PuzzleScript* mScript = nullptr;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    XMLHelper holder;
    holder.setText(std::string_view(reinterpret_cast<const char*>(data), size));
    XmlNode* root = nullptr;
    if (!holder.parse(root) || !root)
        return 0;
    PuzzleScriptLoader loader;
    PuzzleScriptNodeList nodes;
    loader.loadPuzzleScriptNodes(root, nodes);
    if (auto script = PuzzleScriptRuntime::create(&nodes)) {
        ScriptScene scene;
        scene.mScript = script.get();
        gGameScene = &scene;
        script->start();
        for (const char* tag : {"", "A", "B", "T"})
            script->sendTag(tag);
        script->onUnitSelected(nullptr);
        script->onUnitDeselected();
        script->onAPRemaining(nullptr);
        script->onActionPerformed(nullptr);
        script->onUndo(true);
        script->onSubmit();
        gGameScene = nullptr;
    }
    loader.deletePuzzleScriptNodes(nodes);
    return 0;
}
