// Draws the placeholder art of the sample content: every ".png" that the
// XML files, puppet files (".Puppet", ".PuppetAttachment") and particle files (".plist") in the
// data folder name gets a simple, clear image (a shape in its team's colour with the name's
// initial), written at its size in points and again as an "-hd" file at twice the pixels. Unit
// and part images also get their "_Color" layer (a white band the game tints with the player's
// colour). A click mask ("_Mask") is the unit disc's silhouette, once, at its size in points:
// touches compare mask pixels with points one to one.
// The digits font "number.fnt" and the notice font "BigNotify.fnt" with their
// page images come along for labels, and the interface's buttons, tooltip
// indicators and panels are drawn from a list of their own.
//
// Usage: make-sample-art DATA_FOLDER. Runs the same way every time, so the
// committed output only changes when the content or this tool changes.

#include <stb/stb_image_write.h>
#include <stb/stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

struct Color {
    uint8_t r, g, b;
};

class Canvas {
public:
    Canvas(int width, int height)
        : width(width), height(height), pixels(size_t(width) * height * 4) {}

    // Blends a colour over the pixel with coverage 0..1.
    void blend(int x, int y, Color c, float coverage, uint8_t alpha = 255) {
        if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0)
            return;
        uint8_t* p = &pixels[(size_t(y) * width + x) * 4];
        const float a = std::min(1.0f, coverage) * alpha / 255.0f;
        const float under = p[3] / 255.0f;
        const float out = a + under * (1 - a);
        const auto mix = [&](uint8_t top, uint8_t bottom) {
            return uint8_t(
                std::lround((top * a + bottom * under * (1 - a)) / std::max(out, 1e-6f)));
        };
        p[0] = mix(c.r, p[0]);
        p[1] = mix(c.g, p[1]);
        p[2] = mix(c.b, p[2]);
        p[3] = uint8_t(std::lround(out * 255));
    }

    // Fills the pixels for which inside(x, y) gives a signed distance < 0,
    // antialiased over one pixel.
    template <class Shape> void fill(Shape distance, Color c, uint8_t alpha = 255) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                blend(x, y, c, 0.5f - distance(x + 0.5f, y + 0.5f), alpha);
    }

    bool save(const fs::path& path) const {
        fs::create_directories(path.parent_path());
        return stbi_write_png(path.string().c_str(), width, height, 4, pixels.data(), width * 4) !=
               0;
    }

    int width;
    int height;
    std::vector<uint8_t> pixels;
};

class Font {
public:
    bool load() {
        std::ifstream in(kFontFile, std::ios::binary);
        data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return !data.empty() &&
               stbtt_InitFont(&info, reinterpret_cast<const unsigned char*>(data.data()), 0);
    }

    // Draws the text centred on (cx, cy) at a pixel height.
    void draw(Canvas& canvas, const std::string& text, float cx, float cy, float height, Color c) {
        const float scale = stbtt_ScaleForPixelHeight(&info, height);
        int ascent = 0, descent = 0, gap = 0;
        stbtt_GetFontVMetrics(&info, &ascent, &descent, &gap);
        float width = 0;
        for (char ch : text) {
            int advance = 0, bearing = 0;
            stbtt_GetCodepointHMetrics(&info, ch, &advance, &bearing);
            width += advance * scale;
        }
        float x = cx - width / 2;
        const float baseline = cy + (ascent + descent) * scale / 2;
        for (char ch : text) {
            int w = 0, h = 0, xoff = 0, yoff = 0;
            unsigned char* bitmap =
                stbtt_GetCodepointBitmap(&info, scale, scale, ch, &w, &h, &xoff, &yoff);
            for (int j = 0; j < h; ++j)
                for (int i = 0; i < w; ++i)
                    canvas.blend(int(std::lround(x)) + xoff + i,
                                 int(std::lround(baseline)) + yoff + j, c,
                                 bitmap[j * w + i] / 255.0f);
            stbtt_FreeBitmap(bitmap, nullptr);
            int advance = 0, bearing = 0;
            stbtt_GetCodepointHMetrics(&info, ch, &advance, &bearing);
            x += advance * scale;
        }
    }

