#include "platform/render/CCTextRaster.h"

#include "platform/render/CCFontTable.h"
#include "platform/render/CCLabelTTF.h"

#include <SDL2/SDL_ttf.h>

#include <algorithm>
#include <cmath>

namespace cocos2d {

namespace {

int textWidth(TTF_Font* font, const std::string& text) {
    int width = 0;
    int height = 0;
    if (text.empty() || TTF_SizeUTF8(font, text.c_str(), &width, &height) != 0)
        return 0;
    return width;
}

// Splits one paragraph at blanks so that each line fits the width; a word
// wider than the width is cut between characters.
void wrapParagraph(TTF_Font* font, const std::string& paragraph, int width,
                   std::vector<std::string>& lines) {
    if (width <= 0 || textWidth(font, paragraph) <= width) {
        lines.push_back(paragraph);
        return;
    }
    std::string line;
    size_t pos = 0;
    while (pos <= paragraph.size()) {
        size_t end = paragraph.find(' ', pos);
        if (end == std::string::npos)
            end = paragraph.size();
        std::string word = paragraph.substr(pos, end - pos);
        std::string candidate = line.empty() ? word : line + " " + word;
        if (textWidth(font, candidate) <= width) {
            line = candidate;
        } else {
            if (!line.empty())
                lines.push_back(line);
            line.clear();
            // Cut an over-long word at UTF-8 character boundaries.
            while (textWidth(font, word) > width) {
                size_t cut = 0;
                size_t next = 0;
                do {
                    cut = next;
                    next = cut + 1;
                    while (next < word.size() &&
                           (static_cast<unsigned char>(word[next]) & 0xC0) == 0x80)
                        ++next;
                } while (next <= word.size() && textWidth(font, word.substr(0, next)) <= width);
                if (cut == 0)
                    cut = next; // at least one character per line
                lines.push_back(word.substr(0, cut));
                word.erase(0, cut);
            }
            line = word;
        }
        pos = end + 1;
    }
    lines.push_back(line);
}

// A coverage mask of the canvas, 0..1.
struct Mask {
    Mask(int width, int height) : width(width), height(height), value(size_t(width) * height) {}
    float at(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? 0.0f : value[size_t(y) * width + x];
    }
    int width;
    int height;
    std::vector<float> value;
};

// Stamps the alpha of a rendered line into the mask at (x, y).
void stamp(Mask& mask, SDL_Surface* rendered, int x, int y) {
    SDL_Surface* surface = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    if (!surface)
        return;
    SDL_LockSurface(surface);
    for (int row = 0; row < surface->h; ++row) {
        const int ty = y + row;
        if (ty < 0 || ty >= mask.height)
            continue;
        const auto* pixels = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(surface->pixels) + size_t(row) * surface->pitch);
        for (int col = 0; col < surface->w; ++col) {
            const int tx = x + col;
            if (tx < 0 || tx >= mask.width)
                continue;
            float& cell = mask.value[size_t(ty) * mask.width + tx];
            cell = std::max(cell, float(pixels[col] >> 24) / 255.0f);
        }
    }
    SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
}

// Two passes of a box blur of that radius, each horizontal then vertical.
Mask blurred(const Mask& source, int radius) {
    Mask result = source;
    if (radius <= 0)
        return result;
    Mask scratch(source.width, source.height);
    const float norm = 1.0f / float(2 * radius + 1);
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < result.height; ++y) {
            for (int x = 0; x < result.width; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += result.at(x + k, y);
                scratch.value[size_t(y) * result.width + x] = sum * norm;
            }
        }
        for (int y = 0; y < result.height; ++y) {
            for (int x = 0; x < result.width; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += scratch.at(x, y + k);
                result.value[size_t(y) * result.width + x] = sum * norm;
            }
        }
    }
    return result;
}

struct Pixel {
    float r = 0, g = 0, b = 0, a = 0;
};

// Straight-alpha "over".
void over(Pixel& under, float r, float g, float b, float a) {
    if (a <= 0)
        return;
    const float outA = a + under.a * (1 - a);
    under.r = (r * a + under.r * under.a * (1 - a)) / outA;
    under.g = (g * a + under.g * under.a * (1 - a)) / outA;
    under.b = (b * a + under.b * under.a * (1 - a)) / outA;
    under.a = outA;
}

uint8_t toByte(float value) {
    return uint8_t(std::clamp(std::lround(value * 255.0f), 0L, 255L));
}

} // namespace

std::vector<std::string> CCTextRaster::wrap(const std::string& text, const std::string& fontName,
                                            int pixelSize, int width) {
    std::vector<std::string> lines;
    TTF_Font* font = CCFontTable::fontForName(fontName, pixelSize);
    if (!font)
        return lines;
    size_t pos = 0;
    while (true) {
        const size_t end = text.find('\n', pos);
        wrapParagraph(font, text.substr(pos, end == std::string::npos ? end : end - pos), width,
                      lines);
        if (end == std::string::npos)
            break;
        pos = end + 1;
    }
    return lines;
}

