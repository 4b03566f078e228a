#include "database/material_table.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <atomic>
#include <limits>
#include <system_error>

#include "database/database_error.h"

namespace quorrel {

namespace {

constexpr const char* kFields =
    "name, info1, ncharge, weight, density, delta, beta, b_coh, abs_xs, type, ID";

// Sizes are checked again by the table itself, so a file written by other means obeys them
// as well. The comment is a memo and has no limit.
constexpr const char* kCreateTable =
    "CREATE TABLE materials ("
    " name VARCHAR(40) NOT NULL CHECK (length(name) BETWEEN 1 AND 40),"
    " info1 TEXT,"
    " ncharge INTEGER,"
    " weight VARCHAR(15) NOT NULL CHECK (length(weight) BETWEEN 1 AND 15),"
    " density VARCHAR(15) NOT NULL CHECK (length(density) BETWEEN 1 AND 15),"
    " delta VARCHAR(15) CHECK (length(delta) <= 15),"
    " beta VARCHAR(15) CHECK (length(beta) <= 15),"
    " b_coh VARCHAR(15) CHECK (length(b_coh) <= 15),"
    " abs_xs VARCHAR(15) CHECK (length(abs_xs) <= 15),"
    " type VARCHAR(10) NOT NULL CHECK (type IN ('ELEMENT', 'COMPOUND')),"
    " ID INTEGER)";
constexpr const char* kCreateByCharge = "CREATE INDEX ByCharge ON materials (ncharge)";
constexpr const char* kCreateByName = "CREATE INDEX ByName ON materials (name COLLATE NOCASE)";

//! The filter and index of a kind; rowid breaks ties so that positions are stable.
std::string SelectionOf(MaterialKind kind) {
  if (kind == MaterialKind::Element) {
    return " FROM materials INDEXED BY ByCharge WHERE type = 'ELEMENT'"
           " ORDER BY ncharge, rowid";
  }
  return " FROM materials INDEXED BY ByName WHERE type = 'COMPOUND'"
         " ORDER BY name COLLATE NOCASE, rowid";
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string NewConnectionName() {
  static std::atomic<unsigned long long> counter{0};
  return "quorrel-materials-" + std::to_string(++counter);
}

QSqlDatabase Connection(const std::string& name) { return QSqlDatabase::database(Q(name), false); }

void Disconnect(const std::string& name) {
  Connection(name).close();
  QSqlDatabase::removeDatabase(Q(name));
}

//! Opens an SQLite file through a URI whose mode ("ro", "rw", "rwc") says whether the file
//! may be written or created.
std::string Connect(const std::filesystem::path& file, const char* mode) {
  const std::string name = NewConnectionName();
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", Q(name));
    if (!db.isValid()) {
      db = QSqlDatabase();
      QSqlDatabase::removeDatabase(Q(name));
      throw DatabaseError("The SQLite driver of Qt SQL is not available");
    }
    QUrl url = QUrl::fromLocalFile(Q(std::filesystem::absolute(file).string()));
    url.setQuery(QString("mode=") + mode);
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(std::string_view(mode) == "ro"
                             ? "QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"
                             : "QSQLITE_OPEN_URI");
    if (db.open()) return name;
  }
  const std::string reason = Connection(name).lastError().text().toStdString();
  Disconnect(name);
  throw DatabaseError("Cannot open the material table " + file.string() + ": " + reason);
}

//! Runs a prepared statement; a failure names the table file and the engine's reason.
void Run(QSqlQuery& query, const std::string& path) {
  if (!query.exec()) {
    throw DatabaseError("Material table " + path + ": " + query.lastError().text().toStdString());
  }
}

QSqlQuery Prepare(const std::string& connection, const std::string& sql, const std::string& path) {
  QSqlQuery query(Connection(connection));
  if (!query.prepare(Q(sql))) {
    throw DatabaseError("Material table " + path + ": " + query.lastError().text().toStdString());
  }
  return query;
}

QVariant TextValue(const std::string& text) {
  return text.empty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(Q(text));
}

QVariant IntegerValue(const std::optional<int>& value) {
  return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::Int));
}

