#include "puppet/TextStyle.h"

#include "content/BConfig.h"
#include "platform/engine/CCDirector.h"
#include "rules/core/NameTable.h"

#include <array>
#include <cstdio>
#include <cstdlib>

using namespace cocos2d;

namespace {

constexpr std::array<std::string_view, 2> cKeyTypeNames = {"localized", "dynamic"};
constexpr std::array<std::string_view, 1> cConfigFontType = {"config"};

std::string textOf(const XmlBase* node) {
    return std::string(node->value(), node->value_size());
}

// Reads "r", "g", "b" and then "a" into colour, stopping at the first that
// is missing or not 0..255: that channel and the later ones keep their
// values.
void readColor(const XmlNode* element, ccColor4B& colour) {
    for (auto [name, channel] : {std::pair{"r", &colour.r}, std::pair{"g", &colour.g},
                                 std::pair{"b", &colour.b}, std::pair{"a", &colour.a}})
        if (!xmlAttrByte(element, name, *channel))
            return;
}

float contentScale() {
    return CCDirector::sharedDirector()->getContentScaleFactor();
}

} // namespace

TextStyle::TextStyle()
    : mOutlineFill(ccc4(0, 0, 0, 255), 0.0f, ccc4(255, 255, 255, 255)),
      mDropShadow(1.0f, 1.0f, 1.0f, 0.0f, 0.0f) {
    mDropShadow.alpha = 0.0f;
}

bool TextStyle::load(const XmlNode* element) {
    if (!element)
        return false;
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (xmlNameEquals(child, "key")) {
            loadKey(child);
        } else if (xmlNameEquals(child, "font")) {
            loadFont(child);
        } else if (xmlNameEquals(child, "fillColor")) {
            readColor(child, mOutlineFill.fillColor);
        } else if (xmlNameEquals(child, "outline")) {
            readColor(child, mOutlineFill.outlineColor);
            float width = 0.0f;
            xmlAttrFloat(child, "width", width);
            mOutlineFill.outlineWidth = width * contentScale();
        } else if (xmlNameEquals(child, "fillGradient")) {
            for (const XmlNode* stop = child->first_node(); stop; stop = stop->next_sibling()) {
                if (stop->type() != rapidxml::node_element)
                    continue;
                ccColor4B colour = ccc4(0, 0, 0, 255);
                readColor(stop, colour);
                float pos = 0.0f;
                xmlAttrFloat(stop, "pos", pos);
                mOutlineFill.gradient.addColor(colour, pos);
            }
        } else if (xmlNameEquals(child, "dropShadow")) {
            DropShadowInfo shadow(0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
            xmlAttrFloat(child, "offsetX", shadow.offsetX);
            xmlAttrFloat(child, "offsetY", shadow.offsetY);
            xmlAttrFloat(child, "alpha", shadow.alpha);
            xmlAttrFloat(child, "brightness", shadow.brightness);
            xmlAttrFloat(child, "blur", shadow.blur);
            shadow.offsetX *= contentScale();
            shadow.offsetY *= contentScale();
            mDropShadow = shadow;
        }
    }
    return true;
}

void TextStyle::loadKey(const XmlNode* element) {
    mKey = textOf(element);
    std::string type = "localized";
    xmlAttrString(element, "type", type);
    const int32_t keyType = findNameNoCase(cKeyTypeNames, type);
    if (keyType < 0)
        std::printf("unknown key type '%s'\n", type.c_str());
    else
        mKeyType = keyType;
}

void TextStyle::loadFont(const XmlNode* element) {
    std::string type;
    xmlAttrString(element, "type", type);
    if (findNameNoCase(cConfigFontType, type) != 0) {
        xmlAttrString(element, "name", mFontName);
        xmlAttrFloat(element, "size", mFontSize);
        return;
    }
    // "name" and "size" name options.
    const BConfig& options = BConfig::instance();
    std::string nameOption;
    xmlAttrString(element, "name", nameOption);
    if (const OptionValue* font = options.findValue(nameOption, false))
        BConfig::valueToString(*font, mFontName);
    std::string sizeOption;
    xmlAttrString(element, "size", sizeOption);
    if (!options.findValue(sizeOption, false) || !options.getFloatByName(sizeOption, mFontSize))
        mFontSize = static_cast<float>(std::atof(sizeOption.c_str()));
}
