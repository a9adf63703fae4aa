// A sample unit drawn offscreen through the GL renderer in two team colours:
// only the pixels of its "_Color" layer change with the colour.

#include "PuppetTestSupport.h"

#include "platform/engine/CCLayerColor.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCImage.h"
#include "platform/render/CCSprite.h"
#include "puppet/PuppetInstance.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace cocos2d;

namespace {

const std::filesystem::path cSource = TARNWICK_SOURCE_DIR;
constexpr int cSize = 128;

class PuppetRenderTest : public PuppetTest {
protected:
    void SetUp() override {
        PuppetTest::SetUp();
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setBaseFolder(cSource);
        CCFileUtils::setResourcePath((cSource / "data").string());
        ASSERT_TRUE(PuppetRegistry::loadAttachmentsFile("Attachments"));
    }
    void TearDown() override {
        CCDirector::sharedDirector()->purgeDirector();
        PuppetTest::TearDown();
    }

    // The knight drawn once in a team colour.
    std::vector<uint8_t> draw(const ccColor3B& colour) {
        CCEGLView view;
        EXPECT_TRUE(view.Create("puppet render", cSize, cSize));
        CCDirector* director = CCDirector::sharedDirector();
        director->setOpenGLView(&view);
        CCScene* scene = CCScene::node();
        scene->addChild(CCLayerColor::layerWithColor(ccc4(40, 40, 48, 255)));
        PuppetInstance* knight =
            PuppetInstance::create(PuppetRegistry::loadPuppet("Civ/Humans/Knight"), colour);
        knight->setPosition(CCPoint(cSize / 2, cSize / 2));
        scene->addChild(knight);
        knight->playAnimation(0, 0, true, 0);
        EXPECT_TRUE(std::any_of(knight->getParts().begin(), knight->getParts().end(),
                                [](auto* part) { return part->mColorSprite != nullptr; }));
        director->runWithScene(scene);
        director->tick(0);
        CCImage image;
        EXPECT_TRUE(view.readPixels(image));
        std::vector<uint8_t> pixels = image.getData();
        pixels.resize(size_t(cSize) * cSize * 4);
        director->purgeDirector();
        return pixels;
    }
    static bool samePixel(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t i) {
        return std::memcmp(&a[i * 4], &b[i * 4], 4) == 0;
    }
};

TEST_F(PuppetRenderTest, OnlyTheColourLayerTakesTheTeamColour) {
    // White against green finds the pixels the colour layer covers.
    const auto white = draw(ccc3(255, 255, 255));
    const auto green = draw(ccc3(30, 220, 30));
    const auto red = draw(ccc3(220, 30, 30));
    const auto blue = draw(ccc3(30, 30, 220));
    size_t layer = 0;
    size_t changed = 0;
    for (size_t i = 0; i < size_t(cSize) * cSize; ++i) {
        const bool inLayer = !samePixel(white, green, i);
        layer += inLayer;
        if (!samePixel(red, blue, i)) {
            ++changed;
            EXPECT_TRUE(inLayer) << "pixel " << i << " changed outside the colour layer";
        }
    }
    EXPECT_GT(layer, 20u) << "the colour layer is drawn";
    EXPECT_GT(changed, layer / 2) << "the team colour reaches the layer";
}

} // namespace
