// Touchstone files: the layout other tools expect, the round trip, and damaged
// files that must be refused with the file and the line named.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "model/file_io.h"
#include "studies/network/touchstone.h"
#include "tests/support/temp_dir.h"

namespace lumetra::network {
namespace {

using testing::TempDir;

PortMatrix Sample(std::size_t n, double seed) {
  PortMatrix m(n);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j)
      m(i, j) = {std::sin(seed + 1.3 * i + 0.7 * j) * 0.8, std::cos(seed * 2 + i - 2.1 * j) * 0.5};
  return m;
}

TouchstoneData SampleData(std::size_t n, NetworkParameter parameter, PairFormat format) {
  TouchstoneData d;
  d.Parameter = parameter;
  d.Format = format;
  d.Ports = n;
  d.Comments = {"test network"};
  const double scale = parameter == NetworkParameter::Z ? 80.0 : parameter == NetworkParameter::Y ? 0.01 : 1.0;
  for (int k = 0; k < 3; ++k) {
    d.FrequenciesMHz.push_back(100.0 + 50.5 * k);
    PortMatrix m = Sample(n, k);
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j) m(i, j) *= scale;
    d.Matrices.push_back(m);
  }
  return d;
}

TEST(Touchstone, TwoPortRecordIsOneLineInColumnOrderWithCrLf) {
  TouchstoneData d;
  d.Ports = 2;
  d.Format = PairFormat::RI;
  PortMatrix m(2);
  m(0, 0) = {11, 0.5}, m(1, 0) = {21, 0}, m(0, 1) = {12, 0}, m(1, 1) = {22, -1};
  d.FrequenciesMHz = {250};
  d.Matrices = {m};
  EXPECT_EQ(FormatTouchstone(d), "# MHZ S RI R 50\r\n250 11 0.5 21 0 12 0 22 -1\r\n");
}

TEST(Touchstone, OptionLineNormalisationAndMatrixRows) {
  TouchstoneData d;
  d.Ports = 3;
  d.Parameter = NetworkParameter::Z;
  d.Format = PairFormat::MA;
  d.ReferenceOhms = {50};
  PortMatrix z(3);
  for (std::size_t i = 0; i < 3; ++i) z(i, i) = 100;  // 2 when normalised to 50 ohm
  d.FrequenciesMHz = {1};
  d.Matrices = {z};
  EXPECT_EQ(FormatTouchstone(d),
            "# MHZ Z MA R 50\r\n"
            "1 2 0 0 0 0 0\r\n"
            "  0 0 2 0 0 0\r\n"
            "  0 0 0 0 2 0\r\n");
  // Six ports: a row takes two lines, four pairs and two.
  d.Ports = 6;
  d.Parameter = NetworkParameter::S;
  d.Matrices = {PortMatrix::Identity(6)};
  const std::string text = FormatTouchstone(d);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 12);
  d.ReferenceOhms = {50, 75, 50, 50, 50, 50};
  EXPECT_EQ(FormatTouchstone(d).substr(0, 36), "# MHZ S MA R 50 75 50 50 50 50\r\n1 1 ");
  d.ReferenceOhms = {50, 75};
  EXPECT_THROW(FormatTouchstone(d), std::invalid_argument);
}

TEST(Touchstone, RoundTripGivesTheNumbersBackToThePrintedPrecision) {
  TempDir dir;
  for (std::size_t n : {1u, 2u, 3u, 4u, 5u})
    for (NetworkParameter parameter : {NetworkParameter::S, NetworkParameter::Z, NetworkParameter::Y})
      for (PairFormat format : {PairFormat::MA, PairFormat::DB, PairFormat::RI}) {
        SCOPED_TRACE(std::to_string(n) + ParameterName(parameter) + FormatName(format));
        TouchstoneData d = SampleData(n, parameter, format);
        if (n == 3) d.ReferenceOhms = {50, 75, 100};
        const auto path = dir / ("net.s" + std::to_string(n) + "p");
        WriteTouchstone(path, d);
        const TouchstoneData back = ReadTouchstone(path);
        EXPECT_EQ(back.Parameter, parameter);
        EXPECT_EQ(back.Format, format);
        EXPECT_EQ(back.ReferenceOhms, d.ReferenceOhms);
        ASSERT_EQ(back.FrequenciesMHz, d.FrequenciesMHz);
        for (std::size_t k = 0; k < d.Matrices.size(); ++k)
          for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j) {
              const Cplx a = d.Matrices[k](i, j), b = back.Matrices[k](i, j);
              EXPECT_LE(std::abs(a - b), 1e-10 * std::abs(a)) << i << j;
            }
      }
}

