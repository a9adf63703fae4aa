#include "platform/browser/ClientHandler.h"

#include <glib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Percent-decoding of a URL part; text that does not decode stays as it is.
std::string unescape(const std::string& text) {
    char* decoded = g_uri_unescape_string(text.c_str(), nullptr);
    if (!decoded)
        return text;
    std::string result(decoded);
    g_free(decoded);
    return result;
}

// A path that could name something outside the served folders.
bool escapesFolder(const std::string& path) {
    if (path.empty() || path.front() == '/' || path.find('\\') != std::string::npos)
        return true;
    std::stringstream segments(path);
    std::string segment;
    while (std::getline(segments, segment, '/'))
        if (segment == "..")
            return true;
    return false;
}

} // namespace

SchemeRequest ClientHandler::OnBeforeResourceLoad(const std::string& url) {
    SchemeRequest request;
    if (!startsWith(url, kSchemePrefix))
        return request;
    request.served = true;
    const std::string path = url.substr(std::char_traits<char>::length(kSchemePrefix));

    if (startsWith(path, kBridgePath)) {
        const std::string call = path.substr(std::char_traits<char>::length(kBridgePath));
        const size_t query = call.find('?');
        request.bridge = true;
        request.function = unescape(call.substr(0, query));
        request.arguments = query == std::string::npos ? "[]" : unescape(call.substr(query + 1));
        request.mimeType = "application/json";
        return request;
    }

    request.file = startsWith(path, "data/") ? path : "html/" + path;
    request.mimeType = endsWith(url, ".js") ? "application/javascript" : "text/html";
    if (escapesFolder(path))
        request.status = 404;
    return request;
}

bool ClientHandler::readSchemeFile(SchemeRequest& request, std::string& body) {
    body.clear();
    std::error_code error;
    if (request.status != 200 || !std::filesystem::is_regular_file(request.file, error)) {
        request.status = 404;
        return false;
    }
    std::ifstream in(request.file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (!in) {
        request.status = 404;
        return false;
    }
    body = std::move(content).str();
    return true;
}

PopupPlacement ClientHandler::OnBeforePopup(int left, int top, int right, int bottom) {
    constexpr int kWidth = 1024;
    constexpr int kHeight = 768;
    return PopupPlacement{left + (right - left - kWidth) / 2, top + (bottom - top - kHeight) / 2,
                          kWidth, kHeight};
}
