#include "database/material_sld.h"

#include <gtest/gtest.h>

#include "common/decimal_separator.h"
#include "temporary_table.h"

namespace quorrel {
namespace {

using testing::Silicon;

struct Formatted {
  std::string rho;
  std::string imRho;
};

Formatted Look(const MaterialRecord& record, Radiation radiation) {
  const MaterialSld sld = ComputeMaterialSld(ConvertMaterialConstants(record), radiation);
  return {FormatSld(sld.rho), FormatSld(sld.imRho)};
}

TEST(MaterialSld, NeutronsFromWeightDensityAndScattering) {
  ScopedDecimalSeparator point('.');
  const Formatted sld = Look(Silicon(), Radiation::Neutrons);
  EXPECT_EQ(sld.rho, "2.073E-06");
  EXPECT_EQ(sld.imRho, "2.376E-11");
}

TEST(MaterialSld, XraysFromDeltaAndBeta) {
  ScopedDecimalSeparator point('.');
  const Formatted sld = Look(Silicon(), Radiation::Xrays);
  EXPECT_EQ(sld.rho, "2.011E-05");
  EXPECT_EQ(sld.imRho, "4.498E-07");
}

TEST(MaterialSld, NegativeScatteringLength) {
  ScopedDecimalSeparator point('.');
  MaterialRecord water = Silicon();
  water.weight = "18.0153";
  water.density = "1.00";
  water.b_coh = "-1.6768";
  EXPECT_EQ(Look(water, Radiation::Neutrons).rho, "-5.606E-07");
}

TEST(MaterialSld, CommaLocaleReadsStoredPointsAndWritesCommas) {
  ScopedDecimalSeparator comma(',');
  EXPECT_EQ(Look(Silicon(), Radiation::Neutrons).rho, "2,073E-06");
  MaterialRecord typed = Silicon();
  typed.weight = "28,0855";
  typed.density = "2,33";
  EXPECT_EQ(Look(typed, Radiation::Xrays).imRho, "4,498E-07");
  EXPECT_EQ(Look(typed, Radiation::Neutrons).imRho, "2,376E-11");
}

//! The field and message of the conversion's refusal, or empty texts when it converts.
std::pair<std::string, std::string> Refusal(const MaterialRecord& record) {
  try {
    ConvertMaterialConstants(record);
  } catch (const MaterialValueError& error) {
    return {error.field(), error.what()};
  }
  return {};
}

TEST(MaterialSld, PointLocaleRefusesCommas) {
  ScopedDecimalSeparator point('.');
  MaterialRecord record = Silicon();
  record.density = "2,33";
  EXPECT_EQ(Refusal(record),
            std::make_pair(std::string("density"),
                           std::string("'2,33' is not a valid floating point value")));
}

TEST(MaterialSld, AllSixAreNeededAndTheFirstFailureIsReported) {
  ScopedDecimalSeparator point('.');
  MaterialRecord record = Silicon();
  record.abs_xs = "";  // needed for x-rays too
  EXPECT_EQ(Refusal(record), std::make_pair(std::string("abs_xs"),
                                            std::string("Invalid variant type conversion")));
  record.weight = "n/a";
  record.beta = "??";
  EXPECT_EQ(Refusal(record),
            std::make_pair(std::string("weight"),
                           std::string("'n/a' is not a valid floating point value")));
}

TEST(MaterialSld, ZeroWeightOrDensityIsAFaultForNeutronsOnly) {
  MaterialRecord noWeight = Silicon();
  noWeight.weight = "00";
  MaterialRecord noDensity = Silicon();
  noDensity.density = "0.0";
  EXPECT_THROW(Look(noWeight, Radiation::Neutrons), ArithmeticFault);
  try {
    Look(noDensity, Radiation::Neutrons);
    FAIL() << "computed";
  } catch (const ArithmeticFault& fault) {
    EXPECT_STREQ(fault.what(), "arithmetic fault: material lookup: division by zero, the density is 0");
  }
  ScopedDecimalSeparator point('.');
  EXPECT_EQ(Look(noDensity, Radiation::Xrays).rho, "2.011E-05");
}

TEST(MaterialSld, OverflowIsAFault) {
  MaterialRecord huge = Silicon();
  huge.delta = "1e308";
  EXPECT_THROW(Look(huge, Radiation::Xrays), ArithmeticFault);
  huge = Silicon();
  huge.weight = "1e300";
  huge.density = "1e-300";
  EXPECT_THROW(Look(huge, Radiation::Neutrons), ArithmeticFault);
}

}  // namespace
}  // namespace quorrel
