// What scripts read from an emission run: the JSON document's fields, the CSV
// columns and the verdict, each number where a reader expects it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "studies/emission/emission_outputs.h"

namespace lumetra::emission {
namespace {

EmissionResult TwoLineResult(const std::string& site) {
  EmissionResult result;
  result.SiteName = site;
  result.DistanceM = 10.0;
  result.LimitName = "cispr32-b";
  EmissionLine below;  // under the limit's range: no limit, no margin
  below.FrequencyMHz = 25.0;
  below.LevelDbuvM = 12.5;
  below.Where = {1e-4, 90.0, 45.0, 1.5, Polarisation::Horizontal};
  below.Sources = {{1, {0.5, -1.25}}};
  below.LargestSource = 1;
  EmissionLine failing;
  failing.FrequencyMHz = 275.0;
  failing.LevelDbuvM = 40.25;
  failing.LimitDbuvM = 37.0;
  failing.MarginDb = -3.25;
  failing.Where = {1e-3, 60.0, 180.0, 3.25, Polarisation::Vertical};
  failing.Sources = {{1, {0.1, 0.2}}, {2, {-0.3, 0.0}}};
  failing.LargestSource = 2;
  result.Lines = {below, failing};
  result.WorstMarginDb = -3.25;
  result.WorstLine = 1;
  return result;
}

TEST(EmissionOutputs, JsonCarriesEveryLineWithNullsWhereNoLimitApplies) {
  const nlohmann::json doc = nlohmann::json::parse(EmissionJson(TwoLineResult("sac")));
  EXPECT_EQ(doc["distance_m"], 10.0);
  EXPECT_EQ(doc["site"], "sac");
  EXPECT_EQ(doc["limit"], "cispr32-b");
  EXPECT_EQ(doc["worst_margin_db"], -3.25);
  EXPECT_EQ(doc["passed"], false);
  ASSERT_EQ(doc["lines"].size(), 2u);
  const nlohmann::json& first = doc["lines"][0];
  EXPECT_EQ(first["frequency_mhz"], 25.0);
  EXPECT_EQ(first["e_dbuv_m"], 12.5);
  EXPECT_TRUE(first["limit_dbuv_m"].is_null());
  EXPECT_TRUE(first["margin_db"].is_null());
  EXPECT_EQ(first["height_m"], 1.5);
  EXPECT_EQ(first["polarisation"], "horizontal");
  EXPECT_EQ(first["sources"][0]["number"], 1);
  EXPECT_EQ(first["sources"][0]["amplitude_v"], nlohmann::json({0.5, -1.25}));
  const nlohmann::json& second = doc["lines"][1];
  EXPECT_EQ(second["limit_dbuv_m"], 37.0);
  EXPECT_EQ(second["margin_db"], -3.25);
  EXPECT_EQ(second["theta_deg"], 60.0);
  EXPECT_EQ(second["phi_deg"], 180.0);
  EXPECT_EQ(second["polarisation"], "vertical");
  EXPECT_EQ(second["largest_source"], 2);
  EXPECT_EQ(second["sources"].size(), 2u);
  // The free site has no antenna height.
  const nlohmann::json free = nlohmann::json::parse(EmissionJson(TwoLineResult("free")));
  EXPECT_FALSE(free["lines"][0].contains("height_m"));
}

TEST(EmissionOutputs, CsvRowsAndVerdict) {
  const std::string csv = EmissionCsv(TwoLineResult("sac"));
  EXPECT_EQ(csv,
            "frequency_MHz,E_dBuV_m,limit_dBuV_m,margin_dB,theta_deg,phi_deg,height_m,"
            "polarisation,largest_source\r\n"
            "25,12.5000,,,90.00,45.00,1.500,horizontal,1\r\n"
            "275,40.2500,37.0000,-3.2500,60.00,180.00,3.250,vertical,2\r\n");
  EXPECT_EQ(VerdictText(TwoLineResult("sac")), "FAIL: worst margin -3.25 dB at 275 MHz");
  EmissionResult passing = TwoLineResult("sac");
  passing.Lines[1].MarginDb = passing.WorstMarginDb = 0.5;
  EXPECT_EQ(VerdictText(passing), "PASS: worst margin 0.50 dB at 275 MHz");
  EmissionResult noLimit = TwoLineResult("free");
  noLimit.LimitName.clear();
  noLimit.WorstMarginDb.reset();
  noLimit.WorstLine.reset();
  EXPECT_EQ(VerdictText(noLimit), "NO LIMIT: highest level 40.25 dBuV/m at 275 MHz");
  EXPECT_EQ(VerdictText(EmissionResult{}), "NO LINES: nothing was computed");
  const std::string table = EmissionTable(TwoLineResult("sac"));
  EXPECT_NE(table.find("-3.25  "), std::string::npos);
  EXPECT_NE(table.find("FAIL\n"), std::string::npos);
}

}  // namespace
}  // namespace lumetra::emission
