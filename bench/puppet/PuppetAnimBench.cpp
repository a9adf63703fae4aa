// A 20-node animation of 2 s, eight frames per node moving every channel:
// evaluating every node at 1,000 times, building its tracks from the parsed
// file, and rapidxml's own parse of the same file text (the floor under any
// load of it).

#include "content/XMLHelper.h"
#include "puppet/PuppetAnim.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

constexpr int cNodes = 20;
constexpr int cFrames = 8;
constexpr int cTimes = 1000;
constexpr float cLength = 2.0f;

std::string animText() {
    std::string text = "<PuppetAnim>\n";
    char line[256];
    for (int node = 0; node < cNodes; ++node) {
        text += "  <node name=\"Bone" + std::to_string(node) + "\">\n";
        for (int frame = 0; frame < cFrames; ++frame) {
            const int k = node + frame * 7;
            std::snprintf(line, sizeof line,
                          "    <frame time=\"%g\" rotation=\"%d\" translationX=\"%d\" "
                          "translationY=\"%d\" scaleX=\"%g\" scaleY=\"%g\" alpha=\"%d\" "
                          "tintRed=\"%d\" tintGreen=\"%d\" tintBlue=\"%d\"/>\n",
                          cLength * frame / (cFrames - 1), (k * 37) % 360 - 180, k % 40,
                          (k * 3) % 50, 1.0 + (k % 5) * 0.1, 1.0 - (k % 3) * 0.1,
                          255 - (k * 11) % 128, (k * 29) % 256, (k * 53) % 256, (k * 71) % 256);
            text += line;
        }
        text += "  </node>\n";
    }
    return text + "</PuppetAnim>\n";
}

// The parsed file; the holder keeps the text the nodes point into.
struct ParsedAnim {
    ParsedAnim() : text(animText()) {
        holder.setText(text);
        holder.parse(root);
    }
    std::string text;
    XMLHelper holder;
    XmlNode* root = nullptr;
};

void BM_EvaluateEveryNodeAtAThousandTimes(benchmark::State& state) {
    ParsedAnim parsed;
    PuppetAnim anim;
    anim.loadNodes(parsed.root);
    if (anim.mNodes.size() != cNodes) {
        state.SkipWithError("the animation did not load");
        return;
    }
    PuppetKeyframe pose;
    for (auto _ : state) {
        for (int i = 0; i < cTimes; ++i) {
            const float t = anim.mLength * static_cast<float>(i) / cTimes;
            for (int node = 0; node < cNodes; ++node) {
                anim.applyAtTime(node, t, pose);
                benchmark::DoNotOptimize(pose);
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * cTimes * cNodes);
}
BENCHMARK(BM_EvaluateEveryNodeAtAThousandTimes)->Unit(benchmark::kMicrosecond);

void BM_BuildTracksOfTheParsedFile(benchmark::State& state) {
    ParsedAnim parsed;
    for (auto _ : state) {
        PuppetAnim anim;
        anim.loadNodes(parsed.root);
        benchmark::DoNotOptimize(anim.mLength);
    }
}
BENCHMARK(BM_BuildTracksOfTheParsedFile)->Unit(benchmark::kMicrosecond);

void BM_ParseTheFileWithRapidxml(benchmark::State& state) {
    const std::string text = animText();
    XMLHelper holder;
    for (auto _ : state) {
        holder.setText(text);
        XmlNode* root = nullptr;
        holder.parse(root);
        benchmark::DoNotOptimize(root);
        holder.clear();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseTheFileWithRapidxml)->Unit(benchmark::kMicrosecond);

} // namespace
