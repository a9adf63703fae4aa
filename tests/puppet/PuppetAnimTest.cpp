#include "PuppetTestSupport.h"

#include "puppet/PuppetAnim.h"

#include <cmath>
#include <limits>

using namespace cocos2d;

namespace {

class PuppetAnimTest : public PuppetTest {
protected:
    // An animation loaded from the text of its file.
    std::unique_ptr<PuppetAnim> load(std::string_view text) {
        auto anim = std::make_unique<PuppetAnim>();
        EXPECT_TRUE(anim->loadNodes(parseXml(text)));
        return anim;
    }
    // Node 0 of an animation of one node with these frames, at time t.
    PuppetKeyframe poseAt(std::string_view frames, float t) {
        const auto anim = load("<PuppetAnim><node name=\"Body\">" + std::string(frames) +
                               "</node></PuppetAnim>");
        PuppetKeyframe pose;
        EXPECT_EQ(anim->mNodes.size(), 1u);
        anim->applyAtTime(0, t, pose);
        return pose;
    }
};

void expectIdentity(const PuppetKeyframe& pose) {
    EXPECT_FLOAT_EQ(pose.mRotation, 0.0f);
    EXPECT_FLOAT_EQ(pose.mTranslationX, 0.0f);
    EXPECT_FLOAT_EQ(pose.mTranslationY, 0.0f);
    EXPECT_FLOAT_EQ(pose.mScaleX, 1.0f);
    EXPECT_FLOAT_EQ(pose.mScaleY, 1.0f);
    EXPECT_FLOAT_EQ(pose.mAlpha, 1.0f);
    EXPECT_FLOAT_EQ(pose.mTintRed + pose.mTintGreen + pose.mTintBlue, 0.0f);
}

TEST_F(PuppetAnimTest, OneFrameHoldsItsPoseAndEndsAHundredthLater) {
    const auto anim = load(R"(<PuppetAnim><node name="Body">
        <frame time="0.5" rotation="30" translationX="8" scaleY="2" alpha="51" tintGreen="255"/>
    </node></PuppetAnim>)");
    ASSERT_EQ(anim->mNodes.size(), 1u);
    EXPECT_FLOAT_EQ(anim->mLength, 0.51f);
    for (float t : {0.0f, 0.5f, 0.505f, 3.0f}) {
        PuppetKeyframe pose;
        anim->applyAtTime(0, t, pose);
        EXPECT_NEAR(pose.mRotation, 30.0f, 1e-4) << t << " (through radians and back)";
        EXPECT_FLOAT_EQ(pose.mTranslationX, 4.0f) << t;
        EXPECT_FLOAT_EQ(pose.mScaleY, 2.0f) << t;
        EXPECT_FLOAT_EQ(pose.mAlpha, 0.2f) << t;
        EXPECT_FLOAT_EQ(pose.mTintGreen, 1.0f) << t;
    }
}

TEST_F(PuppetAnimTest, ANodeWithoutFramesIsTheIdentityPose) {
    const auto anim = load(R"(<PuppetAnim><node name="Body"/></PuppetAnim>)");
    ASSERT_EQ(anim->mNodes.size(), 1u);
    EXPECT_FLOAT_EQ(anim->mLength, 0.01f);
    PuppetKeyframe pose;
    pose.mRotation = 99.0f;
    anim->applyAtTime(0, 0.005f, pose);
    expectIdentity(pose);
}

TEST_F(PuppetAnimTest, NodesAndLength) {
    const auto anim = load(R"(<PuppetAnim>
        <node name="Body"><frame time="0"/><frame time="1.5"/></node>
        <node><frame time="0"/><frame time="9"/></node>
        <other name="Body"/>
        <node name="Weapon"><frame time="0"/><frame rotation="4"/><frame time="9"/></node>
        <node name="Weapon"><frame time="0.25"/><frame time="2"/></node>
    </PuppetAnim>)");
    ASSERT_EQ(anim->mNodes.size(), 2u) << "no name, a frame without time: skipped";
    EXPECT_EQ(anim->mNodes[0]->mBone, PuppetRegistry::boneIndex("Body"));
    EXPECT_EQ(anim->mNodes[1]->mBone, PuppetRegistry::boneIndex("Weapon"));
    EXPECT_FLOAT_EQ(anim->mLength, 2.0f);
    EXPECT_FLOAT_EQ(load("<PuppetAnim/>")->mLength, 0.0f);

    PuppetKeyframe pose;
    pose.mRotation = 7.0f;
    for (int32_t index : {-1, 2})
        anim->applyAtTime(index, 1.0f, pose);
    EXPECT_FLOAT_EQ(pose.mRotation, 7.0f) << "no such node: untouched";
}

TEST_F(PuppetAnimTest, FramesThatDoNotMoveAChannelAreDropped) {
    const struct {
        const char* frames;
        size_t translationKeys, rotationKeys, alphaKeys;
    } cases[] = {
        {R"(<frame time="0" translationX="0"/><frame time="1" translationX="0.1"/>
            <frame time="2" translationX="20"/>)",
         3, 2, 2},
        {R"(<frame time="0" translationX="0"/><frame time="1" translationX="0.1"/>
            <frame time="2" translationX="0.2"/>)",
         2, 2, 2},
        {R"(<frame time="0"/><frame time="1" rotation="1"/><frame time="2" rotation="1.5"/>)", 2,
         2, 2},
        {R"(<frame time="0"/><frame time="1" rotation="1.1"/><frame time="2"/>)", 2, 3, 2},
        {R"(<frame time="0"/><frame time="1" alpha="252"/><frame time="2"/>)", 2, 2, 3},
        {R"(<frame time="0"/><frame time="1" alpha="253"/><frame time="2"/>)", 2, 2, 2},
    };
    for (const auto& c : cases) {
        const auto anim = load("<PuppetAnim><node name=\"Body\">" + std::string(c.frames) +
                               "</node></PuppetAnim>");
        ASSERT_EQ(anim->mNodes.size(), 1u);
        const PuppetAnimNode& node = *anim->mNodes[0];
        EXPECT_EQ(node.mTranslation.mValues.size() + 1, c.translationKeys) << c.frames;
        EXPECT_EQ(node.mRotation.mValues.size(), c.rotationKeys) << c.frames;
        EXPECT_EQ(node.mAlpha.mValues.size() + 1, c.alphaKeys) << c.frames;
        EXPECT_EQ(node.mScale.mValues.size(), 1u) << c.frames;
        EXPECT_EQ(node.mTint.mValues.size(), 2u) << c.frames;
    }
}

