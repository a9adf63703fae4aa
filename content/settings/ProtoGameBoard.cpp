#include "content/settings/ProtoGameBoard.h"

#include "content/protos/ProtoFields.h"

ProtoGameBoard::ProtoGameBoard() : mPremiumTiles(std::make_unique<PremiumTileInfo>()) {}

ProtoGameBoard::~ProtoGameBoard() = default;

bool ProtoGameBoard::load(const XmlNode* element) {
    if (!element)
        return false;
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (xmlNameEquals(child, "Art")) {
            mArt = xmlText(child);
            mGridOffset = {};
            xmlAttrFloat(child, "gridOffsetX", mGridOffset.x);
            xmlAttrFloat(child, "gridOffsetY", mGridOffset.y);
        } else if (xmlNameEquals(child, "premiumTiles")) {
            mPremiumTiles->load(child);
        } else if (xmlNameEquals(child, "preplace")) {
            auto piece = std::make_unique<PreplacedEntity>();
            if (piece->load(child))
                mPreplaced.push_back(std::move(piece));
        } else if (xmlNameEquals(child, "deployZone")) {
            mDeployZone = std::make_unique<DeployZone>();
            if (!mDeployZone->load(child))
                mDeployZone.reset();
        }
    }
    return true;
}
