#include "service/GameRecordReader.h"

#include "service/ServiceReply.h"
#include "service/WebService.h"

#include "content/AvatarPack.h"
#include "content/TimeTexts.h"

extern "C" {
#include <b64/cdecode.h>
}
// The stream encoder declares the C encoder in its own namespace.
#include <b64/encode.h>

#include <boost/algorithm/string/trim.hpp>

#include <algorithm>
#include <limits>
#include <sstream>
#include <streambuf>

namespace {

constexpr size_t cDecodeChunk = 65536;
constexpr int cEncodeChunk = 65536;

// Reads bytes in place as a stream, for the stream encoder.
class ByteSource : public std::streambuf {
public:
    explicit ByteSource(std::string_view bytes) {
        char* begin = const_cast<char*>(bytes.data());
        setg(begin, begin, begin + bytes.size());
    }
};

std::string_view valueOf(const XmlBase* node) {
    return {node->value(), node->value_size()};
}

// A time attribute; false when it does not read.
bool readTime(const XmlAttribute* attribute, int64_t& out) {
    return parseServerTime(valueOf(attribute), out);
}

bool readAttribute(GameRecord& record, const XmlAttribute* attribute) {
    if (xmlNameEquals(attribute, "id"))
        return xmlValueInt64(attribute, record.mGameID);
    if (xmlNameEquals(attribute, "turn_count"))
        return xmlValueInt(attribute, record.mTurnCount);
    if (xmlNameEquals(attribute, "was_matchmade"))
        return xmlValueInt(attribute, record.mWasMatchmade);
    if (xmlNameEquals(attribute, "is_complete"))
        return xmlValueBool(attribute, record.mIsComplete);
    if (xmlNameEquals(attribute, "creation_datetime"))
        return readTime(attribute, record.mCreationTime);
    if (xmlNameEquals(attribute, "last_turn_datetime")) {
        if (attribute->value_size() == 0)
            return true;
        if (!readTime(attribute, record.mLastTurnTime))
            return false;
        record.mHasLastTurnTime = true;
        return true;
    }
    if (xmlNameEquals(attribute, "creation_player"))
        record.mCreationPlayer = valueOf(attribute);
    else if (xmlNameEquals(attribute, "creation_method"))
        record.mCreationMethod = valueOf(attribute);
    else if (xmlNameEquals(attribute, "current_turn_player"))
        record.mCurrentTurnPlayer = valueOf(attribute);
    return true;
}

bool readState(GameRecord& record, const XmlNode* element) {
    record.setState(nullptr, 0);
    const std::vector<uint8_t> bytes = decodeBase64(valueOf(element));
    if (bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return false;
    record.setState(bytes.data(), static_cast<int32_t>(bytes.size()));
    return true;
}

// An optional decimal attribute; absent or unreadable leaves out as it is.
void readOptionalInt(const XmlNode* element, const char* name, int32_t& out) {
    const XmlAttribute* attribute = xmlFindAttribute(element, name);
    if (attribute != nullptr)
        xmlValueInt(attribute, out);
}

std::string attributeText(const XmlNode* element, const char* name) {
    const XmlAttribute* attribute = xmlFindAttribute(element, name);
    return attribute != nullptr ? std::string(valueOf(attribute)) : std::string();
}

// Appends a record read by read from every child element, in order; false
// for a null element or at the first child that fails (which is dropped).
template <class Record, class Read>
bool readList(const XmlNode* element, std::vector<std::unique_ptr<Record>>& list, Read read) {
    if (element == nullptr)
        return false;
    for (const XmlNode* child = element->first_node(); child != nullptr;
         child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        auto record = std::make_unique<Record>();
        if (!read(*record, child))
            return false;
        list.push_back(std::move(record));
    }
    return true;
}

} // namespace

std::string encodeBase64(std::string_view bytes) {
    // libb64's stream encoder: chunks of 65536 bytes in, lines of 72
    // characters out, each ended by a line break.
    ByteSource source(bytes);
    std::istream in(&source);
    std::ostringstream out;
    base64::encoder(cEncodeChunk).encode(in, out);
    return std::move(out).str();
}

std::vector<uint8_t> decodeBase64(std::string_view text) {
    std::vector<uint8_t> bytes(text.size() / 4 * 3 + 3);
    base64_decodestate state;
    base64_init_decodestate(&state);
    size_t written = 0;
    for (size_t at = 0; at < text.size(); at += cDecodeChunk) {
        const size_t length = std::min(cDecodeChunk, text.size() - at);
        written += static_cast<size_t>(
            base64_decode_block(text.data() + at, static_cast<int>(length),
                                reinterpret_cast<char*>(bytes.data() + written), &state));
    }
    bytes.resize(written);
    return bytes;
}

bool parseGameRecord(GameRecord& record, const XmlNode* element, std::string_view nickname) {
    if (element == nullptr)
        return false;
    for (const XmlAttribute* attribute = element->first_attribute(); attribute != nullptr;
         attribute = attribute->next_attribute())
        if (!readAttribute(record, attribute))
            return false;
    for (const XmlNode* child = element->first_node(); child != nullptr;
         child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (xmlNameEquals(child, "players")) {
            if (!parsePlayerList(child, record, nickname))
                return false;
        } else if (xmlNameEquals(child, "chats")) {
            if (!parseChatList(child, record))
                return false;
        } else if (xmlNameEquals(child, "state")) {
            if (!readState(record, child))
                return false;
        }
    }
    return true;
}

bool parsePlayerList(const XmlNode* element, GameRecord& record, std::string_view nickname) {
    clearPlayerList(record);
    return readList(element, record.mPlayers, [&](PlayerRecord& player, const XmlNode* child) {
        return parsePlayerRecord(player, child, static_cast<int32_t>(record.mPlayers.size()),
                                 nickname);
    });
}

bool parseChatList(const XmlNode* element, GameRecord& record) {
    clearChatList(record);
    return readList(element, record.mChats, &parseChatRecord);
}

bool parsePlayerRecord(PlayerRecord& player, const XmlNode* element, int32_t position,
                       std::string_view nickname) {
    if (element == nullptr)
        return false;
    xmlAttrString(element, "name", player.mName);
    player.mIsLocal = player.mName == nickname;
    xmlAttrString(element, "civ_name", player.mCivName);
    player.mStatus = gameStatusFromString(attributeText(element, "status"));
    player.mSubstatus = playerSubstatusFromString(attributeText(element, "substatus"));
    player.mNewChatCount = 0;
    player.mPlayTaunt = 0;
    player.mBuildVersion = 0;
    readOptionalInt(element, "new_chat_count", player.mNewChatCount);
    readOptionalInt(element, "play_taunt", player.mPlayTaunt);
    readOptionalInt(element, "build_ver", player.mBuildVersion);
    player.mColor = 0;
    readOptionalInt(element, position == 0 ? "home_color" : "away_color", player.mColor);

    // The pack id and index of "id|index"; the fallback pack's first avatar
    // otherwise. Not parseAvatarString, which cuts at the last "|".
    std::string packId;
    int32_t index = 0;
    if (!readAvatarValue(attributeText(element, "avatar"), packId, index)) {
        packId = cFallbackAvatar;
        index = 0;
    }
    player.mAvatar = AvatarPack::getAvatarInPack(packId, index);
    return true;
}

bool parseChatRecord(ChatRecord& chat, const XmlNode* element) {
    if (element == nullptr)
        return false;
    chat.mText = boost::algorithm::trim_copy(std::string(valueOf(element)));
    for (const XmlAttribute* attribute = element->first_attribute(); attribute != nullptr;
         attribute = attribute->next_attribute()) {
        if (xmlNameEquals(attribute, "from"))
            chat.mFrom = valueOf(attribute);
        else if (xmlNameEquals(attribute, "sent_datetime") && !readTime(attribute, chat.mSentTime))
            return false;
    }
    return true;
}

void clearPlayerList(GameRecord& record) {
    record.mPlayers.clear();
}

void clearChatList(GameRecord& record) {
    record.mChats.clear();
}
