#include "toolkit/description_parser.h"

#include <algorithm>
#include <cctype>

namespace zentra {
namespace {

enum class Tok { End, Ident, Integer, String, Symbol };

struct Token {
  Tok kind = Tok::End;
  std::string text;  // identifier, decoded string, or the symbol
  std::int64_t integer = 0;
  int line = 0;
};

class Lexer {
 public:
  Lexer(const std::string& file, const std::string& text) : file_(file), text_(text) {}

  Token Next() {
    SkipSpace();
    Token t;
    t.line = line_;
    if (pos_ >= text_.size()) return t;
    const char c = text_[pos_];
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      t.kind = Tok::Ident;
      while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) ||
                                     text_[pos_] == '_' || text_[pos_] == '.'))
        t.text += text_[pos_++];
      if (t.text.back() == '.' || t.text.find("..") != std::string::npos)
        Fail(t.line, "malformed name " + t.text);
      return t;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '$') {
      t.kind = Tok::Integer;
      bool negative = false;
      if (c == '-') {
        negative = true;
        ++pos_;
        SkipSpace();
      }
      int base = 10;
      if (pos_ < text_.size() && text_[pos_] == '$') {
        base = 16;
        ++pos_;
      }
      std::string digits;
      while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_])))
        digits += text_[pos_++];
      if (digits.empty() || (base == 10 && digits.find_first_not_of("0123456789") != std::string::npos))
        Fail(t.line, "malformed number");
      if (pos_ < text_.size() && (std::isalpha(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.'))
        Fail(t.line, "malformed number");
      if (digits.size() > 12) Fail(t.line, "number too large");
      t.integer = std::stoll(digits, nullptr, base);
      if (negative) t.integer = -t.integer;
      return t;
    }
    if (c == '\'' || c == '#') {
      t.kind = Tok::String;
      t.text = ReadStringPieces(t.line);
      return t;
    }
    if (std::string("=:[](),+").find(c) != std::string::npos) {
      t.kind = Tok::Symbol;
      t.text = std::string(1, c);
      ++pos_;
      return t;
    }
    Fail(t.line, std::string("unexpected character '") + c + "'");
    return t;
  }

  [[noreturn]] void Fail(int line, const std::string& what) const {
    throw DescriptionError(file_, line, what);
  }

 private:
  void SkipSpace() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  // 'quoted' parts ('' is one quote) and #nn character codes, adjacent.
  std::string ReadStringPieces(int line) {
    std::string out;
    while (pos_ < text_.size()) {
      if (text_[pos_] == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= text_.size() || text_[pos_] == '\n') Fail(line, "unterminated string");
          if (text_[pos_] == '\'') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
              out += '\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          out += text_[pos_++];
        }
      } else if (text_[pos_] == '#') {
        ++pos_;
        std::string digits;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
          digits += text_[pos_++];
        if (digits.empty() || digits.size() > 3 || std::stoi(digits) > 127)
          Fail(line, "malformed character code (#0 to #127)");
        out += static_cast<char>(std::stoi(digits));
      } else {
        break;
      }
    }
    return out;
  }

  const std::string& file_;
  const std::string& text_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

class Parser {
 public:
  // chain: the files whose includes led here, outermost first.
  Parser(const std::string& file, const std::string& text, const DescriptionSource& source,
         std::vector<std::string> chain)
      : file_(file), lexer_(file_, text), source_(source), chain_(std::move(chain)) {
    chain_.push_back(file);
    Advance();
  }

  ObjectNode ParseRoot() {
    ObjectNode root = ParseObject();
    if (cur_.kind != Tok::End) lexer_.Fail(cur_.line, "text after the final 'end'");
    return root;
  }

  // An included description: any number of objects and includes.
  std::vector<ObjectNode> ParseFragment() {
    std::vector<ObjectNode> objects;
    while (cur_.kind != Tok::End) {
      if (IsIdent("include"))
        ParseInclude(objects);
      else
        objects.push_back(ParseObject());
    }
    return objects;
  }

 private:
  void Advance() { cur_ = lexer_.Next(); }

  bool IsIdent(const char* word) const { return cur_.kind == Tok::Ident && cur_.text == word; }
  bool IsSymbol(char s) const { return cur_.kind == Tok::Symbol && cur_.text[0] == s; }

  std::string ExpectIdent(const char* what) {
    if (cur_.kind != Tok::Ident) lexer_.Fail(cur_.line, std::string("expected ") + what);
    std::string s = cur_.text;
    Advance();
    return s;
  }

  void ExpectSymbol(char s) {
    if (!IsSymbol(s)) lexer_.Fail(cur_.line, std::string("expected '") + s + "'");
    Advance();
  }

  ObjectNode ParseObject() {
    if (!IsIdent("object")) lexer_.Fail(cur_.line, "expected 'object'");
    ObjectNode node;
    node.file = file_;
    node.line = cur_.line;
    Advance();
    node.name = ExpectIdent("a component name");
    if (node.name.find('.') != std::string::npos) lexer_.Fail(node.line, "malformed component name");
    ExpectSymbol(':');
    node.className = ExpectIdent("a class name");
    bool objectsBegun = false;
    for (;;) {
      if (cur_.kind == Tok::End) lexer_.Fail(cur_.line, "missing 'end' of " + node.name);
      if (IsIdent("end")) {
        Advance();
        return node;
      }
      if (IsIdent("object")) {
        node.children.push_back(ParseObject());
        objectsBegun = true;
        continue;
      }
      if (IsIdent("include")) {
        ParseInclude(node.children);
        objectsBegun = true;
        continue;
      }
      if (objectsBegun)
        lexer_.Fail(cur_.line, "property after a nested object; write properties first");
      PropertyNode prop;
      prop.line = cur_.line;
      prop.name = ExpectIdent("a property name");
      ExpectSymbol('=');
      prop.value = ParseValue();
      node.properties.push_back(std::move(prop));
    }
  }

