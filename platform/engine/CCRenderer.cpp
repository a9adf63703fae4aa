#include "platform/engine/CCRenderer.h"

namespace cocos2d {

void CCRenderer::beginNode(CCNode*) {}

void CCRenderer::endNode(CCNode*) {}

void CCRenderer::fillRect(const CCRect&, const ccColor4B&, const ccBlendFunc&) {}

void CCNullRenderer::drawScene(CCScene*) {}

} // namespace cocos2d
