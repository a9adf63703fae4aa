#pragma once

// Avatar packs: the catalogue of the data file "AvatarPacks.xml" and the
// image paths of the avatars in it. A player's avatar is written as an avatar
// string, the pack id, "|" and the decimal avatar index.
//
// A pack element holds an "id", an "icon" and its "avatar" elements in order;
// an avatar's index is its position among the kept ones. An avatar name
// becomes its image path when the file is read (getImagePath), with the
// director's high-resolution choice of that moment. The catalogue lives from
// the game-data load to exit. Main thread only.

#include "content/XMLHelper.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class AvatarPack {
public:
    virtual ~AvatarPack();

    // Replaces the catalogue with the packs of "AvatarPacks.xml", checked
    // against its CRC-32. False when the file is missing, altered or
    // malformed; the catalogue is then empty.
    static bool loadAll();
    // Reads one pack element and looks up its texts; false for a null one.
    bool load(const XmlNode* element);

    // The first pack with exactly this id, null when none.
    static AvatarPack* findById(std::string_view id);
    // The image path of avatar index, "" outside the pack.
    std::string getAvatar(int32_t index) const;
    // The image path of avatar index of pack packId: "" for an index outside
    // the pack; for an unknown pack, the first pack's first avatar ("" when
    // the catalogue or that pack is empty).
    static std::string getAvatarInPack(std::string_view packId, int32_t index);
    // The local player's avatar (content/LocalAvatar.h).
    static std::string getDefaultAvatar();
    // "UI/Avatars/" + name, unless name already contains "UI/Avatars/"; in
    // high resolution with "-hd" before the last "." ("" without a ".").
    static std::string getImagePath(std::string_view name);

    static const std::vector<std::unique_ptr<AvatarPack>>& packs();
    static void clear();

    std::string mId;
    std::string mIcon;
    std::vector<std::string> mAvatars;
    std::string mDisplayName;
    std::string mDescription;
    std::string mLongDescription;
};

// The image path of an avatar string: split at the last "|" into pack id and
// index (read as strtol does). Without "|", or with an index out of range of
// int32_t, avatar 0 of "AVATAR_COUNCIL_FREE".
std::string parseAvatarString(std::string_view avatarString);