  // include 'file.wnd'  Name = value ...  end: appends the objects of that
  // description, its ${Name} replaced by the values given here.
  void ParseInclude(std::vector<ObjectNode>& objects) {
    const int line = cur_.line;
    Advance();
    if (cur_.kind != Tok::String) lexer_.Fail(line, "expected the included file name ('meter.wnd')");
    const std::string name = cur_.text;
    Advance();
    DescriptionParameters parameters;
    std::map<std::string, int> parameterLines;
    while (!IsIdent("end")) {
      if (cur_.kind == Tok::End) lexer_.Fail(cur_.line, "missing 'end' of the include of " + name);
      const int parameterLine = cur_.line;
      const std::string parameter = ExpectIdent("a parameter name or 'end'");
      ExpectSymbol('=');
      std::string value;
      if (cur_.kind == Tok::Integer)
        value = std::to_string(cur_.integer);
      else if (cur_.kind == Tok::String)
        value = QuotedAgain(cur_.text);
      else if (cur_.kind == Tok::Ident && cur_.text != "end")
        value = cur_.text;
      else
        lexer_.Fail(parameterLine, "missing value of the parameter " + parameter);
      Advance();
      if (!parameters.emplace(parameter, value).second)
        lexer_.Fail(parameterLine, "the parameter " + parameter + " is given twice");
      parameterLines[parameter] = parameterLine;
    }
    Advance();

    if (std::find(chain_.begin(), chain_.end(), name) != chain_.end()) {
      std::string path;
      for (const std::string& f : chain_) path += f + " -> ";
      lexer_.Fail(line, "recursive include of " + name + " (" + path + name + ")");
    }
    const std::optional<std::string> text = source_ ? source_(name) : std::nullopt;
    if (!text) lexer_.Fail(line, "included description " + name + " not found");
    std::set<std::string> used;
    const std::string expanded = ExpandDescriptionParameters(name, *text, parameters, &used);
    for (const auto& [parameter, value] : parameters)
      if (used.count(parameter) == 0)
        lexer_.Fail(parameterLines[parameter], name + " has no parameter " + parameter);
    Parser included(name, expanded, source_, chain_);
    for (ObjectNode& object : included.ParseFragment()) objects.push_back(std::move(object));
  }

  // A string parameter's text with each quote doubled again: written between
  // quotes in the included description, it reads back as the text given.
  static std::string QuotedAgain(const std::string& text) {
    std::string out;
    for (char c : text) {
      out += c;
      if (c == '\'') out += c;
    }
    return out;
  }

  PropertyValue ParseValue() {
    PropertyValue v;
    const int line = cur_.line;
    switch (cur_.kind) {
      case Tok::Integer:
        v.kind = PropertyValue::Kind::Integer;
        v.integer = cur_.integer;
        Advance();
        return v;
      case Tok::String:
        v.kind = PropertyValue::Kind::String;
        v.text = cur_.text;
        Advance();
        while (IsSymbol('+')) {
          Advance();
          if (cur_.kind != Tok::String) lexer_.Fail(cur_.line, "expected a string after '+'");
          v.text += cur_.text;
          Advance();
        }
        return v;
      case Tok::Ident:
        if (cur_.text == "object" || cur_.text == "end") lexer_.Fail(line, "missing value");
        v.kind = PropertyValue::Kind::Identifier;
        v.text = cur_.text;
        Advance();
        return v;
      case Tok::Symbol:
        if (IsSymbol('[')) {
          v.kind = PropertyValue::Kind::Set;
          Advance();
          while (!IsSymbol(']')) {
            v.items.push_back(ExpectIdent("a set member"));
            if (IsSymbol(',')) {
              Advance();
              if (IsSymbol(']')) lexer_.Fail(cur_.line, "expected a set member");
            } else if (!IsSymbol(']')) {
              lexer_.Fail(cur_.line, "expected ',' or ']'");
            }
          }
          Advance();
          return v;
        }
        if (IsSymbol('(')) {
          v.kind = PropertyValue::Kind::List;
          Advance();
          while (!IsSymbol(')')) {
            if (cur_.kind != Tok::String) lexer_.Fail(cur_.line, "expected a string or ')'");
            v.items.push_back(cur_.text);
            Advance();
          }
          Advance();
          return v;
        }
        break;
      default:
        break;
    }
    lexer_.Fail(line, "missing or malformed value");
  }

  std::string file_;
  Lexer lexer_;
  const DescriptionSource& source_;
  std::vector<std::string> chain_;
  Token cur_;
};

}  // namespace

ObjectNode ParseDescription(const std::string& fileName, const std::string& text,
                            const DescriptionSource& source) {
  Parser parser(fileName, text, source, {});
  return parser.ParseRoot();
}

}  // namespace zentra
