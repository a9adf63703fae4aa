#pragma once

// Reading a reply of the game service. Its outcome is the name of the root
// element ("Success", "Error", "LoginSuccess", ...), its data the root's
// attributes, an error's detail the root's text. The body is parsed in place
// (a leading UTF-8 byte-order mark skipped); a parse error, an empty body or
// a document without an element leave no root. Nothing here throws.
//
// Requests return small codes. The common convention, which each request
// states through ReplyCodes: 0 the expected root was read, 1 an "Error"
// reply, 2 anything else, and for a few requests 99 when no reply came.

#include "content/XMLHelper.h"

#include <cstdint>
#include <string_view>

class ServerRequest;

// The whole text as a signed decimal number (no blanks, no other
// characters); false, out untouched, otherwise or out of range.
bool parseDecimal(std::string_view text, int32_t& out);
bool parseDecimal(std::string_view text, int64_t& out);
// A root's attribute of exactly that name read by parseDecimal; false when
// it is missing or does not read.
bool replyAttributeDecimal(const XmlNode& root, const char* name, int32_t& out);
bool replyAttributeDecimal(const XmlNode& root, const char* name, int64_t& out);

inline constexpr int cReplySuccess = 0;
inline constexpr int cReplyError = 1;
inline constexpr int cReplyOther = 2;
inline constexpr int cReplyNoReply = 99;

// The codes of one request: an expected root, an "Error" root, any other
// root or none, and no reply at all.
struct ReplyCodes {
    int success = cReplySuccess;
    int error = cReplyError;
    int other = cReplyOther;
    int noReply = cReplyOther;
};

class ServiceReply {
public:
    // Takes over the reply body of request (which then holds none) and
    // parses it; delivered is the request's result, false for no reply.
    ServiceReply(ServerRequest& request, bool delivered);
    ServiceReply(const ServiceReply&) = delete;
    ServiceReply& operator=(const ServiceReply&) = delete;

    bool delivered() const { return mDelivered; }
    // The document's first element; null when there is none.
    XmlNode* root() const { return mRoot; }
    bool rootIs(std::string_view name) const;
    // The root's text equals text exactly ("NotLoggedIn", "InvalidPassword").
    bool rootTextIs(std::string_view text) const;
    // The root's attribute of exactly that name; null when absent.
    const char* attribute(const char* name) const;

    // The request's code by the convention: codes.success when the root is
    // named successRoot, codes.error for "Error", codes.noReply when nothing
    // came, codes.other otherwise.
    int result(std::string_view successRoot, const ReplyCodes& codes = {}) const;
    // The code of a request that tells only a logged-out player apart: 0 for
    // a root named successRoot, 1 for the "Error" "NotLoggedIn", 2 for
    // anything else.
    int notLoggedInResult(std::string_view successRoot) const;

private:
    XMLHelper mHolder;
    XmlNode* mRoot = nullptr;
    bool mDelivered;
};

// Performs request and reads its reply.
struct PerformedRequest {
    explicit PerformedRequest(ServerRequest& request);
    ServiceReply reply;
};
