#pragma once

// XML data files and the typed readers every loader uses.
//
// An XMLHelper holds one parsed file together with its text: rapidxml parses
// in place, so names and values point into the text and a loader keeps its
// holder until it has read everything. loadXmlFile reads "data/<name>.<ext>"
// whole, optionally checks its CRC-32 and parses it. The readers take a node
// or an attribute alike; a missing node, name or value reads as "". A typed
// reader that cannot read returns false and leaves its output untouched.
//
// An element's value is its first run of text; the parser makes no data
// nodes, so text after a child element and CDATA sections are not kept.

#include "content/XmlNesting.h"

#include <rapidxml/rapidxml.hpp>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using XmlBase = rapidxml::xml_base<char>;
using XmlNode = rapidxml::xml_node<char>;
using XmlAttribute = rapidxml::xml_attribute<char>;

class XMLHelper {
public:
    XMLHelper();
    XMLHelper(const XMLHelper&) = delete;
    XMLHelper& operator=(const XMLHelper&) = delete;
    // Frees the text and clears the document.
    virtual ~XMLHelper();

    // Drops every node and the pool memory; the text stays.
    void clear();
    // Replaces the text by a copy of bytes (a NUL is kept after them).
    void setText(std::string_view bytes);
    // Parses the held text in place. On success outRoot is the document's
    // first node (null for an empty file); on a parse error the line
    // "parse error: <what> at <text>" goes to standard output, false.
    // Text nested deeper than cMaxXmlNesting is a parse error, found by a
    // walk before the parser's; nestingChecked skips that walk for text
    // known to nest within the limit.
    bool parse(XmlNode*& outRoot, bool nestingChecked = false);

    rapidxml::xml_document<char>& document() { return mDocument; }
    // Room for a text of length bytes, followed by one NUL, in place of the
    // text held: the bytes are left for the caller to fill, so a large file
    // is read straight in rather than first zeroed. Throws std::bad_alloc.
    char* textBuffer(size_t length);
    // Takes bytes as the text without copying them (a NUL is added after
    // them); bytes is left empty.
    void takeText(std::vector<char>& bytes);

private:
    rapidxml::xml_document<char> mDocument;
    // The text and a NUL, in one of the two stores below, or null.
    char* mText = nullptr;
    std::unique_ptr<char[]> mRoom; // textBuffer's, kept for the next text
    size_t mRoomCapacity = 0;
    std::vector<char> mTaken; // takeText's
};

// Loads data file name.extension (under "data/") into holder and points
// outRoot at its first node. With checkCrc, a file whose zlib CRC-32 differs
// from expectedCrc is refused, and one that matches is taken as the file the
// build checked, nesting included. False on any failure, outRoot untouched.
bool loadXmlFile(std::string_view name, XmlNode*& outRoot, XMLHelper& holder,
                 std::string_view extension = "xml", uint32_t expectedCrc = 0,
                 bool checkCrc = false);

// Name and value comparisons: exact, with case and length. Inline, so that
// a comparison with a literal compiles to a few loads.
inline bool xmlNameEquals(const XmlBase* node, std::string_view text) {
    return (node ? std::string_view(node->name(), node->name_size()) : std::string_view()) == text;
}
inline bool xmlValueEquals(const XmlBase* node, std::string_view text) {
    return (node ? std::string_view(node->value(), node->value_size()) : std::string_view()) ==
           text;
}

// The first attribute named exactly name; a null name gives the first
// attribute. Null when there is none.
XmlAttribute* xmlFindAttribute(const XmlNode* element, const char* name);

// The first attribute of each of names, found in one walk over element's
// attributes (xmlFindAttribute of each name): found[i] is null when element
// has no attribute names[i]. found holds as many entries as names.
void xmlFindAttributes(const XmlNode* element, std::span<const std::string_view> names,
                       std::span<const XmlAttribute*> found);

// The value as a decimal number, taken as strtol does (leading blanks, sign,
// the leading digits; no digits read as 0): false only when out of range.
bool xmlValueInt(const XmlBase* node, int32_t& out);
bool xmlValueInt64(const XmlBase* node, int64_t& out);
// Also false outside 0..255.
bool xmlValueByte(const XmlBase* node, uint8_t& out);
// As strtod; false on a range error or a value beyond float's range.
bool xmlValueFloat(const XmlBase* node, float& out);
// "true" (any case) and "1" read true, "false" (any case) and "0" false.
bool xmlValueBool(const XmlBase* node, bool& out);

// The attribute forms: false when the attribute is missing or does not read.
bool xmlAttrString(const XmlNode* element, const char* name, std::string& out);
bool xmlAttrInt(const XmlNode* element, const char* name, int32_t& out);
bool xmlAttrFloat(const XmlNode* element, const char* name, float& out);
bool xmlAttrBool(const XmlNode* element, const char* name, bool& out);
bool xmlAttrByte(const XmlNode* element, const char* name, uint8_t& out);
