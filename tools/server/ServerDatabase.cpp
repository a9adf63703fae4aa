#include "tools/server/ServerDatabase.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <mutex>

namespace {

[[noreturn]] void fail(sqlite3* db, std::string_view what) {
    throw ServerDatabaseError(std::string(what) + ": " + sqlite3_errmsg(db));
}

// SQLite binds NULL for a null pointer; an empty view is an empty value.
const char* nonNull(std::string_view value) {
    return value.data() != nullptr ? value.data() : "";
}

} // namespace

SqlStatement::SqlStatement(sqlite3* db, std::string_view sql) : mDb(db) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &mStatement, nullptr) !=
        SQLITE_OK)
        fail(db, "prepare");
}

SqlStatement::~SqlStatement() {
    sqlite3_finalize(mStatement);
}

SqlStatement& SqlStatement::bind(int index, int64_t value) {
    if (sqlite3_bind_int64(mStatement, index, value) != SQLITE_OK)
        fail(mDb, "bind");
    return *this;
}

SqlStatement& SqlStatement::bind(int index, std::string_view value) {
    if (sqlite3_bind_text64(mStatement, index, nonNull(value), value.size(), SQLITE_TRANSIENT,
                            SQLITE_UTF8) != SQLITE_OK)
        fail(mDb, "bind");
    return *this;
}

bool SqlStatement::step() {
    const int result = sqlite3_step(mStatement);
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE)
        fail(mDb, "step");
    return false;
}

SqlStatement& SqlStatement::bindBlob(int index, std::string_view bytes) {
    if (sqlite3_bind_blob64(mStatement, index, nonNull(bytes), bytes.size(), SQLITE_TRANSIENT) !=
        SQLITE_OK)
        fail(mDb, "bind");
    return *this;
}

int64_t SqlStatement::columnInt64(int column) const {
    return sqlite3_column_int64(mStatement, column);
}

std::string SqlStatement::columnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(mStatement, column));
    return text != nullptr
               ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(mStatement, column)))
               : std::string();
}

ServerDatabase::~ServerDatabase() {
    close();
}

bool ServerDatabase::open(const std::filesystem::path& path, std::string& error,
                          const CreateHook& onCreate) {
    close();
    // The file and its companions are created for the owner only.
    const mode_t previousMask = umask(077);
    const int result =
        sqlite3_open_v2(path.c_str(), &mDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    try {
        if (result != SQLITE_OK)
            fail(mDb, "cannot open " + path.string());
        exec("PRAGMA journal_mode=WAL");
        exec("PRAGMA synchronous=FULL");
        exec("PRAGMA foreign_keys=ON");
        const int version = userVersion();
        const std::vector<ServerMigration>& migrations = serverMigrations();
        const int latest = migrations.empty() ? 0 : migrations.back().version;
        if (version > latest)
            throw ServerDatabaseError(path.string() + " has schema version " +
                                      std::to_string(version) + ", newer than this server's " +
                                      std::to_string(latest));
        if (version < latest) {
            transaction([&] {
                for (const ServerMigration& migration : migrations)
                    if (migration.version > version)
                        exec(migration.sql);
                exec("PRAGMA user_version=" + std::to_string(latest));
                if (version == 0 && onCreate)
                    onCreate(*this);
            });
        }
    } catch (const std::exception& e) {
        umask(previousMask);
        error = e.what();
        close();
        return false;
    }
    umask(previousMask);
    return true;
}

void ServerDatabase::close() {
    if (mDb != nullptr)
        sqlite3_close_v2(mDb);
    mDb = nullptr;
}

void ServerDatabase::transaction(const std::function<void()>& work) {
    const std::lock_guard lock(mMutex);
    exec("BEGIN IMMEDIATE");
    try {
        work();
    } catch (...) {
        sqlite3_exec(mDb, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    exec("COMMIT");
}

void ServerDatabase::exec(std::string_view sql) {
    const std::string text(sql);
    if (sqlite3_exec(mDb, text.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(mDb, "exec");
}

SqlStatement ServerDatabase::prepare(std::string_view sql) {
    return SqlStatement(mDb, sql);
}

int ServerDatabase::userVersion() {
    SqlStatement statement(mDb, "PRAGMA user_version");
    return statement.step() ? static_cast<int>(statement.columnInt64(0)) : 0;
}

std::string ServerDatabase::setting(std::string_view name, std::string_view fallback) {
    SqlStatement statement(mDb, "SELECT value FROM server_settings WHERE name = ?");
    statement.bind(1, name);
    return statement.step() ? statement.columnText(0) : std::string(fallback);
}

void ServerDatabase::setSetting(std::string_view name, std::string_view value) {
    SqlStatement statement(mDb, "INSERT INTO server_settings (name, value) VALUES (?, ?) "
                                "ON CONFLICT (name) DO UPDATE SET value = excluded.value");
    statement.bind(1, name).bind(2, value);
    statement.step();
}
