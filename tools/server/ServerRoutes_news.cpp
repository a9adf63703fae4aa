// The news base (the unread count and two small pages) and the config base
// (the version check and the option text "Server.cfg").

#include "tools/server/ServerRoutes.h"

#include "service/ServiceReply.h"

#include "rules/ServerTurn.h"

namespace {

ServerReply htmlPage(std::string_view title, const std::string& body) {
    return {200,
            "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + escapeMarkup(title) +
                "</title></head>\n<body><h1>" + escapeMarkup(title) + "</h1>\n" + body +
                "</body></html>\n",
            "text/html; charset=utf-8"};
}

int64_t count(ServerDatabase& database, std::string_view sql, int64_t key = 0) {
    SqlStatement query = database.prepare(sql);
    if (sql.find('?') != std::string_view::npos)
        query.bind(1, key);
    return query.step() ? query.columnInt64(0) : 0;
}

} // namespace

void addNewsRoutes(ServerRoutes& routes) {
    // key: the largest news id (0 with none); diff: the items above the
    // client's "key".
    routes["News/getTarnwickNewsGetLargeID"] = [](RouteContext& context) {
        int64_t readUpTo = 0;
        if (!parseDecimal(context.field("key"), readUpTo))
            return errorReply("InvalidKey");
        const int64_t largest = count(context.database, "SELECT COALESCE(MAX(id), 0) FROM news");
        const int64_t unread =
            count(context.database, "SELECT COUNT(*) FROM news WHERE id > ?", readUpTo);
        return ServerReply{200, xmlReply("root", {{"key", std::to_string(largest)},
                                                  {"diff", std::to_string(unread)}})};
    };
    routes["News/getTarnwickNews"] = [](RouteContext& context) {
        std::string items;
        SqlStatement query =
            context.database.prepare("SELECT title, body FROM news ORDER BY id DESC");
        while (query.step())
            items += "<h2>" + escapeMarkup(query.columnText(0)) + "</h2>\n<p>" +
                     escapeMarkup(query.columnText(1)) + "</p>\n";
        return htmlPage("News", items.empty() ? "<p>No news.</p>\n" : items);
    };
    routes["News/getTarnwickGameGuide"] = [](RouteContext&) {
        return htmlPage("Game guide",
                        "<p>Draw tiles from your chest, place them on the board and spend your "
                        "action points; the first to the score to win takes the game.</p>\n");
    };
    routes["Version/getTarnwickVersions"] = [](RouteContext& context) {
        ServerDatabase& database = context.database;
        const std::string build = std::to_string(kClientBuildVersion);
        return ServerReply{
            200, xmlReply("root", {{"protocol", database.setting("protocolVersion", build)},
                                   {"lowerGame", database.setting("lowerGameVersion", build)},
                                   {"upperGame", database.setting("upperGameVersion", build)}})};
    };
    // The setting "serverConfig", empty by default.
    routes["Server.cfg"] = [](RouteContext& context) {
        return ServerReply{200, context.database.setting("serverConfig"), "text/plain"};
    };
}
