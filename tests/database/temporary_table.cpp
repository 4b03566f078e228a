#include "temporary_table.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace quorrel::testing {

TemporaryDirectory::TemporaryDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorrel-db-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = buffer.data();
}

TemporaryDirectory::~TemporaryDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void ExecuteSql(const std::filesystem::path& file, std::initializer_list<const char*> statements) {
  const QString connection = "quorrel-test-sql";
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
    db.setDatabaseName(QString::fromStdString(file.string()));
    if (!db.open()) throw std::runtime_error(db.lastError().text().toStdString());
    for (const char* sql : statements) {
      QSqlQuery query(db);
      if (!query.exec(sql)) throw std::runtime_error(query.lastError().text().toStdString());
    }
    db.close();
  }
  QSqlDatabase::removeDatabase(connection);
}

MaterialRecord Silicon() {
  MaterialRecord record;
  record.name = "Si";
  record.ncharge = 14;
  record.weight = "28.0855";
  record.density = "2.33";
  record.delta = "7.6e-6";
  record.beta = "1.7e-7";
  record.b_coh = "4.1491";
  record.abs_xs = "0.171";
  record.type = MaterialKind::Element;
  record.ID = 14;
  return record;
}

MaterialRecord Element(const std::string& name, int z, int id) {
  MaterialRecord record = Silicon();
  record.name = name;
  record.ncharge = z;
  record.ID = id;
  return record;
}

MaterialRecord Compound(const std::string& name, int id) {
  MaterialRecord record = Silicon();
  record.name = name;
  record.ncharge = 0;
  record.type = MaterialKind::Compound;
  record.ID = id;
  return record;
}

}  // namespace quorrel::testing
