#include "files/orso_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "common/error.h"
#include "scratch_folder.h"
#include "scripted_questions.h"

namespace quorrel {
namespace {

const std::string kTwoSets = std::string(QUORREL_TEST_DATA) + "/ort/two_spin_states.ort";

constexpr const char* kFirstLine =
    "# # ORSO reflectivity data file | 1.0 standard | YAML encoding | "
    "https://www.reflectometry.org/\n";

//! A file of one data set whose columns are described by `columns` (YAML lines without "# ").
std::string OneSet(const std::string& columns, const std::string& rows) {
  std::string text = kFirstLine;
  text += "# data_source:\n#   experiment: {probe: x-ray}\n# columns:\n";
  std::size_t at = 0;
  while (at < columns.size()) {
    const std::size_t end = columns.find('\n', at);
    text += "# " + columns.substr(at, end - at) + "\n";
    at = end == std::string::npos ? columns.size() : end + 1;
  }
  return text + rows;
}

const std::string kFourColumns =
    "- {name: Qz, unit: 1/angstrom, physical_quantity: normal_wavevector_transfer}\n"
    "- {name: R, physical_quantity: reflectivity}\n"
    "- {error_of: R}\n"
    "- {error_of: Qz, error_type: resolution, value_is: sigma}";

struct Loaded {
  LoadOutcome outcome = LoadOutcome::Aborted;
  MeasuredData data;
  std::vector<std::string> notes;
  std::vector<std::string> questions;
};

Loaded Load(const std::filesystem::path& path, int index = 0,
            std::deque<LoadAnswer> answers = {}) {
  Loaded loaded;
  ScriptedQuestions questions(std::move(answers));
  loaded.outcome = LoadOrsoData(path, index, loaded.data, questions, loaded.notes);
  loaded.questions = questions.messages;
  return loaded;
}

TEST(OrsoFile, TwoDataSetsInInverseNanometresWithCommentsAndNoResolution) {
  EXPECT_EQ(OrsoDataSetNames(kTwoSets), (std::vector<std::string>{"spin up", "spin down"}));

  const Loaded up = Load(kTwoSets, 0);
  ASSERT_EQ(up.outcome, LoadOutcome::Loaded);
  ASSERT_EQ(up.data.count(), 3);
  EXPECT_DOUBLE_EQ(up.data.qz[0], 0.01);  // 0.1 nm⁻¹
  EXPECT_DOUBLE_EQ(up.data.qz[2], 0.03);
  EXPECT_EQ(up.data.r, (std::vector<double>{0.9, 0.05, 0.004}));
  EXPECT_EQ(up.data.dr, (std::vector<double>{0.01, 0.002, 0.0004}));
  EXPECT_FALSE(up.data.hasResolution());
  EXPECT_EQ(up.data.fileName, std::filesystem::absolute(kTwoSets).string());
  EXPECT_DOUBLE_EQ(up.data.fitRegionLow, 0.01);
  EXPECT_DOUBLE_EQ(up.data.fitRegionHigh, 0.03);
  EXPECT_TRUE(up.questions.empty());
  EXPECT_TRUE(up.notes.empty());

  // The second set keeps the first one's columns and overrides only its polarization.
  const Loaded down = Load(kTwoSets, 1);
  ASSERT_EQ(down.data.count(), 2);
  EXPECT_DOUBLE_EQ(down.data.qz[1], 0.02);
  EXPECT_EQ(down.data.r, (std::vector<double>{0.8, 0.03}));

  MeasuredData data;
  ScriptedQuestions questions;
  std::vector<std::string> notes;
  try {
    LoadOrsoData(kTwoSets, 2, data, questions, notes);
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()), kTwoSets + ": there is no data set 2 (0 to 1)");
  }
}

