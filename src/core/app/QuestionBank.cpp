#include "app/QuestionBank.h"

#include "app/Settings.h"
#include "platform/AppError.h"
#include "platform/RegularFile.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>

#include "platform/ProfileFile.h"

namespace tov::app {

namespace {

QString newConnectionName() {
    static QAtomicInt counter;
    return QStringLiteral("tov2sf-bank-%1").arg(counter.fetchAndAddRelaxed(1));
}

QSqlDatabase openSqlite(const QString& path, const QString& connection, bool readOnly) {
    const QFileInfo info(path);
    if (path.isEmpty() || info.fileName().isEmpty()) {
        throw AppError(err::DbInvalidPath, QStringLiteral("'%1' is not a valid path.").arg(path));
    }
    if (!info.dir().exists()) {
        throw AppError(err::DbInvalidPath, QStringLiteral("'%1' is not a valid path.").arg(path));
    }
    // SQLite would quietly create a missing file.
    if (!info.exists()) {
        throw AppError(err::DbFileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    }
    // SQLite would wait on a pipe for ever and map whatever a device gives.
    try {
        platform::CheckRegularFile(path, platform::MaxDatabaseBytes);
    } catch (const AppError& e) {
        throw AppError(err::DbCannotOpen,
                       QStringLiteral("Couldn't open file '%1'. %2").arg(path, e.description()));
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(path);
    if (readOnly) {
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    }
    bool ok = db.open();
    if (ok) {
        // A file that is not a database only shows itself on the first read.
        QSqlQuery probe(db);
        ok = probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    }
    if (!ok) {
        const QString why = db.lastError().text();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection);
        throw AppError(err::DbCannotOpen,
                       QStringLiteral("Couldn't open file '%1'. %2").arg(path, why));
    }
    return db;
}

} // namespace

void DbEngine::setDefaults(const QString& user, const QString& password) {
    defaultUser_ = user;
    defaultPassword_ = password;
}

Workspace Workspace::open(const DbEngine& engine, const QString& user, const QString& password) {
    Q_UNUSED(password);
    const QString systemDb = platform::ProfileFile(engine.iniPath())
                                 .read(QStringLiteral("Options"), QStringLiteral("SystemDB"),
                                       QString(), Settings::PathBuffer);
    const QString connection = newConnectionName();
    bool known = false;
    {
        QSqlDatabase db;
        try {
            db = openSqlite(systemDb, connection, true);
        } catch (const AppError&) {
            throw AppError(
                err::DbWorkgroupMissing,
                QStringLiteral("The workgroup information file '%1' is missing.").arg(systemDb));
        }
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT 1 FROM Users WHERE Name = ? COLLATE NOCASE"));
        q.addBindValue(user);
        known = q.exec() && q.next();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!known) {
        throw AppError(err::DbWorkgroupMissing,
                       QStringLiteral("User '%1' is not defined in the workgroup information file "
                                      "'%2'.")
                           .arg(user, systemDb));
    }
    Workspace w;
    w.open_ = true;
    w.user_ = user;
    return w;
}

std::unique_ptr<Database> Workspace::OpenDatabase(const QString& path) const {
    const QString connection = newConnectionName();
    QSqlDatabase db = openSqlite(path, connection, false);
    QSqlQuery exclusive(db);
    exclusive.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
    return std::unique_ptr<Database>(new Database(connection));
}

Database::~Database() {
    Close();
}

void Database::Close() {
    if (connection_.isEmpty()) {
        return;
    }
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
    connection_.clear();
}

void Database::BeginTrans() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction()) {
        throw AppError(err::DbUpdateFailed, db.lastError().text());
    }
}

void Database::CommitTrans() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.commit()) {
        throw AppError(err::DbUpdateFailed, db.lastError().text());
    }
}

QStringList Database::TableDefs() const {
    // The catalogue in rowid order is the order the tables were made in.
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    QStringList names;
    if (!q.exec(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
            "ORDER BY rowid"))) {
        throw AppError(err::DbQueryFailed, q.lastError().text());
    }
    while (q.next()) {
        names << q.value(0).toString();
    }
    return names;
}

QString Database::exactTableName(const QString& name) const {
    for (const QString& t : TableDefs()) {
        if (t.compare(name, Qt::CaseInsensitive) == 0) {
            return t;
        }
    }
    throw AppError(err::DbNoSuchTable,
                   QStringLiteral("The database engine cannot find the input table or query "
                                  "'%1'.")
                       .arg(name));
}

