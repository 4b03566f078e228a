#pragma once
// How quorrel-cli's fit commands print the entries of a model and the precision of a
// Levenberg-Marquardt fit.

#include <span>
#include <string>
#include <vector>

#include "fit/fit_uncertainties.h"
#include "fit/parameter_labels.h"

namespace quorrel::cli {

//! `text` with blanks before it to `width` characters.
std::string RightAligned(const std::string& text, std::size_t width);

//! An entry's number right-aligned, two blanks and its label.
std::string EntryLine(const FitParameter& entry);

//! The line of a fitted entry: its number, its label as the dialog shows it, and the full
//! value with its standard error when there is one.
std::string FittedEntryLine(const FitParameter& entry, double value,
                            const FitUncertainties* uncertainties);

//! "reduced chi-square: ..." with its degrees of freedom.
std::string ReducedChiSquareLine(const FitUncertainties& uncertainties);

//! The correlation matrix with the entry numbers as row and column heads.
std::string CorrelationTable(const FitUncertainties& uncertainties);
//! The same of `varied` (set indices) and their p x p correlations, row after row.
std::string CorrelationTable(std::span<const int> varied, std::span<const double> correlations);

}  // namespace quorrel::cli
