#pragma once

// The local player's avatar: the pack id and avatar index the online
// service keeps for the signed-in player. The service client implements
// LocalAvatarSource and installs itself at start-up; until then (and in
// tests) the avatar is avatar 0 of "AVATAR_COUNCIL_FREE". Main thread only.

#include <cstdint>
#include <string>

inline constexpr const char* cDefaultAvatarPackId = "AVATAR_COUNCIL_FREE";

class LocalAvatarSource {
public:
    virtual ~LocalAvatarSource();
    virtual std::string localAvatarPackId() = 0;
    virtual int32_t localAvatarIndex() = 0;
};

// Installs source (which must outlive its use); null restores the defaults.
void setLocalAvatarSource(LocalAvatarSource* source);

// The installed source's answers, else "AVATAR_COUNCIL_FREE" and 0.
std::string localAvatarPackId();
int32_t localAvatarIndex();
