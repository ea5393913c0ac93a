#pragma once

#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace tov::app {

class Database;

// The database engine the question bank is read through: engine defaults set at start-up, and a
// workspace in which databases are opened. Failures throw AppError with the engine's numbers
// (3024 file not found, 3044 invalid path, 3051 cannot open, ...).
class DbEngine {
public:
    void setDefaults(const QString& user, const QString& password);
    // The engine's settings file; its "Options"/"SystemDB" names the workgroup file.
    void setIniPath(const QString& path) { iniPath_ = path; }
    const QString& defaultUser() const { return defaultUser_; }
    const QString& iniPath() const { return iniPath_; }

private:
    QString defaultUser_;
    QString defaultPassword_;
    QString iniPath_;
};

// A session of one user, checked against the workgroup file.
class Workspace {
public:
    Workspace() = default;
    // Opens the workspace for a user listed in the engine's workgroup file.
    static Workspace open(const DbEngine& engine, const QString& user, const QString& password);

    bool isOpen() const { return open_; }
    const QString& user() const { return user_; }

    // Opens a database file exclusively for this program.
    std::unique_ptr<Database> OpenDatabase(const QString& path) const;

private:
    bool open_ = false;
    QString user_;
};

// Rows of a query or a table, in stored order, with a current-row cursor. A set opened on a table
// can change its rows.
class RecordSet {
public:
    // Rows held in memory, read-only, as a query returns them: for tools and tests that need the
    // rows' consumers without a database file.
    static RecordSet fromRecords(std::vector<QSqlRecord> rows);

    bool atBOF() const { return pos_ < 0 || rows_.empty(); }
    bool atEOF() const { return pos_ >= static_cast<int>(rows_.size()) || rows_.empty(); }
    int RecordCount() const { return static_cast<int>(rows_.size()); }
    void MoveFirst() { pos_ = 0; }
    void MoveLast() { pos_ = static_cast<int>(rows_.size()) - 1; }
    void MoveNext();
    void MovePrevious();

    // A field of the current row by name (letter case ignored); null when empty or absent.
    QVariant Fields(const QString& name) const;
    QStringList fieldNames() const;

    // Starts changing the current row; assign fields, then Update writes them.
    void Edit();
    void setField(const QString& name, const QVariant& value);
    void Update();
    void Close();

private:
    friend class Database;
    const QSqlRecord& row() const;

    QString connection_;
    QString table_; // empty for a read-only query result
    std::vector<QSqlRecord> rows_;
    std::vector<qint64> rowids_;
    int pos_ = 0;
    bool editing_ = false;
    QSqlRecord pending_;
};

// One open question bank file.
class Database {
public:
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    // The tables in the database's own order, with their exact names.
    QStringList TableDefs() const;
    // The rows of a read query.
    RecordSet OpenRecordset(const QString& sql) const;
    // A table opened for update; its name matches without regard to case.
    RecordSet OpenTable(const QString& name) const;
    // Updates between the two reach the file together, with one flush to the disk instead of
    // one for every row; closing without CommitTrans drops them.
    void BeginTrans();
    void CommitTrans();
    void Close();

private:
    friend class Workspace;
    explicit Database(QString connection) : connection_(std::move(connection)) {}
    QString exactTableName(const QString& name) const;

    QString connection_;
};

} // namespace tov::app