    // The glyph of a character as coverage, with its metrics at a height.
    struct Glyph {
        int width = 0, height = 0, xoff = 0, yoff = 0, advance = 0;
        std::vector<uint8_t> coverage;
    };
    Glyph glyph(int ch, float height) {
        const float scale = stbtt_ScaleForPixelHeight(&info, height);
        Glyph g;
        unsigned char* bitmap = stbtt_GetCodepointBitmap(&info, scale, scale, ch, &g.width,
                                                         &g.height, &g.xoff, &g.yoff);
        g.coverage.assign(bitmap, bitmap + g.width * g.height);
        stbtt_FreeBitmap(bitmap, nullptr);
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&info, ch, &advance, &bearing);
        g.advance = int(std::lround(advance * scale));
        return g;
    }
    int ascent(float height) {
        int a = 0, d = 0, g = 0;
        stbtt_GetFontVMetrics(&info, &a, &d, &g);
        return int(std::lround(a * stbtt_ScaleForPixelHeight(&info, height)));
    }

    stbtt_fontinfo info{};
    std::vector<char> data;
};

// Team colours by civ folder.
Color teamColor(const std::string& path) {
    static const std::map<std::string, Color> colors = {
        {"Humans", {52, 110, 214}},  {"Orcs", {66, 160, 62}}, {"Darkelves", {138, 70, 190}},
        {"Dwarves", {200, 120, 40}}, {"Kx4a", {200, 60, 60}}, {"Effects", {235, 200, 60}},
    };
    for (const auto& [folder, color] : colors) {
        if (path.find(folder + "/") != std::string::npos)
            return color;
    }
    return Color{150, 150, 150};
}

Color darker(Color c) {
    return Color{uint8_t(c.r / 2), uint8_t(c.g / 2), uint8_t(c.b / 2)};
}

enum class Kind { Unit, Portrait, LargePortrait, Effect, ColorLayer, Mask };

Kind kindOf(const std::string& path) {
    const std::string stem = fs::path(path).stem().string();
    if (stem.ends_with("_Mask"))
        return Kind::Mask;
    if (stem.ends_with("_LargePortrait"))
        return Kind::LargePortrait;
    if (stem.ends_with("_Portrait"))
        return Kind::Portrait;
    if (path.starts_with("Effects/"))
        return Kind::Effect;
    if (path.starts_with("UI/Avatars/"))
        return Kind::Portrait;
    return Kind::Unit;
}

int sizeOf(Kind kind) {
    switch (kind) {
    case Kind::Portrait:
        return 48;
    case Kind::LargePortrait:
        return 96;
    default:
        return 64;
    }
}

// One image at a pixel scale (1 plain, 2 for "-hd").
Canvas drawImage(Font& font, const std::string& path, Kind kind, int scale) {
    const int size = sizeOf(kind) * scale;
    Canvas canvas(size, size);
    const float c = size / 2.0f;
    const Color team = teamColor(path);
    const std::string stem = fs::path(path).stem().string();
    const std::string initial(1, stem.empty() ? '?' : stem[0]);
    const auto circle = [c](float radius) {
        return [c, radius](float x, float y) { return std::hypot(x - c, y - c) - radius; };
    };
    const auto box = [c](float half, float corner) {
        return [c, half, corner](float x, float y) {
            const float dx = std::max(std::fabs(x - c) - (half - corner), 0.0f);
            const float dy = std::max(std::fabs(y - c) - (half - corner), 0.0f);
            return std::hypot(dx, dy) - corner;
        };
    };
    switch (kind) {
    case Kind::Unit:
        canvas.fill(circle(c - 2 * scale), darker(team));
        canvas.fill(circle(c - 5 * scale), team);
        font.draw(canvas, initial, c, c, size * 0.55f, Color{255, 255, 255});
        break;
    case Kind::Portrait:
    case Kind::LargePortrait:
        canvas.fill(box(c - 1 * scale, 6.0f * scale), darker(team));
        canvas.fill(box(c - 4 * scale, 4.0f * scale), team);
        font.draw(canvas, initial, c, c, size * 0.6f, Color{255, 255, 255});
        break;
    case Kind::Effect: {
        const auto ring = [c, scale](float x, float y) {
            return std::fabs(std::hypot(x - c, y - c) - (c - 10.0f * scale)) - 5.0f * scale;
        };
        canvas.fill(ring, team, 220);
        font.draw(canvas, initial, c, c, size * 0.4f, team);
        break;
    }
    case Kind::ColorLayer: {
        // A band across the lower part of the unit's disc.
        const float radius = c - 5 * scale;
        const auto band = [c, radius](float x, float y) {
            const float disc = std::hypot(x - c, y - c) - radius;
            const float strip = std::fabs(y - (c + radius * 0.55f)) - radius * 0.22f;
            return std::max(disc, strip);
        };
        canvas.fill(band, Color{255, 255, 255});
        break;
    }
    case Kind::Mask:
        canvas.fill(circle(c - 2 * scale), Color{255, 255, 255});
        break;
    }
    return canvas;
}

