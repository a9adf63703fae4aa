#include "tools/server/ServerRoutes.h"

#include "service/ServiceReply.h"

#include <strings.h>

#include <chrono>
#include <cstdlib>

const std::string* ReceivedRequest::field(std::string_view name) const {
    for (const FormPart& part : parts)
        if (part.name == name)
            return &part.value;
    return nullptr;
}

const std::string* ReceivedRequest::header(std::string_view name) const {
    for (const auto& [key, value] : headers)
        if (key.size() == name.size() && strncasecmp(key.data(), name.data(), name.size()) == 0)
            return &value;
    return nullptr;
}

std::string RouteContext::field(std::string_view name) const {
    const std::string* value = request.field(name);
    return value != nullptr ? *value : std::string();
}

bool gameIdField(const RouteContext& context, std::string_view name, int64_t& id) {
    const std::string* text = context.request.field(name);
    return text != nullptr && parseDecimal(*text, id) && id > 0;
}

namespace {

void appendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
}

} // namespace

std::string xmlReply(std::string_view root,
                     const std::vector<std::pair<std::string, std::string>>& attributes,
                     std::string_view text) {
    std::string out = "<";
    out += root;
    for (const auto& [name, value] : attributes) {
        out += ' ';
        out += name;
        out += "=\"";
        appendEscaped(out, value);
        out += '"';
    }
    if (text.empty())
        return out + "/>";
    out += '>';
    appendEscaped(out, text);
    return out + "</" + std::string(root) + ">";
}

std::string escapeMarkup(std::string_view text) {
    std::string out;
    appendEscaped(out, text);
    return out;
}

ServerReply errorReply(std::string_view text) {
    return {200, xmlReply("Error", {}, text)};
}

int64_t serverClock(ServerDatabase& database) {
    const int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    return now + std::strtoll(database.setting("clockOffset", "0").c_str(), nullptr, 10);
}

void addServerRoutes(ServerRoutes& routes) {
    addClockRoutes(routes);
    addAccountRoutes(routes);
    addNewsRoutes(routes);
    addGameRoutes(routes);
    addMatchRoutes(routes);
    addChatRoutes(routes);
}