std::optional<int> ReadInteger(const QVariant& value, const char* field, const std::string& path) {
  if (value.isNull()) return std::nullopt;
  bool ok = false;
  const qlonglong number = value.toLongLong(&ok);
  if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
    throw DatabaseError("Material table " + path + ": field '" + field +
                        "' holds no integer: " + value.toString().toStdString());
  }
  return static_cast<int>(number);
}

//! Reads the fields in kFields order, starting at column `first`.
MaterialRecord ReadRecord(const QSqlQuery& query, int first, const std::string& path) {
  auto text = [&](int i) { return query.value(first + i).toString().toStdString(); };
  MaterialRecord record;
  record.name = text(0);
  record.info1 = text(1);
  record.ncharge = ReadInteger(query.value(first + 2), "ncharge", path);
  record.weight = text(3);
  record.density = text(4);
  record.delta = text(5);
  record.beta = text(6);
  record.b_coh = text(7);
  record.abs_xs = text(8);
  const auto kind = MaterialKindFromText(text(9));
  if (!kind) throw DatabaseError("Material table " + path + ": unknown type " + text(9));
  record.type = *kind;
  record.ID = ReadInteger(query.value(first + 10), "ID", path);
  return record;
}

void BindRecord(QSqlQuery& query, const MaterialRecord& record) {
  query.addBindValue(Q(record.name));
  query.addBindValue(TextValue(record.info1));
  query.addBindValue(IntegerValue(record.ncharge));
  query.addBindValue(Q(record.weight));
  query.addBindValue(Q(record.density));
  query.addBindValue(TextValue(record.delta));
  query.addBindValue(TextValue(record.beta));
  query.addBindValue(TextValue(record.b_coh));
  query.addBindValue(TextValue(record.abs_xs));
  query.addBindValue(Q(std::string(MaterialKindText(record.type))));
  query.addBindValue(IntegerValue(record.ID));
}

}  // namespace

MaterialTable::MaterialTable() = default;

MaterialTable::~MaterialTable() { close(); }

void MaterialTable::Create(const std::filesystem::path& directory, const std::string& fileName) {
  const std::filesystem::path file = directory / fileName;
  std::error_code error;
  if (std::filesystem::exists(file, error) || error) {
    throw DatabaseError("Cannot create the material table " + file.string() +
                        ": the path exists");
  }
  const std::string connection = Connect(file, "rwc");
  try {
    for (const char* sql : {kCreateTable, kCreateByCharge, kCreateByName}) {
      QSqlQuery query = Prepare(connection, sql, file.string());
      Run(query, file.string());
    }
  } catch (const DatabaseError&) {
    Disconnect(connection);
    std::filesystem::remove(file, error);
    throw;
  }
  Disconnect(connection);
}

void MaterialTable::open(const std::filesystem::path& directory, const std::string& fileName,
                         TableAccess access) {
  close();
  const std::filesystem::path file = directory / fileName;
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
    throw DatabaseError("Material table " + file.string() + " not found");
  }
  const std::string connection =
      Connect(file, access == TableAccess::ReadOnly ? "ro" : "rw");
  try {
    // Refuses, now rather than at the first use, a file that is not a material table.
    QSqlQuery fields =
        Prepare(connection, std::string("SELECT ") + kFields + " FROM materials LIMIT 0",
                file.string());
    Run(fields, file.string());
    QSqlQuery indexes = Prepare(connection,
                                "SELECT count(*) FROM sqlite_master WHERE type = 'index'"
                                " AND tbl_name = 'materials' AND name IN ('ByCharge', 'ByName')",
                                file.string());
    Run(indexes, file.string());
    if (!indexes.next() || indexes.value(0).toInt() != 2) {
      throw DatabaseError("Material table " + file.string() +
                          ": the index ByCharge or ByName is missing");
    }
  } catch (const DatabaseError&) {
    Disconnect(connection);
    throw;
  }
  connection_ = connection;
  path_ = file.string();
  access_ = access;
}

void MaterialTable::open(const std::filesystem::path& path, TableAccess access) {
  open(path.parent_path(), path.filename().string(), access);
}

void MaterialTable::close() {
  if (connection_.empty()) return;
  Disconnect(connection_);
  connection_.clear();
}

void MaterialTable::requireOpen() const {
  if (connection_.empty()) throw DatabaseError("The material table is not open");
}

void MaterialTable::requireWritable() const {
  requireOpen();
  if (access_ != TableAccess::ReadWrite) {
    throw DatabaseError("Material table " + path_ + " is open for reading only");
  }
}

