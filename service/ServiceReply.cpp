#include "service/ServiceReply.h"

#include "service/ServerRequest.h"

ServiceReply::ServiceReply(ServerRequest& request, bool delivered) : mDelivered(delivered) {
    if (!mDelivered)
        return;
    mHolder.text().swap(request.response());
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
