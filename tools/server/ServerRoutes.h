#pragma once

// What the loopback server answers in real mode: one handler per service
// path, run in one database transaction per request. Each area of the
// service registers its paths in its own ServerRoutes_<area>.cpp, and
// addServerRoutes lists the areas.

#include "tools/server/ServerDatabase.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// One part of a multipart form, as it arrived.
struct FormPart {
    std::string name;
    std::string value;
};

// A request as the server received it.
struct ReceivedRequest {
    std::string method;
    std::string path; // with its leading '/'
    std::vector<std::pair<std::string, std::string>> headers;
    std::vector<FormPart> parts; // in arrival order

    // The first part of that name; null when absent.
    const std::string* field(std::string_view name) const;
    // The first header of that name, compared ignoring case; null when absent.
    const std::string* header(std::string_view name) const;
};

struct ServerReply {
    int status = 200;
    std::string body;
    std::string contentType = "text/xml";
};

// An XML reply: the root element with attributes and text, escaped.
std::string xmlReply(std::string_view root,
                     const std::vector<std::pair<std::string, std::string>>& attributes = {},
                     std::string_view text = {});
// The "Error" reply with its text.
ServerReply errorReply(std::string_view text);
// text with '&', '<', '>' and '"' escaped (XML and HTML alike).
std::string escapeMarkup(std::string_view text);

class ServerBot;

struct RouteContext {
    const ReceivedRequest& request;
    ServerDatabase& database;
    // The opponent bot; null when the server runs without one.
    ServerBot* bot = nullptr;

    // The form part of that name; empty when absent.
    std::string field(std::string_view name) const;
};

// The form part of that name as a game id: a whole decimal number above 0.
bool gameIdField(const RouteContext& context, std::string_view name, int64_t& id);

using RouteHandler = std::function<ServerReply(RouteContext&)>;
// Path without its leading '/' to handler.
using ServerRoutes = std::map<std::string, RouteHandler, std::less<>>;

// The server clock in seconds: the system clock plus the setting
// "clockOffset" (seconds, 0 when unset).
int64_t serverClock(ServerDatabase& database);

void addServerRoutes(ServerRoutes& routes);
void addClockRoutes(ServerRoutes& routes);
void addAccountRoutes(ServerRoutes& routes);
void addNewsRoutes(ServerRoutes& routes);
void addGameRoutes(ServerRoutes& routes);
void addMatchRoutes(ServerRoutes& routes);
void addChatRoutes(ServerRoutes& routes);
