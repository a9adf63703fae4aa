// Feeds arbitrary native calls to the page's bridge: the first line is the
// function's name, the rest its arguments as JSON text. The client's server
// is a closed local port, so the requests fail at once; statements go to the
// recording page host. prepLaunch (the game data's load) is left out.

#include "shell/CocosV8Handler.h"
#include "shell/PageHost.h"

#include "platform/browser/BridgeDispatcher.h"
#include "service/BSecureStorage.h"
#include "service/WebService.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

struct Bridge {
    Bridge() : handler(service, store) {
        const std::string closed = "http://127.0.0.1:1/";
        service.setSecureStorage(&store);
        service.setBaseUrls(closed, closed, closed, closed);
        setPageHost(&page);
        installBridgeDispatcher(handler);
    }
    BSecureStorage store;
    WebService service;
    RecordingPageHost page;
    CocosV8Handler handler;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Bridge bridge;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const size_t end = bytes.find('\n');
    const std::string function(bytes.substr(0, end));
    const std::string arguments(end == std::string_view::npos ? std::string_view()
                                                              : bytes.substr(end + 1));
    if (function == "prepLaunch")
        return 0;
    answerBridgeCall(function, arguments);
    return 0;
}
