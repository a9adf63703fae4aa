#include "content/XMLHelper.h"
#include "content/DataFileCrc.h"
#include "content/DataPath.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr uint32_t cCheckedCrc = 0x91DC4C3F; // of xml/data/checked.xml

class XmlFileTest : public ::testing::Test {
protected:
    void SetUp() override { setBaseFolder(TARNWICK_FIXTURES_DIR "/content/xml"); }
    void TearDown() override {
        setBaseFolder({});
        setDataFileCrcTable({});
    }

    // Loads data/name.xml, returning what it printed.
    std::string load(const char* name, bool expected, uint32_t crc = 0, bool checkCrc = false) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(loadXmlFile(name, mRoot, *mHolder, "xml", crc, checkCrc), expected) << name;
        return testing::internal::GetCapturedStdout();
    }

    std::unique_ptr<XMLHelper> mHolder = std::make_unique<XMLHelper>();
    XmlNode* mRoot = nullptr;
};

// The holder parses the text given, as loadXmlFile parses a file's.
class XmlTextTest : public ::testing::Test {
protected:
    bool parse(const std::string& text) {
        mHolder->setText(text);
        testing::internal::CaptureStdout();
        const bool parsed = mHolder->parse(mRoot);
        mPrinted = testing::internal::GetCapturedStdout();
        return parsed;
    }

    std::unique_ptr<XMLHelper> mHolder = std::make_unique<XMLHelper>();
    XmlNode* mRoot = nullptr;
    std::string mPrinted;
};

struct ReadCase {
    const char* text;
    bool reads;
    double result; // exact for every value below
};

std::string nested(int depth, const std::string& inner = "") {
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    text += inner;
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    return text;
}

} // namespace

TEST_F(XmlFileTest, LoadsAFileAndItsFirstNode) {
    EXPECT_EQ(load("checked", true), "");
    ASSERT_NE(mRoot, nullptr);
    EXPECT_TRUE(xmlNameEquals(mRoot, "root"));
    std::string name;
    EXPECT_TRUE(xmlAttrString(mRoot, "name", name));
    EXPECT_EQ(name, "checked");
    const XmlNode* item = mRoot->first_node("item");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(xmlValueEquals(item, "first"));
    EXPECT_TRUE(xmlNameEquals(item->next_sibling(), "item"));
}

TEST_F(XmlFileTest, CrcCheckRefusesAChangedByte) {
    EXPECT_EQ(load("checked", true, cCheckedCrc, true), "");
    mRoot = nullptr;
    EXPECT_EQ(load("damaged", false, cCheckedCrc, true), "");
    EXPECT_EQ(mRoot, nullptr);
    EXPECT_EQ(load("damaged", true, cCheckedCrc, false), "");
    EXPECT_NE(mRoot, nullptr);
}

