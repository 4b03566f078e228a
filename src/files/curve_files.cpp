#include "files/curve_files.h"

#include "common/number_format.h"
#include "files/atomic_file.h"

namespace quorrel {

std::array<NamedCurve, 4> SpinFlipChannels(const SpinChannels& result) {
  return {{{"R--", &result.downDown},
           {"R-+", &result.downUp},
           {"R+-", &result.upDown},
           {"R++", &result.upUp}}};
}

TableFormat CurveFileFormat() {
  TableFormat format;
  format.number = [](double value) { return FormatPattern(value, "0.000e-00"); };
  return format;
}

CurveTable ReflectivityTable(const ReflectivityResult& result, bool magnetization,
                             bool transmission, const SpinChannels* spinFlip) {
  CurveTable table("Qz", "R", result.plain);
  table.addText("dR", "0");
  if (magnetization) {
    table.addCurve("R_up", result.spinUp);
    table.addText("", "");
    table.addCurve("R_down", result.spinDown);
  }
  if (transmission) table.addCurve("T", result.transmission);
  if (spinFlip) {
    for (const NamedCurve& channel : SpinFlipChannels(*spinFlip)) {
      table.addCurve(channel.name, *channel.curve);
    }
  }
  return table;
}

std::string ReflectivityFileText(const ReflectivityResult& result, bool magnetization,
                                 bool transmission, const SpinChannels* spinFlip) {
  TableFormat format = CurveFileFormat();
  if (spinFlip) format.namesPrefix = "# ";
  return ReflectivityTable(result, magnetization, transmission, spinFlip).text(format);
}

CurveTable ProfileTable(const ProfileCurve& profile) { return CurveTable("z", "rho", profile); }

std::string ProfileFileText(const ProfileCurve& profile) {
  return ProfileTable(profile).text(CurveFileFormat());
}

void WriteReflectivityFile(const std::filesystem::path& path, const ReflectivityResult& result,
                           bool magnetization, bool transmission,
                           const SpinChannels* spinFlip) {
  WriteFileAtomically(path, ReflectivityFileText(result, magnetization, transmission, spinFlip));
}

void WriteProfileFile(const std::filesystem::path& path, const ProfileCurve& profile) {
  WriteFileAtomically(path, ProfileFileText(profile));
}

}  // namespace quorrel