TEST(Touchstone, ReaderTakesOtherToolsSpellings) {
  // Lower case, GHz, comments at line ends, LF only, tabs, a 2-port with noise data.
  const std::string text =
      "! from an analyser\n# ghz s db r 75 ! trailing comment\n"
      "1.0\t-3 90 -20 0 -20 0 -3 -90\n2.0 -6 0 -26 0 -26 0 -6 0 ! second\n"
      "! noise\n1.0 2.5 0.5 45 10\n";
  const TouchstoneData d = ParseTouchstone(text, "analyser.s2p", 2);
  ASSERT_EQ(d.FrequenciesMHz, (std::vector<double>{1000, 2000}));
  EXPECT_EQ(d.ReferenceOhms, std::vector<double>{75});
  EXPECT_NEAR(std::abs(d.Matrices[0](0, 0)), std::pow(10, -3.0 / 20), 1e-12);
  EXPECT_NEAR(std::arg(d.Matrices[0](0, 0)), M_PI / 2, 1e-12);
  EXPECT_NEAR(std::abs(d.Matrices[0](1, 0)), 0.1, 1e-12);
  // Defaults: GHz, S, MA, 50 ohm.
  const TouchstoneData plain = ParseTouchstone("#\n1 0.5 0\n", "x.s1p", 1);
  EXPECT_EQ(plain.FrequenciesMHz[0], 1000);
  EXPECT_EQ(plain.Matrices[0](0, 0), Cplx(0.5, 0));
}

TEST(Touchstone, DamagedFilesNameTheFileAndTheLine) {
  struct Case {
    const char* text;
    const char* expected;
  };
  for (const Case& c : {
           Case{"1 0.5 0\n", "line 1: data before the option line"},
           Case{"# MHZ S MA R 50\n1 0.5\n", "line 2: the record of line 2 ends after 2 of its 3"},
           Case{"# MHZ S MA R 50\n1 0.5 x\n", "line 2: \"x\" is not a number"},
           Case{"# MHZ S MA R 50\n1 0.5 0 7\n", "line 2: more values than a 1-port record holds"},
           Case{"# MHZ S MA R 50\n2 0.5 0\n1 0.5 0\n", "line 3: the frequencies must ascend"},
           Case{"# MHZ Q MA R 50\n", "line 1: unknown word \"Q\""},
           Case{"# MHZ H MA R 50\n", "line 1: H parameters are not supported"},
           Case{"# MHZ S MA R\n1 0 0\n", "line 1: R needs the reference resistance"},
           Case{"# MHZ S MA R -5\n1 0 0\n", "line 1: a reference resistance must be positive"},
           Case{"# MHZ S MA R 50\n", "no network data"},
           Case{"! only a comment\n", "no option line"},
           Case{"# MHZ S MA R 50\n1 1e999 0\n", "line 2: value is not finite"},
           Case{"[Version] 2.0\n", "line 1: keyword [Version]"},
           Case{"# MHZ S MA R 50\n1 0.5\x01 0\n", "line 2: control character"},
           Case{"# MHZ S MA R 50\n-1 0.5 0\n", "line 2: negative frequency"},
           Case{"# MHZ S DB R 50\n1 7000 0\n", "line 2: value out of range"},
           Case{"# MHZ Z MA R 1e300\n1 1e300 0\n", "line 2: value out of range"},
           Case{"# GHZ S MA R 50\n1e306 0.5 0\n", "line 2: frequency out of range"},
       }) {
    SCOPED_TRACE(c.text);
    try {
      ParseTouchstone(c.text, "bad.s1p", 1);
      ADD_FAILURE() << "accepted";
    } catch (const FileError& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.rfind("Error in file \"bad.s1p\"", 0), 0u) << message;
      EXPECT_NE(message.find(c.expected), std::string::npos) << message;
    }
  }
  // A 2-port record split over lines is fine; one value short on the last is not.
  EXPECT_NO_THROW(ParseTouchstone("# MHZ S RI R 50\n1 1 0 0 0\n 0 0 1 0\n", "ok.s2p", 2));
  EXPECT_THROW(ParseTouchstone("# MHZ S RI R 50\n1 1 0 0 0\n 0 0 1\n", "bad.s2p", 2), FileError);
  // Per-port references must match the port count.
  EXPECT_THROW(ParseTouchstone("# MHZ S RI R 50 50 50\n1 1 0 0 0 0 0 1 0\n", "bad.s2p", 2),
               FileError);
}

