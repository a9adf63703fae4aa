#include "platform/browser/BridgeDispatcher.h"

#include <cstdio>

namespace {

BridgeDispatcher& dispatcher() {
    static BridgeDispatcher instance;
    return instance;
}

} // namespace

void setBridgeDispatcher(BridgeDispatcher newDispatcher) {
    dispatcher() = std::move(newDispatcher);
}

std::string answerBridgeCall(const std::string& function, const std::string& argumentsJson) {
    const nlohmann::json arguments = nlohmann::json::parse(argumentsJson, nullptr, false);
    if (!arguments.is_array()) {
        std::fprintf(stderr, "bridge: the arguments of %s are not a JSON array\n",
                     function.c_str());
        return "{}";
    }
    if (!dispatcher())
        return "{}";
    const std::optional<nlohmann::json> value = dispatcher()(function, arguments);
    if (!value)
        return "{}";
    return nlohmann::json{{"value", *value}}.dump(-1, ' ', false,
                                                  nlohmann::json::error_handler_t::replace);
}

const char* bridgeUserScript() {
    return R"JS((function () {
  if (window.cef && window.cef.uiapp) return;
  function call(name, args) {
    var request = new XMLHttpRequest();
    request.open('GET', 'tarnwick://app/bridge/' + encodeURIComponent(name) + '?' +
                 encodeURIComponent(JSON.stringify(args)), false);
    try { request.send(null); } catch (e) { return undefined; }
    if (request.status !== 200) return undefined;
    try {
      var reply = JSON.parse(request.responseText);
      return ('value' in reply) ? reply.value : undefined;
    } catch (e) { return undefined; }
  }
  var uiapp = new Proxy({}, {
    get: function (target, name) {
      if (typeof name !== 'string' || name === 'then') return undefined;
      return function () { return call(name, Array.prototype.slice.call(arguments)); };
    }
  });
  window.cef = window.cef || {};
  window.cef.uiapp = uiapp;
})();
)JS";
}
