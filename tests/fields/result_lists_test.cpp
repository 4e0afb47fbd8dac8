// The result lists: cell formats, the frequency choice, the six list commands on
// real files, missing and damaged files, and the print layout.
#include "fields/result_lists.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "fields/result_lists_format.h"
#include "fields/result_lists_print.h"
#include "model/file_io.h"
#include "tests/fields/near_field_fixtures.h"
#include "tests/support/error_text.h"
#include "tests/support/expect_values.h"
#include "tests/support/recording_ui.h"

namespace lumetra {
namespace {

using testing::RecordingUi;
using testing::ResultBlockText;
using testing::TempDir;
using testing::WriteBytes;
using Rows = std::vector<std::vector<std::string>>;

TEST(ListCellFormats, ExponentAndFixedForms) {
  // Value, precision, text.
  using Case = std::tuple<double, int, const char*>;
  const Case exponent[] = {{0.001234, 4, "1.234E-03"},
                           {-1234.5678, 4, "-1.235E+03"},
                           {0.0, 4, "0.000E+00"},
                           {1.5e-120, 3, "1.50E-120"},
                           {9.9996, 4, "1.000E+01"}};
  for (auto [x, precision, text] : exponent) EXPECT_EQ(FormatListExponent(x, precision, 2), text);
  // Rounding that leaves only zeros shows no minus sign (-0.001, -1e-300); more
  // integer digits than the precision give the exponent form (123.4 to -1234).
  const Case fixed[] = {{45.678, 2, "46.00"},      {12.345, 3, "12.30"},  {-45.0, 2, "-45.00"},
                        {9.96, 2, "10.00"},        {0.0, 2, "0.00"},      {0.5, 2, "0.50"},
                        {0.006, 2, "0.01"},        {0.0999, 2, "0.10"},   {-0.001, 2, "0.00"},
                        {-1e-300, 3, "0.00"},      {123.4, 2, "1.2E+02"}, {99.6, 2, "1.0E+02"},
                        {-1234.0, 3, "-1.23E+03"}, {999.0, 3, "999.00"}};
  for (auto [x, precision, text] : fixed) EXPECT_EQ(FormatListFixed(x, precision, 2), text) << x;
}

TEST(ListCellFormats, PhaseStaysWithinPlusMinusNinety) {
  EXPECT_EQ(FormatListExponent(ListMagnitude(-1, 1), 4, 2), "1.414E+00");
  std::vector<std::string> phases;
  for (auto [re, im] : {std::pair{-1, 1}, {0, -2}, {0, 2}, {-1, -1}})
    phases.push_back(FormatListFixed(ListPhase(re, im, false), 2, 2));
  EXPECT_EQ(phases, (std::vector<std::string>{"-45.00", "-90.00", "90.00", "45.00"}));
  EXPECT_EQ(ListMagnitude(0, 0), 0.0);
  EXPECT_EQ(ListMagnitude(1e300, 1e300), std::hypot(1e300, 1e300));
  // The near-field lists take a tiny real part as zero; the current lists do not.
  EXPECT_EQ(std::make_tuple(ListPhase(1e-39, 3, true), ListPhase(-1e-39, -3, true)),
            std::make_tuple(90.0, -90.0));
  testing::ExpectNear({ListPhase(1e-39, 3, false), ListPhase(-1e-39, 3, false)}, {90.0, -90.0},
                      1e-9);
}

// A project directory with the result files written as text.
struct Results {
  TempDir dir;
  std::filesystem::path pro = dir / "r.PRO";
  void Write(const char* extension, const std::string& text) {
    WriteBytes(ProjectFileWithExtension(pro, extension), text);
  }
};

// A chooser that records what the dialog offered and answers with a fixed choice.
struct Dialog {
  std::optional<std::size_t> answer;
  std::vector<std::vector<std::string>> shown;
  FrequencyChooser Chooser() {
    return [this](const std::vector<std::string>& entries) {
      shown.push_back(entries);
      return answer;
    };
  }
};

TEST(ResultLists, SingleBlockIsListedWithoutAsking) {
  Results r;
  r.Write(".XXX", ResultBlockText(433.92, {{12.345, 7, 2, 0.5, -1, 1}, {14, 7, 2, 0.5, 0, -2}}));
  RecordingUi ui;
  Dialog dialog;
  const std::optional<ResultList> list = BuildResultList(r.pro, ListKind::Jx, ui, dialog.Chooser());
  ASSERT_TRUE(list);
  EXPECT_TRUE(dialog.shown.empty());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(std::tie(list->Title, list->Header[1]),
            std::make_tuple("Jx-current at 433.92 MHz", "Amp [A/m]"));
  EXPECT_EQ(list->Rows, (Rows{{"1", "1.414E+00", "-45.00", "2.00", "0.50", "-", "12.30", "7.00"},
                              {"2", "2.000E+00", "-90.00", "2.00", "0.50", "-", "14.00", "7.00"}}));
  EXPECT_EQ(ListWindowCaption(ListKind::Jx), "Current list");
}

TEST(ResultLists, SeveralBlocksAskTheDialogOfTheModesFile) {
  Results r;
  r.Write(".XXX", "");  // a layout of Jy elements only: the dialog reads .YYY
  r.Write(".YYY", ResultBlockText(100, {{0, 0, 1, 2, 1, 0}}) +
                      ResultBlockText(150.5, {{0, 0, 1, 2, 0, 3}, {0, 2, 1, 2, 0, 4}}));
  RecordingUi ui;
  Dialog dialog;
  dialog.answer = 1;
  std::optional<ResultList> list = BuildResultList(r.pro, ListKind::Jy, ui, dialog.Chooser());
  ASSERT_TRUE(list);
  EXPECT_EQ(dialog.shown, (std::vector<std::vector<std::string>>{{"100", "150.5"}}));
  EXPECT_EQ(list->Title, "Jy-current at 150.5 MHz");
  ASSERT_EQ(list->Rows.size(), 2u);
  EXPECT_EQ(std::tie(list->Rows[1][1], list->Rows[1][2]), std::make_tuple("4.000E+00", "90.00"));

  dialog.answer.reset();  // closed without OK, or nothing selected
  EXPECT_FALSE(BuildResultList(r.pro, ListKind::Jy, ui, dialog.Chooser()));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"You must select a frequency to list!"});

