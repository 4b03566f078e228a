#include "files/chain_file.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>

#include "common/error.h"
#include "scratch_folder.h"

namespace quorrel {
namespace {

//! 3 stored steps of 2 walkers and 2 values, with numbers that need all 17 digits, a tiny and
//! a huge one, and a walker that never reached an evaluable point.
struct SmallChain {
  std::vector<double> samples{0.1,  1.0 / 3.0, 2.0 / 3.0, -1e-300, 5e-324, 1.7976931348623157e308,
                              -0.0, 12345.678, 1e21,      0.5,     7.0,    -3.25};
  std::vector<double> logProbabilities{
      -1.5, -std::numeric_limits<double>::infinity(), -0.1, -2.0 / 7.0, -1e-17, 0.0};
  ChainFileContent content() const {
    return {"0.1.0", {"d_1", "rho bulk"}, 2, 3, 5, samples, logProbabilities};
  }
};

double ReadDouble(const std::string& word) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  EXPECT_TRUE(error == std::errc() && end == word.data() + word.size()) << word;
  return value;
}

TEST(ChainFile, TextHasTheDocumentedHeaderAndRowsThatReadBackExactly) {
  const SmallChain chain;
  ScratchFolder folder;
  WriteChainFile(folder / "chain.txt", chain.content());
  std::istringstream text(ScratchFolder::read(folder / "chain.txt"));
  std::string line;
  const char* header[] = {
      "# Quorrel 0.1.0 posterior sample chain",
      "# walkers 2",
      "# steps 3",
      "# thinning 5",
      "# one row per sample: the walkers of the first stored step in order, then the next step's",
      "# d_1 rho_bulk log_probability",
  };
  for (const char* expected : header) {
    ASSERT_TRUE(std::getline(text, line));
    EXPECT_EQ(line, expected);
  }
  for (int row = 0; row < 6; ++row) {
    ASSERT_TRUE(std::getline(text, line));
    std::istringstream words(line);
    std::string a, b, p, rest;
    ASSERT_TRUE(words >> a >> b >> p);
    EXPECT_FALSE(words >> rest) << line;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(ReadDouble(a)),
              std::bit_cast<std::uint64_t>(chain.samples[2 * row]));
    EXPECT_EQ(ReadDouble(b), chain.samples[2 * row + 1]);
    EXPECT_EQ(ReadDouble(p), chain.logProbabilities[row]);
  }
  EXPECT_FALSE(std::getline(text, line));
}

TEST(ChainFile, NpyHeaderIsNumpysVersionOneAndTheDataFollowInCOrder) {
  const SmallChain chain;
  ScratchFolder folder;
  WriteChainFile(folder / "chain.NPY", chain.content());
  const std::string bytes = ScratchFolder::read(folder / "chain.NPY");
  ASSERT_GE(bytes.size(), 10u);
  EXPECT_EQ(bytes.substr(0, 6), "\x93NUMPY");
  EXPECT_EQ(bytes[6], '\x01');
  EXPECT_EQ(bytes[7], '\x00');
  const std::size_t headerLength =
      static_cast<unsigned char>(bytes[8]) + 256u * static_cast<unsigned char>(bytes[9]);
  EXPECT_EQ((10 + headerLength) % 64, 0u);
  ASSERT_EQ(bytes.size(), 10 + headerLength + 6 * 3 * 8);
  const std::string header = bytes.substr(10, headerLength);
  const std::string dictionary = "{'descr': '<f8', 'fortran_order': False, 'shape': (6, 3), }";
  EXPECT_EQ(header.substr(0, dictionary.size()), dictionary);
  EXPECT_EQ(header.back(), '\n');
  EXPECT_EQ(header.find_first_not_of(' ', dictionary.size()), headerLength - 1);
  for (std::size_t i = 0; i < 18; ++i) {
    std::uint64_t word = 0;
    for (int k = 0; k < 8; ++k) {
      word |= std::uint64_t{static_cast<unsigned char>(bytes[10 + headerLength + 8 * i + k])}
              << (8 * k);
    }
    const std::size_t row = i / 3, column = i % 3;
    const double expected =
        column < 2 ? chain.samples[2 * row + column] : chain.logProbabilities[row];
    EXPECT_EQ(word, std::bit_cast<std::uint64_t>(expected))
        << "row " << row << " column " << column;
  }
}

TEST(ChainFile, RefusesSamplesThatDoNotFitTheShapeAndLeavesNoFile) {
  SmallChain chain;
  chain.samples.pop_back();
  ScratchFolder folder;
  try {
    WriteChainFile(folder / "chain.txt", chain.content());
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()),
              (folder / "chain.txt").string() +
                  ": the samples do not match the walkers, steps and values");
  }
  EXPECT_EQ(folder.entryCount(), 0);
}

}  // namespace
}  // namespace quorrel
