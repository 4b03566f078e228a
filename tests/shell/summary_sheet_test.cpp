// The data output sheet on a page of 3508 x 2480 device units, measured by a fake font of 9
// units per character and lines 20 high at 8 points, 30 at 12: x0 = 44, ty = 250, y0 = 372,
// h = 20, and the graphs start at x = 1929.

#include <gtest/gtest.h>

#include <algorithm>

#include "shell/summary_sheet.h"

namespace quorrel {
namespace {

class FakeMeasure : public TextMeasure {
 public:
  TextExtent measure(const std::string& text, int pointSize) const override {
    return TextExtent{9 * static_cast<int>(text.size()), pointSize == 12 ? 30 : 20};
  }
};

SummarySheet LayOut(const SampleModel& model, SummaryInputs inputs = {}) {
  inputs.dateText = "01.02.2025 10:20:30";
  return LayOutSummarySheet(model, inputs, 3508, 2480, FakeMeasure());
}

//! "x:text" of every text on the line at `y`, left to right, joined by "|".
std::string Line(const SummarySheet& sheet, int y) {
  std::vector<PlacedText> line;
  std::ranges::copy_if(sheet.texts, std::back_inserter(line),
                       [y](const PlacedText& text) { return text.y == y; });
  std::ranges::sort(line, {}, &PlacedText::x);
  std::string joined;
  for (const PlacedText& text : line) {
    if (!joined.empty()) joined += '|';
    joined.append(std::to_string(text.x)).append(":").append(text.text);
  }
  return joined;
}

bool Has(const SummarySheet& sheet, const std::string& start) {
  return std::ranges::any_of(sheet.texts,
                             [&](const auto& text) { return text.text.starts_with(start); });
}

int LowestY(const SummarySheet& sheet) {
  return std::ranges::max(sheet.texts, {}, &PlacedText::y).y;
}

TEST(SummarySheet, WithoutDataTitleDateAndTheLayerTableStandAtTheirPlaces) {
  SampleModel model;
  model.baseGrid.setCell(2, kColMagRe, "7E-7");
  const SummarySheet sheet = LayOut(model);
  EXPECT_EQ(Line(sheet, 250), "1642:Quorrel data output sheet");  // 1754 - 225 / 2
  EXPECT_EQ(sheet.texts.front().pointSize, 12);
  EXPECT_EQ(Line(sheet, 280), "1669:01.02.2025 10:20:30");  // 1754 - 171 / 2
  EXPECT_FALSE(Has(sheet, "Datafile: "));
  EXPECT_FALSE(Has(sheet, "The "));
  EXPECT_EQ(Line(sheet, 492), "44:sample parameters are:");  // y0 + 4h + 40
  EXPECT_EQ(Line(sheet, 522), "220:|440:d / Å|660:rho / Å^-2|880:Im(rho) / Å^-2|1100:sigma / Å");
  EXPECT_EQ(Line(sheet, 552), "220:air|440:N/A|660:0|880:0|1100:N/A");
  EXPECT_EQ(Line(sheet, 582), "220:1|440:25|660:3.475E-6|880:1.05E-11|1100:3");
  EXPECT_EQ(Line(sheet, 612), "220:bulk|440:N/A|660:2.073E-6|880:2.37E-11|1100:5");
  EXPECT_EQ(LowestY(sheet), 612);
  // A cell reaches the next column, the last one the graphs, less half a margin.
  std::vector<int> rooms;
  for (const PlacedText& text : sheet.texts) {
    if (text.y == 522) rooms.push_back(text.maxWidth);
  }
  EXPECT_EQ(rooms, (std::vector<int>{198, 198, 198, 198, 807}));
}

TEST(SummarySheet, TheDataFileAndTheFitLineNeedDataAndAnAcceptedFit) {
  SummaryInputs inputs;
  inputs.dataFile = "/home/me/nickel.dat";
  const SummarySheet dataOnly = LayOut(SampleModel(), inputs);
  EXPECT_EQ(Line(dataOnly, 372), "44:Datafile: /home/me/nickel.dat");
  EXPECT_FALSE(Has(dataOnly, "The "));
  EXPECT_EQ(Line(dataOnly, 492), "44:sample parameters are:");

  const std::pair<Weighting, std::string> words[] = {
      {Weighting::GivenErrors, "error weighted "},
      {Weighting::Statistical, "statistically weighted "},
      {Weighting::Logarithmic, "logarithmically weighted "},
      {Weighting::None, "unweighted "}};
  for (const auto& [weighting, word] : words) {
    inputs.acceptedFit = SummaryInputs::FitLine{weighting, "1.2340E-03"};
    EXPECT_EQ(Line(LayOut(SampleModel(), inputs), 432),  // y0 + 2h + 20
              "44:The " + word + "chi^2 of the fit is: 1.2340E-03");
  }
}

TEST(SummarySheet, AFunctionShowsItsFormulaAndItsParameters) {
  SampleModel model;
  model.type = SampleType::ProfileFunction;
  model.edtFunctionLayer = 2;
  model.edtNumCalcLayers = 20;
  model.edtLayerThickness = 5;
  model.function.builtInIndex = 2;  // oscillating: "A: amplitude, lam: wavelength, phi: phase"
  model.function.parameters = {0.123456789, 25.0, 0.5, 9, 9};
  const SummarySheet sheet = LayOut(model);
  EXPECT_EQ(Line(sheet, 672),
            "44:Function appended to layer no. 2 with 20 steps of 5 Å thickness.");
  EXPECT_EQ(Line(sheet, 702), "220:f(z)=A*cos(2*3.1415926535*z/lam+phi)");
  EXPECT_EQ(Line(sheet, 732), "440:A = 0.12346");
  EXPECT_EQ(Line(sheet, 762), "440: lam = 25");
  EXPECT_EQ(Line(sheet, 792), "440: phi = 0.5");
  EXPECT_EQ(LowestY(sheet), 792);

  // A user function: its expression, and the names as the model editor shows them.
  model.function.kind = FunctionKind::UserDefined;
  model.function.expression = "A*z+B";
  model.function.numParameters = 2;
  model.function.parameterNames = {"A", "B", "xsi", "D", "E"};
  model.function.parameters = {1.5e-7, 3, 4, 0, 0};
  const SummarySheet user = LayOut(model);
  EXPECT_EQ(Line(user, 702), "220:f(z) = A*z+B");
  EXPECT_EQ(Line(user, 732), "440:A = 1.5E-7");
  EXPECT_EQ(Line(user, 762), "440:B = 3");
  EXPECT_EQ(LowestY(user), 762);
}

TEST(SummarySheet, AMultilayerStackListsItsPeriodAndASymmetricFilmNothing) {
  SampleModel model;
  model.type = SampleType::MultipleLayers;
  model.edtInsertLayer = 1;
  model.edtRepts = 10;
  const SummarySheet sheet = LayOut(model);
  EXPECT_EQ(Line(sheet, 672), "44:Multilayer stack appended to layer no. 1 with 10 repetitions.");
  EXPECT_EQ(Line(sheet, 702), "220:No.|440:d / Å|660:rho / Å^-2|880:Im(rho) / Å^-2|1100:sigma / Å");
  EXPECT_EQ(Line(sheet, 732), "220:1|440:50|660:8e-6|880:0|1100:0");
  EXPECT_EQ(Line(sheet, 762), "220:2|440:11|660:5e-7|880:0|1100:0");
  EXPECT_EQ(LowestY(sheet), 762);

  model.type = SampleType::SymmetricFilm;
  EXPECT_EQ(LowestY(LayOut(model)), 612);
}

}  // namespace
}  // namespace quorrel
