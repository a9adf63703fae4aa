// CCDirector: attaching the OpenGL view, which lives in this library.

#include "platform/engine/CCDirector.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCGLRenderer.h"

namespace cocos2d {

void CCDirector::setOpenGLView(CCEGLView* view) {
    mOpenGLView = view;
    if (!view) {
        setRenderer(nullptr);
        return;
    }
    setWinSizeInPixels(view->getFrameSize());
    setRenderer(std::make_unique<CCGLRenderer>(view));
}

} // namespace cocos2d
