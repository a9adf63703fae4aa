#include "content/LocalAvatar.h"

namespace {

LocalAvatarSource*& installedSource() {
    static LocalAvatarSource* source = nullptr;
    return source;
}

} // namespace

LocalAvatarSource::~LocalAvatarSource() = default;

void setLocalAvatarSource(LocalAvatarSource* source) {
    installedSource() = source;
}

std::string localAvatarPackId() {
    LocalAvatarSource* source = installedSource();
    return source != nullptr ? source->localAvatarPackId() : std::string(cDefaultAvatarPackId);
}

int32_t localAvatarIndex() {
    LocalAvatarSource* source = installedSource();
    return source != nullptr ? source->localAvatarIndex() : 0;
}
