#pragma once

// The drawing back end behind the director. The director hands it the
// running scene once per frame; the null renderer, the default, draws
// nothing, so the engine runs without a display.

namespace cocos2d {

class CCScene;

class CCRenderer {
public:
    virtual ~CCRenderer() = default;
    // Draws one frame; scene is null when no scene runs.
    virtual void drawScene(CCScene* scene) = 0;
};

class CCNullRenderer : public CCRenderer {
public:
    void drawScene(CCScene* scene) override;
};

} // namespace cocos2d
