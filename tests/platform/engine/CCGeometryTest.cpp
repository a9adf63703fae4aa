#include "EngineTest.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCLayerColor.h"

using namespace cocos2d;

namespace {

class GeometryTest : public EngineTest {};

} // namespace

TEST_F(GeometryTest, RectanglesContainTheirEdges) {
    const CCRect rect(-20, -10, 40, 20);
    const std::pair<CCPoint, bool> cases[] = {
        {{0, 0}, true},       {{-20, -10}, true},    {{20, 10}, true},
        {{20.01f, 0}, false}, {{0, -10.01f}, false}, {{-20, 10}, true},
    };
    for (const auto& [point, inside] : cases)
        EXPECT_EQ(CCRectContainsPoint(rect, point), inside) << point.x << "," << point.y;
}

TEST_F(GeometryTest, AColourLayerCoversTheWindowAndFades) {
    director()->setContentScaleFactor(2.0f);
    CCLayer* root = runLayer();
    CCLayerColor* layer = CCLayerColor::layerWithColor(ccc4(255, 255, 255, 255));
    EXPECT_EQ(layer->getContentSize(), CCSize(480, 320));
    EXPECT_EQ(layer->getBlendFunc(), (ccBlendFunc{kCCBlendOne, kCCBlendOneMinusSrcAlpha}));
    layer->setBlendFunc(ccBlendFunc{kCCBlendZero, kCCBlendOne});
    EXPECT_EQ(layer->getBlendFunc().src, kCCBlendZero);
    root->addChild(layer);
    ASSERT_NE(ccRGBAProtocolOf(layer), nullptr);
    EXPECT_EQ(ccRGBAProtocolOf(root), nullptr);
    layer->runAction(CCFadeOut::actionWithDuration(0.5f));
    tick(0.25f);
    EXPECT_EQ(layer->getOpacity(), 127);
    EXPECT_EQ(layer->getColor(), ccWHITE);
}
