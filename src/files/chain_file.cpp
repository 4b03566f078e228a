#include "files/chain_file.h"

#include <bit>
#include <charconv>
#include <cstdint>

#include "common/error.h"
#include "common/text_case.h"
#include "files/atomic_file.h"

namespace quorrel {

namespace {

void CheckSizes(const ChainFileContent& content, const std::string& where = "the chain") {
  const std::size_t rows = static_cast<std::size_t>(content.walkers) * content.steps;
  if (content.walkers < 0 || content.steps < 0 ||
      content.samples.size() != rows * content.labels.size() ||
      content.logProbabilities.size() != rows) {
    throw FileError(where + ": the samples do not match the walkers, steps and values");
  }
}

std::string ColumnName(const std::string& label) {
  std::string name = label;
  for (char& c : name) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') c = '_';
  }
  return name;
}

void AppendNumber(std::string& text, double value) {
  char buffer[32];
  text.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void AppendLittleEndian(std::string& bytes, std::uint64_t word, int count) {
  for (int k = 0; k < count; ++k) bytes.push_back(static_cast<char>((word >> (8 * k)) & 0xff));
}

}  // namespace

std::string ChainText(const ChainFileContent& content) {
  CheckSizes(content);
  std::string text = "# Quorrel " + content.programVersion + " posterior sample chain\n";
  text += "# walkers " + std::to_string(content.walkers) + "\n";
  text += "# steps " + std::to_string(content.steps) + "\n";
  text += "# thinning " + std::to_string(content.thinning) + "\n";
  text +=
      "# one row per sample: the walkers of the first stored step in order, then the next "
      "step's\n#";
  for (const std::string& label : content.labels) {
    text += ' ';
    text += ColumnName(label);
  }
  text += " log_probability\n";
  const std::size_t values = content.labels.size();
  for (std::size_t row = 0; row < content.logProbabilities.size(); ++row) {
    for (std::size_t v = 0; v < values; ++v) {
      AppendNumber(text, content.samples[row * values + v]);
      text += ' ';
    }
    AppendNumber(text, content.logProbabilities[row]);
    text += '\n';
  }
  return text;
}

std::string ChainNpy(const ChainFileContent& content) {
  CheckSizes(content);
  const std::size_t values = content.labels.size();
  const std::size_t rows = content.logProbabilities.size();
  std::string header = "{'descr': '<f8', 'fortran_order': False, 'shape': (" +
                       std::to_string(rows) + ", " + std::to_string(values + 1) + "), }";
  // Magic (6), version (2) and length (2) before the header, "\n" after it; the data start
  // 64-byte aligned, padded as NumPy pads (a whole 64 where none would be needed).
  const std::size_t preamble = 10;
  header.append(64 - (preamble + header.size() + 1) % 64, ' ');
  header += '\n';
  std::string bytes = "\x93NUMPY";
  bytes += '\x01';
  bytes += '\x00';
  AppendLittleEndian(bytes, header.size(), 2);
  bytes += header;
  bytes.reserve(bytes.size() + rows * (values + 1) * 8);
  for (std::size_t row = 0; row < rows; ++row) {
    for (std::size_t v = 0; v < values; ++v) {
      AppendLittleEndian(bytes, std::bit_cast<std::uint64_t>(content.samples[row * values + v]), 8);
    }
    AppendLittleEndian(bytes, std::bit_cast<std::uint64_t>(content.logProbabilities[row]), 8);
  }
  return bytes;
}

void WriteChainFile(const std::filesystem::path& path, const ChainFileContent& content) {
  CheckSizes(content, path.string());
  const bool npy = EndsWithIgnoringCase(path.filename().string(), ".npy");
  WriteFileAtomically(path, npy ? ChainNpy(content) : ChainText(content));
}

}  // namespace quorrel
