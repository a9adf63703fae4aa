// One update of 200 live puppets of 10 parts each while they cross-fade
// between two animations (every part evaluated on both, blended, posed and
// given its tint and opacity), beside the floor: the same engine setter calls
// on 2,000 plain sprites, with no animation to evaluate.

#include "content/DataPath.h"
#include "platform/engine/CCAutoreleasePool.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/render/CCSprite.h"
#include "platform/engine/CCSpriteFrame.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace cocos2d;

namespace {

constexpr int cParts = 10;
constexpr int cInstances = 200;
constexpr float cFrame = 1.0f / 60.0f;
const char* const cSlots[cParts] = {"Torso", "Head", "MainHand", "OffHand", "Cape",
                                    "01",    "02",   "03",       "04",      "05"};

// A data folder with a 10-part puppet and two animations moving every bone.
class BenchData {
public:
    BenchData()
        : mFolder(std::filesystem::temp_directory_path() /
                  ("tarnwick-puppet-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(mFolder / "data");
        setBaseFolder(mFolder);
        CCFileUtils::setResourcePath((mFolder / "data").string());
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFrame(
            CCSpriteFrame::frameWithRect(CCRect(0, 0, 16, 16)), "Part.png");
        std::string puppet =
            "<Puppet><Anim type=\"Idle\" name=\"A\"/><Anim type=\"Move\" name=\"B\"/>";
        for (int i = 0; i < cParts; ++i)
            puppet += std::string("<Part type=\"") + cSlots[i] + "\" bone=\"Bone" +
                      std::to_string(i) + "\" defaultAttachment=\"Part\"/>";
        write("P.Puppet", puppet + "</Puppet>");
        write("Part.PuppetAttachment",
              R"(<Attachment textureName="Part.png" translationX="4" rotation="10"/>)");
        write("A.PuppetAnim", anim(0));
        write("B.PuppetAnim", anim(5));
    }
    ~BenchData() {
        PuppetRegistry::clear();
        std::filesystem::remove_all(mFolder);
    }

private:
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(mFolder / "data" / name) << text;
    }
    static std::string anim(int shift) {
        std::string text = "<a>";
        for (int i = 0; i < cParts; ++i) {
            text += "<node name=\"Bone" + std::to_string(i) + "\">";
            for (int f = 0; f < 4; ++f)
                text += "<frame time=\"" + std::to_string(f * 0.5f) + "\" rotation=\"" +
                        std::to_string((i + f + shift) * 13 % 90) + "\" translationX=\"" +
                        std::to_string(f * 4 + shift) + "\" alpha=\"" +
                        std::to_string(255 - f * 20) + "\" tintRed=\"" + std::to_string(f * 30) +
                        "\"/>";
            text += "</node>";
        }
        return text + "</a>";
    }

    std::filesystem::path mFolder;
};

void BM_UpdateBlendingPuppets(benchmark::State& state) {
    BenchData data;
    const int32_t index = PuppetRegistry::loadPuppet("P");
    std::vector<PuppetInstance*> puppets;
    for (int i = 0; i < cInstances; ++i) {
        PuppetInstance* puppet = PuppetInstance::create(index);
        puppet->retain();
        puppet->playAnimation(0, 0.1f * (i % 10), true, 0.0f);
        // A fade that outlasts the run keeps both animations evaluated.
        puppet->playAnimation(1, 0.0f, true, 1.0e9f);
        puppets.push_back(puppet);
    }
    if (puppets[0]->getParts().size() != cParts) {
        state.SkipWithError("the puppet did not build its parts");
        return;
    }
    for (auto _ : state)
        for (PuppetInstance* puppet : puppets)
            puppet->update(cFrame);
    state.SetItemsProcessed(state.iterations() * cInstances * cParts);
    for (PuppetInstance* puppet : puppets) {
        puppet->cleanup();
        puppet->release();
    }
    CCPoolManager::sharedPoolManager()->finalize();
}
BENCHMARK(BM_UpdateBlendingPuppets)->Unit(benchmark::kMicrosecond);

void BM_FloorSetSpritesDirectly(benchmark::State& state) {
    std::vector<CCSprite*> sprites;
    for (int i = 0; i < cInstances * cParts; ++i) {
        CCSprite* sprite = new CCSprite();
        sprite->init();
        sprites.push_back(sprite);
    }
    float t = 0.0f;
    for (auto _ : state) {
        t += cFrame;
        for (CCSprite* sprite : sprites) {
            sprite->setScaleAnchorPoint(CCPoint(2, 0));
            sprite->setRotation(t);
            sprite->setPosition(CCPoint(t, 1));
            sprite->setScaleX(1.0f + t);
            sprite->setScaleY(1.0f);
            sprite->setTintColor(ccc3(10, 0, 0));
            sprite->setOpacity(200);
        }
    }
    state.SetItemsProcessed(state.iterations() * cInstances * cParts);
    for (CCSprite* sprite : sprites)
        sprite->release();
    CCPoolManager::sharedPoolManager()->finalize();
}
BENCHMARK(BM_FloorSetSpritesDirectly)->Unit(benchmark::kMicrosecond);

} // namespace
