#pragma once

// The panel of a help tooltip, as the board's objects fill it: a portrait at
// half scale in the top-left corner, a title beside it, an optional kind line
// below the title, the separator "HelpTooltip_Separator.png" and the help
// text in the remaining area. The pieces below build every tooltip panel,
// also the units' richer one.

#include "platform/engine/CCGeometry.h"
#include "platform/render/CCLabelTTF.h"

// Adds the pieces to the tooltip layer; nothing for a null layer. An empty
// kind adds no kind line.
void buildHelpTooltip(cocos2d::CCNode* layer, const char* portrait, const char* title,
                      const char* kind, const char* text);

// The drop shadow of tooltip titles and the one of every other tooltip text.
const cocos2d::DropShadowInfo& tooltipTitleShadow();
const cocos2d::DropShadowInfo& tooltipTextShadow();

// A details-font label in a box (font size, smallest size or -1), created
// with the text initial and then set to text, placed at position and added to
// parent at z; a null text keeps the initial one.
cocos2d::CCLabelTTF* addTooltipLabel(cocos2d::CCNode* parent, const char* initial, const char* text,
                                     const cocos2d::CCSize& box,
                                     cocos2d::CCImage::ETextAlign alignment, float size,
                                     float smallest, const cocos2d::DropShadowInfo& shadow,
                                     const cocos2d::CCPoint& position, int z = 1);
// A sprite of the image with that anchor at position, added to parent at z 1.
cocos2d::CCSprite* addTooltipSprite(cocos2d::CCNode* parent, const char* image,
                                    const cocos2d::CCPoint& anchor,
                                    const cocos2d::CCPoint& position);
