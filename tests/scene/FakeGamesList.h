#pragma once

// A games list of hand-made records for the scene's tests: installed while
// it lives, with a nickname naming the local player.

#include "rules/GameRecord.h"
#include "rules/GamesList.h"

#include <memory>
#include <string>
#include <vector>

class FakeGamesList : public GamesList {
public:
    FakeGamesList() { setGamesList(this); }
    ~FakeGamesList() override { setGamesList(nullptr); }

    GameRecord* findGame(int64_t gameId) override {
        for (const auto& record : mRecords)
            if (record->mGameID == gameId)
                return record.get();
        return nullptr;
    }
    std::string getNickname() const override { return mNickname; }
    int32_t countGamesInState(LocalGameState state) override {
        return state == cMyTurn ? mWaiting : 0;
    }

    // A record of that id with players of those names (status active).
    GameRecord& add(int64_t gameId, const std::vector<std::string>& names) {
        auto record = std::make_unique<GameRecord>();
        record->mGameID = gameId;
        for (const std::string& name : names) {
            auto player = std::make_unique<PlayerRecord>();
            player->mName = name;
            player->mStatus = cGameActive;
            player->mIsLocal = name == mNickname;
            record->mPlayers.push_back(std::move(player));
        }
        mRecords.push_back(std::move(record));
        return *mRecords.back();
    }

    std::string mNickname = "Ada";
    int32_t mWaiting = 0; // games awaiting the local player
    std::vector<std::unique_ptr<GameRecord>> mRecords;
};