TEST_F(XmlFileTest, CrcCheckCoversEveryByteOfALargeFile) {
    // A file of many read pieces; a byte changed anywhere in it is refused.
    std::string text = "<root>";
    for (int i = 0; text.size() < (3u << 20); ++i)
        text += "<item n=\"" + std::to_string(i) + "\">value " + std::to_string(i) + "</item>\n";
    text += "</root>";
    const uint32_t crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
    const auto folder = std::filesystem::temp_directory_path() /
                        ("tarnwick-xml-large-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "data");
    setBaseFolder(folder);
    const size_t changedAt[] = {std::string::npos, 10, (1u << 20) + 7, text.size() - 2};
    for (const size_t at : changedAt) {
        std::string bytes = text;
        if (at != std::string::npos)
            bytes[at] = bytes[at] == 'e' ? 'f' : 'e';
        std::ofstream(folder / "data" / "large.xml", std::ios::binary) << bytes;
        const bool intact = at == std::string::npos;
        EXPECT_EQ(load("large", intact, crc, true), "") << at;
    }
    std::filesystem::remove_all(folder);
}

TEST_F(XmlFileTest, CheckedLoaderUsesTheInjectedTable) {
    static constexpr DataFileCrc table[] = {{"checked", cCheckedCrc}, {"damaged", cCheckedCrc}};
    setDataFileCrcTable(table);
    EXPECT_TRUE(loadCheckedXmlFile("checked", mRoot, *mHolder));
    EXPECT_TRUE(xmlNameEquals(mRoot, "root"));
    mRoot = nullptr;
    EXPECT_FALSE(loadCheckedXmlFile("damaged", mRoot, *mHolder));
    // Present but not in the table: it cannot be verified.
    EXPECT_FALSE(loadCheckedXmlFile("unlisted", mRoot, *mHolder));
    EXPECT_EQ(mRoot, nullptr);

    setDataFileCrcTable({});
    uint32_t crc = 1;
    EXPECT_FALSE(expectedDataFileCrc("checked", crc));
    EXPECT_EQ(crc, 1u);
}

TEST_F(XmlFileTest, AFileMatchingItsSumIsNotWalkedAgain) {
    // Nested past the limit but well within what the parser can take: the
    // walk refuses it, while a file whose sum matches was walked by the build.
    const auto folder = std::filesystem::temp_directory_path() /
                        ("tarnwick-xml-deep-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "data");
    const std::string text = nested(cMaxXmlNesting + 1);
    std::ofstream(folder / "data" / "deep.xml", std::ios::binary) << text;
    setBaseFolder(folder);
    const auto crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
    EXPECT_EQ(load("deep", false).rfind("parse error: element nesting too deep", 0), 0u);
    EXPECT_EQ(load("deep", true, crc, true), "");
    std::filesystem::remove_all(folder);
}

TEST_F(XmlFileTest, EmptyOrBlankFileGivesNoRoot) {
    for (const char* name : {"empty", "blank"}) {
        mRoot = reinterpret_cast<XmlNode*>(this);
        EXPECT_EQ(load(name, true), "");
        EXPECT_EQ(mRoot, nullptr) << name;
    }
}

TEST_F(XmlFileTest, ParseErrorPrintsItsLine) {
    EXPECT_EQ(load("broken", false), "parse error: expected ' or \" at 1/>");
    EXPECT_EQ(mRoot, nullptr);
}

TEST_F(XmlFileTest, UnreadableFileLeavesTheRootUntouched) {
    const auto folder =
        std::filesystem::temp_directory_path() /
        ("tarnwick-xml-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(folder / "data" / "folder.xml");
    setBaseFolder(folder);
    XmlNode* const marker = reinterpret_cast<XmlNode*>(this);
    for (const char* name : {"missing", "folder"}) {
        mRoot = marker;
        EXPECT_EQ(load(name, false), "") << name;
        EXPECT_EQ(mRoot, marker) << name;
    }
    std::filesystem::remove_all(folder);
}

TEST_F(XmlTextTest, NestingBeyondTheLimitIsAParseError) {
    EXPECT_TRUE(parse(nested(cMaxXmlNesting)));
    EXPECT_FALSE(parse(nested(cMaxXmlNesting + 1)));
    EXPECT_EQ(mPrinted.rfind("parse error: element nesting too deep at <a>", 0), 0u);
    // Deep enough to overflow the stack of a recursive parser.
    EXPECT_FALSE(parse(nested(200000)));

    // Markup that looks like closing tags but is not must not hide the depth.
    const char* const tricks[] = {
        "<!-- </a></a></a> -->", "<![CDATA[</a></a></a>]]>",
        "<?pi </a></a></a> ?>",  "<b x=\"/></a></a>\" y='</a>'/>",
        "<c\"></c\">",           "text /> more",
    };
    for (const char* trick : tricks) {
        const auto document = [trick](int depth) {
            return "<r>" + std::string(trick) + nested(depth) + "</r>";
        };
        EXPECT_TRUE(parse(document(cMaxXmlNesting - 1))) << trick << mPrinted;
        EXPECT_FALSE(parse(document(cMaxXmlNesting))) << trick;
    }
    EXPECT_FALSE(parse("<!DOCTYPE r [ <!ELEMENT a (</a></a>)> ]>" + nested(cMaxXmlNesting + 1)));
}

TEST_F(XmlTextTest, NestingIsCountedWhateverTheNamesBytes) {
    // Names long and short, with digits, marks and UTF-8 among the letters,
    // attribute names alike, and tags that end the text.
    const char* const tags[][2] = {
        {"b", "b"},
        {"long-element.name:with_0123456789-digits", "long-element.name:with_0123456789-digits"},
        {"\xC3\xA9l\xC3\xA9ment\xC3\xA9l\xC3\xA9ment\xC3\xA9l",
         "\xC3\xA9l\xC3\xA9ment\xC3\xA9l\xC3\xA9ment\xC3\xA9l"},
        {"c attribute-name.0123456789abcdef='x' other.attribute.name.long=\"y\"", "c"},
        {"d  \t", "d\n "},
    };
    for (const auto& [open, close] : tags) {
        const auto document = [&](int depth) {
            std::string text;
            for (int i = 0; i < depth; ++i)
                text += "<" + std::string(open) + ">";
            for (int i = 0; i < depth; ++i)
                text += "</" + std::string(close) + ">";
            return text;
        };
        EXPECT_TRUE(parse(document(cMaxXmlNesting))) << open << mPrinted;
        EXPECT_FALSE(parse(document(cMaxXmlNesting + 1))) << open;
        EXPECT_EQ(mPrinted.rfind("parse error: element nesting too deep at <", 0), 0u) << open;
    }
}

TEST_F(XmlTextTest, ReadersAcceptAndRefuse) {
    ASSERT_TRUE(parse("<r v=\"\"/>"));
    XmlAttribute* value = xmlFindAttribute(mRoot, "v");
    ASSERT_NE(value, nullptr);
    // Each reader over its table; a refused text leaves the output as it was.
    const auto check = [value]<typename T>(std::initializer_list<ReadCase> cases,
                                           bool (*reader)(const XmlBase*, T&), T untouched) {
        for (const ReadCase& c : cases) {
            value->value(c.text);
            T out = untouched;
            EXPECT_EQ(reader(value, out), c.reads) << c.text;
            EXPECT_EQ(out, c.reads ? static_cast<T>(c.result) : untouched) << c.text;
        }
    };
    check({{"true", true, 1},
           {"TRUE", true, 1},
           {"tRuE", true, 1},
           {"1", true, 1},
           {"false", true, 0},
           {"FALSE", true, 0},
           {"0", true, 0},
           {"yes", false, 0},
           {"2", false, 0},
           {"", false, 0},
           {"true ", false, 0},
           {"01", false, 0}},
          xmlValueBool, true);
    check({{"12", true, 12},
           {"12px", true, 12},
           {"", true, 0},
           {"px", true, 0},
           {" -7", true, -7},
           {"2147483647", true, 2147483647},
           {"-2147483648", true, -2147483648.0},
           {"2147483648", false, 0},
           {"99999999999", false, 0}},
          xmlValueInt, int32_t{55});
    check({{"255", true, 255},
           {"0", true, 0},
           {"", true, 0},
           {"256", false, 0},
           {"-1", false, 0},
           {"99999999999", false, 0}},
          xmlValueByte, uint8_t{55});
    check({{"99999999999", true, 99999999999.0},
           {"-9223372036854775808", true, -9223372036854775808.0},
           {"9223372036854775808", false, 0}},
          xmlValueInt64, int64_t{55});
    check({{"0.5", true, 0.5},
           {"2.5e", true, 2.5},
           {"", true, 0},
           {"1e300", false, 0},
           {"1e-400", false, 0},
           {"1e999", false, 0}},
          xmlValueFloat, 55.0f);
}

TEST_F(XmlTextTest, AnElementsValueIsItsFirstText) {
    ASSERT_TRUE(parse("<r>first<b>inner</b>after<![CDATA[data]]></r>"));
    EXPECT_TRUE(xmlValueEquals(mRoot, "first"));
    // The only child is the element: no data nodes are made.
    ASSERT_NE(mRoot->first_node(), nullptr);
    EXPECT_EQ(mRoot->first_node()->type(), rapidxml::node_element);
    EXPECT_TRUE(xmlValueEquals(mRoot->first_node(), "inner"));
    EXPECT_EQ(mRoot->first_node()->next_sibling(), nullptr);
}

// A holder keeps its text's room for the next text: a shorter one that
// follows a longer one ends where it ends, and a holder given no text parses
// as an empty file; a text taken whole gives way to the next.
TEST_F(XmlTextTest, AHolderReusedForAShorterTextReadsOnlyThatText) {
    EXPECT_TRUE(XMLHelper().parse(mRoot));
    EXPECT_EQ(mRoot, nullptr);
    ASSERT_TRUE(parse("<long name=\"first\"><child>value</child></long>"));
    ASSERT_TRUE(parse("<s/>"));
    EXPECT_TRUE(xmlNameEquals(mRoot, "s"));
    EXPECT_EQ(mRoot->next_sibling(), nullptr);
    EXPECT_FALSE(parse("<s>"));
    EXPECT_TRUE(parse(""));
    EXPECT_EQ(mRoot, nullptr);

    // A reply taken whole, then a shorter text in the kept room again.
    std::vector<char> reply{'<', 't', '/', '>'};
    mHolder->takeText(reply);
    EXPECT_TRUE(reply.empty());
    ASSERT_TRUE(mHolder->parse(mRoot));
    EXPECT_TRUE(xmlNameEquals(mRoot, "t"));
    ASSERT_TRUE(parse("<u/>"));
    EXPECT_TRUE(xmlNameEquals(mRoot, "u"));
}

TEST_F(XmlTextTest, AttributesFoundInOneWalk) {
    ASSERT_TRUE(parse("<r a=\"1\" b=\"2\" a=\"3\" B=\"4\"/>"));
    constexpr std::string_view names[] = {"a", "c", "b"};
    const XmlAttribute* found[3] = {};
    xmlFindAttributes(mRoot, names, found);
    for (size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(found[i], xmlFindAttribute(mRoot, names[i].data())) << names[i];
    ASSERT_NE(found[0], nullptr);
    EXPECT_TRUE(xmlValueEquals(found[0], "1"));

    xmlFindAttributes(nullptr, names, found);
    EXPECT_EQ(found[0], nullptr);
    EXPECT_EQ(found[2], nullptr);
}

TEST_F(XmlTextTest, AttributesByNameWithCase) {
    ASSERT_TRUE(
        parse("<r Name=\"first\" name=\"second\" n=\"7\" f=\"0.25\" b=\"true\" y=\"300\"/>"));
    std::string text;
    EXPECT_TRUE(xmlAttrString(mRoot, nullptr, text));
    EXPECT_EQ(text, "first");
    EXPECT_TRUE(xmlAttrString(mRoot, "name", text));
    EXPECT_EQ(text, "second");
    EXPECT_FALSE(xmlAttrString(mRoot, "NAME", text));
    EXPECT_EQ(xmlFindAttribute(mRoot, "nam"), nullptr);
    EXPECT_FALSE(xmlNameEquals(mRoot, "R"));
    EXPECT_FALSE(xmlNameEquals(mRoot, "rr"));

    int32_t number = 0;
    float real = 0;
    bool flag = false;
    uint8_t byte = 9;
    EXPECT_TRUE(xmlAttrInt(mRoot, "n", number));
    EXPECT_TRUE(xmlAttrFloat(mRoot, "f", real));
    EXPECT_TRUE(xmlAttrBool(mRoot, "b", flag));
    EXPECT_EQ(number, 7);
    EXPECT_EQ(real, 0.25f);
    EXPECT_TRUE(flag);
    EXPECT_FALSE(xmlAttrByte(mRoot, "y", byte));
    EXPECT_FALSE(xmlAttrInt(mRoot, "missing", number));
    EXPECT_EQ(byte, 9);
    EXPECT_EQ(number, 7);

    // A missing node reads as empty text.
    EXPECT_TRUE(xmlNameEquals(nullptr, ""));
    EXPECT_FALSE(xmlAttrString(nullptr, "name", text));
}
