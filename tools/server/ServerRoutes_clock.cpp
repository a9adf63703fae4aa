#include "tools/server/ServerRoutes.h"

void addClockRoutes(ServerRoutes& routes) {
    // The server clock, unsigned: <root t="seconds"/>.
    routes["Accounts/getTime"] = [](RouteContext& context) {
        return ServerReply{
            200, xmlReply("root", {{"t", std::to_string(serverClock(context.database))}})};
    };
}
