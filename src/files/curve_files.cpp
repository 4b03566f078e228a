#include "files/curve_files.h"

#include "common/number_format.h"
#include "files/atomic_file.h"

namespace quorrel {

namespace {

constexpr const char* kNumberPattern = "0.000e-00";
constexpr const char* kLineEnd = "\r\n";

//! Reads a further curve in step with the plain one. The further curves hold a subset of the
//! plain curve's points in the same order, so a point belongs to a line only when its Qz is
//! the line's.
class CurveCursor {
 public:
  explicit CurveCursor(const Curve& curve) : curve_(curve) {}

  //! The formatted value at this Qz, or "" when the curve has no point there.
  std::string valueAt(double qz) {
    if (next_ >= curve_.size() || curve_.x[next_] != qz) return {};
    return FormatPattern(curve_.y[next_++], kNumberPattern);
  }

 private:
  const Curve& curve_;
  std::size_t next_ = 0;
};

}  // namespace

std::string ReflectivityFileText(const ReflectivityResult& result, bool magnetization,
                                 bool transmission) {
  CurveCursor up(result.spinUp);
  CurveCursor down(result.spinDown);
  CurveCursor transmitted(result.transmission);
  std::string text;
  const Curve& plain = result.plain;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    const double qz = plain.x[i];
    text += FormatPattern(qz, kNumberPattern);
    text += '\t';
    text += FormatPattern(plain.y[i], kNumberPattern);
    text += "\t0";
    if (magnetization) {
      text += '\t';
      text += up.valueAt(qz);
      text += "\t\t";
      text += down.valueAt(qz);
    }
    if (transmission) {
      text += '\t';
      text += transmitted.valueAt(qz);
    }
    text += kLineEnd;
  }
  return text;
}

std::string ProfileFileText(const ProfileCurve& profile) {
  std::string text;
  for (std::size_t i = 0; i < profile.size(); ++i) {
    text += FormatPattern(profile.x[i], kNumberPattern);
    text += '\t';
    text += FormatPattern(profile.y[i], kNumberPattern);
    text += kLineEnd;
  }
  return text;
}

void WriteReflectivityFile(const std::filesystem::path& path, const ReflectivityResult& result,
                           bool magnetization, bool transmission) {
  WriteFileAtomically(path, ReflectivityFileText(result, magnetization, transmission));
}

void WriteProfileFile(const std::filesystem::path& path, const ProfileCurve& profile) {
  WriteFileAtomically(path, ProfileFileText(profile));
}

}  // namespace quorrel
