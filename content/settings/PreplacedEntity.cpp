#include "content/settings/PreplacedEntity.h"

bool PreplacedEntity::load(const XmlNode* element) {
    if (!xmlAttrString(element, "name", mName) || !xmlAttrInt(element, "x", mX) ||
        !xmlAttrInt(element, "y", mY) || !xmlAttrInt(element, "player", mPlayer))
        return false;
    if (!xmlAttrFloat(element, "healthFraction", mHealthFraction))
        mHealthFraction = 1.0f;
    if (!xmlAttrBool(element, "victoryHealthPool", mVictoryHealthPool))
        mVictoryHealthPool = false;
    return true;
}
