// Draws the placeholder art of the sample content: every ".png" that the
// XML files, puppet files (".Puppet", ".PuppetAttachment") and particle files (".plist") in the
// data folder name gets a simple, clear image (a shape in its team's colour with the name's
// initial), written at its size in points and again as an "-hd" file at twice the pixels. Unit
// and part images also get their "_Color" layer (a white band the game tints with the player's
// colour). A click mask ("_Mask") is the unit disc's silhouette, once, at its size in points:
// touches compare mask pixels with points one to one.
// The digits font "number.fnt", the notice font "BigNotify.fnt" and the
// flyout fonts ("damageflyout.fnt", "healingflyout.fnt", "scoreflyout.fnt")
// with their page images come along for labels, and the interface's
// buttons, tooltip indicators and panels, the game scene's HUD, the health
// bars and the beam's mask are drawn from lists of their own; the pages'
// background, loading screen and the team page's create button go to the
// "html" folder beside the data, and the avatar of an opponent not known yet
// ("UI/Avatars/UnknownAvatar.jpg") to the data.
//
// The action effects' one-part placeholder puppets come first (a "Play" animation,
// and "Ability" where an effect plays it; the victory units' debuff layers and the
// aura overlays with their stages and idles), then their images with the rest (the
// sprite sheets as numbered cells);
// the images the code names itself (shards, crosses, smoke, the knockback
// mark) are drawn from a list of their own.
//
// Usage: make-sample-art DATA_FOLDER [PREFIX...]. With prefixes, only the
// puppets and content images whose paths start with one of them are written
// (nothing of the interface, fonts or pages). Runs the same way every time, so
// the committed output only changes when the content or this tool changes.

#include <stb/stb_image_write.h>
#include <stb/stb_truetype.h>

