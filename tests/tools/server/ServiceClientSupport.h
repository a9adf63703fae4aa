#pragma once

// Talking to the loopback server as the game client does, without the
// client's request layer: a login for an auth key, and signed form posts
// whose fields go out in the client's order (device, authKey, the fields
// before the signature, ver, t, h, then the fields after it). Replies are
// read with the client's reader: the root's name, text and attributes, and
// a "Game" reply as the client's GameRecord.

#include "service/GameRecordReader.h"
#include "service/RequestHash.h"
#include "service/ServerRequest.h"

#include "content/XMLHelper.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using FormFields = std::vector<std::pair<std::string, std::string>>;

struct ServiceReplyText {
    std::string mRoot; // empty when the body is no XML
    std::string mText;
    std::map<std::string, std::string> mAttributes;
    std::string mBody;

    std::string attribute(const std::string& name) const {
        const auto found = mAttributes.find(name);
        return found != mAttributes.end() ? found->second : std::string("<absent>");
    }
    // The "Game" reply as the client reads it for nickname; null when it
    // does not read.
    std::unique_ptr<GameRecord> game(const std::string& nickname) const {
        XMLHelper holder;
        holder.setText(mBody);
        XmlNode* root = nullptr;
        auto record = std::make_unique<GameRecord>();
        if (!holder.parse(root) || root == nullptr || !parseGameRecord(*record, root, nickname))
            return nullptr;
        return record;
    }
};

inline ServiceReplyText readReply(const std::string& body) {
    ServiceReplyText reply;
    reply.mBody = body;
    XMLHelper holder;
    holder.setText(body);
    XmlNode* root = nullptr;
    if (!holder.parse(root) || root == nullptr)
        return reply;
    reply.mRoot.assign(root->name(), root->name_size());
    reply.mText.assign(root->value(), root->value_size());
    for (const auto* attribute = root->first_attribute(); attribute != nullptr;
         attribute = attribute->next_attribute())
        reply.mAttributes[std::string(attribute->name(), attribute->name_size())] =
            std::string(attribute->value(), attribute->value_size());
    return reply;
}

class ServiceClient {
public:
    ServiceClient(std::string baseUrl, std::string authKey = {})
        : mBaseUrl(std::move(baseUrl)), mAuthKey(std::move(authKey)) {}

    // Logs in with the login name and password; false when refused.
    bool login(const std::string& name, const std::string& password) {
        std::string hash;
        computeRequestHash(name, password, 77, hash);
        ServerRequest request(mBaseUrl + "Accounts/login");
        for (const auto& [field, value] : FormFields{{"username", name},
                                                     {"password", password},
                                                     {"device", cDevice},
                                                     {"ver", "1"},
                                                     {"t", "77"},
                                                     {"h", hash}})
            request.addFormString(field, value);
        if (!request())
            return false;
        const ServiceReplyText reply = readReply(request.getResponseString());
        mAuthKey = reply.attribute("a");
        return reply.mRoot == "LoginSuccess";
    }

    // leading: fields sent before "device" (the game id of getGameState).
    ServiceReplyText post(const std::string& path, const FormFields& before,
                          const FormFields& after = {}, const FormFields& leading = {}) const {
        std::string hash;
        computeRequestHash(cDevice, mAuthKey, 1234, hash);
        ServerRequest request(mBaseUrl + path);
        FormFields fields = leading;
        fields.insert(fields.end(), {{"device", cDevice}, {"authKey", mAuthKey}});
        fields.insert(fields.end(), before.begin(), before.end());
        fields.insert(fields.end(), {{"ver", "1"}, {"t", "1234"}, {"h", hash}});
        fields.insert(fields.end(), after.begin(), after.end());
        for (const auto& [field, value] : fields)
            request.addFormString(field, value);
        if (!request())
            return {};
        return readReply(request.getResponseString());
    }

    const std::string& authKey() const { return mAuthKey; }

private:
    static constexpr const char* cDevice = "device-01";
    std::string mBaseUrl;
    std::string mAuthKey;
};

inline std::string base64(const std::vector<uint8_t>& bytes) {
    return encodeBase64(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// The fields of Game/createGame before the signature, as the client sends them.
inline FormFields createGameFields(const std::string& opponent, const std::string& civ) {
    return {{"invAccount", opponent},
            {"civName", civ},
            {"wasRematch", "0"},
            {"rematchGameID", "0"},
            {"clientBuildVersion", "1039"},
            {"creationMethod", "CUSTOM"}};
}