TEST(OrsoFile, TheResolutionColumnIsKeptAsOneStandardDeviation) {
  ScratchFolder folder;
  const Loaded sigma = Load(folder.write("sigma.ort", OneSet(kFourColumns,
                                                              "0.01 0.5 0.01 0.0002\n"
                                                              "0.02 0.1 0.005 0.0004\n")));
  EXPECT_EQ(sigma.data.sqz, (std::vector<double>{0.0002, 0.0004}));

  // A FWHM in 1/nm: sigma = FWHM / (2·√(2 ln 2)), and a tenth for Å⁻¹.
  const std::string fwhm =
      "- {name: Qz, unit: 1/nm}\n- {name: R}\n- {error_of: R}\n"
      "- {error_of: Qz, error_type: resolution, value_is: FWHM}";
  const Loaded wide = Load(folder.write("fwhm.ort", OneSet(fwhm, "0.1 0.5 0.01 0.02355\n")));
  ASSERT_EQ(wide.data.count(), 1);
  EXPECT_NEAR(wide.data.sqz[0], 0.02355 / 2.35482 / 10, 1e-9);

  // A rectangular FWHM w has the standard deviation w / √12.
  const std::string box = "- {name: Qz}\n- {name: R}\n- {error_of: R}\n"
                          "- {error_of: Qz, distribution: rectangular, value_is: FWHM}";
  EXPECT_NEAR(Load(folder.write("box.ort", OneSet(box, "0.1 0.5 0.01 0.012\n"))).data.sqz[0],
              0.012 / std::sqrt(12.0), 1e-15);
}

TEST(OrsoFile, AResolutionThatIsNotAWidthLeavesTheDataWithoutOne) {
  ScratchFolder folder;
  const Loaded unknown = Load(folder.write("nan.ort", OneSet(kFourColumns,
                                                             "0.01 0.5 nan nan\n"
                                                             "0.02 0.1 0.005 nan\n")));
  EXPECT_EQ(unknown.data.count(), 2);
  EXPECT_EQ(unknown.data.dr, (std::vector<double>{0.0, 0.005}));
  EXPECT_FALSE(unknown.data.hasResolution());
  EXPECT_EQ(unknown.notes,
            (std::vector<std::string>{"sQz is not a width in line 9: the data carry no resolution"}));

  const std::string lorentz = "- {name: Qz}\n- {name: R}\n- {error_of: Qz, distribution: lorentzian}";
  const Loaded lorentzian = Load(folder.write("l.ort", OneSet(lorentz, "0.01 0.5 0.001\n")));
  EXPECT_FALSE(lorentzian.data.hasResolution());
  EXPECT_EQ(lorentzian.notes,
            (std::vector<std::string>{
                "the sQz column is a lorentzian width, which has no standard deviation: it is "
                "not used",
                "the file gives no error of R: dR is 0"}));
}

TEST(OrsoFile, BadRowsAreAskedAboutWithTheirLine) {
  ScratchFolder folder;
  const auto path = folder.write("rows.ort", OneSet(kFourColumns,
                                                    "0.01 0.5 0.01 0.0002\n"
                                                    "0.02 0.1 0.01\n"
                                                    "0.03 abc 0.01 0.0002\n"
                                                    "0.04 0 0.01 0.0002\n"
                                                    "nan 0.1 0.01 0.0002\n"
                                                    "\n"
                                                    "0.05 0.2 0.01 0.0002\n"));
  const std::string file = path.string();
  const Loaded ignored = Load(path);
  EXPECT_EQ(ignored.questions,
            (std::vector<std::string>{
                "Ooops...\n" + file + ", line 10: 3 numbers where the header describes 4 columns",
                "Ooops...\n" + file + ", line 11: 'abc' is not a number",
                "Ooops...\n" + file + ", line 13: Qz or R is not a number"}));
  EXPECT_EQ(ignored.data.qz, (std::vector<double>{0.01, 0.05}));
  EXPECT_EQ(ignored.notes, std::vector<std::string>{
                               "1 rows with R not above zero dropped (the first in line 12)"});

  MeasuredData data;
  data.fileName = "/earlier/run.dat";
  data.qz = {0.5};
  ScriptedQuestions questions({LoadAnswer::Ignore, LoadAnswer::Abort});
  std::vector<std::string> notes;
  EXPECT_EQ(LoadOrsoData(path, 0, data, questions, notes), LoadOutcome::Aborted);
  EXPECT_EQ(data.fileName, "/earlier/run.dat");
  EXPECT_EQ(data.qz, std::vector<double>{0.5});
}