#include <algorithm>
#include <cctype>
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
#include <utility>
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

    // A ".jpg" path is written as JPEG (without alpha), any other as PNG.
    bool save(const fs::path& path) const {
        fs::create_directories(path.parent_path());
        if (path.extension() == ".jpg")
            return stbi_write_jpg(path.string().c_str(), width, height, 4, pixels.data(), 90) != 0;
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

// The placeholder effect puppets, with whether an effect plays "Ability" on
// them and, for overlays that stay on a unit, the states they play beside
// "Play"; one that shows an attachment registered elsewhere names it.
struct EffectPuppet {
    std::string path;
    bool ability;
    std::vector<const char*> states = {};
    std::string attachment = {};
};
const std::vector<EffectPuppet>& effectPuppets() {
    static const std::vector<EffectPuppet> puppets = {
        {"Effects/ArrowHit", false},           {"Effects/AxeHit", false},
        {"Effects/WitchHit", false},           {"Effects/LightningBig", false},
        {"Effects/MeleeSlash01", true},        {"Effects/MeleeSlashBig01", false},
        {"Effects/SoulLeech01", false},        {"Effects/CrystalDestruction01", false},
        {"Effects/CorpseStomp01", false},      {"Effects/ReviveBack01", false},
        {"Effects/ReviveFront01", false},      {"Civ/Humans/KnightSlash", false},
        {"Civ/Orcs/GrenadeBlast", false},      {"Civ/Orcs/Effects/CorpseStompBR01", false},
        {"Civ/Orcs/Effects/Typhoon01", false}, {"Civ/KX4/Effects/CorpseStompAP01", false},
    };
    static const std::vector<EffectPuppet> all = [] {
        std::vector<EffectPuppet> list = puppets;
        // A victory unit's two debuff layers: two stages and their ends.
        for (const char* path : {"Effects/CrystalDebuffFront01", "Effects/CrystalDebuff01"})
            list.push_back({path, false, {"Idle", "Play2", "Idle2", "Death", "Death2"}});
        // The aura overlays the settings name.
        for (const char* name :
             {"ArmorDebuff", "Beer", "Bloodrage", "BloodrageUpgraded", "Highlight", "KnockedOut",
              "Power", "PowerSmall", "PowerUpgraded", "PremiumCrystalSpikes", "PremiumDefense",
              "PremiumPower", "PremiumResist", "PremiumVictoryDamageAdd",
              "PremiumVictoryDamageSubtract", "Shields", "Spotted", "Weaken"})
            list.push_back(
                {std::string("Effects/Auras/") + name, true, {"Idle", "Select", "Death"}});
        // The end of a match: the outcome's effect, and its text showing the
        // text attachment the game registers from its options.
        for (const char* name : {"TutorialEnd01", "VictoryChallenge01", "Victory01", "Defeated01"})
            list.push_back({std::string("Effects/") + name, false, {"Idle"}});
        const std::pair<const char*, const char*> texts[] = {
            {"TutorialEndTextProgrammatic", "VictoryFX_TextProgrammaticChallenge"},
            {"VictoryTextProgrammaticChallenge", "VictoryFX_TextProgrammaticChallenge"},
            {"VictoryTextProgrammatic", "VictoryFX_TextProgrammatic"},
            {"DefeatedTextProgrammatic", "DefeatedFX_DefeatedTextProgrammatic"}};
        for (const auto& [name, attachment] : texts)
            list.push_back({std::string("Effects/") + name, false, {"Idle"}, attachment});
        return list;
    }();
    return all;
}

// The effect images the code names (no content file does).
const std::vector<std::string>& codeEffectImages() {
    static const std::vector<std::string> images = {
        "CrystalShard.png",
        "CrystalShard_Color.png",
        "HealingCross.png",
        "NinjaSmoke_Top.png",
        "NinjaSmoke_Bottom.png",
        "DeploySmoke_Top.png",
        "DeploySmoke_Bottom.png",
        "Knockback_Effect.png",
        // The end-of-match text attachments' textures, which Game.cfg names.
        "Effects/VictoryFX_TextProgrammaticChallenge.png",
        "Effects/VictoryFX_TextProgrammatic.png",
        "Effects/DefeatedFX_DefeatedTextProgrammatic.png",
    };
    return images;
}

// One part showing its own image, flashing through the impact animation.
std::string effectPuppetText(const EffectPuppet& puppet) {
    std::string text = "<!-- Placeholder effect written by make-sample-art. -->\n<Puppet>\n";
    text += "  <SizeX>64</SizeX>\n  <SizeY>64</SizeY>\n";
    std::string attachment = puppet.attachment;
    if (attachment.empty()) {
        attachment = puppet.path;
        text += "  <Attachments>\n    <Attachment name=\"" + attachment + "\" textureName=\"" +
                puppet.path + ".png\"/>\n  </Attachments>\n";
    }
    text += "  <Part type=\"Torso\" bone=\"Body\" defaultAttachment=\"" + attachment + "\"/>\n";
    text += "  <Anim type=\"Play\" name=\"Anims/Effect/Impact\"/>\n";
    if (puppet.ability)
        text += "  <Anim type=\"Ability\" name=\"Anims/Effect/Impact\"/>\n";
    for (const char* state : puppet.states)
        text += "  <Anim type=\"" + std::string(state) + "\" name=\"Anims/Effect/Impact\"/>\n";
    return text + "</Puppet>\n";
}

Kind kindOf(const std::string& path) {
    const std::string stem = fs::path(path).stem().string();
    if (stem.ends_with("_Mask"))
        return Kind::Mask;
    if (stem.ends_with("_LargePortrait"))
        return Kind::LargePortrait;
    if (stem.ends_with("_Portrait"))
        return Kind::Portrait;
    if (path.starts_with("Effects/") || path.find("/Effects/") != std::string::npos ||
        std::find(codeEffectImages().begin(), codeEffectImages().end(), path) !=
            codeEffectImages().end())
        return Kind::Effect;
    if (path.starts_with("UI/Avatars/"))
        return Kind::Portrait;
    return Kind::Unit;
}

// The items a rack holds as plain sprites (no puppet): drawn at a rack
// slot's size, so that neighbours do not overlap and the rack's row stays on
// the board. Their colour layers and sheet cells follow.
bool isRackItem(const std::string& path) {
    static const std::set<std::string> items = {
        "Civ/Humans/Armor",  "Civ/Humans/Helm",  "Civ/Humans/Inspiration",
        "Civ/Humans/Scroll", "Civ/Humans/Sword", "Civ/Orcs/Axe",
        "Civ/Orcs/Beer",     "Civ/Orcs/Cleaver", "Civ/Orcs/Typhoon"};
    return items.count(path.substr(0, path.rfind('.'))) != 0;
}

int sizeOf(Kind kind, const std::string& path = "") {
    if ((kind == Kind::Unit || kind == Kind::ColorLayer) && isRackItem(path))
        return 40;
    switch (kind) {
    case Kind::Portrait:
        return 48;
    case Kind::LargePortrait:
        return 96;
    default:
        return 64;
    }
}

Canvas drawDoor(const std::string& path, int scale);

// One image at a pixel scale (1 plain, 2 for "-hd").
Canvas drawImage(Font& font, const std::string& path, Kind kind, int scale) {
    if (kind == Kind::Effect && (path == "Effects/Door01.png" || path == "Effects/DoorKX401.png"))
        return drawDoor(path, scale);
    const int size = sizeOf(kind, path) * scale;
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

// The content's sprite sheets: cells of a size in a grid, each a box in a
// colour of its own with its index, so the cell shown can be read.
struct SheetImage {
    std::string path;
    int cellWidth, cellHeight, perRow, perColumn;
};
const std::vector<SheetImage>& sheetImages() {
    static const std::vector<SheetImage> sheets = {{"Effects/TrainAtlas.png", 256, 128, 4, 2}};
    return sheets;
}

Canvas drawSheet(Font& font, const SheetImage& sheet, int scale) {
    const float w = float(sheet.cellWidth * scale);
    const float h = float(sheet.cellHeight * scale);
    Canvas canvas(int(w) * sheet.perRow, int(h) * sheet.perColumn);
    for (int i = 0; i < sheet.perRow * sheet.perColumn; ++i) {
        const float cx = (float(i % sheet.perRow) + 0.5f) * w;
        const float cy = (float(i / sheet.perRow) + 0.5f) * h;
        const float margin = 4.0f * scale;
        const auto box = [=](float x, float y) {
            return std::max(std::fabs(x - cx) - (w / 2 - margin),
                            std::fabs(y - cy) - (h / 2 - margin));
        };
        const Color shade{uint8_t(90 + 20 * i), uint8_t(70 + 10 * i), uint8_t(60)};
        canvas.fill(box, shade);
        font.draw(canvas, std::to_string(i), cx, cy, h * 0.5f, Color{255, 255, 255});
    }
    return canvas;
}

// The civs' tile sprite sheets: a civ's equipment images, each with its
// "_Color" layer, side by side in one image "<folder>/Tiles.png", listed in
// "<folder>/Tiles.xml" as frames named after the image files the
// attachments name, so that a bound game draws them from the sheet; the
// "-hd" twins at twice the pixels.
struct CivSheet {
    std::string folder;
    std::vector<std::string> images; // stems in the folder
};
const std::vector<CivSheet>& civSheets() {
    static const std::vector<CivSheet> sheets = {{"Civ/Humans", {"Helm", "Sword"}},
                                                 {"Civ/Orcs", {"Cleaver"}}};
    return sheets;
}

Canvas drawImage(Font& font, const std::string& path, Kind kind, int scale);

bool writeCivSheet(Font& font, const CivSheet& sheet, const fs::path& data, int scale) {
    const std::string suffix = scale == 1 ? "" : "-hd";
    const int cell = sizeOf(Kind::Unit, sheet.folder + "/" + sheet.images.front() + ".png") * scale;
    Canvas canvas(cell * int(sheet.images.size()) * 2, cell);
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        << "<!-- Written by tools/make-sample-art: the civ's equipment images and their\n"
        << "     colour layers in one image; frames are named after the image files. -->\n"
        << "<sheet imagePath=\"" << sheet.folder << "/Tiles" << suffix << ".png\">\n";
    int x = 0;
    for (const std::string& stem : sheet.images) {
        const std::string image = sheet.folder + "/" + stem + ".png";
        for (const auto& [frame, kind] :
             {std::pair(image, Kind::Unit),
              std::pair(sheet.folder + "/" + stem + "_Color.png", Kind::ColorLayer)}) {
            const Canvas part = drawImage(font, image, kind, scale);
            for (int row = 0; row < cell; ++row)
                std::copy_n(part.pixels.begin() + ptrdiff_t(size_t(row) * size_t(cell) * 4),
                            size_t(cell) * 4,
                            canvas.pixels.begin() +
                                ptrdiff_t((size_t(row) * size_t(canvas.width) + size_t(x)) * 4));
            xml << "  <sprite n=\"" << frame << "\" x=\"" << x << "\" y=\"0\" w=\"" << cell
                << "\" h=\"" << cell << "\"/>\n";
            x += cell;
        }
    }
    xml << "</sheet>\n";
    const fs::path base = data / (sheet.folder + "/Tiles" + suffix);
    if (!canvas.save(base.string() + ".png")) {
        std::fprintf(stderr, "cannot write %s.png\n", base.string().c_str());
        return false;
    }
    std::ofstream out(base.string() + ".xml", std::ios::binary);
    out << xml.str();
    if (!out) {
        std::fprintf(stderr, "cannot write %s.xml\n", base.string().c_str());
        return false;
    }
    return true;
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
    int perRow;                         // cells in a row of the page
    float height;                       // glyph pixel height at scale 1
    float cellHeight;                   // of the page's cells, as a multiple of the height
    Color color = Color{255, 255, 255}; // of the glyphs (labels tint white ones)
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
                page.blend(x0 + i, y0 + std::min(cellHeight - 1, j), bitmapFont.color,
                           g.coverage[size_t(j * g.width + i)] / 255.0f);
        fnt << "char id=" << codepoint << " x=" << x0 << " y=" << y0
            << " width=" << std::min(g.width, cell - 2)
            << " height=" << std::min(g.height, cellHeight) << " xoffset=" << g.xoff
            << " yoffset=" << (base + g.yoff) << " xadvance=" << g.advance << " page=0 chnl=15\n";
    }
    std::ofstream(data / (bitmapFont.name + suffix + ".fnt")) << fnt.str();
    return page.save(data / (bitmapFont.name + suffix + ".png"));
}

// The digits of number labels, the letters of the big notices (printable
// ASCII and Latin-1, German included), and the game scene's flyouts: damage
// in red, healing in green, score in gold, with their signs and the "x".
std::vector<BitmapFont> bitmapFonts() {
    BitmapFont digits{"number", "Sample Digits", {}, 10, 24.0f, 1.0f};
    for (int c = '0'; c <= '9'; ++c)
        digits.characters.push_back(c);
    BitmapFont notify{"BigNotify", "Sample Notify", {}, 16, 32.0f, 1.3f};
    for (int c = 32; c <= 126; ++c)
        notify.characters.push_back(c);
    for (int c = 161; c <= 255; ++c)
        notify.characters.push_back(c);
    std::vector<BitmapFont> fonts = {digits, notify};
    const std::pair<const char*, Color> flyouts[] = {{"damageflyout", Color{235, 70, 55}},
                                                     {"healingflyout", Color{90, 225, 100}},
                                                     {"scoreflyout", Color{255, 215, 80}}};
    for (const auto& [name, color] : flyouts) {
        BitmapFont flyout{name, "Sample Flyout", {'+', '-', 'x'}, 13, 28.0f, 1.2f, color};
        for (int c = '0'; c <= '9'; ++c)
            flyout.characters.push_back(c);
        fonts.push_back(flyout);
    }
    return fonts;
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

// The tile chest's door: a light panel (the chest's dark count label sits on
// its lower half), sand-coloured, or rose for the crossover team.
Canvas drawDoor(const std::string& path, int scale) {
    Canvas canvas(36 * scale, 40 * scale);
    const float s = float(scale);
    const bool crossover = path.find("KX4") != std::string::npos;
    canvas.fill(roundedBox(canvas, 0, 7 * s), Color{90, 64, 36});
    canvas.fill(roundedBox(canvas, 3 * s, 5 * s),
                crossover ? Color{236, 196, 190} : Color{232, 214, 170});
    return canvas;
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
    } else if (stem == "MovementGrid" || stem == "DeployZone01") {
        // Drawn over a slot's perspective quad; the highlight is tinted by code.
        const bool deploy = stem == "DeployZone01";
        canvas.fill(roundedBox(canvas, 2 * s, 8 * s),
                    deploy ? Color{90, 200, 120} : Color{255, 255, 255}, deploy ? 90 : 110);
        canvas.fill(roundedBox(canvas, 6 * s, 6 * s),
                    deploy ? Color{90, 200, 120} : Color{255, 255, 255}, deploy ? 60 : 70);
    } else if (stem == "RangedAttackArrow") {
        // Points right from its left edge's middle.
        const float cy = canvas.height / 2.0f, head = canvas.height * 0.9f;
        const float tip = canvas.width - 1.0f;
        canvas.fill(
            [=](float x, float y) {
                const float shaft = std::max(std::fabs(y - cy) - 3 * s, x - (tip - head));
                const float arrowHead =
                    std::max(x - tip + (std::fabs(y - cy)) * 1.0f, (tip - head) - x);
                return std::min(std::max(shaft, -x), arrowHead);
            },
            Color{250, 230, 120}, 220);
    } else if (stem.starts_with("TileRack")) {
        const bool kx4 = stem.ends_with("KX4");
        canvas.fill(roundedBox(canvas, 0, 8 * s), kx4 ? Color{90, 30, 30} : Color{70, 50, 30});
        canvas.fill(roundedBox(canvas, 3 * s, 6 * s),
                    kx4 ? Color{150, 60, 60} : Color{130, 95, 55});
    } else if (stem == "Avatar_Chest") {
        canvas.fill(roundedBox(canvas, 1 * s, 6 * s), Color{70, 50, 30});
        canvas.fill(roundedBox(canvas, 4 * s, 4 * s), Color{170, 120, 60});
        font.draw(canvas, "T", canvas.width / 2.0f, canvas.height / 2.0f, canvas.height * 0.6f,
                  Color{255, 255, 255});
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
        {"UI/FakeCursor.png", 24, 24, true},
        {"MovementGrid.png", 64, 64, true},
        {"DeployZone01.png", 64, 64, true},
        {"RangedAttackArrow.png", 52, 24, true},
        {"TileRack.png", 294, 46, true},
        {"TileRackKX4.png", 294, 46, true},
        {"UI/Avatars/Avatar_Chest.png", 48, 48, true},
        // Named with its "-hd" already: one file, at twice the pixels.
        {"UI/BackSplash-hd.png", 240, 160, false},
    };
}

// The game scene's heads-up display and the health bars and beam mask: each
// image a simple shape of its own colour, named by its path.
enum class Shape {
    Button,
    Glow,
    Disc,
    Ring,
    NoSymbol,
    Gem,
    Arrow,
    Pointer, // an arrow whose tip is the right edge's middle
    Banner,
    Band,
    Bar,
    Fill,
    Shade, // the colour over the whole image, partly transparent
    BeamMask
};

struct HudImage {
    std::string path;
    int width, height; // points
    Shape shape;
    Color color;
    std::string text; // drawn over the shape; none when empty
};

std::vector<HudImage> hudImages() {
    const Color submit{60, 150, 70}, settings{90, 100, 120}, rematch{150, 90, 40},
        next{60, 100, 170}, grey{110, 110, 110}, skip{70, 120, 160};
    const auto pressed = [](Color c) {
        return Color{uint8_t(c.r * 3 / 4), uint8_t(c.g * 3 / 4), uint8_t(c.b * 3 / 4)};
    };
    return {
        {"UI_SubmitButton.png", 72, 40, Shape::Button, submit, "GO"},
        {"UI_SubmitButtonDis.png", 72, 40, Shape::Button, grey, "GO"},
        {"UI_SubmitButton_Pressed.png", 72, 40, Shape::Button, pressed(submit), "GO"},
        {"UI_SubmitButtonOverlay.png", 72, 40, Shape::Glow, Color{255, 240, 150}, ""},
        {"UI_SettingsButton.png", 40, 28, Shape::Button, settings, "S"},
        {"UI_SettingsButton_Pressed.png", 40, 28, Shape::Button, pressed(settings), "S"},
        {"UI/RematchButton.png", 76, 36, Shape::Button, rematch, ""},
        {"UI/RematchButton_Pressed.png", 76, 36, Shape::Button, pressed(rematch), ""},
        {"RematchButton01Overlay.png", 76, 36, Shape::Glow, Color{255, 240, 150}, ""},
        {"UI/NextGameButton.png", 76, 40, Shape::Button, next, ""},
        {"UI/NextGameButton_Pressed.png", 76, 40, Shape::Button, pressed(next), ""},
        {"UI_FFButton.png", 44, 44, Shape::Disc, skip, ">>"},
        {"UI_FFButton_Pressed.png", 44, 44, Shape::Disc, pressed(skip), ">>"},
        {"ActionPoints_MetalBG.png", 56, 56, Shape::Disc, Color{130, 135, 145}, ""},
        {"ActionPoints_Arrow.png", 14, 14, Shape::Arrow, Color{255, 230, 120}, ""},
        {"ActionPoints_Gem.png", 24, 8, Shape::Gem, Color{80, 220, 240}, ""},
        {"UI/SymbolTaunts.png", 32, 32, Shape::Disc, Color{200, 70, 50}, ""},
        {"UI/Avatars/Avatar_Submit.png", 64, 64, Shape::Disc, submit, "GO"},
        {"UI/Avatars/Avatar_Settings.png", 64, 64, Shape::Disc, settings, "S"},
        {"UI/Avatars/Avatar_Undo.png", 64, 64, Shape::Disc, Color{170, 140, 60}, "AP"},
        {"UI/PlayerBanner.png", 236, 40, Shape::Banner, Color{45, 42, 52}, ""},
        {"UI/PlayerBanner_Color.png", 236, 40, Shape::Band, Color{255, 255, 255}, ""},
        {"UI/PlayerBanner-iPad.png", 248, 48, Shape::Banner, Color{45, 42, 52}, ""},
        {"UI/PlayerBanner_Color-iPad.png", 248, 48, Shape::Band, Color{255, 255, 255}, ""},
        {"VsBadge.png", 40, 40, Shape::Disc, Color{160, 40, 40}, "VS"},
        {"ScoreTile_Effect.png", 40, 40, Shape::Disc, Color{230, 180, 50}, ""},
        {"ResetFlash.png", 16, 16, Shape::Fill, Color{255, 255, 255}, ""},
        {"Replay_ReplayBar.png", 240, 36, Shape::Button, Color{120, 40, 40}, "REPLAY"},
        {"ScoreTallyBG.png", 64, 32, Shape::Button, Color{40, 36, 30}, ""},
        {"AttackReticle.png", 64, 64, Shape::Ring, Color{230, 50, 40}, ""},
        {"AttackReticle2.png", 64, 64, Shape::Ring, Color{240, 140, 40}, ""},
        {"NO_Symbol.png", 64, 64, Shape::NoSymbol, Color{220, 30, 30}, ""},
        {"HealReticle.png", 64, 64, Shape::Ring, Color{70, 220, 90}, "+"},
        {"AllyReticle01_OutsideRing.png", 64, 64, Shape::Ring, Color{70, 140, 240}, ""},
        {"HP_Green.png", 40, 6, Shape::Bar, Color{70, 210, 80}, ""},
        {"HP_Red.png", 40, 6, Shape::Bar, Color{220, 60, 50}, ""},
        {"UI/Health-MainBar.png", 100, 12, Shape::Bar, Color{70, 210, 80}, ""},
        {"UI/Health-EffectBar.png", 100, 12, Shape::Bar, Color{250, 240, 200}, ""},
        {"UI/Health-LowWarning.png", 112, 24, Shape::Glow, Color{255, 40, 30}, ""},
        {"UI/Health-Background.png", 104, 16, Shape::Bar, Color{25, 22, 28}, ""},
        {"Effects/Textures/MedicHealFX_Mask01.png", 64, 16, Shape::BeamMask, Color{255, 255, 255},
         ""},
        {"Effects/Textures/DefeatedFX_DarkenScreen.png", 16, 16, Shape::Shade, Color{0, 0, 0}, ""},
        {"TutorialBubble01.png", 320, 120, Shape::Button, Color{245, 240, 225}, ""},
        {"TutorialArrow01.png", 64, 32, Shape::Pointer, Color{250, 200, 40}, ""},
        {"UI/Tutorial_RedX.png", 24, 24, Shape::Disc, Color{210, 40, 30}, "X"},
    };
}

// The panels over the board: the unit tooltip's rows and icons, the
// settings menu's buttons and the player card.
std::vector<HudImage> panelImages() {
    const Color gold{200, 170, 110}, card{45, 42, 52}, buy{60, 130, 80}, cancel{170, 60, 50};
    return {
        {"HelpTooltip_InsetHP.png", 104, 14, Shape::Bar, Color{20, 18, 24}, ""},
        {"HelpTooltip_HPBar.png", 100, 10, Shape::Bar, Color{70, 210, 80}, ""},
        {"HelpTooltip_HP.png", 24, 24, Shape::Disc, Color{200, 60, 60}, "+"},
        {"HelpTooltip_Bulletpoint.png", 6, 6, Shape::Disc, gold, ""},
        {"HelpTooltip_SeparatorWide.png", 280, 3, Shape::Bar, gold, ""},
        {"UI/TooltipIcon_PhysDmg.png", 24, 24, Shape::Disc, Color{190, 110, 50}, "P"},
        {"UI/TooltipIcon_MagicDmg.png", 24, 24, Shape::Disc, Color{140, 70, 200}, "M"},
        {"UI/TooltipIcon_PhysDef.png", 24, 24, Shape::Disc, Color{120, 125, 135}, "D"},
        {"UI/TooltipIcon_MagicRes.png", 24, 24, Shape::Disc, Color{60, 110, 200}, "R"},
        {"UI/TooltipIcon_Range.png", 18, 18, Shape::Disc, Color{230, 150, 40}, ""},
        {"UI/TooltipIcon_Movement.png", 18, 18, Shape::Disc, Color{60, 190, 210}, ""},
        {"TooltipIcon_RangeTile.png", 10, 10, Shape::Bar, Color{230, 150, 40}, ""},
        {"TooltipIcon_MovementTile.png", 10, 10, Shape::Bar, Color{60, 190, 210}, ""},
        {"UI/Button-280.png", 280, 44, Shape::Button, Color{110, 80, 40}, ""},
        {"UI/Button-280-Glow.png", 280, 44, Shape::Button, Color{150, 110, 50}, ""},
        {"UI/PlayerCardBackground.png", 220, 200, Shape::Banner, card, ""},
        {"UI_CancelButton.png", 28, 28, Shape::Disc, cancel, "x"},
        {"UI_CancelButton_Pressed.png", 28, 28, Shape::Disc, darker(cancel), "x"},
        {"UI/BuyButton.png", 64, 48, Shape::Button, buy, ""},
        {"UI/BuyButtonPressed.png", 64, 48, Shape::Button, darker(buy), ""},
        {"Chest01.png", 40, 40, Shape::Button, Color{130, 95, 55}, ""},
        {"UI/PlayerCardNumberBox.png", 44, 28, Shape::Bar, Color{20, 18, 24}, ""},
        {"UI/RoundIcon.png", 30, 30, Shape::Disc, gold, "#"},
        // The games list's emblem of a team not chosen or not shown.
        {"UI/Random-Emblem.png", 40, 40, Shape::Disc, Color{110, 100, 125}, "?"},
    };
}

Canvas drawHudImage(Font& font, const HudImage& image, int scale) {
    Canvas canvas(image.width * scale, image.height * scale);
    const float s = float(scale);
    const float cx = canvas.width / 2.0f, cy = canvas.height / 2.0f;
    const float r = std::min(cx, cy);
    const auto disc = [cx, cy](float radius) {
        return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
    };
    switch (image.shape) {
    case Shape::Button:
        canvas.fill(roundedBox(canvas, 0, 8 * s), darker(image.color));
        canvas.fill(roundedBox(canvas, 2 * s, 6 * s), image.color);
        break;
    case Shape::Glow:
        canvas.fill(roundedBox(canvas, 0, 10 * s), image.color, 120);
        canvas.fill(roundedBox(canvas, 4 * s, 8 * s), image.color, 70);
        break;
    case Shape::Disc:
        canvas.fill(disc(r - 0.5f), darker(image.color));
        canvas.fill(disc(r - 3 * s), image.color);
        break;
    case Shape::Ring:
        canvas.fill(
            [=](float x, float y) {
                return std::fabs(std::hypot(x - cx, y - cy) - (r - 5 * s)) - 3 * s;
            },
            image.color);
        break;
    case Shape::NoSymbol:
        canvas.fill(
            [=](float x, float y) {
                return std::fabs(std::hypot(x - cx, y - cy) - (r - 6 * s)) - 4 * s;
            },
            image.color);
        canvas.fill(
            [=](float x, float y) {
                const float across = std::fabs((x - cx) - (y - cy)) / std::sqrt(2.0f) - 4 * s;
                return std::max(across, std::hypot(x - cx, y - cy) - (r - 6 * s));
            },
            image.color);
        break;
    case Shape::Gem: {
        // A diamond at the far end: the gem sits out from the button's centre.
        const float gx = canvas.width - cy;
        canvas.fill([=](float x, float y) { return std::fabs(x - gx) + std::fabs(y - cy) - cy; },
                    image.color);
        break;
    }
    case Shape::Arrow:
        canvas.fill(
            [=](float x, float y) {
                return std::max(std::fabs(y - cy) - (x * 0.5f), x - canvas.width + 1.0f);
            },
            image.color);
        break;
    case Shape::Pointer:
        canvas.fill(
            [=](float x, float y) {
                return std::max(std::fabs(y - cy) - ((canvas.width - x) * 0.5f), 1.0f - x);
            },
            image.color);
        break;
    case Shape::Banner:
        canvas.fill(roundedBox(canvas, 0, 4 * s), Color{200, 170, 110});
        canvas.fill(roundedBox(canvas, 2 * s, 3 * s), image.color, 235);
        break;
    case Shape::Band: {
        // A strip along the lower edge, inside the banner's border.
        const float top = canvas.height * 0.7f, inset = 3 * s;
        canvas.fill(
            [=](float x, float y) {
                return std::max(
                    {top - y, y - (canvas.height - inset), inset - x, x - (canvas.width - inset)});
            },
            image.color);
        break;
    }
    case Shape::Bar:
        canvas.fill(roundedBox(canvas, 0, std::min(3.0f * s, cy)), image.color);
        break;
    case Shape::Fill:
        canvas.fill([](float, float) { return -1.0f; }, image.color);
        break;
    case Shape::Shade:
        canvas.fill([](float, float) { return -1.0f; }, image.color, 160);
        break;
    case Shape::BeamMask:
        // White, opaque along the middle and fading towards the edges and ends.
        for (int y = 0; y < canvas.height; ++y)
            for (int x = 0; x < canvas.width; ++x) {
                const float across = 1.0f - std::fabs(y + 0.5f - cy) / cy;
                const float along = std::min(1.0f, std::min(x + 0.5f, canvas.width - x - 0.5f) /
                                                       (canvas.width * 0.15f));
                canvas.blend(x, y, image.color, 1.0f, uint8_t(255 * across * along));
            }
        break;
    }
    if (!image.text.empty())
        font.draw(canvas, image.text, cx, cy, canvas.height * 0.45f, Color{255, 255, 255});
    return canvas;
}

// The pages' own art, beside the data folder in "html/UI" (page pixels, no
// "-hd" twin): the large layout's background and the loading screen, whose
// used part is its top 1024 x 768 (symmetric, so it reads the same either
// way up).
Canvas drawPageImage(const std::string& stem) {
    if (stem.starts_with("MenuNav")) {
        // The puzzle menus' entry buttons: brown while not completed, green
        // when completed, gold with a star disc for the star art; darker
        // while pressed ("-Dn").
        const bool large = stem.ends_with("_Lge");
        Canvas canvas(large ? 346 : 280, large ? 44 : 36);
        const bool pressed = stem.find("-Dn") != std::string::npos;
        const bool star = stem.starts_with("MenuNavStar");
        Color face = stem.find("Incomplete") != std::string::npos ? Color{110, 80, 40}
                     : star                                       ? Color{160, 120, 40}
                                                                  : Color{70, 120, 60};
        if (pressed)
            face = Color{uint8_t(face.r * 3 / 4), uint8_t(face.g * 3 / 4), uint8_t(face.b * 3 / 4)};
        canvas.fill(roundedBox(canvas, 0, 8), Color{40, 34, 26});
        canvas.fill(roundedBox(canvas, 3, 6), face);
        if (star) {
            const float r = canvas.height * 0.3f;
            const float cx = canvas.width - canvas.height * 0.5f, cy = canvas.height * 0.5f;
            canvas.fill([=](float x, float y) { return std::hypot(x - cx, y - cy) - r; },
                        Color{250, 220, 110});
        }
        return canvas;
    }
    if (stem == "GameScreen_Lge") {
        Canvas canvas(1434, 990);
        canvas.fill([](float, float) { return -1.0f; }, Color{28, 32, 44});
        canvas.fill(roundedBox(canvas, 6, 18), Color{48, 56, 74});
        canvas.fill(roundedBox(canvas, 10, 14), Color{34, 40, 54});
        return canvas;
    }
    Canvas canvas(1024, 1024);
    canvas.fill([](float, float) { return -1.0f; }, Color{14, 16, 24});
    canvas.fill(
        [](float x, float y) {
            return std::max(std::fabs(x - 512) - 440, std::fabs(y - 384) - 300);
        },
        Color{40, 46, 70});
    canvas.fill([](float x, float y) { return std::hypot(x - 512, y - 384) - 120; },
                Color{90, 110, 170});
    return canvas;
}

// The desktop shell's own art: the popups' background and buttons, the
// splash image, the window and tray icons and the tray menu's civ icons.
struct ShellImage {
    std::string path;
    int width, height; // points; written with an "-hd" twin
};

std::vector<ShellImage> shellImages() {
    std::vector<ShellImage> images = {
        {"interface/Popup_Background.png", 300, 200},
        {"interface/Popup_OK.png", 90, 36},
        {"interface/Popup_OK_Pressed.png", 90, 36},
        {"interface/Popup_Close.png", 24, 24},
        {"interface/Popup_Close_Hot.png", 24, 24},
        {"interface/Splash.png", 320, 200},
        {"interface/AppIcon.png", 32, 32},
        {"interface/TrayIcon.png", 16, 16},
        {"interface/TrayIcon_Waiting.png", 16, 16},
    };
    for (const char* civ : {"darkelves", "dwarves", "humans", "orcs", "kx4a", "other"})
        images.push_back({std::string("interface/TrayCiv_") + civ + ".png", 12, 12});
    return images;
}

Canvas drawShellImage(Font& font, const std::string& path, int width, int height, int scale) {
    Canvas canvas(width * scale, height * scale);
    const float s = float(scale);
    const float cx = canvas.width / 2.0f, cy = canvas.height / 2.0f;
    const std::string stem = fs::path(path).stem().string();
    const auto disc = [cx, cy](float radius) {
        return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
    };
    if (stem == "Popup_Background") {
        canvas.fill(roundedBox(canvas, 0, 14 * s), Color{200, 170, 110});
        canvas.fill(roundedBox(canvas, 4 * s, 11 * s), Color{44, 48, 66});
    } else if (stem.starts_with("Popup_OK")) {
        const bool pressed = stem.ends_with("_Pressed");
        canvas.fill(roundedBox(canvas, 1 * s, 10 * s), Color{40, 34, 26});
        canvas.fill(roundedBox(canvas, 4 * s, 7 * s),
                    pressed ? Color{80, 120, 60} : Color{90, 160, 70});
    } else if (stem.starts_with("Popup_Close")) {
        const bool hot = stem.ends_with("_Hot");
        canvas.fill(disc(cx - 0.5f), Color{230, 230, 230});
        canvas.fill(disc(cx - 2 * s), hot ? Color{230, 80, 70} : Color{170, 50, 45});
        font.draw(canvas, "x", cx, cy, canvas.height * 0.7f, Color{255, 255, 255});
    } else if (stem == "Splash") {
        canvas.fill(roundedBox(canvas, 0, 18 * s), Color{200, 170, 110});
        canvas.fill(roundedBox(canvas, 5 * s, 14 * s), Color{30, 36, 60});
        font.draw(canvas, "Tarnwick", cx, cy, canvas.height * 0.22f, Color{240, 220, 160});
    } else if (stem.starts_with("TrayCiv_")) {
        static const std::map<std::string, Color> colors = {
            {"darkelves", {120, 70, 170}}, {"dwarves", {170, 110, 50}}, {"humans", {60, 110, 200}},
            {"orcs", {70, 150, 60}},       {"kx4a", {190, 50, 50}},     {"other", {120, 120, 120}},
        };
        const std::string civ = stem.substr(8);
        canvas.fill(disc(cx - 0.5f), colors.at(civ));
        font.draw(canvas, std::string(1, char(std::toupper(civ[0]))), cx, cy, canvas.height * 0.7f,
                  Color{255, 255, 255});
    } else {
        // The window and tray icons: a disc with the name's initial; the
        // waiting tray icon is gold.
        const bool waiting = stem.ends_with("_Waiting");
        canvas.fill(disc(cx - 0.5f), waiting ? Color{230, 180, 40} : Color{70, 90, 160});
        font.draw(canvas, "T", cx, cy, canvas.height * 0.7f, Color{255, 255, 255});
    }
    return canvas;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make-sample-art DATA_FOLDER [PREFIX...]\n");
        return 2;
    }
    const fs::path data = argv[1];
    const std::vector<std::string> prefixes(argv + 2, argv + argc);
    const auto wanted = [&](const std::string& path) {
        return prefixes.empty() ||
               std::any_of(prefixes.begin(), prefixes.end(),
                           [&](const std::string& prefix) { return path.starts_with(prefix); });
    };
    int written = 0;
    for (const EffectPuppet& puppet : effectPuppets()) {
        if (!wanted(puppet.path))
            continue;
        const fs::path file = data / (std::string(puppet.path) + ".Puppet");
        fs::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << effectPuppetText(puppet);
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", file.string().c_str());
            return 1;
        }
        ++written;
    }
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
        // The civ sheets' lists name the images they copy, with their
        // colour layers: those are drawn from the attachments.
        const std::string stem = entry.path().stem().string();
        if (stem == "Tiles" || stem == "Tiles-hd")
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
    images.insert(codeEffectImages().begin(), codeEffectImages().end());
    for (const CivSheet& sheet : civSheets()) {
        images.erase(sheet.folder + "/Tiles.png"); // named by the sheets' lists
        images.erase(sheet.folder + "/Tiles-hd.png");
        if (!wanted(sheet.folder + "/Tiles"))
            continue;
        for (int scale : {1, 2}) {
            if (!writeCivSheet(font, sheet, data, scale))
                return 1;
            written += 2;
        }
    }
    for (const std::string& image : images) {
        if (!wanted(image))
            continue;
        const auto sheet =
            std::find_if(sheetImages().begin(), sheetImages().end(),
                         [&](const SheetImage& candidate) { return candidate.path == image; });
        if (sheet != sheetImages().end()) {
            for (int scale : {1, 2}) {
                const std::string file = scale == 1 ? image : withSuffix(image, "-hd");
                if (!drawSheet(font, *sheet, scale).save(data / file)) {
                    std::fprintf(stderr, "cannot write %s\n", file.c_str());
                    return 1;
                }
                ++written;
            }
            continue;
        }
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
    if (!prefixes.empty()) {
        std::printf("%d files written to %s\n", written, data.string().c_str());
        return 0;
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
    std::vector<HudImage> hud = hudImages();
    for (HudImage& image : panelImages())
        hud.push_back(std::move(image));
    for (const HudImage& image : hud) {
        for (int scale : {1, 2}) {
            const std::string file = scale == 1 ? image.path : withSuffix(image.path, "-hd");
            if (!drawHudImage(font, image, scale).save(data / file)) {
                std::fprintf(stderr, "cannot write %s\n", file.c_str());
                return 1;
            }
            ++written;
        }
    }
    for (const ShellImage& image : shellImages()) {
        for (int scale : {1, 2}) {
            const std::string file = scale == 1 ? image.path : withSuffix(image.path, "-hd");
            if (!drawShellImage(font, image.path, image.width, image.height, scale)
                     .save(data / file)) {
                std::fprintf(stderr, "cannot write %s\n", file.c_str());
                return 1;
            }
            ++written;
        }
    }
    std::vector<std::string> pageImages = {"GameScreen_Lge", "LoadingScreen_Full"};
    for (const char* look : {"MenuNav-Incomplete", "MenuNav-Complete", "MenuNavStar-Complete"})
        for (const char* state : {"-Dn", "-Up"})
            for (const char* size : {"_Med", "_Lge"})
                pageImages.push_back(std::string(look) + state + size);
    for (const std::string& stem : pageImages) {
        const fs::path file = data / ".." / "html" / "UI" / (stem + ".png");
        if (!drawPageImage(stem).save(file)) {
            std::fprintf(stderr, "cannot write %s\n", file.string().c_str());
            return 1;
        }
        ++written;
    }
    // The team-selection page's create button, up and pressed.
    for (const auto& [stem, color] : {std::pair{"AccountGreenButton-Up", Color{60, 150, 70}},
                                      std::pair{"AccountGreenButton-Dn", Color{45, 112, 52}}}) {
        const fs::path file = data / ".." / "html" / "UI" / (std::string(stem) + ".png");
        if (!drawHudImage(font, {stem, 210, 39, Shape::Button, color, ""}, 1).save(file)) {
            std::fprintf(stderr, "cannot write %s\n", file.string().c_str());
            return 1;
        }
        ++written;
    }
    // The avatar of an opponent not known yet (matchmaking), at the avatars'
    // high-resolution size; one file, named as the program names it.
    const HudImage unknownAvatar{"UI/Avatars/UnknownAvatar.jpg", 96, 96, Shape::Disc,
                                 Color{110, 110, 110},           "?"};
    if (!drawHudImage(font, unknownAvatar, 1).save(data / unknownAvatar.path)) {
        std::fprintf(stderr, "cannot write %s\n", unknownAvatar.path.c_str());
        return 1;
    }
    ++written;
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
