#pragma once

// The tooltip lines of the scene services, served by gTooltipManager on the
// scene of gGameScene: indicators are sprites on the scene node at z 2000,
// pop-up tooltips TooltipLayers at z 10000. Without a game scene no
// indicator is made and no tooltip opens; unregistering works in every case.
// The board scene's services derive from this class; tests install it as
// it is.

#include "rules/SceneServices.h"

class TooltipServices : public SceneServices {
public:
    void addTooltipTarget(TooltipProtocol* target) override;
    void removeTooltipTarget(TooltipProtocol* target) override;
    void showTooltip(TooltipProtocol* target) override;
    void showTooltipIndicator(TooltipProtocol* target) override;
    void hideTooltipIndicator(TooltipProtocol* target) override;
    std::vector<TooltipProtocol*> tooltipTargets() override;

    // The z-order of pop-up tooltips on the game scene.
    static constexpr int cPopupZOrder = 10000;
};
