#pragma once
// The chain of a posterior sampling run written for other programs to read.
//
// Text format (any name not ending in ".npy"): UTF-8 lines ending in "\n". First six comment
// lines starting with "# ":
//
//   # Quorrel 0.1.0 posterior sample chain
//   # walkers 32
//   # steps 1000
//   # thinning 1
//   # one row per sample: the walkers of the first stored step in order, then the next step's
//   # d_1 sigma_1 rho_bulk log_probability
//
// "steps" counts the stored steps (every thinning-th step of the production run), so that
// there are walkers x steps rows. The last comment line names the columns: the varied values'
// labels (blanks within a label turned into "_"), then "log_probability" (-chi-square / 2 within
// the priors). Each row holds those numbers separated by one blank, written with a point as the
// separator whatever the locale, in the shortest form that reads back as the same double
// ("inf", "-inf" and "nan" for the non-finite). Python reads it with
// numpy.loadtxt(name), which skips the comment lines, or with
// numpy.genfromtxt(name, skip_header=5, names=True) for the column names.
//
// NumPy format (a name ending in ".npy", in any case): NumPy's .npy version 1.0: the magic
// "\x93NUMPY", the bytes 1 and 0, the header's length as two little-endian bytes, then the header
// "{'descr': '<f8', 'fortran_order': False, 'shape': (rows, columns), }" padded with blanks
// and ended with "\n" so that the data start at a multiple of 64 bytes; then the rows (as in the
// text format, columns being the values and log_probability) as little-endian doubles in C
// order. numpy.load(name) reads it; the labels are not in it.

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace quorrel {

//! A chain as plain numbers: steps x walkers x values samples and steps x walkers
//! log-probabilities, both in C order.
struct ChainFileContent {
  std::string programVersion;
  //! The varied values' labels, one per value.
  std::vector<std::string> labels;
  int walkers = 0;
  int steps = 0;
  int thinning = 1;
  std::span<const double> samples;
  std::span<const double> logProbabilities;
};

//! The text format's content. Throws FileError when the sizes of the content disagree.
std::string ChainText(const ChainFileContent& content);
//! The .npy format's bytes. Throws FileError when the sizes of the content disagree.
std::string ChainNpy(const ChainFileContent& content);

//! Writes the chain atomically, as .npy when `path` ends in ".npy", else as text. Throws
//! FileError naming `path` when it cannot be written.
void WriteChainFile(const std::filesystem::path& path, const ChainFileContent& content);

}  // namespace quorrel
