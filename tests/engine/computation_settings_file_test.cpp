#include "studies/computation_settings_file.h"

#include <gtest/gtest.h>

#include <tuple>

#include "model/file_io.h"
#include "tests/support/error_text.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::TempDir;

StoredComputationSettings Unusual() {
  StoredComputationSettings stored;
  ComputationSettings& s = stored.Page;
  s.SweepFreq = true;
  s.Frequency = "433.92";
  s.StartFreq = "30";
  s.StopFreq = "1e3";
  s.StepFreq = "1.05";
  s.LogSweep = true;
  s.FreqListCB = true;
  s.FrequencyList = {"100", "  150.5", "not a number", ""};
  s.IncField = true;
  s.IncTheta = "45";
  s.IncPhi = "90";
  s.IncPol = "30";
  s.ImpFile = false;
  s.FarField = true;
  s.ThetaStart = "-90";
  s.ThetaStop = "90";
  s.ThetaStep = "0.5";
  s.PhiStart = "0";
  s.PhiStop = "0";
  s.PhiStep = "1";
  s.RigSol = false;
  s.EffectivePermittivity = {EffectivePermittivityModel::ApproximateEvery, 7};
  s.Accuracy = SolverAccuracy::High;
  stored.SelectedFrequency = 433.92;
  return stored;
}

// Every entry the settings file stores, in the page's order.
auto Entries(const StoredComputationSettings& a) {
  const ComputationSettings& x = a.Page;
  return std::tie(x.SweepFreq, x.Frequency, x.StartFreq, x.StopFreq, x.StepFreq, x.LogSweep,
                  x.FreqListCB, x.FrequencyList, x.IncField, x.IncTheta, x.IncPhi, x.IncPol,
                  x.ImpFile, x.FarField, x.ThetaStart, x.ThetaStop, x.ThetaStep, x.PhiStart,
                  x.PhiStop, x.PhiStep, x.RigSol, x.EffectivePermittivity.Model,
                  x.EffectivePermittivity.Every, x.Accuracy, a.SelectedFrequency);
}

void ExpectSame(const StoredComputationSettings& a, const StoredComputationSettings& b) {
  EXPECT_EQ(Entries(a), Entries(b));
}

TEST(ComputationSettingsFile, EveryPageEntryComesBackAsTyped) {
  TempDir dir;
  const auto pro = dir / "board.PRO";
  EXPECT_FALSE(LoadComputationSettings(pro));  // no file yet: the page defaults
  SaveComputationSettings(pro, Unusual());
  EXPECT_TRUE(std::filesystem::exists(dir / "board.STG"));
  const auto loaded = LoadComputationSettings(pro);
  ASSERT_TRUE(loaded);
  ExpectSame(*loaded, Unusual());
  // The defaults survive a round trip as well, and every line ends in CR LF.
  const std::string text = FormatComputationSettings({});
  ExpectSame(ParseComputationSettings(text, "x"), {});
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
    EXPECT_EQ(text[at - 1], '\r');
}

TEST(ComputationSettingsFile, MissingEntriesTakeTheDefaultsAndLfIsRead) {
  const StoredComputationSettings stored = ParseComputationSettings(
      "{\"format\": \"lumetra-computation-settings\",\n \"frequency\": {\"single\": \"50\"},\n"
      " \"farField\": {\"compute\": true}}\n",
      "old.STG");
  const ComputationSettings& page = stored.Page;
  EXPECT_EQ(std::tie(page.Frequency, page.FarField, page.ThetaStep, page.StopFreq, page.ImpFile,
                     stored.SelectedFrequency),
            std::make_tuple("50", true, "2", "1000", true, 0.0));
  // A file from before the accuracy setting: its results were computed with the
  // standard model, and that is what it reopens with.
  EXPECT_EQ(stored.Page.Accuracy, SolverAccuracy::Standard);
  const std::string head = "{\"format\": \"lumetra-computation-settings\", ";
  EXPECT_EQ(ParseComputationSettings(head + "\"solver\": {}}", "s.STG").Page.Accuracy,
            SolverAccuracy::Standard);
  EXPECT_EQ(ParseComputationSettings(head + "\"solver\": {\"accuracy\": \"High\"}}", "s.STG")
                .Page.Accuracy,
            SolverAccuracy::High);
  EXPECT_NE(FormatComputationSettings({}).find("\"accuracy\": \"standard\""), std::string::npos);
}

TEST(ComputationSettingsFile, DamagedFilesAreRefusedWithTheFileAndWhat) {
  struct Case {
    const char* text;
    const char* message;
  };
  const std::string head = "{\"format\": \"lumetra-computation-settings\", ";
  const Case cases[] = {
      {"{\"format\": \"lumetra-computation-settings\",\n \"useLoads\": tru",
       "Error in file \"b.STG\", line 2: not a computation settings file"},
      {"[1, 2]", "Error in file \"b.STG\": the file must be a settings object"},
      {"{\"format\": \"something else\"}", "Error in file \"b.STG\": not a computation settings file"},
      {"{}", "Error in file \"b.STG\": not a computation settings file"},
      {"\xef\xbb\xbf\xff\xfe", "Error in file \"b.STG\", line 1: not a computation settings file"},
  };
  const auto error = [](const std::string& text) {
    return testing::ErrorText<FileError>([&] { ParseComputationSettings(text, "b.STG"); });
  };
  for (const Case& c : cases) EXPECT_EQ(error(c.text), c.message);
  const std::pair<std::string, std::string> wrongKinds[] = {
      {"\"useLoads\": \"yes\"}", "\"useLoads\" must be true or false"},
      {"\"frequency\": {\"single\": 300}}", "\"frequency.single\" must be a text"},
      {"\"frequency\": {\"list\": [\"1\", 2]}}", "\"frequency.list\" must be a list of texts"},
      {"\"frequency\": 5}", "\"frequency\" must be an object"},
      {"\"substrate\": {\"approximateEvery\": 100}}",
       "\"substrate.approximateEvery\" must be a whole number from 1 to 99"},
      {"\"substrate\": {\"approximateEvery\": 0.5}}",
       "\"substrate.approximateEvery\" must be a whole number from 1 to 99"},
      {"\"selectedFrequency\": \"100\"}", "\"selectedFrequency\" must be a number"},
      {"\"solver\": {\"accuracy\": \"highest\"}}",
       "\"solver.accuracy\" must be \"standard\" or \"high\""},
      {"\"solver\": {\"accuracy\": 2}}", "\"solver.accuracy\" must be a text"},
      {"\"solver\": \"high\"}", "\"solver\" must be an object"},
  };
  for (const auto& [entry, what] : wrongKinds)
    EXPECT_EQ(error(head + entry), "Error in file \"b.STG\": " + what);
}

}  // namespace
}  // namespace lumetra
