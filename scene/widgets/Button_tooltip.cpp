#include "scene/widgets/Button.h"

#include "content/LocalizedStrings.h"
#include "rules/HelpTooltip.h"
#include "scene/widgets/TooltipManager.h"

using namespace cocos2d;

CCPoint Button::getTooltipPosition() const {
    return getPosition();
}

void Button::setTooltip(const std::string& image, const std::string& title,
                        const std::string& text) {
    mTooltipImage = image;
    mTooltipTitle = title;
    mTooltipText = text;
    mTooltipKind = 3;
    showTooltipIndicator();
    gTooltipManager.addTarget(this);
}

void Button::buildTooltip(CCNode* background) {
    if (background == nullptr || mTooltipImage.empty())
        return;
    buildHelpTooltip(background, mTooltipImage.c_str(), mTooltipTitle.c_str(),
                     localizedCString("Button"), mTooltipText.c_str());
}
