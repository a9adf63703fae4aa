// Loading the proto database: a generated database.xml of 200, 2,000 and
// 20,000 protos of every kind, read as Database::init reads it (file, CRC
// check, parse, both passes), and the two passes alone on the parsed
// document. The floor beside them: reading the same file and rapidxml's
// parse of it.

#include "content/DataFileCrc.h"
#include "content/DataPath.h"
#include "content/XMLHelper.h"
#include "content/protos/Database.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <rapidxml/rapidxml.hpp>

#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// glibc hands the freed parse pool and file text back to the kernel after
// each iteration, and the next iteration's first touch of every page is a
// page fault: at 20,000 protos (about 100 MB of nodes) those faults, not the
// parse, made up nearly all of the time, and how much depended on what ran
// before. Kept in the heap, every benchmark here measures its own work.
[[maybe_unused]] const bool heapKept = [] {
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20); // glibc's largest
    return true;
}();

std::string generatedDatabase(int count) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Database>\n";
    const char* types[] = {"unit", "gear", "buff", "power"};
    for (int i = 0; i < count; ++i) {
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
        xml += "    <RaiseDead>proto" + std::to_string((i * 7919) % count) + "</RaiseDead>\n";
        xml += "    <CanHeal AttachHealProto=\"proto" + std::to_string(count - 1 - i) +
               "\" allowCrystalHealing=\"true\"/>\n";
        xml += "    <EquipCategory>category" + std::to_string(i % 5) + "</EquipCategory>\n";
        xml += "    <EquipAnim>UpgradeWeapon</EquipAnim>\n";
        xml += "    <EffectOverride category=\"ImpactMagic\" "
               "offsetZ=\"2\">Effects/Spark</EffectOverride>\n";
        xml += "    <Ongoing Heal=\"true\" Range=\"2\" LinkArt=\"link.png\"/>\n";
        if (type == "unit" || type == "power")
            xml += "    <AttackInfo meleeAnim=\"AttackMelee\" knockback=\"1\" piercesPast=\"\" "
                   "AttachProto=\"proto" +
                   std::to_string((i + 1) % count) + "\" AOEFriendlyFire=\"false\"/>\n";
        xml += "    <SelectSound>Sounds/" + name + "</SelectSound>\n  </entity>\n";
    }
    return xml + "</Database>\n";
}

// A folder holding data/database.xml, with its CRC-32 put in the table.
class GeneratedDatabase {
public:
    explicit GeneratedDatabase(int count) {
        mFolder = std::filesystem::temp_directory_path() /
                  ("tarnwick-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(mFolder / "data");
        mText = generatedDatabase(count);
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
    std::filesystem::path file() const { return mFolder / "data" / "database.xml"; }

private:
    std::filesystem::path mFolder;
    std::string mText;
    DataFileCrc mTable[1];
};

// What Database::init does at start-up, without its progress line: the
// database it loads into is empty, so the last iteration's is cleared
// outside the timing.
void BM_DatabaseLoadFile(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    GeneratedDatabase database(count);
    for (auto _ : state) {
        state.PauseTiming();
        Database::clear();
        state.ResumeTiming();
        XMLHelper holder;
        XmlNode* root = nullptr;
        if (!loadCheckedXmlFile("database", root, holder) || !Database::loadRoot(root))
            state.SkipWithError("database did not load");
    }
    state.counters["protos"] = Database::protoCount();
    state.SetItemsProcessed(state.iterations() * count);
}

// The floor: the file read into memory and parsed by rapidxml.
void BM_DatabaseParseFloor(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    GeneratedDatabase database(count);
    for (auto _ : state) {
        std::ifstream stream(database.file(), std::ios::binary);
        stream.seekg(0, std::ios::end);
        const std::streamoff length = stream.tellg();
        stream.seekg(0, std::ios::beg);
        std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
        stream.read(text.data(), length);
        rapidxml::xml_document<> document;
        document.parse<0>(text.data());
        benchmark::DoNotOptimize(document.first_node());
    }
    state.counters["protos"] = count;
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_DatabaseTwoPasses(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    GeneratedDatabase database(count);
    XMLHelper holder;
    XmlNode* root = nullptr;
    holder.setText(database.text());
    holder.parse(root);
    for (auto _ : state) {
        if (!Database::loadRoot(root))
            state.SkipWithError("database did not load");
    }
    state.SetItemsProcessed(state.iterations() * count);
}

BENCHMARK(BM_DatabaseParseFloor)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DatabaseLoadFile)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DatabaseTwoPasses)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace
