#include "files/file_kind.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

TEST(FileKindOf, TheEndingInAnyCaseNamesTheKind) {
  const struct {
    const char* path;
    FileKind kind;
  } cases[] = {
      {"/data/run.dat", FileKind::Data},        {"run.DAT", FileKind::Data},
      {"spin.Ort", FileKind::Orso},             {"test0.layers", FileKind::LayerTable},
      {"C:\\models\\ni.PAR", FileKind::Model},  {"sld.pro", FileKind::Profile},
      {"sample.qproj", FileKind::Project},      {"sample.QPROJ", FileKind::Project},
      {"run.dat.bak", FileKind::Unknown},       {"par", FileKind::Unknown},
      {"notes.txt", FileKind::Unknown},         {"", FileKind::Unknown},
  };
  for (const auto& c : cases) EXPECT_EQ(FileKindOf(c.path), c.kind) << c.path;
}

}  // namespace
}  // namespace quorrel
