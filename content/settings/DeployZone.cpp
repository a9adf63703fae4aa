#include "content/settings/DeployZone.h"

DeployZone::~DeployZone() = default;

bool DeployZone::load(const XmlNode* element) {
    if (!element)
        return false;
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element || !xmlNameEquals(child, "tile"))
            continue;
        DeployTile tile;
        if (!xmlAttrInt(child, "x", tile.x) || !xmlAttrInt(child, "y", tile.y) || tile.x < 0 ||
            tile.y < 0)
            return false;
        mTiles.push_back(tile);
    }
    return true;
}
