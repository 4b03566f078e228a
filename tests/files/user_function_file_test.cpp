// Saving and loading user function files.

#include "files/user_function_file.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

#include "common/error.h"
#include "scratch_folder.h"

namespace quorrel {
namespace {

TEST(UserFunctionFile, SavesTheDefaultTextsAsThreeCrLfLines) {
  const ScratchFolder folder;
  FunctionSettings function;
  function.numParameters = 3;
  SaveUserFunction(folder / "f.fnc", function);
  EXPECT_EQ(ScratchFolder::read(folder / "f.fnc"), "comment\r\nz\r\n3\r\n");
  EXPECT_EQ(folder.entryCount(), 1);  // no temporary file left behind
}

TEST(UserFunctionFile, SaveKeepsThreeLinesWhateverTheTexts) {
  const ScratchFolder folder;
  FunctionSettings function;
  function.comment = "two\r\nlines";
  function.expression = "A*z\n";
  function.numParameters = 1;
  SaveUserFunction(folder / "f.fnc", function);
  EXPECT_EQ(ScratchFolder::read(folder / "f.fnc"), "two  lines\r\nA*z \r\n1\r\n");
}

TEST(UserFunctionFile, RoundTrips) {
  const ScratchFolder folder;
  FunctionSettings saved;
  saved.comment = "tanh step, width A";
  saved.expression = "1E-6*(1+SIGN(z-B))/2";
  saved.numParameters = 2;
  SaveUserFunction(folder / "f.fnc", saved);
  FunctionSettings loaded;
  loaded.numParameters = 0;
  LoadUserFunction(folder / "f.fnc", loaded);
  EXPECT_EQ(loaded.comment, saved.comment);
  EXPECT_EQ(loaded.expression, saved.expression);
  EXPECT_EQ(loaded.numParameters, 2);
}

TEST(UserFunctionFile, NamesTheFirstParametersByTheirLetters) {
  const ScratchFolder folder;
  FunctionSettings function;
  function.parameterNames = {"A", "lam", "phi", "xsi", "E"};
  function.parameterNames[4] = "eta";
  LoadUserFunction(folder.write("f.fnc", "c\r\nA*z\r\n3\r\n"), function);
  EXPECT_EQ(function.numParameters, 3);
  EXPECT_EQ(function.parameterNames[0], "A");
  EXPECT_EQ(function.parameterNames[1], "B");
  EXPECT_EQ(function.parameterNames[2], "C");
  EXPECT_EQ(function.parameterNames[3], "xsi");
  EXPECT_EQ(function.parameterNames[4], "eta");
}

TEST(UserFunctionFile, CountIsKeptWithinZeroToFive) {
  const ScratchFolder folder;
  FunctionSettings function;
  function.parameterNames = {"p", "q", "r", "s", "t"};
  LoadUserFunction(folder.write("seven.fnc", "c\r\nz\r\n7\r\n"), function);
  EXPECT_EQ(function.numParameters, 5);
  EXPECT_EQ(function.parameterNames, (std::array<std::string, 5>{"A", "B", "C", "D", "E"}));
  function.parameterNames = {"p", "q", "r", "s", "t"};
  LoadUserFunction(folder.write("negative.fnc", "c\r\nz\r\n-2\r\n"), function);
  EXPECT_EQ(function.numParameters, 0);
  EXPECT_EQ(function.parameterNames[0], "p");
}

TEST(UserFunctionFile, MissingLinesReadAsEmptyAndTheCountAsZero) {
  const ScratchFolder folder;
  FunctionSettings function;
  LoadUserFunction(folder.write("one.fnc", "only a comment"), function);
  EXPECT_EQ(function.comment, "only a comment");
  EXPECT_EQ(function.expression, "");
  EXPECT_EQ(function.numParameters, 0);
  function.numParameters = 4;
  LoadUserFunction(folder.write("empty.fnc", ""), function);
  EXPECT_EQ(function.comment, "");
  EXPECT_EQ(function.numParameters, 0);
  LoadUserFunction(folder.write("lf.fnc", "c\nA*z\n\n"), function);
  EXPECT_EQ(function.expression, "A*z");
  EXPECT_EQ(function.numParameters, 0);
}

TEST(UserFunctionFile, CountThatIsNotAnIntegerEndsTheLoadAfterTheTexts) {
  const ScratchFolder folder;
  FunctionSettings function;
  function.numParameters = 2;
  const auto path = folder.write("bad.fnc", "new comment\r\nB*z\r\n2.5\r\n");
  try {
    LoadUserFunction(path, function);
    FAIL() << "2.5 accepted as a count";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()),
              "The user function file \"" + path.string() + "\", line 3: '2.5' is not a valid "
              "integer value");
  }
  EXPECT_EQ(function.comment, "new comment");
  EXPECT_EQ(function.expression, "B*z");
  EXPECT_EQ(function.numParameters, 2);
}

TEST(UserFunctionFile, UnreadableOrUnwritablePathsAreFileErrors) {
  const ScratchFolder folder;
  FunctionSettings function;
  EXPECT_THROW(LoadUserFunction(folder / "missing.fnc", function), FileError);
  EXPECT_THROW(LoadUserFunction(folder.path(), function), FileError);
  EXPECT_THROW(SaveUserFunction(folder / "no" / "such" / "f.fnc", function), FileError);
}

}  // namespace
}  // namespace quorrel
