// The s-expression parser over good and hostile text: the tree it builds, and the
// line and column of every refusal.
#include "import/sexpr.h"

#include <gtest/gtest.h>

#include <string>

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
  const SexprNode& version = root.children[1];
  EXPECT_EQ(version.Head(), "version");
  EXPECT_EQ(version.children[1].kind, SexprNode::Kind::Number);
  EXPECT_EQ(version.children[1].text, "20171130");
  const SexprNode& net = root.children[2];
  EXPECT_EQ(net.line, 2u);
  EXPECT_EQ(net.column, 3u);
  EXPECT_EQ(net.children[2].kind, SexprNode::Kind::String);
  EXPECT_EQ(net.children[2].text, "a\"b\\c");
  EXPECT_EQ(net.children[2].column, 10u);
  EXPECT_EQ(root.children[3].kind, SexprNode::Kind::Number);
  EXPECT_EQ(root.children[4].kind, SexprNode::Kind::Number);
  EXPECT_EQ(root.children[5].kind, SexprNode::Kind::Number);
  EXPECT_EQ(root.children[6].kind, SexprNode::Kind::Symbol);
  EXPECT_EQ(root.children[6].text, "F.Cu");
  EXPECT_TRUE(root.children[7].IsList());
}

TEST(Sexpr, QuotedStringMaySpanLinesAndCountsThem) {
  const SexprNode root = ParseSexpr("(a \"x\ny\" (b))", "f");
  EXPECT_EQ(root.children[1].text, "x\ny");
  EXPECT_EQ(root.children[2].line, 2u);
  EXPECT_EQ(root.children[2].column, 4u);
}

TEST(Sexpr, ReportsMalformedTextWithLineAndColumn) {
  EXPECT_EQ(ErrorOf("(kicad_pcb (version 1)\n  (net 0"),
            "Error in file \"b.kicad_pcb\", line 2, column 9: unexpected end of file, the list "
            "opened at line 2, column 3 is not closed");
  EXPECT_EQ(ErrorOf("(a (b)))\n"),
            "Error in file \"b.kicad_pcb\", line 1, column 8: text after the closing "
            "parenthesis of the file");
  EXPECT_EQ(ErrorOf("(a) (b)"),
            "Error in file \"b.kicad_pcb\", line 1, column 5: text after the closing "
            "parenthesis of the file");
  EXPECT_EQ(ErrorOf(")"),
            "Error in file \"b.kicad_pcb\", line 1, column 1: \"(\" expected at the start of "
            "the file");
  EXPECT_EQ(ErrorOf("\n\n  (a \"abc"),
            "Error in file \"b.kicad_pcb\", line 3, column 6: unterminated string");
  EXPECT_EQ(ErrorOf("(a \"abc\\"),
            "Error in file \"b.kicad_pcb\", line 1, column 4: unterminated string");
  EXPECT_EQ(ErrorOf("   \n"),
            "Error in file \"b.kicad_pcb\", line 2, column 1: unexpected end of file, \"(\" "
            "expected");
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