RecordSet Database::OpenRecordset(const QString& sql) const {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        throw AppError(err::DbQueryFailed, q.lastError().text());
    }
    RecordSet rs;
    rs.connection_ = connection_;
    while (q.next()) {
        rs.rows_.push_back(q.record());
    }
    return rs;
}

RecordSet Database::OpenTable(const QString& name) const {
    const QString table = exactTableName(name);
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT rowid AS \"__rowid\", * FROM \"%1\" ORDER BY rowid")
                    .arg(QString(table).replace(QLatin1Char('"'), QLatin1String("\"\""))))) {
        throw AppError(err::DbQueryFailed, q.lastError().text());
    }
    RecordSet rs;
    rs.connection_ = connection_;
    rs.table_ = table;
    while (q.next()) {
        QSqlRecord r = q.record();
        rs.rowids_.push_back(r.value(0).toLongLong());
        r.remove(0);
        rs.rows_.push_back(r);
    }
    return rs;
}

RecordSet RecordSet::fromRecords(std::vector<QSqlRecord> rows) {
    RecordSet rs;
    rs.rows_ = std::move(rows);
    return rs;
}

void RecordSet::MoveNext() {
    if (pos_ < static_cast<int>(rows_.size())) {
        ++pos_;
    }
}

void RecordSet::MovePrevious() {
    if (pos_ >= 0) {
        --pos_;
    }
}

const QSqlRecord& RecordSet::row() const {
    if (atBOF() || atEOF()) {
        throw AppError(err::DbNoCurrentRecord, QStringLiteral("No current record."));
    }
    return rows_[static_cast<std::size_t>(pos_)];
}

QVariant RecordSet::Fields(const QString& name) const {
    const QSqlRecord& r = editing_ ? pending_ : row();
    for (int i = 0; i < r.count(); ++i) {
        if (r.fieldName(i).compare(name, Qt::CaseInsensitive) == 0) {
            QVariant v = r.value(i);
            if (v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty())) {
                return {};
            }
            return v;
        }
    }
    return {};
}

QStringList RecordSet::fieldNames() const {
    QStringList names;
    if (!rows_.empty()) {
        for (int i = 0; i < rows_.front().count(); ++i) {
            names << rows_.front().fieldName(i);
        }
    }
    return names;
}

void RecordSet::Edit() {
    if (table_.isEmpty()) {
        throw AppError(err::DbUpdateFailed, QStringLiteral("The record set cannot be updated."));
    }
    pending_ = row();
    editing_ = true;
}

void RecordSet::setField(const QString& name, const QVariant& value) {
    if (!editing_) {
        throw AppError(err::DbUpdateFailed, QStringLiteral("Update without Edit."));
    }
    for (int i = 0; i < pending_.count(); ++i) {
        if (pending_.fieldName(i).compare(name, Qt::CaseInsensitive) == 0) {
            pending_.setValue(i, value);
            return;
        }
    }
    throw AppError(err::DbUpdateFailed, QStringLiteral("Item not found: %1").arg(name));
}

void RecordSet::Update() {
    if (!editing_) {
        throw AppError(err::DbUpdateFailed, QStringLiteral("Update without Edit."));
    }
    QStringList assignments;
    for (int i = 0; i < pending_.count(); ++i) {
        assignments << QStringLiteral("\"%1\" = ?").arg(pending_.fieldName(i));
    }
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("UPDATE \"%1\" SET %2 WHERE rowid = ?")
                  .arg(table_, assignments.join(QLatin1String(", "))));
    for (int i = 0; i < pending_.count(); ++i) {
        q.addBindValue(pending_.value(i));
    }
    q.addBindValue(rowids_[static_cast<std::size_t>(pos_)]);
    if (!q.exec()) {
        // The edit ends with the failed write: the record set shows what the table holds.
        editing_ = false;
        throw AppError(err::DbUpdateFailed, q.lastError().text());
    }
    rows_[static_cast<std::size_t>(pos_)] = pending_;
    editing_ = false;
}

void RecordSet::Close() {
    rows_.clear();
    rowids_.clear();
    editing_ = false;
    pos_ = 0;
}

} // namespace tov::app
