// A reader for s-expression text: nested lists of atoms in parentheses, the way
// board files of PCB design suites are written.
//
// The input is untrusted, so the parser is iterative (no recursion that a file of a
// million "(" could drive into a stack overflow) and bounded: nesting depth, atom
// length and the number of items are capped, and every refusal is a FileError
// naming the file, the line and the column.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

struct SexprNode {
  enum class Kind : std::uint8_t {
    List,
    Symbol,  // unquoted text that does not look like a number: segment, F.Cu, yes
    Number,  // unquoted text starting like a number: 12, -0.5, .25 (kept as text)
    String,  // quoted text, escapes resolved
  };
  Kind kind = Kind::List;
  std::uint32_t line = 1;    // 1-based, where the item starts
  std::uint32_t column = 1;  // 1-based byte column
  std::string text;                 // atoms only
  std::vector<SexprNode> children;  // lists only

  bool IsList() const { return kind == Kind::List; }
  bool IsAtom() const { return kind != Kind::List; }
  // The first child of a list when it is a symbol (the list's keyword), else "".
  std::string_view Head() const;
};

struct SexprLimits {
  std::size_t maxDepth = 200;
  std::size_t maxAtomBytes = 1u << 20;
  // A real board of 100 MB holds about 15 million items; this keeps the tree of a
  // hostile file within a few gigabytes.
  std::size_t maxNodes = 32'000'000;
};

// Parses text holding exactly one top-level list (whitespace around it allowed).
// Throws FileError: Error in file "<fileName>", line L, column C: <what>
SexprNode ParseSexpr(std::string_view text, const std::string& fileName,
                     const SexprLimits& limits = {});

// Throws FileError naming the file with the line and column of the given node.
[[noreturn]] void FailAtNode(const std::string& fileName, const SexprNode& node,
                             std::string_view what);
[[noreturn]] void FailAt(const std::string& fileName, std::size_t line, std::size_t column,
                         std::string_view what);

}  // namespace lumetra
