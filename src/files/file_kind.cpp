#include "files/file_kind.h"

#include "common/text_case.h"

namespace quorrel {

namespace {

struct Ending {
  const char* text;
  FileKind kind;
};

constexpr Ending kEndings[] = {
    {".dat", FileKind::Data},   {".ort", FileKind::Orso},    {".layers", FileKind::LayerTable},
    {".par", FileKind::Model},  {".pro", FileKind::Profile}, {".qproj", FileKind::Project},
};

}  // namespace

FileKind FileKindOf(std::string_view path) {
  for (const Ending& ending : kEndings) {
    if (EndsWithIgnoringCase(path, ending.text)) return ending.kind;
  }
  return FileKind::Unknown;
}

}  // namespace quorrel
