#include "ui/platform/headless_prompts.h"

#include <cstdio>

namespace quorrel {

namespace {

void Print(const char* kind, const QString& text) {
  std::fprintf(stderr, "quorrel: %s: %s\n", kind,
               QString(text).replace('\n', ' ').toLocal8Bit().constData());
}

}  // namespace

void HeadlessPrompts::information(const QString& text) { Print("note", text); }

void HeadlessPrompts::error(const QString& text) {
  failed_ = true;
  Print("error", text);
}

LoadAnswer HeadlessPrompts::abortOrIgnore(const QString& text) {
  Print("skipped", text);
  return LoadAnswer::Ignore;
}

std::optional<int> HeadlessPrompts::chooseItem(const QString& text, const QStringList& items,
                                               int /*helpContext*/) {
  if (items.isEmpty()) return std::nullopt;
  Print("chosen", text + " " + items.front());
  return 0;
}

}  // namespace quorrel
