#include "platform/browser/PageQuad.h"

PageQuad makePageQuad(float x, float y, float w, float h, float leftU, float bottomV, float rightU,
                      float topV) {
    return PageQuad{{
        {x, y + h, 0, 255, 255, 255, 255, leftU, topV},
        {x, y, 0, 255, 255, 255, 255, leftU, bottomV},
        {x + w, y + h, 0, 255, 255, 255, 255, rightU, topV},
        {x + w, y, 0, 255, 255, 255, 255, rightU, bottomV},
    }};
}

PageQuad loadingImageQuad(const PageRect& board, int pageHeight) {
    return makePageQuad(float(board.left), float(pageHeight - board.top - board.height),
                        float(board.width), float(board.height), 0, 0, 1, 0.75f);
}

PageQuad loadingLabelQuad(const PageRect& board, int pageWidth, int pageHeight, float labelWidth,
                          float labelHeight, int layoutWidth) {
    const int x =
        int((float(pageWidth) - labelWidth) - float(layoutWidth - board.width - board.left + 4));
    const int y = int(float(pageHeight) - (labelHeight + float(board.top)));
    return makePageQuad(float(x), float(y), labelWidth, labelHeight, 0, 1, 1, 0);
}

int layoutWidthForMode(int layoutMode) {
    switch (layoutMode) {
    case 0:
        return 800;
    case 1:
        return 1280;
    default:
        return 1434;
    }
}