TEST(Touchstone, PortCountComesFromTheName) {
  EXPECT_EQ(PortCountFromName("a/b.s2p"), 2u);
  EXPECT_EQ(PortCountFromName("B.S12P"), 12u);
  EXPECT_FALSE(PortCountFromName("b.s0p"));
  EXPECT_FALSE(PortCountFromName("b.s02p"));
  EXPECT_FALSE(PortCountFromName("b.snp"));
  EXPECT_FALSE(PortCountFromName("b.txt"));
  EXPECT_FALSE(PortCountFromName("b.s100p"));
  TempDir dir;
  EXPECT_THROW(ReadTouchstone(dir / "missing.s2p"), FileError);
  EXPECT_THROW(ReadTouchstone(dir / "name.txt"), FileError);
}

// Conversions against closed forms: a series impedance between two ports, and a
// shunt admittance at one.
TEST(PortMatrixConversions, SeriesAndShuntElementsGiveTheTextbookScattering) {
  // A series resistor R between two 50 ohm ports: S11 = R / (R + 100), S21 = 100 / (R + 100).
  const double r = 30;
  PortMatrix y(2);
  y(0, 0) = y(1, 1) = 1 / r;
  y(0, 1) = y(1, 0) = -1 / r;
  const auto s = ScatteringFromAdmittance(y, {50});
  ASSERT_TRUE(s);
  EXPECT_NEAR(std::abs((*s)(0, 0) - r / (r + 100)), 0, 1e-14);
  EXPECT_NEAR(std::abs((*s)(1, 0) - 100 / (r + 100)), 0, 1e-14);
  EXPECT_FALSE(Inverse(y));  // a floating series element has no Z matrix
  // A one-port Z = 50 + 50j against 50 ohm: S = (Z - 50)/(Z + 50); from Z and from Y alike.
  PortMatrix z(1);
  z(0, 0) = {50, 50};
  const Cplx expected = (z(0, 0) - 50.0) / (z(0, 0) + 50.0);
  EXPECT_NEAR(std::abs((*ScatteringFromImpedance(z, {50}))(0, 0) - expected), 0, 1e-15);
  EXPECT_NEAR(std::abs((*ScatteringFromAdmittance(*Inverse(z), {50}))(0, 0) - expected), 0, 1e-15);
  // Per-port references: a 75 ohm port with a 75 ohm load is matched.
  PortMatrix two(2);
  two(0, 0) = 50, two(1, 1) = 75;
  const auto matched = ScatteringFromImpedance(two, {50, 75});
  EXPECT_NEAR(std::abs((*matched)(1, 1)), 0, 1e-15);
  EXPECT_THROW(ScatteringFromImpedance(two, {50, 75, 100}), std::invalid_argument);
  EXPECT_THROW(ScatteringFromImpedance(two, {0}), std::invalid_argument);
  // Z Y = I for a random reciprocal pair.
  PortMatrix a(3);
  for (std::size_t i = 0; i < 3; ++i)
    for (std::size_t j = 0; j < 3; ++j) a(i, j) = a(j, i) = Cplx(1.0 + i + j * j, 0.3 * i - j) + (i == j ? 10.0 : 0.0);
  const PortMatrix product = a * *Inverse(a);
  for (std::size_t i = 0; i < 3; ++i)
    for (std::size_t j = 0; j < 3; ++j) EXPECT_NEAR(std::abs(product(i, j) - (i == j ? 1.0 : 0.0)), 0, 1e-14);
  EXPECT_EQ(ReciprocityError(a), 0.0);
}

}  // namespace
}  // namespace lumetra::network
