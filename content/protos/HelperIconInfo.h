#pragma once

// The helper-icon part of a proto (element "HelperIconInfo"): where the
// helper icon sits relative to the tile and how large it is drawn.

#include "content/XMLHelper.h"
#include "content/protos/ProtoPoint.h"

class HelperIconInfo {
public:
    virtual ~HelperIconInfo();

    // "offsetX" and "offsetY" (0 when absent), "scale" when present; false
    // only for a null element.
    bool load(const XmlNode* element);

    ProtoPoint mOffset;
    float mScale = 1.0f;
};