std::string withSuffix(const std::string& path, const std::string& suffix) {
    const size_t dot = path.rfind('.');
    return path.substr(0, dot) + suffix + path.substr(dot);
}

// A bitmap font: one page image of the characters in a grid of cells and
// the AngelCode ".fnt" that maps them.
struct BitmapFont {
    std::string name; // file stem
    std::string face; // the "info" record's face
    std::vector<int> characters;
    int perRow;       // cells in a row of the page
    float height;     // glyph pixel height at scale 1
    float cellHeight; // of the page's cells, as a multiple of the height
};

bool writeBitmapFont(Font& font, const BitmapFont& bitmapFont, const fs::path& data, int scale) {
    const float height = bitmapFont.height * scale;
    const int cell = int(height);
    const int cellHeight = int(height * bitmapFont.cellHeight);
    const int count = int(bitmapFont.characters.size());
    const int rows = (count + bitmapFont.perRow - 1) / bitmapFont.perRow;
    Canvas page(cell * std::min(count, bitmapFont.perRow), cellHeight * rows);
    std::ostringstream fnt;
    const std::string suffix = scale == 2 ? "-hd" : "";
    const int lineHeight = int(height * 1.1f);
    const int base = font.ascent(height);
    fnt << "info face=\"" << bitmapFont.face << "\" size=" << int(height)
        << " bold=1 italic=0 charset=\"\" unicode=1"
        << " stretchH=100 smooth=1 aa=1 padding=0,0,0,0 spacing=0,0\n";
    fnt << "common lineHeight=" << lineHeight << " base=" << base << " scaleW=" << page.width
        << " scaleH=" << page.height << " pages=1 packed=0\n";
    fnt << "page id=0 file=\"" << bitmapFont.name << suffix << ".png\"\n";
    fnt << "chars count=" << count << "\n";
    for (int n = 0; n < count; ++n) {
        const int codepoint = bitmapFont.characters[size_t(n)];
        const Font::Glyph g = font.glyph(codepoint, height);
        const int x0 = (n % bitmapFont.perRow) * cell + 1;
        const int y0 = (n / bitmapFont.perRow) * cellHeight;
        for (int j = 0; j < g.height; ++j)
            for (int i = 0; i < g.width && i < cell - 2; ++i)
                page.blend(x0 + i, y0 + std::min(cellHeight - 1, j), Color{255, 255, 255},
                           g.coverage[size_t(j * g.width + i)] / 255.0f);
        fnt << "char id=" << codepoint << " x=" << x0 << " y=" << y0
            << " width=" << std::min(g.width, cell - 2)
            << " height=" << std::min(g.height, cellHeight) << " xoffset=" << g.xoff
            << " yoffset=" << (base + g.yoff) << " xadvance=" << g.advance << " page=0 chnl=15\n";
    }
    std::ofstream(data / (bitmapFont.name + suffix + ".fnt")) << fnt.str();
    return page.save(data / (bitmapFont.name + suffix + ".png"));
}