  // The empty .XXX has nothing to list even though the run had frequencies.
  ui.messages.clear();
  EXPECT_FALSE(BuildResultList(r.pro, ListKind::Jx, ui, dialog.Chooser()));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"There exist no data to list!"});
}

TEST(ResultLists, JzListsBothGroundPointFilesNumberedOn) {
  Results r;
  r.Write(".XXX",
          ResultBlockText(200, {{0, 0, 1, 1, 1, 0}}) + ResultBlockText(300, {{0, 0, 1, 1, 1, 0}}));
  // X, Y, a, b, h, Re, Im: a left-edge and a right-edge point, then a bottom-edge one.
  r.Write(".ZZX",
          ResultBlockText(200, {{10, 5, 0.5, 1, 1.6, 0.1, 0}}) +
              ResultBlockText(300, {{10, 5, 0.5, 1, 1.6, 1, 1}, {12, 5, -0.5, 1, 1.6, -1, 0}}));
  r.Write(".ZZY", ResultBlockText(200, {}) + ResultBlockText(300, {{20, 4.5, 2, 0.25, 1.6, 0, 0}}));
  RecordingUi ui;
  Dialog dialog;
  dialog.answer = 1;
  std::optional<ResultList> list = BuildResultList(r.pro, ListKind::Jz, ui, dialog.Chooser());
  ASSERT_TRUE(list);
  EXPECT_EQ(list->Title, "Jz-current at 300 MHz");
  EXPECT_EQ(list->Rows,
            (Rows{{"1", "1.414E+00", "45.00", "0.50", "1.00", "1.60", "10.00", "5.00"},
                  {"2", "1.000E+00", "0.00", "-0.50", "1.00", "1.60", "12.00", "5.00"},
                  {"3", "0.000E+00", "-90.00", "2.00", "0.25", "1.60", "20.00", "4.50"}}));

  // Only .ZZY there: its rows alone; neither: nothing to list.
  std::filesystem::remove(r.dir / "r.ZZX");
  list = BuildResultList(r.pro, ListKind::Jz, ui, dialog.Chooser());
  ASSERT_TRUE(list);
  ASSERT_EQ(list->Rows.size(), 1u);
  EXPECT_EQ(list->Rows[0][0], "1");
  std::filesystem::remove(r.dir / "r.ZZY");
  EXPECT_FALSE(BuildResultList(r.pro, ListKind::Jz, ui, dialog.Chooser()));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"There exist no data to list!"});
}

