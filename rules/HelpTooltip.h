#pragma once

// The panel of a help tooltip, as the board's objects fill it: a portrait at
// half scale in the top-left corner, a title beside it, an optional kind line
// below the title, the separator "HelpTooltip_Separator.png" and the help
// text in the remaining area.

namespace cocos2d {
class CCNode;
}

// Adds the pieces to the tooltip layer; nothing for a null layer. An empty
// kind adds no kind line.
void buildHelpTooltip(cocos2d::CCNode* layer, const char* portrait, const char* title,
                      const char* kind, const char* text);
