// Fuzzes a puzzle's "script" element: parsed into nodes, built into a
// running script under a scene that answers it (so "sendTag" and
// "setSection" results act), which then hears each event once. The nodes
// and the script are freed every run.

#include "content/XMLHelper.h"
#include "puzzle/PuzzleScriptLoader.h"
#include "puzzle/PuzzleScriptRuntime.h"
#include "rules/GameSceneInterface.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// A scene that only hands out the script under test.
class ScriptScene : public GameSceneInterface {
public:
    cocos2d::CCNode* getSceneNode() override { return nullptr; }
    Game* getGame() const override { return nullptr; }
    void setGame(Game*) override {}
    PuzzleScript* getPuzzleScript() const override { return mScript; }
    void addEffectNode(cocos2d::CCNode*) override {}
    void clearEffectNodes() override {}
    void removeFinishedEffects() override {}
    cocos2d::CCSpriteFrame* getReachMarkerFrame() const override { return nullptr; }
    cocos2d::CCSpriteFrame* getHealMarkerFrame() const override { return nullptr; }
    void refreshPlayerBanners() override {}
    void hideTurnControls() override {}
    void onTurnStarted() override {}
    void onTileChestTapped() override {}
    void playAPRegenEffect(float) override {}
    void setPlayerHealth(int32_t, float, bool, float) override {}
    void setPlayerHealthText(int32_t, int32_t, int32_t) override {}
    void showHealthNumbers() override {}
    void hideHealthNumbers() override {}
    void setCrystalDebuffLevels(int32_t, int32_t, bool, float) override {}
    void showTurnNotice(const std::string&) override {}
    void showBigAttackBanner(const std::string&, const cocos2d::CCPoint&, float) override {}
    void showDamageFlyout(int32_t, const cocos2d::CCPoint&, float) override {}
    void showHealingFlyout(int32_t, const cocos2d::CCPoint&, float) override {}
    void showScoreFlyout(int32_t, const cocos2d::CCPoint&, float, float) override {}
    void startSlowMotion(float, float, float) override {}
    void updateDrag(float, float, TooltipProtocol*, bool) override {}

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
