#include "../protos/ProtoTestSupport.h"

#include "content/settings/PlayerColor.h"

TEST(PlayerColorTest, ComponentsAreClampedAndRequired) {
    const struct {
        const char* element;
        bool loads;
        uint8_t red, green, blue;
    } cases[] = {
        {R"(<c name="Fire" red="300" green="-5" blue="20"/>)", true, 255, 0, 20},
        {R"(<c name="" red="0" green="255" blue="128"/>)", true, 0, 255, 128},
        {R"(<c red="1" green="2" blue="3"/>)", false, 0, 0, 0},
        {R"(<c name="Sea" red="1" blue="3"/>)", false, 0, 0, 0},
        {R"(<c name="Sea" red="1" green="99999999999" blue="3"/>)", false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        ParsedXml xml(c.element);
        PlayerColor color;
        EXPECT_EQ(color.load(xml.root), c.loads) << c.element;
        if (!c.loads)
            continue;
        EXPECT_EQ(color.mRed, c.red) << c.element;
        EXPECT_EQ(color.mGreen, c.green) << c.element;
        EXPECT_EQ(color.mBlue, c.blue) << c.element;
    }
    EXPECT_FALSE(PlayerColor().load(nullptr));
}
