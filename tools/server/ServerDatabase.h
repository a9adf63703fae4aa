#pragma once

// The loopback server's storage: one SQLite database file (or memory), in
// WAL mode with synchronous=FULL so that a committed change survives the
// process being killed. The schema is versioned by PRAGMA user_version and
// brought up to date by the numbered migrations of ServerMigrations.cpp,
// which only ever grow at the end. A file of a newer version is refused.
//
// The file and its -wal and -shm companions are readable by their owner only.
// One connection, used by one thread at a time: callers serialise through
// transaction(), which holds the database's lock.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// An SQL statement failed; the transaction around it is rolled back.
class ServerDatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One schema step: the SQL that takes the database from version - 1 to
// version.
struct ServerMigration {
    int version;
    const char* sql;
};

// Every migration, in version order from 1.
const std::vector<ServerMigration>& serverMigrations();

// A prepared statement; binds are 1-based, columns 0-based.
class SqlStatement {
public:
    SqlStatement(sqlite3* db, std::string_view sql);
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;
    ~SqlStatement();

    SqlStatement& bind(int index, int64_t value);
    SqlStatement& bind(int index, std::string_view value);
    SqlStatement& bindBlob(int index, std::string_view bytes);
    // True while a row is ready; false when done.
    bool step();
    int64_t columnInt64(int column) const;
    // Text, or a blob's bytes.
    std::string columnText(int column) const;

private:
    sqlite3* mDb;
    sqlite3_stmt* mStatement = nullptr;
};

class ServerDatabase {
public:
    // Runs in the transaction that creates a new database (the seed).
    using CreateHook = std::function<void(ServerDatabase&)>;

    ServerDatabase() = default;
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;
    ~ServerDatabase();

    // Opens path (":memory:" for a database in memory), creating it readable
    // by its owner only, and applies the pending migrations in one
    // transaction; for a new database onCreate runs in it too. False with a
    // message on failure, a newer schema version included.
    bool open(const std::filesystem::path& path, std::string& error,
              const CreateHook& onCreate = {});
    void close();
    bool isOpen() const { return mDb != nullptr; }

    // Runs work in one transaction under the database's lock: committed when
    // it returns, rolled back when it throws (the exception passes on).
    void transaction(const std::function<void()>& work);
    // Runs statements without results (inside a transaction).
    void exec(std::string_view sql);
    SqlStatement prepare(std::string_view sql);
    int userVersion();

    // The value of a server setting; fallback when unset.
    std::string setting(std::string_view name, std::string_view fallback = {});
    void setSetting(std::string_view name, std::string_view value);

private:
    sqlite3* mDb = nullptr;
    std::recursive_mutex mMutex;
};
