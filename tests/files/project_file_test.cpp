#include "files/project_file.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "common/error.h"
#include "files/model_file_writer.h"
#include "scratch_folder.h"

namespace quorrel {
namespace {

Project TwoContrastProject(const ScratchFolder& folder) {
  Project project;
  project.model.baseGrid.setCell(2, kColThickness, "25.50");
  project.settings.edtMaxQ = 0.3;
  project.settings.smearing = SmearingKernel::Accurate;
  project.settings.spinFlip = {true, 5.0, 0.244};
  project.model.baseGrid.setCell(2, kColThetaM, "30");
  for (const char* label : {"D2O", "H2O"}) {
    Measurement m;
    m.label = label;
    m.data.fileName = (folder / (std::string(label) + ".dat")).string();
    m.data.qz = {0.01, 0.0200000000000000004, 0.1 / 3};
    m.data.r = {0.9, 0.1, 1.2345678901234567e-7};
    m.data.dr = {0.01, 0.001, 1e-9};
    m.data.sqz = {1e-4, 2e-4, 3e-4};
    m.data.fitRegionLow = 0.015;
    m.scale = 0.9;
    m.background = {true, BackgroundKind::Linear, 1e-7, 2e-6, 0, 0, 0};
    m.resolution = ResolutionSource::Data;
    project.measurements.push_back(m);
  }
  project.measurements[1].overrides.push_back({8, -0.56e-6});
  project.measurements[1].channel = SpinChannel::UpDown;
  project.fit.entries = {{3, true, {10.0, 40.0}, "", "d_1"}, {5, false, {}, "0.5 * d_1", ""}};
  project.fit.weighting = Weighting::GivenErrors;
  project.lastFit = FitRecord{"2026-12-09T04:00:00Z", FitMethod::LevenbergMarquardt,
                              Weighting::GivenErrors, 1.04, {{3, "d_1", 25.5, 0.3}}, {1.1, {}}};
  project.fit.method = FitMethod::DifferentialEvolution;
  project.sampling = SamplingRecord{"2026-12-09T04:10:00Z", 64, 400, 1500, 2,
                                    18446744073709551615ull, 0.43,
                                    {{3, "d_1", 25.51, 0.28, 0.31, 24.9, 26.1}}};
  return project;
}

TEST(ProjectFileTest, WhatIsWrittenReadsBackExactly) {
  ScratchFolder folder;
  const Project project = TwoContrastProject(folder);
  folder.write("D2O.dat", "0.01\t0.9\t0.01\n");
  WriteProjectFile(folder / "film.qproj", project);
  // A measurement of no channel writes none, as before channels were known.
  const std::string text = ProjectText(project, folder.path());
  EXPECT_EQ(text.find("channel:"), text.rfind("channel: \"R+-\""));
  const ProjectRead read = ReadProjectFile(folder / "film.qproj");
  const Project& back = read.project;
  EXPECT_EQ(ModelFileText(back.model, back.settings), ModelFileText(project.model, project.settings));
  EXPECT_EQ(back.settings.edtMaxQ, 0.3);
  EXPECT_EQ(back.settings.smearing, SmearingKernel::Accurate);
  EXPECT_EQ(back.settings.spinFlip, project.settings.spinFlip);
  EXPECT_EQ(back.model.baseGrid.cell(2, kColThetaM), "30");
  ASSERT_EQ(back.measurements.size(), 2u);
  for (std::size_t m = 0; m < 2; ++m) {
    const Measurement& a = project.measurements[m];
    const Measurement& b = back.measurements[m];
    EXPECT_EQ(b.label, a.label);
    EXPECT_EQ(b.data.qz, a.data.qz);  // bit for bit
    EXPECT_EQ(b.data.r, a.data.r);
    EXPECT_EQ(b.data.sqz, a.data.sqz);
    EXPECT_EQ(b.data.fitRegionLow, 0.015);
    EXPECT_EQ(b.data.fileName, a.data.fileName);
    EXPECT_EQ(b.scale, 0.9);
    EXPECT_EQ(b.background.kind, BackgroundKind::Linear);
    EXPECT_EQ(b.background.m, 2e-6);
    EXPECT_EQ(b.resolution, ResolutionSource::Data);
    EXPECT_EQ(b.channel, a.channel);
  }
  ASSERT_EQ(back.measurements[1].overrides.size(), 1u);
  EXPECT_EQ(back.measurements[1].overrides[0].value, -0.56e-6);
  ASSERT_EQ(back.fit.entries.size(), 2u);
  EXPECT_EQ(back.fit.entries[0].bounds.upper, 40.0);
  EXPECT_TRUE(std::isinf(back.fit.entries[1].bounds.lower));
  EXPECT_EQ(back.fit.entries[1].link, "0.5 * d_1");
  EXPECT_EQ(back.fit.entries[0].name, "d_1");
  EXPECT_EQ(back.fit.weighting, Weighting::GivenErrors);
  ASSERT_TRUE(back.lastFit);
  EXPECT_EQ(back.lastFit->values[0].error, 0.3);
  EXPECT_FALSE(back.lastFit->measurementChiSquares[1]);
  EXPECT_EQ(back.fit.method, FitMethod::DifferentialEvolution);
  ASSERT_TRUE(back.sampling && back.sampling->values.size() == 1u);
  EXPECT_EQ(back.sampling->seed, project.sampling->seed);
  EXPECT_EQ(back.sampling->thinning, 2);
  EXPECT_EQ(back.sampling->values[0].plus, 0.31);
  EXPECT_EQ(back.sampling->values[0].upper95, 26.1);
  // D2O.dat is there with the content it had when saved; H2O.dat never was.
  ASSERT_EQ(read.notes.size(), 1u);
  EXPECT_NE(read.notes[0].find("H2O.dat is not there"), std::string::npos) << read.notes[0];
  folder.write("D2O.dat", "0.01\t0.8\t0.01\n");
  const ProjectRead changed = ReadProjectFile(folder / "film.qproj");
  ASSERT_EQ(changed.notes.size(), 2u);
  EXPECT_NE(changed.notes[0].find("differs from the copy"), std::string::npos);
}

TEST(ProjectFileTest, AnUnknownFormatOrDamagedFileIsRefusedByName) {
  const auto refusal = [](const std::string& text) {
    try {
      ReadProjectText(text, "/p/film.qproj");
    } catch (const FileError& error) {
      return std::string(error.what());
    }
    return std::string("accepted");
  };
  EXPECT_NE(refusal("format: 2\nmodel: x\n").find("format 2, which this version"),
            std::string::npos);
  EXPECT_NE(refusal("just text").find("/p/film.qproj: line 1: not a project file"),
            std::string::npos);
  EXPECT_NE(refusal("format: 1\nmodel: [\n").find("/p/film.qproj: line"), std::string::npos);
  ScratchFolder folder;
  Project project = TwoContrastProject(folder);
  std::string text = ProjectText(project, folder.path());
  std::string shapeless = text;
  shapeless.replace(shapeless.find("settings:"), 9, "settings: 5\nx:");
  EXPECT_NE(refusal(shapeless).find("not a project file"), std::string::npos) << refusal(shapeless);
  std::string unknownChannel = text;
  const std::size_t channel = unknownChannel.find("\"R+-\"");
  unknownChannel.replace(channel, 5, "\"R+\"");
  const auto line = std::count(unknownChannel.begin(), unknownChannel.begin() + channel, '\n') + 1;
  EXPECT_EQ(refusal(unknownChannel), "/p/film.qproj: line " + std::to_string(line) +
                                         ": unknown channel 'R+' (R--, R-+, R+- or R++)");
  text.replace(text.find("0.9 0.01"), 3, "-0.9");
  EXPECT_NE(refusal(text).find("point 1 has R not above 0"), std::string::npos) << refusal(text);
}

}  // namespace
}  // namespace quorrel