TEST(OrsoFile, RowsWithRNotAboveZeroAreDroppedAndToldOnce) {
  // A facility file counts nothing at some Qz: no question, one note with the count.
  ScratchFolder folder;
  const Loaded loaded = Load(folder.write("zeros.ort", OneSet(kFourColumns,
                                                              "0.01 0.5 0.01 0.0002\n"
                                                              "0.02 0 0 0.0002\n"
                                                              "0.03 0.1 0.01 0.0002\n"
                                                              "0.04 -1e-9 0 0.0002\n"
                                                              "0.05 0 0 0.0002\n")));
  EXPECT_TRUE(loaded.questions.empty());
  EXPECT_EQ(loaded.data.qz, (std::vector<double>{0.01, 0.03}));
  EXPECT_EQ(loaded.data.sqz, (std::vector<double>{0.0002, 0.0002}));
  EXPECT_EQ(loaded.notes, std::vector<std::string>{
                              "3 rows with R not above zero dropped (the first in line 10)"});
}

TEST(OrsoFile, TheStandardsColumnNamesAndPositionsNeedNoErrorOf) {
  ScratchFolder folder;
  const std::string rows = "0.1 0.5 0.01 0.002\n";
  // By name, by position when unnamed, in the units of Qz unless sQz names its own.
  for (const std::string& columns :
       {std::string("- {name: Qz, unit: 1/nm}\n- {name: R}\n- {name: sR}\n- {name: sQz}"),
        std::string("- {name: Qz, unit: 1/nm}\n- {name: R}\n- {unit: null}\n- {}"),
        std::string("- {name: Qz, unit: 1/nm}\n- {name: R}\n- {name: sR}\n"
                    "- {name: sQz, unit: 1/nm, value_is: sigma}")}) {
    const Loaded loaded = Load(folder.write("names.ort", OneSet(columns, rows)));
    ASSERT_EQ(loaded.data.count(), 1) << columns;
    EXPECT_EQ(loaded.data.dr, std::vector<double>{0.01}) << columns;
    ASSERT_TRUE(loaded.data.hasResolution()) << columns;
    EXPECT_DOUBLE_EQ(loaded.data.sqz[0], 0.0002) << columns;
    EXPECT_TRUE(loaded.notes.empty()) << columns;
  }
  // sQz in Å⁻¹ beside Qz in nm⁻¹, a FWHM by name; an explicit error_of still decides.
  const Loaded own = Load(folder.write("own.ort", OneSet(
      "- {name: Qz, unit: 1/nm}\n- {name: R}\n- {name: sR}\n"
      "- {name: sQz, unit: 1/angstrom, value_is: FWHM}", rows)));
  EXPECT_NEAR(own.data.sqz.at(0), 0.002 / 2.354820045, 1e-12);
  const Loaded swapped = Load(folder.write("swapped.ort", OneSet(
      "- {name: Qz}\n- {name: R}\n- {name: sR, error_of: Qz}\n- {name: sQz, error_of: R}",
      rows)));
  EXPECT_EQ(swapped.data.dr, std::vector<double>{0.002});
  EXPECT_EQ(swapped.data.sqz, std::vector<double>{0.01});
  // A named further column is neither.
  const Loaded other = Load(folder.write("other.ort", OneSet(
      "- {name: Qz}\n- {name: R}\n- {name: lambda, unit: angstrom}", "0.1 0.5 4.0\n")));
  EXPECT_EQ(other.data.dr, std::vector<double>{0.0});
  EXPECT_FALSE(other.data.hasResolution());
}

TEST(OrsoFile, EveryDataSetLoadsIntoAListOrNoneOnAbort) {
  std::vector<OrsoDataSet> sets;
  ScriptedQuestions questions;
  ASSERT_EQ(LoadOrsoDataSets(kTwoSets, sets, questions), LoadOutcome::Loaded);
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0].name, "spin up");
  EXPECT_EQ(sets[1].name, "spin down");
  EXPECT_EQ(sets[0].data.r, (std::vector<double>{0.9, 0.05, 0.004}));
  EXPECT_EQ(sets[1].data.r, (std::vector<double>{0.8, 0.03}));
  EXPECT_DOUBLE_EQ(sets[1].data.fitRegionHigh, 0.02);

  // A bad row in the second set, answered Abort, keeps the list as it was.
  ScratchFolder folder;
  std::string text = OneSet(kFourColumns, "0.01 0.5 0.01 0.0002\n") +
                     "# data_set: 1\n0.02 x 0.01 0.0002\n";
  const auto path = folder.write("abort.ort", text);
  ScriptedQuestions abort({LoadAnswer::Abort});
  EXPECT_EQ(LoadOrsoDataSets(path, sets, abort), LoadOutcome::Aborted);
  EXPECT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0].name, "spin up");
}

