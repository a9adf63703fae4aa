#pragma once

// One request to the game service over libcurl: a multipart form whose parts
// go out in the order they were added (each with its length, so a value may
// hold any bytes), or a plain GET when there are none. Performing it blocks
// the calling thread for at most the time-out (20 s unless set otherwise);
// it succeeds on HTTP 200 or 405, and there are no retries. The reply body is
// kept with one NUL byte appended so that it can be parsed in place.
//
// A request owns its easy handle, form and header list; moving it hands all
// three over (how a request is given to a worker thread).

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

typedef void CURL;
struct curl_mime;
struct curl_slist;

class ServerRequest {
public:
    static constexpr std::chrono::milliseconds cDefaultTimeout{20000};
    // A longer reply is cut off and the request fails.
    static constexpr size_t cMaxResponseBytes = 64u << 20;

    explicit ServerRequest(std::string url);
    ServerRequest(ServerRequest&& other) noexcept;
    ServerRequest(const ServerRequest&) = delete;
    ServerRequest& operator=(const ServerRequest&) = delete;
    ServerRequest& operator=(ServerRequest&&) = delete;
    virtual ~ServerRequest();

    // Append one form part; the name and value are copied.
    void addFormString(std::string_view name, std::string_view value);
    void addFormInt(std::string_view name, int32_t value);
    void addFormInt64(std::string_view name, int64_t value);
    // "status" = "none".
    void addFormStatusNone();

    // Performs the request on the calling thread; true on HTTP 200 or 405.
    bool operator()();

    // The reply body up to its first NUL byte.
    std::string getResponseString() const;
    // The reply body with the appended NUL (empty before the request ran);
    // the reply reader parses it in place.
    std::vector<char>& response() { return mResponse; }
    // -1 before the request ran, 0 when no reply came.
    int32_t httpStatus() const { return mHttpStatus; }
    const std::string& url() const { return mUrl; }
    bool hasForm() const { return mForm != nullptr; }

    // The whole-transfer time-out of this request.
    void setTimeout(std::chrono::milliseconds timeout) { mTimeout = timeout; }
    // The certificate-authority bundle of this request; empty: the data file
    // "cacert.pem" when present, else libcurl's default.
    void setCaBundle(std::string path) { mCaBundle = std::move(path); }
    // While the request runs, a set flag aborts it (checked about once a
    // second and on every transfer step).
    void setCancelFlag(const std::atomic<bool>* flag) { mCancel = flag; }

    // The time-out and bundle that new requests start with (tests shorten
    // the time-out and pass their own certificate authority).
    static void setDefaultTimeout(std::chrono::milliseconds timeout);
    static void setDefaultCaBundle(std::string path);

    // libcurl's write function: appends size * count bytes to *reply; 0
    // (which aborts the transfer) past cMaxResponseBytes.
    static size_t writeCallback(char* data, size_t size, size_t count, void* reply);

private:
    CURL* mCurl = nullptr;
    std::string mUrl;
    curl_mime* mForm = nullptr;
    curl_slist* mHeaders = nullptr;
    int32_t mHttpStatus = -1;
    std::vector<char> mResponse;
    char mErrorBuffer[256] = {};
    std::chrono::milliseconds mTimeout;
    std::string mCaBundle;
    const std::atomic<bool>* mCancel = nullptr;
};
