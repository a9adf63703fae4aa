// Reading 40 "Game" elements that each carry a 100 KB state, the form a game
// fetch returns, beside the floor: libb64's own stream decode of the same
// 40 base64 texts.

#include "service/GameRecordReader.h"

extern "C" {
#include <b64/cdecode.h>
}

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr int cGames = 40;
constexpr size_t cStateBytes = 100 * 1024;

// The 40 states' base64 texts (blob-like bytes: random, so nothing repeats).
const std::vector<std::string>& stateTexts() {
    static const std::vector<std::string> texts = [] {
        std::mt19937 random(7);
        std::vector<std::string> out;
        for (int i = 0; i < cGames; ++i) {
            std::string bytes(cStateBytes, '\0');
            for (char& c : bytes)
                c = static_cast<char>(random());
            out.push_back(encodeBase64(bytes));
        }
        return out;
    }();
    return texts;
}

struct Reply {
    Reply() {
        std::string text = "<Games hash='h'>";
        for (int i = 0; i < cGames; ++i)
            text += "<Game id='" + std::to_string(i + 1) +
                    "' creation_datetime='2026-01-02 03:04:05' "
                    "last_turn_datetime='2026-01-03 04:05:06' creation_player='alice' "
                    "creation_method='CUSTOM' current_turn_player='bob' turn_count='12' "
                    "was_matchmade='0' is_complete='false'><players>"
                    "<player name='alice' status='active' substatus='none' civ_name='orcs' "
                    "avatar='AVATAR_COUNCIL_FREE|1' home_color='2' away_color='3'/>"
                    "<player name='bob' status='active' substatus='none' civ_name='dwarves' "
                    "avatar='AVATAR_COUNCIL_FREE|2' home_color='1' away_color='4'/>"
                    "</players><state>" +
                    stateTexts()[static_cast<size_t>(i)] + "</state></Game>";
        text += "</Games>";
        holder.setText(text);
        holder.parse(root);
    }
    XMLHelper holder;
    XmlNode* root = nullptr;
};

void BM_ReadGamesWithStates(benchmark::State& state) {
    static Reply reply;
    size_t bytes = 0;
    for (auto _ : state) {
        for (const XmlNode* game = reply.root->first_node("Game"); game != nullptr;
             game = game->next_sibling("Game")) {
            GameRecord record;
            parseGameRecord(record, game, "alice");
            bytes += static_cast<size_t>(record.mStateSize);
            benchmark::DoNotOptimize(record.mStateData.get());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_ReadGamesWithStates)->Unit(benchmark::kMillisecond);

// The floor: libb64 decodes each text in one call into a reused buffer.
void BM_Libb64DecodeFloor(benchmark::State& state) {
    std::vector<char> out(cStateBytes + 64);
    size_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& text : stateTexts()) {
            base64_decodestate decoder;
            base64_init_decodestate(&decoder);
            bytes += static_cast<size_t>(base64_decode_block(
                text.data(), static_cast<int>(text.size()), out.data(), &decoder));
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_Libb64DecodeFloor)->Unit(benchmark::kMillisecond);

} // namespace
