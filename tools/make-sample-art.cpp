// Draws the placeholder art of the sample content: every ".png" that the
// XML files, puppet files (".Puppet", ".PuppetAttachment") and particle files (".plist") in the
// data folder name gets a simple, clear image (a shape in its team's colour with the name's
// initial), written at its size in points and again as an "-hd" file at twice the pixels. Unit
// and part images also get their "_Color" layer (a white band the game tints with the player's
// colour). A click mask ("_Mask") is the unit disc's silhouette, once, at its size in points:
// touches compare mask pixels with points one to one.
// The digits font "number.fnt" with its page image comes along for labels.
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
    Glyph glyph(char ch, float height) {
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

// The digits font: a page image of "0".."9" and the ".fnt" that maps them.
bool writeNumberFont(Font& font, const fs::path& data, int scale) {
    const float height = 24.0f * scale;
    const int cell = int(height);
    Canvas page(cell * 10, cell);
    std::ostringstream fnt;
    const std::string suffix = scale == 2 ? "-hd" : "";
    const int lineHeight = int(height * 1.1f);
    const int base = font.ascent(height);
    fnt << "info face=\"Sample Digits\" size=" << int(height)
        << " bold=1 italic=0 charset=\"\" unicode=1"
        << " stretchH=100 smooth=1 aa=1 padding=0,0,0,0 spacing=0,0\n";
    fnt << "common lineHeight=" << lineHeight << " base=" << base << " scaleW=" << page.width
        << " scaleH=" << page.height << " pages=1 packed=0\n";
    fnt << "page id=0 file=\"number" << suffix << ".png\"\n";
    fnt << "chars count=10\n";
    for (int d = 0; d < 10; ++d) {
        const Font::Glyph g = font.glyph(char('0' + d), height);
        const int x0 = d * cell + 1;
        for (int j = 0; j < g.height; ++j)
            for (int i = 0; i < g.width && i < cell - 2; ++i)
                page.blend(x0 + i, std::min(cell - 1, j), Color{255, 255, 255},
                           g.coverage[size_t(j * g.width + i)] / 255.0f);
        fnt << "char id=" << (48 + d) << " x=" << x0 << " y=0 width=" << std::min(g.width, cell - 2)
            << " height=" << std::min(g.height, cell) << " xoffset=" << g.xoff
            << " yoffset=" << (base + g.yoff) << " xadvance=" << g.advance << " page=0 chnl=15\n";
    }
    std::ofstream(data / ("number" + suffix + ".fnt")) << fnt.str();
    return page.save(data / ("number" + suffix + ".png"));
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
        for (auto it = std::sregex_iterator(text.begin(), text.end(), name);
             it != std::sregex_iterator(); ++it)
            images.insert(folder + it->str());
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
    for (int scale : {1, 2}) {
        if (!writeNumberFont(font, data, scale))
            return 1;
        written += 2;
    }
    std::printf("%d files written to %s\n", written, data.string().c_str());
    return 0;
}
