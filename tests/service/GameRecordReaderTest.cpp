// Reading the service's "Game" elements: attributes, players with their
// avatars and colours, chats, and the base64 state.

#include "service/GameRecordReader.h"

#include "content/AvatarPack.h"
#include "content/DataFileCrc.h"
#include "content/DataPath.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path cAvatarFixture = fs::path(TARNWICK_FIXTURES_DIR) / "content/avatars";

// Parses text and reads its root into record with the nickname "alice".
bool readGame(GameRecord& record, const std::string& text) {
    XMLHelper holder;
    holder.setText(text);
    XmlNode* root = nullptr;
    if (!holder.parse(root) || root == nullptr)
        return false;
    return parseGameRecord(record, root, "alice");
}

std::string encode(const std::string& bytes) {
    static const char* digits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const uint32_t n = (uint8_t(bytes[i]) << 16) | (uint8_t(bytes[i + 1]) << 8) |
                           uint8_t(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6)
            out += digits[(n >> shift) & 63];
    }
    EXPECT_EQ(i, bytes.size()) << "whole groups only";
    return out;
}

class GameRecordReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        setBaseFolder(cAvatarFixture);
        std::ifstream in(cAvatarFixture / "data/AvatarPacks.xml", std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        mTable[0] = {"AvatarPacks", static_cast<uint32_t>(crc32(
                                        0, reinterpret_cast<const Bytef*>(bytes.data()),
                                        static_cast<uInt>(bytes.size())))};
        setDataFileCrcTable(mTable);
        ASSERT_TRUE(AvatarPack::loadAll());
    }
    void TearDown() override {
        AvatarPack::clear();
        setDataFileCrcTable({});
        setBaseFolder({});
    }
    std::array<DataFileCrc, 1> mTable;
};

} // namespace

