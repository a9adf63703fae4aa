#pragma once

// Asynchronous calls of the platform stand-in and the records they deliver.
//
// A call returns its handle at once; its record is made and delivered only
// inside SteamClient::runCallbacks, in call order. A call result slot
// (SteamCallResult) takes the record of one call: setting the slot again
// drops its earlier call, and a record whose call no slot holds is dropped.
// A callback (SteamCallback) takes every record of its kind for as long as
// it lives. Main thread only.

#include <cstdint>
#include <functional>

using SteamAPICall = uint64_t;
inline constexpr SteamAPICall cInvalidAPICall = 0;

// Result codes of the platform.
inline constexpr int32_t cSteamResultOK = 1;
inline constexpr int32_t cSteamResultFail = 2;

struct UserStatsReceived {
    static constexpr int cCallbackId = 1101;
    int32_t mResult = cSteamResultFail;
    uint64_t mUserId = 0;
};

struct LeaderboardFindResult {
    static constexpr int cCallbackId = 1104;
    uint64_t mLeaderboard = 0; // 0: not found
    bool mFound = false;
};

struct LeaderboardScoresDownloaded {
    static constexpr int cCallbackId = 1105;
    uint64_t mLeaderboard = 0;
    uint64_t mEntries = 0; // read with SteamUserStats::getDownloadedLeaderboardEntry
    int32_t mEntryCount = 0;
};

struct LeaderboardScoreUploaded {
    static constexpr int cCallbackId = 1106;
    bool mSuccess = false;
    uint64_t mLeaderboard = 0;
    int32_t mScore = 0;
    bool mScoreChanged = false;
    int32_t mGlobalRankNew = 0;
    int32_t mGlobalRankPrevious = 0; // 0: no earlier entry
};

// The machinery under the slots; the stand-in's own code starts the calls.
namespace SteamCalls {

using Delivery = std::function<void(const void* record, bool ioFailure)>;

// A new call whose completion runs inside the next runCallbacks.
SteamAPICall start(std::function<void(SteamAPICall call)> complete);
// Hands a finished call's record to the slot holding the call, if any.
void deliver(SteamAPICall call, const void* record, bool ioFailure);
void registerCallResult(SteamAPICall call, Delivery delivery);
void unregisterCallResult(SteamAPICall call);

uint64_t registerCallback(int callbackId, std::function<void(const void* record)> handler);
void unregisterCallback(uint64_t token);
// Hands a record to every callback of its kind.
void post(int callbackId, const void* record);

// Completes the calls started before this run, in call order.
void runPending();
// Forgets calls not yet completed (the client stops).
void dropPending();
// Tests: while on, every call completes as an input/output failure
// without doing its work.
void setFailing(bool failing);
bool failing();

// A call whose record is made by produce when it completes (a default
// record, flagged as failed, while failing() is on).
template <class Record> SteamAPICall startWith(std::function<Record()> produce) {
    return start([produce = std::move(produce)](SteamAPICall call) {
        const bool failed = failing();
        const Record record = failed ? Record{} : produce();
        deliver(call, &record, failed);
    });
}

} // namespace SteamCalls

// A slot for the record of one call.
template <class Record> class SteamCallResult {
public:
    using Handler = std::function<void(const Record& record, bool ioFailure)>;

    SteamCallResult() = default;
    SteamCallResult(const SteamCallResult&) = delete;
    SteamCallResult& operator=(const SteamCallResult&) = delete;
    ~SteamCallResult() { cancel(); }

    // Waits for call's record (dropping the earlier call); an invalid call
    // leaves the slot empty.
    void set(SteamAPICall call, Handler handler) {
        cancel();
        if (call == cInvalidAPICall)
            return;
        mCall = call;
        SteamCalls::registerCallResult(
            call, [this, handler = std::move(handler)](const void* record, bool ioFailure) {
                mCall = cInvalidAPICall;
                handler(*static_cast<const Record*>(record), ioFailure);
            });
    }
    void cancel() {
        if (mCall != cInvalidAPICall)
            SteamCalls::unregisterCallResult(mCall);
        mCall = cInvalidAPICall;
    }
    bool isActive() const { return mCall != cInvalidAPICall; }

private:
    SteamAPICall mCall = cInvalidAPICall;
};

// Takes every record of its kind while it lives.
template <class Record> class SteamCallback {
public:
    explicit SteamCallback(std::function<void(const Record& record)> handler)
        : mToken(SteamCalls::registerCallback(Record::cCallbackId,
                                              [handler = std::move(handler)](const void* record) {
                                                  handler(*static_cast<const Record*>(record));
                                              })) {}
    SteamCallback(const SteamCallback&) = delete;
    SteamCallback& operator=(const SteamCallback&) = delete;
    ~SteamCallback() { SteamCalls::unregisterCallback(mToken); }

private:
    uint64_t mToken;
};
