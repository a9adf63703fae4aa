#include "service/ServiceReply.h"

#include "service/ServerRequest.h"

#include <charconv>

namespace {

template <class Number> bool parseWhole(std::string_view text, Number& out) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end)
        return false;
    out = value;
    return true;
}

template <class Number> bool attributeWhole(const XmlNode& root, const char* name, Number& out) {
    const XmlAttribute* found = xmlFindAttribute(&root, name);
    return found != nullptr &&
           parseWhole(std::string_view(found->value(), found->value_size()), out);
}

} // namespace

bool parseDecimal(std::string_view text, int32_t& out) {
    return parseWhole(text, out);
}

bool parseDecimal(std::string_view text, int64_t& out) {
    return parseWhole(text, out);
}

bool replyAttributeDecimal(const XmlNode& root, const char* name, int32_t& out) {
    return attributeWhole(root, name, out);
}

bool replyAttributeDecimal(const XmlNode& root, const char* name, int64_t& out) {
    return attributeWhole(root, name, out);
}

ServiceReply::ServiceReply(ServerRequest& request, bool delivered) : mDelivered(delivered) {
    if (!mDelivered)
        return;
    mHolder.takeText(request.response());
    XmlNode* first = nullptr;
    if (!mHolder.parse(first))
        return;
    // Skips a declaration, comments and text before the root.
    mRoot = mHolder.document().first_node();
    while (mRoot != nullptr && mRoot->type() != rapidxml::node_element)
        mRoot = mRoot->next_sibling();
}

bool ServiceReply::rootIs(std::string_view name) const {
    return mRoot != nullptr && xmlNameEquals(mRoot, name);
}

bool ServiceReply::rootTextIs(std::string_view text) const {
    return mRoot != nullptr && xmlValueEquals(mRoot, text);
}

const char* ServiceReply::attribute(const char* name) const {
    if (mRoot == nullptr)
        return nullptr;
    const XmlAttribute* found = xmlFindAttribute(mRoot, name);
    return found != nullptr ? found->value() : nullptr;
}

int ServiceReply::result(std::string_view successRoot, const ReplyCodes& codes) const {
    if (!mDelivered)
        return codes.noReply;
    if (rootIs(successRoot))
        return codes.success;
    if (rootIs("Error"))
        return codes.error;
    return codes.other;
}

int ServiceReply::notLoggedInResult(std::string_view successRoot) const {
    if (rootIs(successRoot))
        return cReplySuccess;
    return rootIs("Error") && rootTextIs("NotLoggedIn") ? cReplyError : cReplyOther;
}

PerformedRequest::PerformedRequest(ServerRequest& request) : reply(request, request()) {}
