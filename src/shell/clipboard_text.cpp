#include "shell/clipboard_text.h"

#include "common/number_format.h"
#include "files/curve_files.h"

namespace quorrel {

namespace {

//! A spreadsheet's numbers: the general format, lines ended by "\n".
TableFormat ClipboardFormat() {
  TableFormat format;
  format.number = [](double value) { return FormatGeneral(value); };
  format.lineEnd = "\n";
  return format;
}

}  // namespace

std::string ReflectivityClipboardText(const Curve& plain, const Curve* spinUp,
                                      const Curve* spinDown, const Curve* transmission,
                                      const SpinChannels* spinFlip) {
  CurveTable table("Qz", "R", plain);
  if (spinUp) table.addCurve("R_up", *spinUp);
  if (spinDown) table.addCurve("R_down", *spinDown);
  if (transmission) table.addCurve("T", *transmission);
  TableFormat format = ClipboardFormat();
  if (spinFlip) {
    for (const NamedCurve& channel : SpinFlipChannels(*spinFlip)) {
      table.addCurve(channel.name, *channel.curve);
    }
    format.namesPrefix = "";
  }
  return table.text(format);
}

std::string ProfileClipboardText(const Curve& profile) {
  return ProfileTable(profile).text(ClipboardFormat());
}

}  // namespace quorrel
