#pragma once

// The native call road: a page's `cef.uiapp.<fn>(args...)` becomes a
// synchronous request of "tarnwick://app/bridge/<fn>?<arguments as JSON>",
// answered on the main thread by the one registered dispatcher. The reply
// is a JSON object: {"value": ...} for a value, {} for none (the call then
// yields undefined).
//
// The document-start script that defines `cef.uiapp` (a Proxy, so that any
// function name goes through) is `bridgeUserScript`.

#include <nlohmann/json.hpp>

#include <functional>
#include <optional>
#include <string>

// Answers one call: the function's name and its arguments (a JSON array);
// no value for none.
using BridgeDispatcher = std::function<std::optional<nlohmann::json>(
    const std::string& function, const nlohmann::json& arguments)>;

// Installs the dispatcher (an empty one answers every call with none).
void setBridgeDispatcher(BridgeDispatcher dispatcher);

// The reply body of a call whose arguments arrived as JSON text. Text that
// is not a JSON array is answered with none and one log line, and the
// dispatcher is not asked.
std::string answerBridgeCall(const std::string& function, const std::string& argumentsJson);

// The script run at the start of every document of the page.
const char* bridgeUserScript();
