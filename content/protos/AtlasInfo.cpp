#include "content/protos/AtlasInfo.h"

#include "content/protos/ProtoFields.h"

namespace {

using P = AtlasInfo;
using K = FieldKind;

const FieldKey<P> cAtlasKeys[] = {
    {"cellDimX", K::Int, &P::mCellDimX},
    {"cellDimY", K::Int, &P::mCellDimY},
    {"cellsPerRow", K::Int, &P::mCellsPerRow},
    {"cellsPerColumn", K::Int, &P::mCellsPerColumn},
};

} // namespace

AtlasInfo::~AtlasInfo() = default;

bool AtlasInfo::load(const XmlNode* element) {
    if (!element)
        return false;
    mImage = xmlText(element);
    static const FieldKeyIndex<AtlasInfo> keys(cAtlasKeys);
    keys.readAttributes(*this, element);
    return true;
}
