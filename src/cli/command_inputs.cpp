#include "cli/command_inputs.h"

#include <algorithm>

#include "common/error.h"
#include "files/column_import.h"
#include "files/file_kind.h"
#include "files/measured_data_file.h"
#include "files/orso_file.h"
#include "files/orso_measurements.h"
#include "files/model_file_reader.h"
#include "files/model_file_writer.h"

namespace quorrel::cli {

namespace {

//! A message of the loaders on one line: their line breaks become blanks.
std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

//! Answers the loader's questions without asking: reports each bad line and goes on, or
//! stops at the first.
class ReportingQuestions : public LoadQuestions {
 public:
  ReportingQuestions(std::string path, DataLineRule rule, std::ostream& err)
      : path_(std::move(path)), rule_(rule), err_(err) {}

  LoadAnswer abortOrIgnore(const std::string& message) override {
    if (rule_ == DataLineRule::Fatal) {
      firstFault_ = OneLine(message);
      return LoadAnswer::Abort;
    }
    err_ << "quorrel-cli: " << path_ << ": " << OneLine(message) << '\n';
    return LoadAnswer::Ignore;
  }
  const std::string& firstFault() const { return firstFault_; }

 private:
  std::string path_;
  DataLineRule rule_;
  std::ostream& err_;
  std::string firstFault_;
};

}  // namespace

bool IsProjectPath(const std::string& path) { return FileKindOf(path) == FileKind::Project; }

Project LoadProjectInput(const std::string& path, std::ostream& err) {
  ProjectRead read = ReadProjectFile(path);
  for (const std::string& note : read.notes) {
    err << "quorrel-cli: warning: " << path << ": " << note << '\n';
  }
  return std::move(read.project);
}

ModelInput LoadModelInput(const std::string& path, std::ostream& err) {
  if (IsProjectPath(path)) {
    Project project = LoadProjectInput(path, err);
    return {std::move(project.model), std::move(project.settings)};
  }
  ModelInput input;
  EditorState editor;
  const ModelFileOutcome outcome = ReadModelFile(path, input.model, input.settings, editor);
  if (outcome.message) {
    const std::string where = path + ": line " + std::to_string(outcome.stopLine.value_or(0));
    if (!outcome.sampleComplete) {
      throw FileError(where + ": not a model parameter file, or a damaged one");
    }
    err << "quorrel-cli: warning: " << where
        << ": the background and resolution settings end here (a file of an older "
           "version?); the defaults stand for the rest\n";
  }
  if (outcome.compileError) {
    throw FileError(path + ": the user function: " + *outcome.compileError);
  }
  return input;
}

void RethrowAtModelFile(const std::string& path, const SampleModel& model) {
  try {
    throw;
  } catch (const CellError& error) {
    const std::optional<int> line =
        ModelFileLineOfCell(model, error.grid(), error.row(), error.column());
    const std::string where = line ? path + ": line " + std::to_string(*line) : path;
    throw QuorrelError(where + ": " + error.what());
  } catch (const FileError&) {
    throw;  // names its own file
  } catch (const QuorrelError& error) {
    throw QuorrelError(path + ": " + error.what());
  }
}

MeasuredData LoadDataInput(const std::string& path, const DataOptions& options,
                           DataLineRule rule, std::ostream& err) {
  MeasuredData data;
  std::vector<std::string> notes;
  if (options.columns) {
    data = ImportMeasuredData(path, *options.columns, notes);
  } else {
    ReportingQuestions questions(path, rule, err);
    const LoadOutcome outcome =
        FileKindOf(path) == FileKind::Orso
            ? LoadOrsoData(path, options.dataSet, data, questions, notes)
            : LoadMeasuredData(path, data, questions);
    if (outcome == LoadOutcome::Aborted) throw FileError(path + ": " + questions.firstFault());
  }
  for (const std::string& note : notes) err << "quorrel-cli: " << path << ": " << note << '\n';
  return data;
}

std::vector<Measurement> LoadOrsoMeasurementsInput(const std::string& path,
                                                   const CalcSettings& settings,
                                                   DataLineRule rule, std::ostream& err) {
  ReportingQuestions questions(path, rule, err);
  std::vector<Measurement> measurements;
  std::vector<std::string> notes;
  if (LoadOrsoMeasurements(path, settings, measurements, questions, notes) ==
      LoadOutcome::Aborted) {
    throw FileError(path + ": " + questions.firstFault());
  }
  for (const std::string& note : notes) err << "quorrel-cli: " << path << ": " << note << '\n';
  return measurements;
}

}  // namespace quorrel::cli
