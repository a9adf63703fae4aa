#include "platform/render/CCGLRenderer.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCDrawing.h"
#include "platform/render/CCEGLView.h"

#include <GLES/gl.h>

namespace cocos2d {

void CCGLRenderer::applyDefaultState() {
    ccApplyDefaultState();
}

void CCGLRenderer::drawScene(CCScene* scene) {
    if (!mView || !mView->makeCurrent())
        return;
    mScale = CCDirector::sharedDirector()->getContentScaleFactor();
    mView->applyViewport();
    if (mClearsFrame) {
        glClearColor(mClearColor.r, mClearColor.g, mClearColor.b, mClearColor.a);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    const CCSize size = mView->getFrameSize();
    applyDefaultState();
    ccBeginDrawFrame(size.width, size.height);
    if (scene)
        scene->visit();
    ccEndDrawFrame();
}

void CCGLRenderer::beginNode(CCNode* node) {
    ccPushNodeTransform(node->nodeToParentTransform(), mScale);
}

void CCGLRenderer::endNode(CCNode*) {
    ccPopNodeTransform();
}

void CCGLRenderer::fillRect(const CCRect& rect, const ccColor4B& color, const ccBlendFunc& blend) {
    const GLfloat x0 = rect.origin.x * mScale;
    const GLfloat y0 = rect.origin.y * mScale;
    const GLfloat x1 = (rect.origin.x + rect.size.width) * mScale;
    const GLfloat y1 = (rect.origin.y + rect.size.height) * mScale;
    // The layer's colour goes in straight; a premultiplying blend would want
    // it premultiplied, which the default (ONE, ONE_MINUS_SRC_ALPHA) does.
    const bool premultiply = blend.src == GL_ONE;
    const float a = color.a / 255.0f;
    const float k = premultiply ? a : 1.0f;
    ccFillQuad(x0, y0, x1, y1,
               ccColor4F{color.r / 255.0f * k, color.g / 255.0f * k, color.b / 255.0f * k, a},
               blend);
}

} // namespace cocos2d
