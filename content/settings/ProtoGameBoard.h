#pragma once

// One board layout, read from a "board" element of gameboards.xml or of a
// puzzle file: its art and grid offset, premium squares, deploy zone and
// the pieces placed before play.
//
//   <board>
//     <Art gridOffsetX="0" gridOffsetY="12">Boards/Meadow.png</Art>
//     <premiumTiles><premiumTile type="Power" x="4" y="2"/></premiumTiles>
//     <preplace name="humansCrystal" x="0" y="1" player="0"
//     victoryHealthPool="true"/> <deployZone><tile x="0" y="0"/><tile x="1"
//     y="0"/></deployZone>
//   </board>

#include "content/XMLHelper.h"
#include "content/settings/DeployZone.h"
#include "content/settings/PremiumTileInfo.h"
#include "content/settings/PreplacedEntity.h"

#include <memory>
#include <string>
#include <vector>

struct BoardOffset {
    float x = 0.0f;
    float y = 0.0f;
};

class ProtoGameBoard {
public:
    ProtoGameBoard();
    ProtoGameBoard(const ProtoGameBoard&) = delete;
    ProtoGameBoard& operator=(const ProtoGameBoard&) = delete;
    virtual ~ProtoGameBoard();

    // Reads the children by exact name; a later "Art" replaces the art and
    // offset, premium squares of several "premiumTiles" add up, a bad
    // "preplace" is dropped, a bad "deployZone" leaves none. False only for
    // a null element.
    bool load(const XmlNode* element);

    std::string mArt;
    std::unique_ptr<PremiumTileInfo> mPremiumTiles; // never null
    std::unique_ptr<DeployZone> mDeployZone;        // null when none was read
    std::vector<std::unique_ptr<PreplacedEntity>> mPreplaced;
    BoardOffset mGridOffset;
};
