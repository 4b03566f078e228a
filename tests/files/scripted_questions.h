#pragma once
// The loaders' questions answered from a script, for the tests of the readers.

#include <deque>
#include <string>
#include <vector>

#include "files/measured_data_file.h"

namespace quorrel {

//! Answers from a script (Ignore when it runs out) and keeps every message asked.
class ScriptedQuestions : public LoadQuestions {
 public:
  explicit ScriptedQuestions(std::deque<LoadAnswer> answers = {}) : answers_(std::move(answers)) {}
  LoadAnswer abortOrIgnore(const std::string& message) override {
    messages.push_back(message);
    if (answers_.empty()) return LoadAnswer::Ignore;
    const LoadAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  std::vector<std::string> messages;

 private:
  std::deque<LoadAnswer> answers_;
};

}  // namespace quorrel
