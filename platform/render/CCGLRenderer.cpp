#include "platform/render/CCGLRenderer.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCEGLView.h"

#include <GLES/gl.h>

namespace cocos2d {

void CCGLRenderer::applyDefaultState() {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 1);
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
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrthof(0, size.width, 0, size.height, -1024, 1024);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    applyDefaultState();
    if (scene)
        scene->visit();
}

void CCGLRenderer::beginNode(CCNode* node) {
    const CCAffineTransform t = node->nodeToParentTransform();
    const GLfloat matrix[16] = {t.a, t.b, 0, 0, t.c,           t.d,           0, 0,
                                0,   0,   1, 0, t.tx * mScale, t.ty * mScale, 0, 1};
    glPushMatrix();
    glMultMatrixf(matrix);
}

void CCGLRenderer::endNode(CCNode*) {
    glPopMatrix();
}

void CCGLRenderer::fillRect(const CCRect& rect, const ccColor4B& color, const ccBlendFunc& blend) {
    const GLfloat x0 = rect.origin.x * mScale;
    const GLfloat y0 = rect.origin.y * mScale;
    const GLfloat x1 = (rect.origin.x + rect.size.width) * mScale;
    const GLfloat y1 = (rect.origin.y + rect.size.height) * mScale;
    const GLfloat vertices[] = {x0, y1, x0, y0, x1, y1, x1, y0};
    // The layer's colour goes in straight; a premultiplying blend would want
    // it premultiplied, which the default (ONE, ONE_MINUS_SRC_ALPHA) does.
    const bool premultiply = blend.src == GL_ONE;
    const float a = color.a / 255.0f;
    const float k = premultiply ? a : 1.0f;
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glColor4f(color.r / 255.0f * k, color.g / 255.0f * k, color.b / 255.0f * k, a);
    glBlendFunc(blend.src, blend.dst);
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    applyDefaultState();
}

} // namespace cocos2d
