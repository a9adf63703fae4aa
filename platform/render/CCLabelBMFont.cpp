#include "platform/render/CCLabelBMFont.h"

#include "platform/engine/CCDirector.h"
#include "platform/render/CCDrawing.h"
#include "platform/render/CCTexture2D.h"
#include "platform/render/CCTextureCache.h"

#include <fstream>
#include <memory>
#include <sstream>

namespace cocos2d {

namespace {

std::map<std::string, std::unique_ptr<CCBMFontConfiguration>>& configurations() {
    static std::map<std::string, std::unique_ptr<CCBMFontConfiguration>> cache;
    return cache;
}

// The key=value fields of one record line; quoted values lose their quotes.
std::map<std::string, std::string> fieldsOf(const std::string& line) {
    std::map<std::string, std::string> fields;
    size_t pos = line.find(' ');
    while (pos != std::string::npos && pos < line.size()) {
        while (pos < line.size() && line[pos] == ' ')
            ++pos;
        const size_t eq = line.find('=', pos);
        if (eq == std::string::npos)
            break;
        const std::string key = line.substr(pos, eq - pos);
        size_t end = 0;
        std::string value;
        if (eq + 1 < line.size() && line[eq + 1] == '"') {
            end = line.find('"', eq + 2);
            value = line.substr(eq + 2, end == std::string::npos ? end : end - eq - 2);
            end = end == std::string::npos ? end : end + 1;
        } else {
            end = line.find(' ', eq + 1);
            value = line.substr(eq + 1, end == std::string::npos ? end : end - eq - 1);
        }
        fields[key] = value;
        pos = end;
    }
    return fields;
}

int intField(const std::map<std::string, std::string>& fields, const char* key) {
    const auto found = fields.find(key);
    if (found == fields.end())
        return 0;
    try {
        return std::stoi(found->second);
    } catch (...) {
        return 0;
    }
}

// The next code point of UTF-8 text; bad bytes count as themselves.
uint32_t nextCodePoint(const std::string& text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    uint32_t code = extra == 3   ? lead & 0x07
                    : extra == 2 ? lead & 0x0F
                    : extra == 1 ? lead & 0x1F
                                 : lead;
    while (extra-- > 0 && pos < text.size() &&
           (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80)
        code = (code << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    return code;
}

} // namespace

const CCBMFontConfiguration* CCBMFontConfiguration::configurationWithFile(const std::string& path) {
    auto& cache = configurations();
    const auto found = cache.find(path);
    if (found != cache.end())
        return found->second.get();
    float scale = 1.0f;
    const std::string file = CCTextureCache::resolveImagePath(path, &scale);
    std::ifstream in(file, std::ios::binary);
    if (file.empty() || !in)
        return nullptr;
    std::stringstream text;
    text << in.rdbuf();
    auto config = std::make_unique<CCBMFontConfiguration>();
    if (!config->parse(text.str()))
        return nullptr;
    config->contentScale = scale;
    const size_t slash = path.find_last_of("/\\");
    config->folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    return (cache[path] = std::move(config)).get();
}

void CCBMFontConfiguration::purgeCachedData() {
    configurations().clear();
}

bool CCBMFontConfiguration::parse(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    bool common = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string kind = line.substr(0, line.find(' '));
        const auto fields = fieldsOf(line);
        if (kind == "common") {
            lineHeight = intField(fields, "lineHeight");
            base = intField(fields, "base");
            common = true;
        } else if (kind == "page") {
            const auto file = fields.find("file");
            if (file != fields.end())
                pages[intField(fields, "id")] = file->second;
        } else if (kind == "char") {
            Glyph glyph;
            glyph.x = intField(fields, "x");
            glyph.y = intField(fields, "y");
            glyph.width = intField(fields, "width");
            glyph.height = intField(fields, "height");
            glyph.xOffset = intField(fields, "xoffset");
            glyph.yOffset = intField(fields, "yoffset");
            glyph.xAdvance = intField(fields, "xadvance");
            glyph.page = intField(fields, "page");
            glyphs[uint32_t(intField(fields, "id"))] = glyph;
        } else if (kind == "kerning") {
            const auto first = uint64_t(uint32_t(intField(fields, "first")));
            const auto second = uint64_t(uint32_t(intField(fields, "second")));
            kernings[(first << 32) | second] = intField(fields, "amount");
        }
    }
    return common && !pages.empty();
}

int CCBMFontConfiguration::kerning(uint32_t first, uint32_t second) const {
    const auto found = kernings.find((uint64_t(first) << 32) | second);
    return found == kernings.end() ? 0 : found->second;
}

CCLabelBMFont* CCLabelBMFont::labelWithString(const char* text, const char* fntFile) {
    auto* label = new CCLabelBMFont();
    if (!label->initWithString(text, fntFile)) {
        label->release();
        return nullptr;
    }
    label->autorelease();
    return label;
}

CCLabelBMFont* CCLabelBMFont::labelOrEmpty(const char* text, const char* fntFile) {
    if (CCLabelBMFont* label = labelWithString(text, fntFile))
        return label;
    auto* label = new CCLabelBMFont();
    label->setAnchorPoint(CCPoint(0.5f, 0.5f));
    label->setString(text);
    label->autorelease();
    return label;
}

CCLabelBMFont::~CCLabelBMFont() {
    for (auto& page : mPages)
        page.second->release();
}

bool CCLabelBMFont::initWithString(const char* text, const char* fntFile) {
    mConfig = CCBMFontConfiguration::configurationWithFile(fntFile ? fntFile : "");
    if (!mConfig)
        return false;
    for (const auto& [id, file] : mConfig->pages) {
        if (CCTexture2D* texture =
                CCTextureCache::sharedTextureCache()->addImage(mConfig->folder + file)) {
            texture->retain();
            mPages[id] = texture;
        }
    }
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    mText = text ? text : "";
    layout();
    return true;
}

void CCLabelBMFont::setString(const char* text) {
    mText = text ? text : "";
    layout();
}

void CCLabelBMFont::setColor(const ccColor3B& color) {
    mColor = color;
    layout();
}

void CCLabelBMFont::setOpacity(uint8_t opacity) {
    mOpacity = opacity;
    layout();
}

void CCLabelBMFont::layout() {
    mQuads.clear();
    if (mConfig == nullptr) {
        // A label without a font (never initialised) keeps its text and shows nothing.
        CCNode::setContentSize(CCSize(0, 0));
        return;
    }
    const float fontScale = mConfig->contentScale;
    const float screen =
        CCDirector::hasSharedDirector() ? CCDirector::sharedDirector()->getContentScaleFactor() : 1;
    // Pen positions in font pixels, y downwards from the first line's top.
    struct Placed {
        const CCBMFontConfiguration::Glyph* glyph;
        int x, y;
    };
    std::vector<Placed> placed;
    int penX = 0;
    int penY = 0;
    int widest = 0;
    int lines = 1;
    uint32_t previous = 0;
    for (size_t pos = 0; pos < mText.size();) {
        const uint32_t code = nextCodePoint(mText, pos);
        if (code == '\n') {
            widest = std::max(widest, penX);
            penX = 0;
            penY += mConfig->lineHeight;
            ++lines;
            previous = 0;
            continue;
        }
        const auto found = mConfig->glyphs.find(code);
        if (found == mConfig->glyphs.end())
            continue;
        penX += mConfig->kerning(previous, code);
        placed.push_back(Placed{&found->second, penX, penY});
        penX += found->second.xAdvance;
        previous = code;
    }
    widest = std::max(widest, penX);
    const int blockHeight = mText.empty() ? 0 : lines * mConfig->lineHeight;
    CCNode::setContentSize(CCSize(float(widest) / fontScale, float(blockHeight) / fontScale));

    const ccColor4B color = mOpacityModifyRGB ? ccPremultiplied(mColor, mOpacity)
                                              : ccc4(mColor.r, mColor.g, mColor.b, mOpacity);
    const float toScreen = screen / fontScale; // font pixels to screen pixels
    for (const Placed& p : placed) {
        const auto& g = *p.glyph;
        const auto page = mPages.find(g.page);
        if (page == mPages.end() || g.width <= 0 || g.height <= 0)
            continue;
        CCTexture2D* texture = page->second;
        const float wide = float(texture->getPixelsWide());
        const float high = float(texture->getPixelsHigh());
        // The page image's pixels per font pixel (a plain page under an -hd font).
        const float pagePixels = texture->getContentScale() / fontScale;
        const float left = float(g.x) * pagePixels / wide;
        const float right = float(g.x + g.width) * pagePixels / wide;
        const float top = float(g.y) * pagePixels / high;
        const float bottom = float(g.y + g.height) * pagePixels / high;
        const float x0 = float(p.x + g.xOffset) * toScreen;
        const float x1 = x0 + float(g.width) * toScreen;
        const float y1 = float(blockHeight - p.y - g.yOffset) * toScreen;
        const float y0 = y1 - float(g.height) * toScreen;
        PlacedQuad q{g.page, {}};
        q.quad.tl = ccV3F_C4B_T2F{{x0, y1, 0}, color, {left, top}};
        q.quad.bl = ccV3F_C4B_T2F{{x0, y0, 0}, color, {left, bottom}};
        q.quad.tr = ccV3F_C4B_T2F{{x1, y1, 0}, color, {right, top}};
        q.quad.br = ccV3F_C4B_T2F{{x1, y0, 0}, color, {right, bottom}};
        mQuads.push_back(q);
    }
}

void CCLabelBMFont::draw() {
    for (const auto& [id, texture] : mPages) {
        std::vector<ccV3F_C4B_T2F_Quad> quads;
        for (const PlacedQuad& q : mQuads) {
            if (q.page == id)
                quads.push_back(q.quad);
        }
        ccDrawQuads(texture, quads.data(), quads.size(), ccBlendFunc{});
    }
}

} // namespace cocos2d