std::vector<StoredMaterial> MaterialTable::list(MaterialKind kind) const {
  requireOpen();
  QSqlQuery query =
      Prepare(connection_, std::string("SELECT rowid, ") + kFields + SelectionOf(kind), path_);
  query.setForwardOnly(true);
  Run(query, path_);
  std::vector<StoredMaterial> records;
  while (query.next()) {
    records.push_back({query.value(0).toLongLong(), ReadRecord(query, 1, path_)});
  }
  return records;
}

StoredMaterial MaterialTable::recordAt(MaterialKind kind, int position) const {
  requireOpen();
  const std::string kindText(MaterialKindText(kind));
  if (position >= 0) {
    QSqlQuery query = Prepare(connection_,
                              std::string("SELECT rowid, ") + kFields + SelectionOf(kind) +
                                  " LIMIT 1 OFFSET ?",
                              path_);
    query.addBindValue(position);
    Run(query, path_);
    if (query.next()) return {query.value(0).toLongLong(), ReadRecord(query, 1, path_)};
  }
  throw DatabaseError("Material table " + path_ + ": no " + kindText + " at position " +
                      std::to_string(position));
}

MaterialRecord MaterialTable::newRecord(MaterialKind kind) const {
  MaterialRecord record;
  record.type = kind;
  if (kind == MaterialKind::Compound) record.ncharge = 0;
  record.ID = nextFreeId();
  return record;
}

int MaterialTable::nextFreeId() const {
  requireOpen();
  QSqlQuery query = Prepare(connection_, "SELECT max(ID) FROM materials", path_);
  Run(query, path_);
  long long largest = 0;
  if (query.next() && !query.value(0).isNull()) largest = query.value(0).toLongLong();
  if (largest >= std::numeric_limits<int>::max()) {
    throw DatabaseError("Material table " + path_ + ": no ID is free after " +
                        std::to_string(largest));
  }
  return static_cast<int>(std::max(largest, 0LL) + 1);
}

std::int64_t MaterialTable::insert(const MaterialRecord& record) {
  requireWritable();
  ValidateMaterialRecord(record);
  QSqlQuery query = Prepare(connection_,
                            std::string("INSERT INTO materials (") + kFields +
                                ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                            path_);
  BindRecord(query, record);
  Run(query, path_);
  return query.lastInsertId().toLongLong();
}

void MaterialTable::insert(std::span<const MaterialRecord> records) {
  requireWritable();
  for (const MaterialRecord& record : records) ValidateMaterialRecord(record);
  QSqlDatabase db = Connection(connection_);
  if (!db.transaction()) {
    throw DatabaseError("Material table " + path_ + ": " + db.lastError().text().toStdString());
  }
  try {
    for (const MaterialRecord& record : records) insert(record);
  } catch (const DatabaseError&) {
    db.rollback();
    throw;
  }
  if (!db.commit()) {
    const std::string reason = db.lastError().text().toStdString();
    db.rollback();
    throw DatabaseError("Material table " + path_ + ": " + reason);
  }
}

void MaterialTable::change(std::int64_t key, const MaterialRecord& record) {
  requireWritable();
  ValidateMaterialRecord(record);
  QSqlQuery query = Prepare(connection_,
                            "UPDATE materials SET name = ?, info1 = ?, ncharge = ?, weight = ?,"
                            " density = ?, delta = ?, beta = ?, b_coh = ?, abs_xs = ?,"
                            " type = ?, ID = ? WHERE rowid = ?",
                            path_);
  BindRecord(query, record);
  query.addBindValue(static_cast<qlonglong>(key));
  Run(query, path_);
  if (query.numRowsAffected() != 1) {
    throw DatabaseError("Material table " + path_ + ": no record with key " +
                        std::to_string(key));
  }
}

void MaterialTable::remove(std::int64_t key) {
  requireWritable();
  QSqlQuery query = Prepare(connection_, "DELETE FROM materials WHERE rowid = ?", path_);
  query.addBindValue(static_cast<qlonglong>(key));
  Run(query, path_);
  if (query.numRowsAffected() != 1) {
    throw DatabaseError("Material table " + path_ + ": no record with key " +
                        std::to_string(key));
  }
}

}  // namespace quorrel
