#include "platform/steam/SteamCallbacks.h"

#include <deque>
#include <map>
#include <unordered_map>
#include <utility>

namespace {

struct Registry {
    SteamAPICall lastCall = cInvalidAPICall;
    std::deque<std::pair<SteamAPICall, std::function<void(SteamAPICall)>>> pending;
    std::unordered_map<SteamAPICall, SteamCalls::Delivery> slots;
    uint64_t lastToken = 0;
    std::map<uint64_t, std::pair<int, std::function<void(const void*)>>> callbacks;
    bool failing = false;
};

// Never destroyed: slots and callbacks of process-wide objects unregister
// at exit, after other statics may be gone.
Registry& registry() {
    static Registry* instance = new Registry;
    return *instance;
}

} // namespace

namespace SteamCalls {

SteamAPICall start(std::function<void(SteamAPICall call)> complete) {
    Registry& calls = registry();
    const SteamAPICall call = ++calls.lastCall;
    calls.pending.emplace_back(call, std::move(complete));
    return call;
}

void deliver(SteamAPICall call, const void* record, bool ioFailure) {
    Registry& calls = registry();
    const auto found = calls.slots.find(call);
    if (found == calls.slots.end())
        return;
    // Taken out first: the handler may set its slot again.
    const Delivery delivery = std::move(found->second);
    calls.slots.erase(found);
    delivery(record, ioFailure);
}

void registerCallResult(SteamAPICall call, Delivery delivery) {
    registry().slots[call] = std::move(delivery);
}

void unregisterCallResult(SteamAPICall call) {
    registry().slots.erase(call);
}

uint64_t registerCallback(int callbackId, std::function<void(const void* record)> handler) {
    Registry& calls = registry();
    const uint64_t token = ++calls.lastToken;
    calls.callbacks.emplace(token, std::make_pair(callbackId, std::move(handler)));
    return token;
}

void unregisterCallback(uint64_t token) {
    registry().callbacks.erase(token);
}

void post(int callbackId, const void* record) {
    // A copy: a handler may register or unregister callbacks.
    const auto callbacks = registry().callbacks;
    for (const auto& [token, callback] : callbacks)
        if (callback.first == callbackId && registry().callbacks.contains(token))
            callback.second(record);
}

void runPending() {
    Registry& calls = registry();
    // Calls started while these complete wait for the next run.
    auto due = std::move(calls.pending);
    calls.pending.clear();
    for (auto& [call, complete] : due)
        complete(call);
}

void dropPending() {
    registry().pending.clear();
}

void setFailing(bool failing) {
    registry().failing = failing;
}

bool failing() {
    return registry().failing;
}

} // namespace SteamCalls
