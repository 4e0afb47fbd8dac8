// The s-expression parser over good and hostile text: the tree it builds, and the
// line and column of every refusal.
#include "import/sexpr.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/file_io.h"
#include "tests/support/error_text.h"

namespace lumetra {
namespace {

std::string ErrorOf(const std::string& text, const SexprLimits& limits = {}) {
  return testing::ErrorText<FileError>([&] { ParseSexpr(text, "b.kicad_pcb", limits); });
}

TEST(Sexpr, BuildsTreeWithKindsPositionsAndEscapes) {
  const SexprNode root = ParseSexpr(
      "(kicad_pcb (version 20171130)\r\n  (net 1 \"a\\\"b\\\\c\") -0.5 .25 +3 F.Cu (x))\n", "f");
  EXPECT_EQ(root.Head(), "kicad_pcb");
  ASSERT_EQ(root.children.size(), 8u);
  const SexprNode &version = root.children[1], &net = root.children[2];
  using Kind = SexprNode::Kind;
  EXPECT_EQ(std::make_tuple(version.Head(), version.children[1].kind, version.children[1].text),
            std::make_tuple(std::string_view("version"), Kind::Number, "20171130"));
  EXPECT_EQ(std::tie(net.line, net.column, net.children[2].kind, net.children[2].text,
                     net.children[2].column),
            std::make_tuple(2u, 3u, Kind::String, "a\"b\\c", 10u));
  std::vector<Kind> kinds;
  for (std::size_t k = 3; k < 7; ++k) kinds.push_back(root.children[k].kind);
  EXPECT_EQ(kinds, (std::vector{Kind::Number, Kind::Number, Kind::Number, Kind::Symbol}));
  EXPECT_EQ(root.children[6].text, "F.Cu");
  EXPECT_TRUE(root.children[7].IsList());
}

TEST(Sexpr, QuotedStringMaySpanLinesAndCountsThem) {
  const SexprNode root = ParseSexpr("(a \"x\ny\" (b))", "f");
  EXPECT_EQ(std::tie(root.children[1].text, root.children[2].line, root.children[2].column),
            std::make_tuple("x\ny", 2u, 4u));
}

TEST(Sexpr, ReportsMalformedTextWithLineAndColumn) {
  const std::string after = "text after the closing parenthesis of the file";
  const std::pair<std::string, std::string> cases[] = {
      {"(kicad_pcb (version 1)\n  (net 0",
       "2, column 9: unexpected end of file, the list opened at line 2, column 3 is not closed"},
      {"(a (b)))\n", "1, column 8: " + after},
      {"(a) (b)", "1, column 5: " + after},
      {")", "1, column 1: \"(\" expected at the start of the file"},
      {"\n\n  (a \"abc", "3, column 6: unterminated string"},
      {"(a \"abc\\", "1, column 4: unterminated string"},
      {"   \n", "2, column 1: unexpected end of file, \"(\" expected"},
  };
  for (const auto& [text, error] : cases)
    EXPECT_EQ(ErrorOf(text), "Error in file \"b.kicad_pcb\", line " + error) << text;
}

TEST(Sexpr, MillionOpeningParenthesesStopAtTheDepthLimit) {
  const std::string deep(1'000'000, '(');
  EXPECT_EQ(ErrorOf(deep),
            "Error in file \"b.kicad_pcb\", line 1, column 201: lists nested more than 200 deep");
  // Exactly at the limit is still fine.
  const std::string ok = std::string(200, '(') + std::string(200, ')');
  EXPECT_NO_THROW(ParseSexpr(ok, "f"));
}

TEST(Sexpr, LimitsAtomLengthAndItemCount) {
  SexprLimits limits;
  limits.maxAtomBytes = 8;
  EXPECT_EQ(ErrorOf("(a 12345678 \"12345678\")", limits), "no error");
  EXPECT_EQ(ErrorOf("(a 123456789)", limits),
            "Error in file \"b.kicad_pcb\", line 1, column 4: text longer than 8 characters");
  EXPECT_EQ(ErrorOf("(a\n \"123456789\")", limits),
            "Error in file \"b.kicad_pcb\", line 2, column 2: text longer than 8 characters");
  limits = {};
  limits.maxNodes = 4;
  EXPECT_EQ(ErrorOf("(a b c)", limits), "no error");
  EXPECT_EQ(ErrorOf("(a b c d)", limits),
            "Error in file \"b.kicad_pcb\", line 1, column 8: more than 4 items");
}

}  // namespace
}  // namespace lumetra
