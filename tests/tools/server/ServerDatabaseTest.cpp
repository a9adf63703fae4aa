// The server's storage: migrations by user_version, files for the owner
// only, committed rows kept, seeds for new databases only.

#include "ServerTestSupport.h"

#include "tools/server/ServerDatabase.h"
#include "tools/server/ServerSeed.h"

class ServerDatabaseTest : public ServerFolderTest {
protected:
    int latestVersion() const { return serverMigrations().back().version; }
};

TEST_F(ServerDatabaseTest, MigrationsAreNumberedFromOneWithoutGaps) {
    int expected = 1;
    for (const ServerMigration& migration : serverMigrations())
        EXPECT_EQ(migration.version, expected++);
}

TEST_F(ServerDatabaseTest, ANewFileIsMigratedAndReadableByItsOwnerOnly) {
    const auto file = mFolder / "server.sqlite3";
    ServerDatabase database;
    std::string error;
    ASSERT_TRUE(database.open(file, error)) << error;
    EXPECT_EQ(database.userVersion(), latestVersion());
    database.transaction([&] { database.setSetting("motd", "hello"); });
    for (const char* suffix : {"", "-wal", "-shm"}) {
        const auto path = file.string() + suffix;
        ASSERT_TRUE(std::filesystem::exists(path)) << path;
        EXPECT_EQ(modeOf(path), 0600u) << path;
    }
}

TEST_F(ServerDatabaseTest, ACommittedRowIsThereAfterReopeningAndARolledBackOneIsNot) {
    const auto file = mFolder / "server.sqlite3";
    std::string error;
    {
        ServerDatabase database;
        ASSERT_TRUE(database.open(file, error)) << error;
        database.transaction([&] {
            database.exec("CREATE TABLE test_rows (value TEXT)");
            database.exec("INSERT INTO test_rows VALUES ('kept')");
        });
        EXPECT_THROW(database.transaction([&] {
            database.exec("INSERT INTO test_rows VALUES ('dropped')");
            database.exec("INSERT INTO no_such_table VALUES (1)");
        }),
                     ServerDatabaseError);
    }
    ServerDatabase reopened;
    ASSERT_TRUE(reopened.open(file, error)) << error;
    SqlStatement rows = reopened.prepare("SELECT value FROM test_rows");
    std::vector<std::string> values;
    while (rows.step())
        values.push_back(rows.columnText(0));
    EXPECT_EQ(values, std::vector<std::string>{"kept"});
}

TEST_F(ServerDatabaseTest, ANewerSchemaIsRefused) {
    const auto file = mFolder / "server.sqlite3";
    std::string error;
    {
        ServerDatabase database;
        ASSERT_TRUE(database.open(file, error)) << error;
        database.exec("PRAGMA user_version=" + std::to_string(latestVersion() + 1));
    }
    ServerDatabase database;
    EXPECT_FALSE(database.open(file, error));
    EXPECT_NE(error.find("newer"), std::string::npos) << error;
    EXPECT_FALSE(database.isOpen());
}

TEST_F(ServerDatabaseTest, TheSeedFillsANewDatabaseOnly) {
    const auto file = mFolder / "server.sqlite3";
    const auto seed = [](const std::filesystem::path& seedFile) {
        return [seedFile](ServerDatabase& database) { applyServerSeed(database, seedFile); };
    };
    std::string error;
    {
        ServerDatabase database;
        ASSERT_TRUE(database.open(file, error, seed(writeSeed("a.xml", clockSeed(-30))))) << error;
        EXPECT_EQ(database.setting("clockOffset"), "-30");
    }
    ServerDatabase database;
    ASSERT_TRUE(database.open(file, error, seed(writeSeed("b.xml", clockSeed(99))))) << error;
    EXPECT_EQ(database.setting("clockOffset"), "-30");
}

TEST_F(ServerDatabaseTest, ABadSeedLeavesNoDatabaseBehind) {
    const char* const cBadSeeds[] = {
        "<ServerSeed><Unknown/></ServerSeed>",
        "<ServerSeed><Setting name=\"x\"/></ServerSeed>",
        "<Other/>",
        "<ServerSeed>",
    };
    for (const char* text : cBadSeeds) {
        SCOPED_TRACE(text);
        const auto file = mFolder / "bad.sqlite3";
        const auto seedFile = writeSeed("bad.xml", text);
        ServerDatabase database;
        std::string error;
        EXPECT_FALSE(
            database.open(file, error, [&](ServerDatabase& db) { applyServerSeed(db, seedFile); }));
        EXPECT_FALSE(error.empty());
        // Nothing was committed: the next open creates (and seeds) it anew.
        ASSERT_TRUE(database.open(file, error)) << error;
        EXPECT_EQ(database.setting("clockOffset", "unset"), "unset");
        database.close();
        std::filesystem::remove(file);
    }
}

TEST_F(ServerDatabaseTest, AnEmptyViewBindsAnEmptyValueNotNull) {
    ServerDatabase database;
    std::string error;
    ASSERT_TRUE(database.open(mFolder / "server.sqlite3", error)) << error;
    SqlStatement statement =
        database.prepare("SELECT ?1 IS NULL, typeof(?1), ?2 IS NULL, typeof(?2)");
    statement.bind(1, std::string_view()).bindBlob(2, std::string_view());
    ASSERT_TRUE(statement.step());
    EXPECT_EQ(statement.columnInt64(0), 0);
    EXPECT_EQ(statement.columnText(1), "text");
    EXPECT_EQ(statement.columnInt64(2), 0);
    EXPECT_EQ(statement.columnText(3), "blob");
}