TEST_F(GameRecordReaderTest, AttributesReadOrFailTheRecord) {
    struct Case {
        const char* attributes;
        bool ok;
    };
    const Case cases[] = {
        {"id='12' creation_datetime='2026-01-02 03:04:05'", true},
        {"last_turn_datetime=''", true},
        {"was_matchmade='true'", true},
        {"is_complete='TRUE'", true},
        {"is_complete='1'", true},
        {"is_complete='yes'", false},
        {"creation_datetime='2026-01-02'", false},
        {"last_turn_datetime='yesterday'", false},
        {"id='9223372036854775808'", false},
        {"turn_count='2147483648'", false},
        {"id='9223372036854775807' surplus='x'", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        GameRecord record;
        EXPECT_EQ(readGame(record, std::string("<Game ") + c.attributes + "/>"), c.ok);
    }
}

TEST_F(GameRecordReaderTest, AWholeGameReadsIntoEveryField) {
    GameRecord record;
    ASSERT_TRUE(readGame(record,
                         "<Game id='77' creation_datetime='1970-01-02 00:00:00' "
                         "last_turn_datetime='1970-01-01 00:01:00' creation_player='bob' "
                         "creation_method='MATCHMADE' current_turn_player='alice' "
                         "turn_count='5' was_matchmade='true' is_complete='0'>"
                         "<players><player name='bob' status='paused' substatus='Won' "
                         "home_color='4' away_color='9' civ_name='orcs' new_chat_count='2' "
                         "play_taunt='1' build_ver='1039'/>"
                         "<p name='alice' status='ACTIVE' substatus='lostnotseen' "
                         "home_color='4' away_color='9'/></players>"
                         "<chats><chat from='bob' sent_datetime='1970-01-01 00:00:10'>"
                         "  hello there \n</chat></chats></Game>"));
    EXPECT_EQ(record.mGameID, 77);
    EXPECT_EQ(record.mCreationTime, 86400);
    EXPECT_EQ(record.mLastTurnTime, 60);
    EXPECT_TRUE(record.mHasLastTurnTime);
    EXPECT_EQ(record.mCreationPlayer, "bob");
    EXPECT_EQ(record.mCreationMethod, "MATCHMADE");
    EXPECT_EQ(record.mCurrentTurnPlayer, "alice");
    EXPECT_EQ(record.mTurnCount, 5);
    EXPECT_EQ(record.mWasMatchmade, 0);
    EXPECT_FALSE(record.mIsComplete);
    ASSERT_EQ(record.mPlayers.size(), 2u);
    const PlayerRecord& bob = *record.mPlayers[0];
    const PlayerRecord& alice = *record.mPlayers[1];
    EXPECT_EQ(bob.mStatus, cGameNoStatus);
    EXPECT_EQ(bob.mSubstatus, cSubstatusWon);
    EXPECT_EQ(bob.mColor, 4);
    EXPECT_EQ(alice.mColor, 9);
    EXPECT_EQ(bob.mCivName, "orcs");
    EXPECT_EQ(bob.mNewChatCount, 2);
    EXPECT_EQ(bob.mPlayTaunt, 1);
    EXPECT_EQ(bob.mBuildVersion, 1039);
    EXPECT_FALSE(bob.mIsLocal);
    EXPECT_TRUE(alice.mIsLocal);
    EXPECT_EQ(alice.mStatus, cGameActive);
    EXPECT_EQ(alice.mSubstatus, cSubstatusLostNotSeen);
    EXPECT_EQ(record.getLocalPlayer(), &alice);
    EXPECT_EQ(record.getOpponent(), &bob);
    EXPECT_EQ(record.getLocalPlayerGameState("alice"), cMyTurn);
    ASSERT_EQ(record.mChats.size(), 1u);
    EXPECT_EQ(record.mChats[0]->mFrom, "bob");
    EXPECT_EQ(record.mChats[0]->mText, "hello there");
    EXPECT_EQ(record.mChats[0]->mSentTime, 10);
}

TEST_F(GameRecordReaderTest, NoLastTurnTimeLeavesItUnset) {
    for (const char* text : {"<Game id='1'/>", "<Game id='1' last_turn_datetime=''/>"}) {
        GameRecord record;
        ASSERT_TRUE(readGame(record, text)) << text;
        EXPECT_EQ(record.mLastTurnTime, 0);
        EXPECT_FALSE(record.mHasLastTurnTime);
    }
}

TEST_F(GameRecordReaderTest, TheNicknameMarksTheLocalPlayerExactly) {
    GameRecord record;
    ASSERT_TRUE(readGame(record, "<Game current_turn_player='Alice'><players>"
                                 "<player name='Alice' status='active'/>"
                                 "<player name='bob' status='active'/></players></Game>"));
    EXPECT_FALSE(record.mPlayers[0]->mIsLocal);
    EXPECT_EQ(record.findPlayerIndex("alice"), 0);
    EXPECT_EQ(record.getLocalPlayerGameState("alice"), cMyTurn);
}

TEST_F(GameRecordReaderTest, AvatarsSplitAtEverySeparator) {
    struct Case {
        const char* avatar; // null: no attribute
        const char* path;
    };
    const Case cases[] = {
        {"SomePack|1", "UI/Avatars/NoExtension"},
        {"AVATAR_COUNCIL_FREE|2", "UI/Avatars/Council03.png"},
        {"SomePack||1|9", "UI/Avatars/NoExtension"},
        {"SomePack", "UI/Avatars/Council01.png"},
        {"", "UI/Avatars/Council01.png"},
        {nullptr, "UI/Avatars/Council01.png"},
        {"SomePack|x", "UI/Avatars/Council01.png"},
        // Not the pack "A|B": the value is cut at its first separator.
        {"A|B|1", "UI/Avatars/Council01.png"},
        {"SomePack|7", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.avatar ? c.avatar : "none");
        GameRecord record;
        const std::string avatar =
            c.avatar ? std::string(" avatar='") + c.avatar + "'" : std::string();
        ASSERT_TRUE(readGame(record, "<Game><players><player" + avatar + "/></players></Game>"));
        EXPECT_EQ(record.mPlayers[0]->mAvatar, c.path);
    }
}

TEST_F(GameRecordReaderTest, ABadChatTimeFailsAndListsAreReplacedWhole) {
    GameRecord record;
    EXPECT_FALSE(readGame(record, "<Game><chats><c sent_datetime='soon'/></chats></Game>"));

    GameRecord kept;
    ASSERT_TRUE(readGame(kept, "<Game turn_count='3'><players><a name='x'/><b name='y'/>"
                               "</players><chats><c>one</c><c>two</c></chats></Game>"));
    ASSERT_TRUE(readGame(kept, "<Game><players><a name='z'/></players><chats/></Game>"));
    ASSERT_EQ(kept.mPlayers.size(), 1u);
    EXPECT_EQ(kept.mPlayers[0]->mName, "z");
    EXPECT_TRUE(kept.mChats.empty());
    EXPECT_EQ(kept.mTurnCount, 3);
}

TEST_F(GameRecordReaderTest, AStateDecodesWholeAndAnotherReadWithoutOneKeepsIt) {
    std::string bytes(150000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    const std::string text = encode(bytes);
    ASSERT_EQ(text.size(), 200000u);

    GameRecord record;
    ASSERT_TRUE(readGame(record, "<Game id='3'><state>\n" + text + "\n</state></Game>"));
    ASSERT_EQ(record.mStateSize, 150000);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.mStateData.get()),
                          static_cast<size_t>(record.mStateSize)),
              bytes);

    ASSERT_TRUE(readGame(record, "<Game id='3' turn_count='8'/>"));
    EXPECT_EQ(record.mStateSize, 150000);
    EXPECT_EQ(record.mTurnCount, 8);

    ASSERT_TRUE(readGame(record, "<Game id='3'><state/></Game>"));
    EXPECT_EQ(record.mStateData, nullptr);
    EXPECT_EQ(record.mStateSize, 0);
}

TEST_F(GameRecordReaderTest, ANullElementFailsEveryReader) {
    GameRecord record;
    PlayerRecord player;
    ChatRecord chat;
    EXPECT_FALSE(parseGameRecord(record, nullptr, "alice"));
    EXPECT_FALSE(parsePlayerList(nullptr, record, "alice"));
    EXPECT_FALSE(parseChatList(nullptr, record));
    EXPECT_FALSE(parsePlayerRecord(player, nullptr, 0, "alice"));
    EXPECT_FALSE(parseChatRecord(chat, nullptr));
}
