#include "shell/clipboard_text.h"

#include "common/number_format.h"

namespace quorrel {

namespace {

void AppendField(std::string& line, const Curve* curve, std::size_t index) {
  if (!curve) return;
  line += '\t';
  if (index < curve->size()) line += FormatGeneral(curve->y[index]);
}

}  // namespace

std::string ReflectivityClipboardText(const Curve& plain, const Curve* spinUp,
                                      const Curve* spinDown, const Curve* transmission) {
  std::string text;
  // The transmission points are the plain curve's points in the same order, some left out:
  // one pass that matches them by Qz keeps every value beside its own Qz.
  std::size_t next = 0;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    text += FormatGeneral(plain.x[i]);
    text += '\t';
    text += FormatGeneral(plain.y[i]);
    AppendField(text, spinUp, i);
    AppendField(text, spinDown, i);
    if (transmission) {
      text += '\t';
      if (next < transmission->size() && transmission->x[next] == plain.x[i]) {
        text += FormatGeneral(transmission->y[next]);
        ++next;
      }
    }
    text += '\n';
  }
  return text;
}

std::string ProfileClipboardText(const Curve& profile) {
  std::string text;
  for (std::size_t i = 0; i < profile.size(); ++i) {
    text += FormatGeneral(profile.x[i]);
    text += '\t';
    text += FormatGeneral(profile.y[i]);
    text += '\n';
  }
  return text;
}

}  // namespace quorrel
