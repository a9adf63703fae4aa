#include "shell/ServerVersionCheck.h"

#include "shell/PageHost.h"

#include "service/ServiceReply.h"
#include "service/WebService.h"

bool checkServerVersion(WebService& service) {
    if (service.getVersions() == cReplyNoReply) {
        // The \n travels as a backslash and an n: a line break for the page.
        runInPage("locAlert(\"Failed to connect to the server.\\nPlease try again later.\");");
        return false;
    }
    service.getTime();
    if (service.mProtocolVersion > cClientProtocolVersion) {
        service.logout();
        runInPage("locAlert(\"ProtocolVersionOld\");");
        return false;
    }
    return true;
}
