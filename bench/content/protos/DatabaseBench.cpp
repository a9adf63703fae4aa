// Loading the proto database: a generated database.xml of 2,000 protos of
// every kind, read as Database::init reads it (file, CRC check, parse, both
// passes), and the two passes alone on the parsed document.

#include "content/DataFileCrc.h"
#include "content/DataPath.h"
#include "content/XMLHelper.h"
#include "content/protos/Database.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

constexpr int cProtoCount = 2000;

std::string generatedDatabase() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Database>\n";
    const char* types[] = {"unit", "gear", "buff", "power"};
    for (int i = 0; i < cProtoCount; ++i) {
        const std::string name = "proto" + std::to_string(i);
        const std::string type = types[i % 4];
        xml += "  <entity name=\"" + name + "\">\n    <Type>" + type + "</Type>\n";
        xml += "    <Class>Class" + std::to_string(i % 7) + "</Class>\n";
        xml += "    <Art>Art/" + name + ".png</Art>\n    <Portrait>Art/" + name +
               "_Portrait.png</Portrait>\n";
        xml +=
            "    <Puppet>Puppets/" + name + "<Upgrade>Puppets/" + name + "Up</Upgrade></Puppet>\n";
        xml += "    <Hitpoints>" + std::to_string(500 + i % 10 * 50) + "</Hitpoints>\n";
        xml += "    <Power>200</Power>\n    <Defense>10</Defense>\n    <MoveRange>2</MoveRange>\n";
        xml += "    <MaxRange>3</MaxRange>\n    <DamageType>physical</DamageType>\n";
        xml += "    <RoleBonus>0.5</RoleBonus>\n    <NotKnockbackable/>\n";
        xml += "    <RaiseDead>proto" + std::to_string((i * 7919) % cProtoCount) + "</RaiseDead>\n";
        xml += "    <CanHeal AttachHealProto=\"proto" + std::to_string(cProtoCount - 1 - i) +
               "\" allowCrystalHealing=\"true\"/>\n";
        xml += "    <EquipCategory>category" + std::to_string(i % 5) + "</EquipCategory>\n";
        xml += "    <EquipAnim>UpgradeWeapon</EquipAnim>\n";
        xml += "    <EffectOverride category=\"ImpactMagic\" "
               "offsetZ=\"2\">Effects/Spark</EffectOverride>\n";
        xml += "    <Ongoing Heal=\"true\" Range=\"2\" LinkArt=\"link.png\"/>\n";
        if (type == "unit" || type == "power")
            xml += "    <AttackInfo meleeAnim=\"AttackMelee\" knockback=\"1\" piercesPast=\"\" "
                   "AttachProto=\"proto" +
                   std::to_string((i + 1) % cProtoCount) + "\" AOEFriendlyFire=\"false\"/>\n";
        xml += "    <SelectSound>Sounds/" + name + "</SelectSound>\n  </entity>\n";
    }
    return xml + "</Database>\n";
}

// A folder holding data/database.xml, with its CRC-32 put in the table.
class GeneratedDatabase {
public:
    GeneratedDatabase() {
        mFolder = std::filesystem::temp_directory_path() /
                  ("tarnwick-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(mFolder / "data");
        mText = generatedDatabase();
        std::ofstream(mFolder / "data" / "database.xml", std::ios::binary) << mText;
        mTable[0] = {"database",
                     static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(mText.data()),
                                                 static_cast<uInt>(mText.size())))};
        setDataFileCrcTable(mTable);
        setBaseFolder(mFolder);
    }
    ~GeneratedDatabase() {
        setDataFileCrcTable({});
        setBaseFolder({});
        Database::clear();
        std::filesystem::remove_all(mFolder);
    }
    const std::string& text() const { return mText; }

private:
    std::filesystem::path mFolder;
    std::string mText;
    DataFileCrc mTable[1];
};

// What Database::init does, without its progress line.
void BM_DatabaseLoadFile(benchmark::State& state) {
    GeneratedDatabase database;
    for (auto _ : state) {
        XMLHelper holder;
        XmlNode* root = nullptr;
        if (!loadCheckedXmlFile("database", root, holder) || !Database::loadRoot(root))
            state.SkipWithError("database did not load");
    }
    state.counters["protos"] = Database::protoCount();
    state.SetItemsProcessed(state.iterations() * cProtoCount);
}
BENCHMARK(BM_DatabaseLoadFile)->Unit(benchmark::kMillisecond);

void BM_DatabaseTwoPasses(benchmark::State& state) {
    GeneratedDatabase database;
    XMLHelper holder;
    XmlNode* root = nullptr;
    holder.setText(database.text());
    holder.parse(root);
    for (auto _ : state) {
        if (!Database::loadRoot(root))
            state.SkipWithError("database did not load");
    }
    state.SetItemsProcessed(state.iterations() * cProtoCount);
}
BENCHMARK(BM_DatabaseTwoPasses)->Unit(benchmark::kMillisecond);

} // namespace