TEST(OrsoFile, MalformedHeadersAreRefusedNamingTheLine) {
  ScratchFolder folder;
  const std::string rows = "0.01 0.5 0.01 0.0002\n";
  struct Case {
    std::string text;
    std::string message;  // after "FILE: "
  };
  const std::vector<Case> cases{
      {"Qz R sR\n0.01 0.5 0.01\n",
       "line 1: not an ORSO reflectivity file (its first line must start with \"# # ORSO "
       "reflectivity data file\")"},
      {"# # ORSO reflectivity data file | 2.0 standard | YAML encoding\n",
       "line 1: ORSO format \"2.0 standard\" cannot be read (1.x can)"},
      {std::string(kFirstLine) + "# data_source: {owner: [unclosed\n# columns: []\n" + rows,
       "line 3: the header is not YAML: end of sequence flow not found"},
      {std::string(kFirstLine) + "# data_source:\n#   owner: somebody\n" + rows,
       "line 2: the header describes no columns (\"columns:\")"},
      {OneSet("- {name: Qz}\n- {name: sR}", rows), "line 5: no column holds R (name: R)"},
      {OneSet("- {name: R}", rows), "line 5: no column holds Qz (name: Qz)"},
      {OneSet("- {name: R}\n- {name: Qz, unit: 1/m}", rows),
       "line 6: Qz in '1/m' cannot be read (1/angstrom or 1/nm)"},
      {OneSet("- {name: Qz}\n- {name: R}\n- {error_of: R, value_is: HWHM}", rows),
       "line 7: the sR column's value_is 'HWHM' cannot be read (sigma or FWHM)"},
      {OneSet("- Qz\n- R", rows), "line 5: column 1 has no name"},
      {std::string(kFirstLine) + "# - just\n# - a list\n" + rows,
       "line 2: the header is not a set of \"key: value\" lines"},
  };
  for (const Case& c : cases) {
    const auto path = folder.write("bad.ort", c.text);
    try {
      OrsoDataSetNames(path);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const FileError& error) {
      EXPECT_EQ(std::string(error.what()), path.string() + ": " + c.message) << c.text;
    }
  }
}

TEST(OrsoFile, NoInputCrashesTheReader) {
  // Every prefix of a good file and random changes to it load or are refused with FileError.
  const std::string good = OneSet(kFourColumns, "0.01 0.5 0.01 0.0002\n0.02 0.1 0.005 4e-4\n") +
                           "# data_set: second\n# columns: [{name: Qz}, {name: R}]\n0.1 0.2\n";
  ScratchFolder folder;
  std::mt19937 random(7);
  const std::string noise = "#:-{}[],| \n\t0.e+xnaQzR'\"&*!%@";
  for (std::size_t cut = 0; cut <= good.size(); cut += 3) {
    std::string text = good.substr(0, cut);
    for (int change = 0; change < 3 && !text.empty(); ++change) {
      text[random() % text.size()] = noise[random() % noise.size()];
    }
    const auto path = folder.write("noise.ort", text);
    for (const int index : {0, 1}) {
      try {
        Load(path, index);
      } catch (const FileError&) {
        // refused with a message: fine
      }
    }
  }
}

TEST(OrsoFile, TheMostPointsLoadAndOneMoreIsRefused) {
  ScratchFolder folder;
  std::string rows;
  for (int i = 1; i <= MeasuredData::kMaxPoints; ++i) {
    rows += std::to_string(i * 1e-5) + " 0.5 0.01 0.0001\n";
  }
  const Loaded full = Load(folder.write("full.ort", OneSet(kFourColumns, rows)));
  EXPECT_EQ(full.data.count(), 100000);
  EXPECT_EQ(full.data.sqz.size(), 100000u);

  const auto over = folder.write("over.ort", OneSet(kFourColumns, rows + "2.0 0.5 0.01 0.0001\n"));
  try {
    Load(over);
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()),
              over.string() + ": data set \"0\" holds more than 100000 points, the most that a "
                              "data set can hold; nothing was loaded");
  }
}

}  // namespace
}  // namespace quorrel