TEST(ResultLists, FarAndNearFieldRowsAndTheirDialogs) {
  Results r;
  r.Write(".RAD", ResultBlockText(1000, {{0, 0, 0.0123456, 0}, {2, 90, 1.5e-7, 123.456}}));
  r.Write(".NFE", ResultBlockText(50, {{-10, 0, 2.5, 1e-40, 2, -3, -4, 0, 0}}) +
                      ResultBlockText(60, {{1, 2, 3, 1, 1, 1, 1, 1, 1}}));
  r.Write(".NFH", ResultBlockText(50, {{-10, 0, 2.5, 1, 0, 0, 0, 0, 0}}) +
                      ResultBlockText(60, {{1, 2, 3, 0, -1, 0, 0, 0, 0}}));
  RecordingUi ui;
  Dialog dialog;
  std::optional<ResultList> list = BuildResultList(r.pro, ListKind::FarField, ui, dialog.Chooser());
  ASSERT_TRUE(list);
  EXPECT_EQ(list->Title, "Far-field at 1000 MHz");
  EXPECT_EQ(list->Rows, (Rows{{"1", "1.235E-02", "0.000E+00", "0.00", "0.00"},
                              {"2", "1.500E-07", "1.235E+02", "2.00", "90.00"}}));

  dialog.answer = 0;
  list = BuildResultList(r.pro, ListKind::ElectricField, ui, dialog.Chooser());
  ASSERT_TRUE(list);
  EXPECT_EQ(dialog.shown.back(), (std::vector<std::string>{"50", "60"}));
  EXPECT_EQ(std::tie(list->Title, list->Header[3]),
            std::make_tuple("Electric field at 50 MHz", "Ex [V/m]"));
  EXPECT_EQ(list->Rows, (Rows{{"-10.00", "0.00", "2.50", "2.00E+00", "90.00", "5.00E+00", "53.00",
                               "0.00E+00", "-90.00"}}));
  // The H list offers the frequencies of .NFE, as the dialog's "nfe" mode does.
  std::filesystem::remove(r.dir / "r.NFE");
  EXPECT_THROW(BuildResultList(r.pro, ListKind::MagneticField, ui, dialog.Chooser()), FileError);
  EXPECT_EQ(ListHeader(ListKind::MagneticField)[8], "Hz [deg]");
  EXPECT_EQ(ListWindowCaption(ListKind::MagneticField), "Near-field list");
  EXPECT_EQ(DialogModeName(DialogModeOf(ListKind::MagneticField)), "nfe");
  EXPECT_EQ(DialogModeName(DialogModeOf(ListKind::Jz)), "cur");
  EXPECT_EQ(DialogModeName(DialogModeOf(ListKind::FarField)), "rad");

  std::filesystem::remove(r.dir / "r.RAD");
  EXPECT_FALSE(BuildResultList(r.pro, ListKind::FarField, ui, dialog.Chooser()));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"There exist no data to list!"});
}

// The reader's errors themselves are result_readers_test's; here one reaches the
// user with the file and line, and a block a file lacks is never taken from another.
TEST(ResultLists, DamagedFilesNameFileAndLineAndNeverListTheWrongBlock) {
  {
    Results r;
    r.Write(".XXX", ResultBlockText(100, {{0, 0, 1, 1, 1, 0}}) + " 2.0E+0002 1\r\n 0 0 1 1 1 0x1\r\n");
    RecordingUi ui;
    Dialog dialog;
    dialog.answer = 0;
    EXPECT_PRED2(testing::Holds, testing::ErrorText<FileError>([&] {
                   BuildResultList(r.pro, ListKind::Jx, ui, dialog.Chooser());
                 }), "r.XXX\", line 4: number expected");
  }

  // A frequency the list's own file lacks (its partner carried the dialog).
  Results r;
  r.Write(".ZZX", ResultBlockText(100, {}) + ResultBlockText(200, {}));
  r.Write(".ZZY", ResultBlockText(100, {}) + ResultBlockText(300, {}));
  r.Write(".XXX",
          ResultBlockText(100, {{0, 0, 1, 1, 1, 0}}) + ResultBlockText(200, {{0, 0, 1, 1, 1, 0}}));
  RecordingUi ui;
  Dialog dialog;
  dialog.answer = 1;
  EXPECT_PRED2(testing::Holds, testing::ErrorText<FileError>([&] {
                 BuildResultList(r.pro, ListKind::Jz, ui, dialog.Chooser());
               }), "r.ZZY\": no results for 200 MHz");
}

TEST(ResultLists, PrintLayoutAlignsCellsAndNamesTheProject) {
  ResultList list;
  list.Kind = ListKind::FarField;
  list.Title = "Far-field at 1000 MHz";
  list.Header = ListHeader(ListKind::FarField);
  list.Rows = {{"1", "1.235E-02", "0.000E+00", "0.00", "0.00"},
               {"2", "1.500E-07", "12345678901", "100.00", "-90.00"}};
  EXPECT_EQ(FormatListPrintout(list, "/some/dir/board.PRO"),
            "Project: board.PRO\n"
            " \n"
            "Far-field at 1000 MHz\n"
            " \n"
            "ETheta [V]  EPhi [V]  Theta [deg]  Phi [deg]   \n"
            " \n"
            " 1.235E-02 0.000E+00      0.00      0.00 \n"
            " 1.500E-07 12345678901    100.00    -90.00 \n");

  // The near-field lists keep their column 0, the x coordinate.
  list.Kind = ListKind::ElectricField;
  list.Title = "Electric field at 50 MHz";
  list.Header = ListHeader(ListKind::ElectricField);
  list.Rows = {
      {"-10.00", "0.00", "2.50", "2.00E+00", "90.00", "5.00E+00", "53.00", "0.00E+00", "-90.00"}};
  const std::string page = FormatListPrintout(list, "nf.PRO");
  EXPECT_NE(page.find("x [mm]  y [mm]  z [mm]  Ex [V/m]"), std::string::npos) << page;
  EXPECT_NE(page.find("\n    -10.00      0.00      2.50  2.00E+00     90.00"), std::string::npos)
      << page;
}

}  // namespace
}  // namespace lumetra
