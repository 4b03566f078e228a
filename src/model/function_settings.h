#pragma once
// The profile function of the analytical profile type: which function, its texts, its
// parameters A to E and their names.

#include <array>
#include <string>

namespace quorrel {

enum class FunctionKind { BuiltIn = 0, UserDefined = 1 };

struct FunctionSettings {
  FunctionKind kind = FunctionKind::BuiltIn;
  int builtInIndex = 0;              // 0 .. 4 in the catalogue
  std::string expression = "z";      // the user expression in z and A .. E
  std::string comment = "comment";
  int numParameters = 1;             // 0 .. 5
  std::array<std::string, 5> parameterNames{"A", "B", "C", "D", "E"};
  std::array<double, 5> parameters{0, 0, 0, 0, 0};  // edtA .. edtE
};

}  // namespace quorrel
