// Reads an XML property list: the elements plist, dict, key, array, string,
// integer, real, true, false, date and data, with the XML around them
// (declaration, document type, comments, processing instructions, character
// references, CDATA sections). Containers are kept on an explicit stack, so
// the depth of a file costs no stack; the limits of PlistValues.h apply
// before anything is built beyond them. Anything the writer could not write
// back unchanged is refused rather than altered.
#include <charconv>
#include <vector>

#include "json/Utf8.h"
#include "platform/plist/PlistValues.h"
#include "platform/plist/XmlScalar.h"

namespace taviro::plist {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == ':' || c == '.' || c == '-';
}

struct Tag {
  std::string_view name;
  bool closing = false;
  bool empty = false;  // <name/>
};

// An array or dictionary being read.
struct Frame {
  Value value;
  std::optional<std::string> key;  // a dictionary's key waiting for its value
};

class XmlReader {
 public:
  explicit XmlReader(std::string_view text) : s_(text) {}

  Parsed read() {
    if (s_.substr(0, 3) == "\xEF\xBB\xBF") i_ = 3;  // a UTF-8 byte-order mark
    if (auto problem = textProblem(s_.substr(i_))) return refuse("not a property list: " + *problem);
    if (!prolog()) return refuse();
    Tag tag;
    if (!readTag(tag) || tag.closing) return refuse(error("expected <plist>"));
    const bool wrapped = tag.name == "plist";
    if (wrapped && (tag.empty || !skipMisc() || !readTag(tag)))
      return refuse(error_.empty() ? error("an empty <plist>") : error_);
    if (!value(tag)) return refuse();
    if (wrapped && (!skipMisc() || !readTag(tag) || !tag.closing || tag.name != "plist"))
      return refuse(error_.empty() ? error("expected </plist>") : error_);
    if (!skipMisc() || i_ != s_.size()) return refuse(error("text after the property list"));
    return {std::move(root_), {}};
  }

 private:
  Parsed refuse(std::string why = {}) { return {std::nullopt, why.empty() ? error_ : why}; }

  std::string error(std::string_view what) {
    int line = 1;
    for (std::size_t k = 0; k < i_ && k < s_.size(); ++k) line += s_[k] == '\n';
    error_ = "not a property list (line " + std::to_string(line) + ": " + std::string(what) + ")";
    return error_;
  }
  bool fail(std::string_view what) {
    error(what);
    return false;
  }
  bool refuseValue(std::string_view what) {
    error_ = "it holds " + std::string(what);
    return false;
  }

  bool at(std::string_view p) const { return s_.compare(i_, p.size(), p) == 0; }

  // Skips to just past `end`; false when the text ends first.
  bool skipPast(std::string_view end, std::string_view what) {
    const std::size_t found = s_.find(end, i_);
    if (found == std::string_view::npos) return fail(std::string("unterminated ") + std::string(what));
    i_ = found + end.size();
    return true;
  }

  // White space, comments and processing instructions.
  bool skipMisc() {
    for (;;) {
      while (i_ < s_.size() && isSpace(s_[i_])) ++i_;
      if (at("<!--")) {
        if (!skipPast("-->", "comment")) return false;
      } else if (at("<?")) {
        if (!skipPast("?>", "processing instruction")) return false;
      } else {
        return true;
      }
    }
  }

