#include "scene/widgets/HealingBeamSprite.h"

#include "platform/engine/CCDirector.h"
#include "platform/render/CCDrawing.h"
#include "platform/render/CCGLRenderer.h"
#include "platform/render/CCTexture2D.h"
#include "platform/render/CCTextureCache.h"

#include <GLES/gl.h>
#include <GLES/glext.h>

#include <cstddef>

using namespace cocos2d;

HealingBeamSprite::~HealingBeamSprite() {
    if (mMaskTexture != nullptr)
        mMaskTexture->release();
}

bool HealingBeamSprite::init() {
    // Both texture coordinate sets are (x, 1 - y).
    mVertices = {{{1, 0, 0, 1, 1, 1, 1},
                  {0, 0, 0, 0, 1, 0, 1},
                  {1, 1, 0, 1, 0, 1, 0},
                  {0, 1, 0, 0, 0, 0, 0}}};
    if (mMaskTexture == nullptr) {
        mMaskTexture = CCTextureCache::sharedTextureCache()->addImage(cMaskImage);
        if (mMaskTexture != nullptr)
            mMaskTexture->retain();
    }
    mScroll = 0.0f;
    scheduleUpdateWithPriority(1);
    return true;
}

void HealingBeamSprite::update(ccTime dt) {
    mScroll -= mSpeed * dt;
}

void HealingBeamSprite::draw() {
    CCTexture2D* texture = getTexture();
    if (texture == nullptr || mMaskTexture == nullptr ||
        dynamic_cast<CCGLRenderer*>(CCDirector::sharedDirector()->getRenderer()) == nullptr)
        return;
    const ccCustomGLDraw customDraw;
    constexpr GLsizei stride = sizeof(Vertex);
    const auto* base = reinterpret_cast<const char*>(mVertices.data());

    // 1, 2: the unit quad over the content box, in pixels.
    glVertexPointer(3, GL_FLOAT, stride, base + offsetof(Vertex, x));
    glEnable(GL_COLOR_MATERIAL);
    glDisableClientState(GL_COLOR_ARRAY);
    const CCSize size = getContentSize();
    const float scale = CCDirector::sharedDirector()->getContentScaleFactor();
    glScalef(size.width * scale, size.height * scale, 1.0f);

    // 3: the beam image, scrolled, repeating once per unit of horizontal
    // scale; colour = texture x the primary colour (the premultiplied tint
    // below), alpha = texture alpha x its alpha.
    glActiveTexture(GL_TEXTURE0);
    glClientActiveTexture(GL_TEXTURE0);
    glTexCoordPointer(2, GL_FLOAT, stride, base + offsetof(Vertex, s0));
    glBindTexture(GL_TEXTURE_2D, texture->getName());
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(mScroll, 0.0f, 0.0f);
    glScalef(getScaleX(), 1.0f, 1.0f);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SRC1_RGB, GL_PRIMARY_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);

    // 4: the mask, stretched once, multiplies the result.
    glActiveTexture(GL_TEXTURE1);
    glClientActiveTexture(GL_TEXTURE1);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, stride, base + offsetof(Vertex, s1));
    glBindTexture(GL_TEXTURE_2D, mMaskTexture->getName());
    glPushMatrix();
    glLoadIdentity();

    // 5, 6: the premultiplied tint.
    const float a = getOpacity() / 255.0f;
    glColor4f(mColor.r * a / 255.0f, mColor.g * a / 255.0f, mColor.b * a / 255.0f, a);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);

    // 7: restore. Unit 1's coordinate array goes off too, so no later draw
    // reads this beam's vertices.
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glActiveTexture(GL_TEXTURE0);
    glClientActiveTexture(GL_TEXTURE0);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_COLOR_MATERIAL);
    glEnableClientState(GL_COLOR_ARRAY);
    glColor4f(1, 1, 1, 1);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}
