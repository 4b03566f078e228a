#pragma once
// The count and number fields of the model editor, and how the grids follow the counts.

#include "model/sample_model.h"

namespace quorrel {

//! The most basic layers the editor holds.
inline constexpr int kMaxEditorLayers = 9999;
//! The most layers of one multilayer period, and the most repetitions.
inline constexpr int kMaxStackedLayers = 99;
inline constexpr int kMaxRepetitions = 99;
//! The most function steps.
inline constexpr int kMaxFunctionSteps = 199;
//! The most function parameters A .. E.
inline constexpr int kMaxFunctionParameters = 5;

//! A change of edtLayers: above 9999 it becomes 9999, a negative count is ignored. BaseGrid
//! gets count + 3 rows; the substrate's cells move into the new last row, a grown grid gets a
//! zero layer above it, and rows that leave the grid keep their cells out of sight. The
//! positions of the function and of the multilayer stack are kept within the new count.
void SetLayerCount(SampleModel& model, int count);

//! A change of edtStackedLayers: at most 99 and at most 9999 - edtLayers; below 1 ignored.
//! MLGrid gets count + 1 rows, a grown grid a zero row at its end.
void SetStackedLayerCount(SampleModel& model, int count);

//! The spin fields whose range is fixed or follows edtLayers: values outside it are limited.
void SetInsertLayer(SampleModel& model, int layer);
void SetFunctionLayer(SampleModel& model, int layer);
void SetRepetitions(SampleModel& model, int repetitions);
void SetNumCalcLayers(SampleModel& model, int steps);
void SetNumParameters(SampleModel& model, int count);

//! The largest magnitude of a function parameter field (edtA .. edtE).
inline constexpr double kMaxParameterMagnitude = 1e99;
//! Sets function parameter `index` (0 for A .. 4 for E); the field limits it to +-1e99.
void SetFunctionParameter(SampleModel& model, int index, double value);

}  // namespace quorrel