// The digits of number labels, and the letters of the big notices (printable
// ASCII and Latin-1, German included).
std::vector<BitmapFont> bitmapFonts() {
    BitmapFont digits{"number", "Sample Digits", {}, 10, 24.0f, 1.0f};
    for (int c = '0'; c <= '9'; ++c)
        digits.characters.push_back(c);
    BitmapFont notify{"BigNotify", "Sample Notify", {}, 16, 32.0f, 1.3f};
    for (int c = 32; c <= 126; ++c)
        notify.characters.push_back(c);
    for (int c = 161; c <= 255; ++c)
        notify.characters.push_back(c);
    return {digits, notify};
}

// The interface art, drawn from shapes: buttons, tooltip indicators and
// panels, the full-window fade and the notice backdrop.
struct UiImage {
    std::string path;
    int width, height; // points
    bool hdTwin;       // also written as "-hd" at twice the pixels
};

// Signed distance to a rounded rectangle of the canvas inset by a margin.
auto roundedBox(const Canvas& canvas, float margin, float corner) {
    const float cx = canvas.width / 2.0f, cy = canvas.height / 2.0f;
    const float hx = cx - margin, hy = cy - margin;
    return [=](float x, float y) {
        const float dx = std::max(std::fabs(x - cx) - (hx - corner), 0.0f);
        const float dy = std::max(std::fabs(y - cy) - (hy - corner), 0.0f);
        return std::hypot(dx, dy) - corner;
    };
}

Canvas drawUiImage(Font& font, const std::string& path, int width, int height, int scale) {
    Canvas canvas(width * scale, height * scale);
    const float s = float(scale);
    const std::string stem = fs::path(path).stem().string();
    if (stem.starts_with("Button-")) {
        const bool glow = stem.ends_with("-Glow");
        if (glow)
            canvas.fill(roundedBox(canvas, 0, 14 * s), Color{255, 220, 120}, 110);
        canvas.fill(roundedBox(canvas, 3 * s, 12 * s), Color{40, 34, 26});
        canvas.fill(roundedBox(canvas, 6 * s, 9 * s),
                    glow ? Color{150, 110, 50} : Color{110, 80, 40});
    } else if (stem.starts_with("UI_Tooltip")) {
        static const std::map<std::string, Color> colors = {
            {"UI_Tooltip", {70, 130, 220}},
            {"UI_Tooltip2", {220, 180, 60}},
            {"UI_Tooltip3", {210, 70, 70}},
            {"UI_Tooltip4", {80, 180, 90}},
        };
        const float c = canvas.width / 2.0f;
        canvas.fill([c](float x, float y) { return std::hypot(x - c, y - c) - (c - 0.5f); },
                    Color{255, 255, 255});
        canvas.fill([c, s](float x, float y) { return std::hypot(x - c, y - c) - (c - 2 * s); },
                    colors.at(stem));
        font.draw(canvas, "?", c, c, canvas.height * 0.7f, Color{255, 255, 255});
    } else if (stem == "HelpTooltip_BG") {
        canvas.fill(roundedBox(canvas, 0, 12 * s), Color{200, 170, 110});
        canvas.fill(roundedBox(canvas, 3 * s, 10 * s), Color{30, 28, 36}, 235);
    } else if (stem == "HelpTooltip_Separator") {
        canvas.fill(roundedBox(canvas, 0, 1 * s), Color{200, 170, 110}, 200);
    } else if (stem == "FullScreenFade") {
        canvas.fill([](float, float) { return -1.0f; }, Color{0, 0, 0}, 160);
    } else {
        // The backdrop of notices: a dark band that fades out at its ends.
        const float cy = canvas.height / 2.0f;
        for (int y = 0; y < canvas.height; ++y)
            for (int x = 0; x < canvas.width; ++x) {
                const float edge = std::min(x, canvas.width - 1 - x) / (canvas.width * 0.2f);
                const float band = 1.0f - std::fabs(y - cy) / cy;
                canvas.blend(x, y, Color{20, 24, 40}, std::min(1.0f, edge) * std::sqrt(band), 220);
            }
    }
    return canvas;
}

