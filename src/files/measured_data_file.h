#pragma once
// Reading a measured reflectivity curve: lines of Qz TAB R TAB dR.

#include <filesystem>
#include <functional>
#include <string>

#include "model/measured_data.h"

namespace quorrel {

enum class LoadAnswer { Abort, Ignore };
enum class LoadOutcome { Loaded, Aborted };

//! The questions that a load asks about a bad line; the caller shows them to the user.
class LoadQuestions {
 public:
  virtual ~LoadQuestions() = default;
  //! Abort ends the load; Ignore drops the line (or point) and goes on.
  virtual LoadAnswer abortOrIgnore(const std::string& message) = 0;
};

//! Told the number of points kept after every line, so that a long file shows progress.
using LoadProgress = std::function<void(int count)>;

//! "Ooops...", a line break and "skipping strange value in line #" with the line number.
std::string StrangeValueMessage(int lineNumber);
//! "Ooops...", a line break, "value smaller than zero in line #", the count of points kept
//! (this one included) and " will be skipped!".
std::string NotPositiveMessage(int pointNumber);

//! Reads the file at `path` into `data`. Lines may end in CR LF, LF or CR; a UTF-8 byte-order
//! mark is skipped. On success `data` holds the points, the full path and the fitting region
//! from the first to the last Qz (-1.0 in both bounds with no points). `data` is replaced
//! only on success: Abort, an unreadable file (FileError naming it) and a file of more than
//! MeasuredData::kMaxPoints points (FileError naming the limit) leave it as it was.
LoadOutcome LoadMeasuredData(const std::filesystem::path& path, MeasuredData& data,
                             LoadQuestions& questions, const LoadProgress& progress = {});

}  // namespace quorrel
