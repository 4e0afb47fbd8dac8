#include "import/sexpr.h"

#include "model/file_io.h"

namespace lumetra {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool EndsAtom(char c) { return IsSpace(c) || c == '(' || c == ')' || c == '"'; }

bool LooksLikeNumber(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  if (i < text.size() && text[i] == '.') ++i;
  return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

class Parser {
 public:
  Parser(std::string_view text, const std::string& fileName, const SexprLimits& limits)
      : text_(text), fileName_(fileName), limits_(limits) {}

  SexprNode Parse() {
    SkipSpace();
    if (pos_ >= text_.size()) Fail(line_, Column(), "unexpected end of file, \"(\" expected");
    if (text_[pos_] != '(') Fail(line_, Column(), "\"(\" expected at the start of the file");
    SexprNode root;
    root.line = line_;
    root.column = Column();
    ++pos_;
    CountNode();
    std::vector<SexprNode*> open{&root};
    while (!open.empty()) {
      SkipSpace();
      SexprNode& list = *open.back();
      if (pos_ >= text_.size())
        Fail(line_, Column(), "unexpected end of file, the list opened at line " +
                                  std::to_string(list.line) + ", column " +
                                  std::to_string(list.column) + " is not closed");
      const char c = text_[pos_];
      if (c == ')') {
        ++pos_;
        open.pop_back();
      } else if (c == '(') {
        if (open.size() >= limits_.maxDepth)
          Fail(line_, Column(), "lists nested more than " + std::to_string(limits_.maxDepth) +
                                    " deep");
        SexprNode& child = list.children.emplace_back();
        child.line = line_;
        child.column = Column();
        CountNode();
        ++pos_;
        open.push_back(&child);
      } else if (c == '"') {
        ReadString(list.children.emplace_back());
      } else {
        ReadSymbol(list.children.emplace_back());
      }
    }
    SkipSpace();
    if (pos_ < text_.size())
      Fail(line_, Column(), "text after the closing parenthesis of the file");
    return root;
  }

 private:
  std::uint32_t Column() const { return static_cast<std::uint32_t>(pos_ - lineStart_ + 1); }

  void NewLineAt(std::size_t newlinePos) {
    ++line_;
    lineStart_ = newlinePos + 1;
  }

  void SkipSpace() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) {
      if (text_[pos_] == '\n') NewLineAt(pos_);
      ++pos_;
    }
  }

  void CountNode() {
    if (++nodes_ > limits_.maxNodes)
      Fail(line_, Column(), "more than " + std::to_string(limits_.maxNodes) + " items");
  }

  void CheckLength(const SexprNode& node, std::size_t length) {
    if (length > limits_.maxAtomBytes)
      Fail(node.line, node.column,
           "text longer than " + std::to_string(limits_.maxAtomBytes) + " characters");
  }

  void ReadSymbol(SexprNode& node) {
    node.line = line_;
    node.column = Column();
    CountNode();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !EndsAtom(text_[pos_])) ++pos_;
    CheckLength(node, pos_ - start);
    node.text.assign(text_.substr(start, pos_ - start));
    node.kind = LooksLikeNumber(node.text) ? SexprNode::Kind::Number : SexprNode::Kind::Symbol;
  }

  void ReadString(SexprNode& node) {
    node.kind = SexprNode::Kind::String;
    node.line = line_;
    node.column = Column();
    CountNode();
    ++pos_;  // opening quote
    while (true) {
      if (pos_ >= text_.size()) Fail(node.line, node.column, "unterminated string");
      char c = text_[pos_++];
      if (c == '"') break;
      if (c == '\n') NewLineAt(pos_ - 1);
      if (c == '\\') {
        if (pos_ >= text_.size()) Fail(node.line, node.column, "unterminated string");
        const char escaped = text_[pos_++];
        switch (escaped) {
          case 'n': c = '\n'; break;
          case 't': c = '\t'; break;
          case 'r': c = '\r'; break;
          case '\n': NewLineAt(pos_ - 1); c = '\n'; break;
          default: c = escaped; break;  // \" \\ and anything else stand for themselves
        }
      }
      node.text.push_back(c);
      CheckLength(node, node.text.size());
    }
  }

  [[noreturn]] void Fail(std::size_t line, std::size_t column, const std::string& what) const {
    FailAt(fileName_, line, column, what);
  }

  std::string_view text_;
  const std::string& fileName_;
  const SexprLimits& limits_;
  std::size_t pos_ = 0;
  std::size_t lineStart_ = 0;
  std::uint32_t line_ = 1;
  std::size_t nodes_ = 0;
};

}  // namespace

std::string_view SexprNode::Head() const {
  if (kind != Kind::List || children.empty() || children.front().kind != Kind::Symbol)
    return {};
  return children.front().text;
}

SexprNode ParseSexpr(std::string_view text, const std::string& fileName,
                     const SexprLimits& limits) {
  return Parser(text, fileName, limits).Parse();
}

void FailAt(const std::string& fileName, std::size_t line, std::size_t column,
            std::string_view what) {
  throw FileError("Error in file \"" + fileName + "\", line " + std::to_string(line) +
                  ", column " + std::to_string(column) + ": " + std::string(what));
}

void FailAtNode(const std::string& fileName, const SexprNode& node, std::string_view what) {
  FailAt(fileName, node.line, node.column, what);
}

}  // namespace lumetra