std::vector<UiImage> uiImages() {
    return {
        {"UI/Button-290.png", 290, 64, true},
        {"UI/Button-290-Glow.png", 290, 64, true},
        {"UI/Button-186.png", 186, 52, true},
        {"UI/Button-186-Glow.png", 186, 52, true},
        {"UI_Tooltip.png", 24, 24, true},
        {"UI_Tooltip2.png", 24, 24, true},
        {"UI_Tooltip3.png", 24, 24, true},
        {"UI_Tooltip4.png", 24, 24, true},
        {"HelpTooltip_BG.png", 300, 200, true},
        {"HelpTooltip_Separator.png", 190, 3, true},
        {"UI/FullScreenFade.png", 16, 16, true},
        // Named with its "-hd" already: one file, at twice the pixels.
        {"UI/BackSplash-hd.png", 240, 160, false},
    };
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sample-art DATA_FOLDER\n");
        return 2;
    }
    const fs::path data = argv[1];
    Font font;
    if (!font.load()) {
        std::fprintf(stderr, "font not found: %s\n", kFontFile);
        return 1;
    }
    // Every image name in the content's XML files.
    std::set<std::string> images;
    const std::regex name(R"([A-Za-z0-9_/\-]+\.png)");
    for (const auto& entry : fs::recursive_directory_iterator(data)) {
        // Particle files name their texture beside themselves.
        const std::string folder =
            entry.path().extension() == ".plist"
                ? fs::relative(entry.path().parent_path(), data).generic_string() + "/"
                : "";
        const fs::path extension = entry.path().extension();
        if (extension != ".xml" && extension != ".plist" && extension != ".Puppet" &&
            extension != ".PuppetAttachment")
            continue;
        std::ifstream in(entry.path());
        const std::string text{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        // The avatar packs name their pictures inside "UI/Avatars/".
        const bool avatars = entry.path().filename() == "AvatarPacks.xml";
        for (auto it = std::sregex_iterator(text.begin(), text.end(), name);
             it != std::sregex_iterator(); ++it) {
            const std::string found = it->str();
            const bool bare = avatars && found.find("UI/Avatars/") == std::string::npos;
            images.insert((bare ? "UI/Avatars/" : folder) + found);
        }
    }
    int written = 0;
    for (const std::string& image : images) {
        const Kind kind = kindOf(image);
        std::vector<std::pair<std::string, Kind>> outputs = {{image, kind}};
        if (kind == Kind::Unit && image.starts_with("Civ/"))
            outputs.emplace_back(withSuffix(image, "_Color"), Kind::ColorLayer);
        for (const auto& [path, what] : outputs) {
            for (int scale : {1, 2}) {
                if (what == Kind::Mask && scale == 2)
                    continue;
                const std::string file = scale == 1 ? path : withSuffix(path, "-hd");
                if (!drawImage(font, image, what, scale).save(data / file)) {
                    std::fprintf(stderr, "cannot write %s\n", file.c_str());
                    return 1;
                }
                ++written;
            }
        }
    }
    for (const UiImage& image : uiImages()) {
        for (int scale : {1, 2}) {
            if (scale == 2 && !image.hdTwin)
                continue;
            const std::string file = scale == 1 ? image.path : withSuffix(image.path, "-hd");
            const int pixels = image.hdTwin ? scale : 2;
            if (!drawUiImage(font, image.path, image.width, image.height, pixels)
                     .save(data / file)) {
                std::fprintf(stderr, "cannot write %s\n", file.c_str());
                return 1;
            }
            ++written;
        }
    }
    for (const BitmapFont& bitmapFont : bitmapFonts()) {
        for (int scale : {1, 2}) {
            if (!writeBitmapFont(font, bitmapFont, data, scale))
                return 1;
            written += 2;
        }
    }
    std::printf("%d files written to %s\n", written, data.string().c_str());
    return 0;
}