TEST_F(PuppetAnimTest, TimesOutsideTheFramesClampToTheEnds) {
    const char* frames = R"(<frame time="1" translationX="10" rotation="20" alpha="0"/>
        <frame time="2" translationX="30" rotation="60" alpha="255" tintRed="255"/>
        <frame time="3" translationX="-10" rotation="-20" alpha="128" tintRed="128"/>)";
    for (float t : {-5.0f, 0.0f, 1.0f}) {
        const PuppetKeyframe pose = poseAt(frames, t);
        EXPECT_FLOAT_EQ(pose.mTranslationX, 5.0f) << t;
        EXPECT_FLOAT_EQ(pose.mRotation, 20.0f) << t;
        EXPECT_FLOAT_EQ(pose.mAlpha, 0.0f) << t;
        EXPECT_FLOAT_EQ(pose.mTintRed, 0.0f) << t;
    }
    for (float t : {3.0f, 3.5f, 1000.0f}) {
        const PuppetKeyframe pose = poseAt(frames, t);
        EXPECT_NEAR(pose.mTranslationX, -5.0f, 1e-5) << t;
        EXPECT_NEAR(pose.mRotation, -20.0f, 1e-3) << t;
        EXPECT_NEAR(pose.mAlpha, 0.5019608f, 1e-6) << t;
        EXPECT_FLOAT_EQ(pose.mTintRed, 0.5019608f) << t;
    }
    const PuppetKeyframe middle = poseAt(frames, 2.0f);
    EXPECT_NEAR(middle.mTranslationX, 15.0f, 1e-5);
    EXPECT_FLOAT_EQ(middle.mTintRed, 1.0f) << "255 after the byte round trip";
    EXPECT_NEAR(middle.mAlpha, 1.0f, 1e-6);
}

TEST_F(PuppetAnimTest, SplinesFollowTheKochanekBartelsTangents) {
    // Keys 0, 10, 0 at 0, 1, 2 s: segment 0 leaves 0 with m0 = 0.375 * 10 and
    // reaches 10 with m1 = 0.375 * 10 + 0.125 * -10.
    SplineTrack<float> track;
    ASSERT_TRUE(PuppetAnimNode::buildScalarSpline({0, 10, 0}, {0, 1, 2}, track));
    ASSERT_EQ(track.mValues.size(), 2u);
    const auto& segment = track.mValues[0];
    EXPECT_FLOAT_EQ(segment.m0, 3.75f);
    EXPECT_FLOAT_EQ(segment.a, 30.0f - 7.5f - 2.5f);
    EXPECT_FLOAT_EQ(segment.b, 3.75f + 2.5f - 20.0f);
    EXPECT_FLOAT_EQ(track.evaluate(1.0f), 10.0f);
    EXPECT_FLOAT_EQ(track.evaluate(0.5f), 3.75f * 0.5f + 20.0f * 0.25f - 13.75f * 0.125f);
    EXPECT_EQ(track.mTimes, (std::vector<float>{1, 2}));

    SplineTrack<SplinePoint> points;
    ASSERT_TRUE(PuppetAnimNode::buildPointSpline({{0, 4}, {8, 4}}, {2, 3}, points));
    EXPECT_FLOAT_EQ(points.mStartTime, 2.0f);
    EXPECT_FLOAT_EQ(points.evaluate(2.5f).x, 4.0f);
    EXPECT_FLOAT_EQ(points.evaluate(2.5f).y, 4.0f);

    EXPECT_FALSE(PuppetAnimNode::buildScalarSpline({0, 1}, {1, 1}, track));
    EXPECT_TRUE(track.mValues.empty()) << "a failed build leaves nothing to read";
    EXPECT_FLOAT_EQ(track.evaluate(1.0f), 0.0f);
}

