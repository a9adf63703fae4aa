#include "platform/engine/CCRenderer.h"

namespace cocos2d {

void CCNullRenderer::drawScene(CCScene*) {}

} // namespace cocos2d
