#pragma once
// Which model value each entry of a fit's parameter set stands for, by sample type.

#include <array>
#include <string>

#include "model/sample_model.h"

namespace quorrel {

//! The four values of a medium, in the order the parameter set and the stack keep them.
enum class Quantity { Thickness = 0, Rho = 1, ImRho = 2, Sigma = 3 };

//! What kind of medium a parameter set entry belongs to.
enum class ParameterMedium {
  Air,                //!< the ambient medium
  Layer,              //!< basic layer `number` (row number + 1 of BaseGrid)
  Bulk,               //!< the substrate below the basic layers
  Core,               //!< the core of a symmetric film
  Stacked,            //!< stacked layer `number` of a multilayer period (row of MLGrid)
  FunctionParameter,  //!< profile function parameter `number` (1 = A .. 5 = E)
  Mirror,             //!< the mirror of basic layer `number` in a symmetric film (tied, not listed)
  Substrate,          //!< the ambient again below a symmetric film (tied, not listed)
};

//! One entry of the set: the medium, its number where media are numbered, and the quantity.
struct ParameterRole {
  ParameterMedium medium;
  int number = 0;
  Quantity quantity = Quantity::Rho;
};

//! The model's counts that shape its parameter set, taken when the set is collected.
struct ParameterLayout {
  SampleType type = SampleType::IndependentLayers;
  int layers = 0;                    // L, edtLayers
  int functionLayer = 0;             // F, edtFunctionLayer
  int functionSteps = 0;             // M, edtNumCalcLayers
  unsigned stepThickness = 0;        // t, edtLayerThickness
  int functionParameters = 0;        // n, parameters in use, 0 .. 5
  std::array<std::string, 5> functionParameterNames;
  int insertLayer = 0;               // I, edtInsertLayer
  int stackedLayers = 0;             // S, edtStackedLayers
  int repetitions = 0;               // R, edtRepts
  bool identicalSigmas = false;      // cbIdenticalSigmas

  //! Number of values in the set (indices 1 .. count()).
  int count() const;
  //! Number of entries that the fit dialog lists (indices 1 .. listedCount()).
  int listedCount() const;
  //! Number of calculation layers of the stack the set is written into.
  int stackLayerCount() const;

  //! Index of a quantity of basic layer k; k = L + 1 is the core of a symmetric film.
  int layerIndex(int k, Quantity quantity) const { return 4 * k - 1 + static_cast<int>(quantity); }
  //! Index of rho, Im(rho) or sigma of the bulk, which has no thickness.
  int bulkIndex(Quantity quantity) const { return 4 * layers + 2 + static_cast<int>(quantity); }
  //! Index of a quantity of stacked layer j of a multilayer period.
  int stackedIndex(int j, Quantity quantity) const {
    return 4 * layers + 4 * j + 2 + static_cast<int>(quantity);
  }
  //! Index of profile function parameter i (1 = A .. 5 = E).
  int functionParameterIndex(int i) const { return 4 * layers + 5 + i; }

  //! What entry `index` (1 .. count()) stands for.
  ParameterRole role(int index) const;
};

//! The layout of the model's parameter set.
ParameterLayout LayoutOf(const SampleModel& model);

}  // namespace quorrel
