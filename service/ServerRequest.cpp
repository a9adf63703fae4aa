#include "service/ServerRequest.h"

#include "content/DataPath.h"

#include <curl/curl.h>

#include <filesystem>
#include <mutex>
#include <new>

namespace {

std::mutex gDefaultsMutex;
std::chrono::milliseconds gDefaultTimeout = ServerRequest::cDefaultTimeout;
std::string gDefaultCaBundle;

// libcurl's progress function: a non-zero result aborts the transfer.
int abortWhenCancelled(void* flag, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* cancel = static_cast<const std::atomic<bool>*>(flag);
    return cancel != nullptr && cancel->load() ? 1 : 0;
}

// The shipped bundle "data/cacert.pem" when it exists.
std::string shippedCaBundle() {
    std::string path;
    dataFilePath("cacert", path, "pem");
    std::error_code error;
    const std::filesystem::path file = resolvePath(path);
    return std::filesystem::is_regular_file(file, error) ? file.string() : std::string();
}

} // namespace

ServerRequest::ServerRequest(std::string url) : mUrl(std::move(url)) {
    {
        const std::lock_guard lock(gDefaultsMutex);
        mTimeout = gDefaultTimeout;
        mCaBundle = gDefaultCaBundle;
    }
    mCurl = curl_easy_init();
}

ServerRequest::ServerRequest(ServerRequest&& other) noexcept
    : mCurl(other.mCurl), mUrl(std::move(other.mUrl)), mForm(other.mForm), mHeaders(other.mHeaders),
      mHttpStatus(other.mHttpStatus), mResponse(std::move(other.mResponse)),
      mTimeout(other.mTimeout), mCaBundle(std::move(other.mCaBundle)), mCancel(other.mCancel) {
    other.mCurl = nullptr;
    other.mForm = nullptr;
    other.mHeaders = nullptr;
}

ServerRequest::~ServerRequest() {
    // The form belongs to the handle it was made for: freed first.
    curl_mime_free(mForm);
    curl_easy_cleanup(mCurl);
    curl_slist_free_all(mHeaders);
}

void ServerRequest::addFormString(std::string_view name, std::string_view value) {
    if (mCurl == nullptr)
        return;
    if (mForm == nullptr)
        mForm = curl_mime_init(mCurl);
    curl_mimepart* part = curl_mime_addpart(mForm);
    const std::string copiedName(name);
    curl_mime_name(part, copiedName.c_str());
    curl_mime_data(part, value.data(), value.size());
}

void ServerRequest::addFormInt(std::string_view name, int32_t value) {
    addFormString(name, std::to_string(value));
}

void ServerRequest::addFormInt64(std::string_view name, int64_t value) {
    addFormString(name, std::to_string(value));
}

void ServerRequest::addFormStatusNone() {
    addFormString("status", "none");
}

bool ServerRequest::operator()() {
    mResponse.clear();
    mHttpStatus = 0;
    if (mCurl == nullptr) {
        mResponse.push_back('\0');
        return false;
    }
    curl_easy_setopt(mCurl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(mCurl, CURLOPT_TIMEOUT_MS, static_cast<long>(mTimeout.count()));
    curl_easy_setopt(mCurl, CURLOPT_URL, mUrl.c_str());
    // The loopback server must never be reached through a proxy.
    curl_easy_setopt(mCurl, CURLOPT_NOPROXY, "127.0.0.1,localhost");

    curl_slist_free_all(mHeaders);
    mHeaders = curl_slist_append(nullptr, "Expect:");
    mHeaders = curl_slist_append(mHeaders, "Accept-Language:en");
    curl_easy_setopt(mCurl, CURLOPT_HTTPHEADER, mHeaders);

    // Peer verification stays on; only the bundle is chosen here.
    const std::string bundle = mCaBundle.empty() ? shippedCaBundle() : mCaBundle;
    if (!bundle.empty())
        curl_easy_setopt(mCurl, CURLOPT_CAINFO, bundle.c_str());

    mErrorBuffer[0] = '\0';
    curl_easy_setopt(mCurl, CURLOPT_ERRORBUFFER, mErrorBuffer);
    curl_easy_setopt(mCurl, CURLOPT_WRITEFUNCTION, &ServerRequest::writeCallback);
    curl_easy_setopt(mCurl, CURLOPT_WRITEDATA, &mResponse);
    curl_easy_setopt(mCurl, CURLOPT_XFERINFOFUNCTION, &abortWhenCancelled);
    curl_easy_setopt(mCurl, CURLOPT_XFERINFODATA, mCancel);
    curl_easy_setopt(mCurl, CURLOPT_NOPROGRESS, mCancel != nullptr ? 0L : 1L);
    if (mForm != nullptr)
        curl_easy_setopt(mCurl, CURLOPT_MIMEPOST, mForm);

    const CURLcode result = curl_easy_perform(mCurl);

    mResponse.push_back('\0');
    long status = 0;
    curl_easy_getinfo(mCurl, CURLINFO_RESPONSE_CODE, &status);
    // A reply cut off for its size is no reply.
    mHttpStatus = result == CURLE_WRITE_ERROR ? 0 : static_cast<int32_t>(status);
    return mHttpStatus == 200 || mHttpStatus == 405;
}

std::string ServerRequest::getResponseString() const {
    if (mResponse.empty())
        return {};
    return std::string(mResponse.data());
}

void ServerRequest::setDefaultTimeout(std::chrono::milliseconds timeout) {
    const std::lock_guard lock(gDefaultsMutex);
    gDefaultTimeout = timeout;
}

void ServerRequest::setDefaultCaBundle(std::string path) {
    const std::lock_guard lock(gDefaultsMutex);
    gDefaultCaBundle = std::move(path);
}

size_t ServerRequest::writeCallback(char* data, size_t size, size_t count, void* reply) {
    auto* bytes = static_cast<std::vector<char>*>(reply);
    const size_t length = size * count;
    if (length > cMaxResponseBytes - bytes->size())
        return 0;
    try {
        bytes->insert(bytes->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return length;
}