  // The XML declaration, comments and at most one document type, whose
  // internal subset is skipped (entities declared there are not expanded).
  bool prolog() {
    if (!skipMisc()) return false;
    if (!at("<!DOCTYPE")) return true;
    char quote = 0;
    int brackets = 0;
    for (i_ += 9; i_ < s_.size(); ++i_) {
      const char c = s_[i_];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '[') {
        ++brackets;
      } else if (c == ']') {
        --brackets;
      } else if (c == '>' && brackets <= 0) {
        ++i_;
        return skipMisc();
      }
    }
    return fail("unterminated document type");
  }

  std::string_view name() {
    const std::size_t start = i_;
    while (i_ < s_.size() && isNameChar(s_[i_])) ++i_;
    return s_.substr(start, i_ - start);
  }

  void skipSpace() {
    while (i_ < s_.size() && isSpace(s_[i_])) ++i_;
  }

  // An element's start or end tag; attributes are read past and ignored.
  bool readTag(Tag& tag) {
    if (!at("<")) return fail(i_ < s_.size() ? "text outside a value" : "unexpected end");
    ++i_;
    tag = {};
    if (at("/")) {
      ++i_;
      tag.closing = true;
    }
    tag.name = name();
    if (tag.name.empty()) return fail("expected an element");
    for (;;) {
      skipSpace();
      if (at(">")) {
        ++i_;
        return true;
      }
      if (!tag.closing && at("/>")) {
        i_ += 2;
        tag.empty = true;
        return true;
      }
      if (tag.closing || name().empty()) return fail("malformed tag");
      skipSpace();
      if (!at("=")) return fail("malformed attribute");
      ++i_;
      skipSpace();
      const char quote = i_ < s_.size() ? s_[i_] : 0;
      if (quote != '"' && quote != '\'') return fail("malformed attribute");
      ++i_;
      if (!skipPast(std::string_view(&quote, 1), "attribute")) return false;
    }
  }

  // The text of a leaf element up to its end tag, references resolved and
  // line ends normalised as XML prescribes.
  bool text(const Tag& tag, std::string& out) {
    out.clear();
    if (tag.empty) return true;
    for (;;) {
      const std::size_t special = s_.find_first_of("&<\r", i_);
      if (special == std::string_view::npos) return fail("unexpected end");
      out.append(s_.substr(i_, special - i_));
      i_ = special;
      if (at("\r")) {
        ++i_;
        if (!at("\n")) out += '\n';
      } else if (at("&")) {
        if (!reference(out)) return false;
      } else if (at("<![CDATA[")) {
        const std::size_t start = i_ + 9;
        if (!skipPast("]]>", "CDATA section")) return false;
        out.append(s_.substr(start, i_ - 3 - start));
      } else if (at("<!--")) {
        if (!skipPast("-->", "comment")) return false;
      } else {
        Tag end;
        if (!readTag(end)) return false;
        if (!end.closing || end.name != tag.name)
          return fail("an element inside <" + std::string(tag.name) + ">");
        return true;
      }
    }
  }

  bool reference(std::string& out) {
    const std::size_t semicolon = s_.find(';', i_);
    if (semicolon == std::string_view::npos || semicolon - i_ > 12) return fail("malformed reference");
    const std::string_view ref = s_.substr(i_ + 1, semicolon - i_ - 1);
    static constexpr std::pair<std::string_view, char> kNamed[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [entity, c] : kNamed) {
      if (ref == entity) {
        out += c;
        i_ = semicolon + 1;
        return true;
      }
    }
    std::uint32_t code = 0;
    std::from_chars_result r{};
    if (ref.size() > 2 && ref[0] == '#' && (ref[1] == 'x' || ref[1] == 'X'))
      r = std::from_chars(ref.data() + 2, ref.data() + ref.size(), code, 16);
    else if (ref.size() > 1 && ref[0] == '#')
      r = std::from_chars(ref.data() + 1, ref.data() + ref.size(), code);
    else
      return fail("unknown entity &" + std::string(ref) + ";");
    if (r.ec != std::errc() || r.ptr != ref.data() + ref.size() || code > 0x10FFFF)
      return fail("malformed character reference");
    std::string encoded;
    json::appendUtf8(encoded, code);
    if (textProblem(encoded)) return fail("a character reference XML does not allow");
    out += encoded;
    i_ = semicolon + 1;
    return true;
  }

  // Reads the value that starts with `tag`, containers included.
  bool value(Tag tag) {
    std::string body;
    for (;;) {
      Value leaf;
      if (tag.closing) {
        if (stack_.empty() || tag.name != (stack_.back().value.isDict() ? "dict" : "array"))
          return fail("unexpected </" + std::string(tag.name) + ">");
        if (stack_.back().key) return fail("a key without a value");
        leaf = std::move(stack_.back().value);
        stack_.pop_back();
      } else if (tag.name == "dict" || tag.name == "array") {
        Value empty = tag.name == "dict" ? Value(Value::Dict{}) : Value(Value::Array{});
        if (tag.empty) {
          leaf = std::move(empty);
        } else {
          if (stack_.size() >= static_cast<std::size_t>(kMaxDepth)) return refuseValue(kTooDeep);
          stack_.push_back({std::move(empty), std::nullopt});
        }
      } else if (tag.name == "key") {
        if (stack_.empty() || !stack_.back().value.isDict() || stack_.back().key)
          return fail("a key outside a dictionary");
        if (!text(tag, body)) return false;
        if (stack_.back().value.asDict()->count(body)) return fail("the key \"" + body + "\" twice");
        stack_.back().key = body;
      } else {
        if (!text(tag, body)) return false;
        XmlScalar scalar = readXmlScalar(tag.name, body);
        if (!scalar.value) return scalar.refused ? refuseValue(scalar.problem) : fail(scalar.problem);
        leaf = std::move(*scalar.value);
      }
      if (!leaf.isNull() && !place(std::move(leaf))) return false;
      if (stack_.empty() && !root_.isNull()) return true;
      if (!skipMisc() || !readTag(tag)) return false;
    }
  }

  // Puts a finished value into the open container, or makes it the root.
  bool place(Value v) {
    if (++values_ > kMaxValues) return refuseValue(kTooManyValues);
    if (stack_.empty()) {
      root_ = std::move(v);
      return true;
    }
    Frame& top = stack_.back();
    if (Value::Array* a = top.value.asArray()) {
      a->push_back(std::move(v));
      return true;
    }
    if (!top.key) return fail("a value without a key");
    top.value.asDict()->emplace(std::move(*top.key), std::move(v));
    top.key.reset();
    return true;
  }

  std::string_view s_;
  std::size_t i_ = 0;
  std::vector<Frame> stack_;
  Value root_;
  std::size_t values_ = 0;
  std::string error_;
};

}  // namespace

Parsed parseXml(std::string_view text) { return XmlReader(text).read(); }

}  // namespace taviro::plist