CCTextRaster::Result CCTextRaster::render(const std::string& text, const Style& style) {
    Result result;
    const int boxWidth = int(std::lround(style.box.width));
    const int boxHeight = int(std::lround(style.box.height));
    int size = std::max(1, int(std::lround(style.pixelSize)));
    const int minSize =
        style.minPixelSize > 0 ? std::max(1, int(std::lround(style.minPixelSize))) : size;

    // Shrink until the wrapped text fits the box (or the smallest size is reached).
    std::vector<std::string> lines;
    TTF_Font* font = nullptr;
    while (true) {
        font = CCFontTable::fontForName(style.fontName, size);
        if (!font)
            break;
        lines = wrap(text, style.fontName, size, boxWidth);
        int widest = 0;
        for (const std::string& line : lines)
            widest = std::max(widest, textWidth(font, line));
        const bool fitsWidth = boxWidth <= 0 || widest <= boxWidth;
        const bool fitsHeight =
            boxHeight <= 0 || int(lines.size()) * TTF_FontLineSkip(font) <= boxHeight;
        if ((fitsWidth && fitsHeight) || size <= minSize)
            break;
        --size;
    }
    result.pixelSize = float(size);
    if (!font)
        return result;

    const OutlineFillInfo* fill = style.outlineFill;
    const int outline = fill ? std::max(0, int(std::ceil(fill->outlineWidth))) : 0;
    const DropShadowInfo* shadow = style.shadow && style.shadow->alpha > 0 ? style.shadow : nullptr;
    const int blur = shadow ? std::max(0, int(std::ceil(shadow->blur))) : 0;
    const int shadowX = shadow ? int(std::lround(shadow->offsetX)) : 0;
    const int shadowY = shadow ? int(std::lround(shadow->offsetY)) : 0;

    const int lineSkip = TTF_FontLineSkip(font);
    int widest = 0;
    std::vector<int> widths;
    for (const std::string& line : lines) {
        widths.push_back(textWidth(font, line));
        widest = std::max(widest, widths.back());
    }
    const int blockHeight = int(lines.size()) * lineSkip;

    // Without a box the canvas grows by the outline and the shadow.
    const int marginLeft = boxWidth > 0 || !shadow ? 0 : std::max(0, blur - shadowX);
    const int marginRight = boxWidth > 0 || !shadow ? 0 : std::max(0, blur + shadowX);
    const int marginTop = boxHeight > 0 || !shadow ? 0 : std::max(0, blur - shadowY);
    const int marginBottom = boxHeight > 0 || !shadow ? 0 : std::max(0, blur + shadowY);
    const int width = boxWidth > 0 ? boxWidth : widest + 2 * outline + marginLeft + marginRight;
    const int height =
        boxHeight > 0 ? boxHeight : blockHeight + 2 * outline + marginTop + marginBottom;
    result.width = width;
    result.height = height;
    if (width <= 0 || height <= 0)
        return result;

    const int horizontal = style.alignment & 0x0F;
    const int vertical = (style.alignment >> 4) & 0x0F;
    int top = 0;
    if (vertical == 1)
        top = marginTop + outline;
    else if (vertical == 2)
        top = height - marginBottom - outline - blockHeight;
    else
        top = (height - blockHeight) / 2;

    Mask fillMask(width, height);
    Mask outlineMask(width, height);
    std::vector<int> lineTops;
    const SDL_Color white{255, 255, 255, 255};
    for (size_t i = 0; i < lines.size(); ++i) {
        const int y = top + int(i) * lineSkip;
        lineTops.push_back(y);
        if (lines[i].empty())
            continue;
        int x = 0;
        if (horizontal == 1)
            x = marginLeft + outline;
        else if (horizontal == 2)
            x = width - marginRight - outline - widths[i];
        else
            x = (width - widths[i]) / 2;
        if (SDL_Surface* glyphs = TTF_RenderUTF8_Blended(font, lines[i].c_str(), white)) {
            stamp(fillMask, glyphs, x, y);
            SDL_FreeSurface(glyphs);
        }
        if (outline > 0) {
            TTF_SetFontOutline(font, outline);
            if (SDL_Surface* rim = TTF_RenderUTF8_Blended(font, lines[i].c_str(), white)) {
                stamp(outlineMask, rim, x - outline, y - outline);
                SDL_FreeSurface(rim);
            }
            TTF_SetFontOutline(font, 0);
        }
    }

    Mask shadowMask(width, height);
    if (shadow) {
        Mask shape(width, height);
        for (size_t i = 0; i < shape.value.size(); ++i)
            shape.value[i] = std::max(fillMask.value[i], outlineMask.value[i]);
        shadowMask = blurred(shape, blur);
    }

    const ccColor4B fillColor = fill ? fill->fillColor : ccc4(255, 255, 255, 255);
    const bool gradient = fill && !fill->gradient.getStops().empty();
    result.pixels.resize(size_t(width) * height * 4);
    size_t line = 0;
    for (int y = 0; y < height; ++y) {
        while (line + 1 < lineTops.size() && y >= lineTops[line + 1])
            ++line;
        ccColor4B color = fillColor;
        if (gradient && !lineTops.empty())
            color = fill->gradient.colorAt(float(y - lineTops[line]) / float(lineSkip));
        for (int x = 0; x < width; ++x) {
            Pixel pixel;
            if (shadow) {
                const float grey = std::clamp(shadow->brightness, 0.0f, 1.0f);
                over(pixel, grey, grey, grey,
                     std::clamp(shadow->alpha, 0.0f, 1.0f) *
                         shadowMask.at(x - shadowX, y - shadowY));
            }
            if (outline > 0) {
                const ccColor4B& o = fill->outlineColor;
                over(pixel, o.r / 255.0f, o.g / 255.0f, o.b / 255.0f,
                     o.a / 255.0f * outlineMask.at(x, y));
            }
            over(pixel, color.r / 255.0f, color.g / 255.0f, color.b / 255.0f,
                 color.a / 255.0f * fillMask.at(x, y));
            uint8_t* out = &result.pixels[(size_t(y) * width + x) * 4];
            out[0] = toByte(pixel.r);
            out[1] = toByte(pixel.g);
            out[2] = toByte(pixel.b);
            out[3] = toByte(pixel.a);
        }
    }
    return result;
}

} // namespace cocos2d