TEST_F(PuppetAnimTest, FindingTheSegment) {
    SplineTrack<float> track;
    ASSERT_TRUE(PuppetAnimNode::buildScalarSpline({0, 1, 2, 3}, {1, 2, 4, 5}, track));
    const struct {
        float t;
        int32_t index;
        float u;
    } cases[] = {{0, 0, 0},  {1, 0, 0},   {1.5f, 0, 0.5f}, {2, 0, 1},
                 {3, 1, 0.5f}, {4.5f, 2, 0.5f}, {5, 2, 1},  {9, 2, 1}};
    for (const auto& c : cases) {
        const TrackPlace place = track.findSegment(c.t);
        EXPECT_EQ(place.index, c.index) << c.t;
        EXPECT_FLOAT_EQ(place.u, c.u) << c.t;
    }
    EXPECT_EQ(track.findSegment(std::numeric_limits<float>::quiet_NaN()).index, 0);
    EXPECT_FLOAT_EQ(track.findSegment(std::numeric_limits<float>::quiet_NaN()).u, 0.0f);
    EXPECT_EQ(SplineTrack<float>().findSegment(1.0f).index, -1);
}

TEST_F(PuppetAnimTest, RotationsTakeTheShorterArc) {
    const struct {
        float from, to, u, want;
    } cases[] = {
        {0, 270, 0.5f, -45},   {10, 350, 0.25f, 5},    {10, 350, 0.75f, -5},
        {350, 10, 0.25f, 355}, {350, 10, 0.5f, -360}, {0, 90, 0.5f, 45},
        {0, 90, 0.0f, 0},      {0, 90, 1.0f, 90},
    };
    for (const auto& c : cases) {
        AngleTrack track;
        ASSERT_TRUE(track.setKeys({c.from, c.to}, {0, 1}));
        EXPECT_NEAR(track.evaluate(c.u), c.want, 1e-3) << c.from << " to " << c.to << " at " << c.u;
    }
}

TEST_F(PuppetAnimTest, ColoursBlendAsBytes) {
    ColorTrack track;
    ASSERT_TRUE(track.setKeys({ccc3(0, 255, 10), ccc3(255, 0, 11)}, {0, 1}));
    const ccColor3B middle = track.evaluate(0.5f);
    EXPECT_EQ(middle.r, 127);
    EXPECT_EQ(middle.g, 127);
    EXPECT_EQ(middle.b, 10);
    const ccColor3B clamped = colorFloatToBytes(-0.5f, 2.0f, std::nanf(""));
    EXPECT_EQ(clamped, ccc3(0, 255, 0));
    EXPECT_EQ(colorFloatToBytes(0.999f, 0.5f, 1.0f), ccc3(254, 127, 255));
}

TEST_F(PuppetAnimTest, NegativeScaleEvaluatesToZero) {
    const PuppetKeyframe pose = poseAt(R"(<frame time="0" scaleX="-2" scaleY="-0.5"/>)", 0.0f);
    EXPECT_FLOAT_EQ(pose.mScaleX, 0.0f);
    EXPECT_FLOAT_EQ(pose.mScaleY, 0.0f);
    EXPECT_FLOAT_EQ(poseAt(R"(<frame time="0" alpha="255"/><frame time="1" alpha="255"/>)", 0.3f)
                        .mAlpha,
                    1.0f);
}

TEST_F(PuppetAnimTest, FramesOutOfOrderAreLeftOutOfTheirChannels) {
    const struct {
        const char* frames;
        float t;
        float wantX;
    } cases[] = {
        {R"(<frame time="1" translationX="4"/><frame time="1" translationX="8"/>)", 5, 2},
        {R"(<frame time="1" translationX="4"/><frame time="1" translationX="8"/>
            <frame time="1" translationX="6"/>)",
         0, 2},
        {R"(<frame time="0"/><frame time="2" translationX="40"/><frame time="1" translationX="8"/>
            <frame time="3" translationX="10"/>)",
         3, 5},
        {R"(<frame time="nan" translationX="4"/><frame time="1" translationX="8"/>)", 1, 2},
        {R"(<frame time="inf" translationX="4"/><frame time="-inf" translationX="8"/>)", 0, 2},
    };
    for (const auto& c : cases) {
        const PuppetKeyframe pose = poseAt(c.frames, c.t);
        EXPECT_FLOAT_EQ(pose.mTranslationX, c.wantX) << c.frames;
        EXPECT_TRUE(std::isfinite(pose.mRotation)) << c.frames;
        EXPECT_TRUE(std::isfinite(pose.mTintRed)) << c.frames;
    }
}

} // namespace
