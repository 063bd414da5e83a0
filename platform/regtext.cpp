// The registry tree and its Registry Editor 5.00 text. Reading is strict: the first fault stops it
// with the file and line, so a damaged hive is never taken for a smaller one. Writing produces the
// same format, so every hive is also an importable .reg file and every export a valid hive.
#include <unicode/utf8.h>

#include <cstdio>

#include "platform/codepage.h"
#include "regtree.h"

namespace plat::reg::detail {

namespace {

// The map key a name sorts and matches by.
std::u16string foldedName(std::wstring_view name) { return utf16(upperCase(name)); }

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view trim(std::wstring_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool startsWithNoCase(std::wstring_view s, std::wstring_view prefix) {
  return s.size() >= prefix.size() && equalNoCase(s.substr(0, prefix.size()), prefix);
}

int hexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// The number written in 1..maxDigits hex digits, or -1.
long long parseHex(std::wstring_view s, std::size_t maxDigits) {
  if (s.empty() || s.size() > maxDigits) return -1;
  long long n = 0;
  for (wchar_t c : s) {
    int d = hexDigit(c);
    if (d < 0) return -1;
    n = n * 16 + d;
  }
  return n;
}

class Parser {
 public:
  Parser(std::string_view source, const Root* onlyRoot) : source_(source), onlyRoot_(onlyRoot) {}

  std::vector<Op> parse(std::string_view bytes) {
    std::wstring text = decode(bytes);
    std::vector<std::wstring_view> lines;
    for (std::size_t start = 0; start <= text.size();) {
      std::size_t end = text.find(L'\n', start);
      if (end == std::wstring::npos) end = text.size();
      std::wstring_view line(text.data() + start, end - start);
      if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
      lines.push_back(line);
      start = end + 1;
    }
    bool headerSeen = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      line_ = static_cast<int>(i + 1);
      std::wstring_view first = trim(lines[i]);
      if (first.empty()) continue;
      if (!headerSeen) {
        if (first != L"Windows Registry Editor Version 5.00" && first != L"REGEDIT4")
          fail("expected \"Windows Registry Editor Version 5.00\"");
        headerSeen = true;
        continue;
      }
      if (first.front() == L';') continue;
      // A line ending in a backslash continues on the next one (long hex values).
      std::wstring logical(first);
      while (logical.front() != L'[' && logical.back() == L'\\' && i + 1 < lines.size()) {
        logical.pop_back();
        logical += trim(lines[++i]);
      }
      parseLine(logical);
    }
    return std::move(ops_);
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw HiveError("\"" + std::string(source_) + "\" line " + std::to_string(line_) + ": " + what);
  }

  // The text of the file: UTF-16LE after its byte-order mark, otherwise UTF-8 (BOM optional).
  std::wstring decode(std::string_view bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
      std::u16string units;
      for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8));
      return fromUtf16(units);
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    line_ = 1;
    for (int32_t i = 0, n = static_cast<int32_t>(bytes.size()); i < n;) {
      UChar32 c;
      U8_NEXT(bytes.data(), i, n, c);
      if (c < 0) fail("not UTF-8 text");
      if (c == '\n') ++line_;
    }
    return fromUtf8(bytes);
  }

  void parseLine(std::wstring_view line) {
    if (line.front() == L'[') return parseSection(line);
    if (line.front() == L'@' || line.front() == L'"') return parseValue(line);
    fail("unexpected text \"" + utf8(line.substr(0, 40)) + "\"");
  }

  void parseSection(std::wstring_view line) {
    if (line.back() != L']') fail("a key line must end with \"]\"");
    std::wstring_view name = line.substr(1, line.size() - 2);
    bool remove = !name.empty() && name.front() == L'-';
    if (remove) name.remove_prefix(1);
    auto parsed = parseKeyName(name);
    if (!parsed) fail("unknown root key in \"" + utf8(name) + "\"");
    if (onlyRoot_ && parsed->first != *onlyRoot_)
      fail("key outside " + utf8(rootName(*onlyRoot_)) + ": \"" + utf8(name) + "\"");
    std::vector<std::wstring> path = splitKeyPath(parsed->second);
    if (remove && path.empty()) fail("a root key cannot be deleted");
    root_ = parsed->first;
    path_ = path;
    inSection_ = true;
    sectionDeleted_ = remove;
    ops_.push_back(Op{remove ? Op::DeleteKey : Op::CreateKey, root_, std::move(path), {}});
  }

  void parseValue(std::wstring_view line) {
    if (!inSection_) fail("value outside a key");
    std::size_t pos = 0;
    Value value;
    if (line.front() == L'@') {
      pos = 1;
    } else {
      value.name = parseQuoted(line, pos);
    }
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != L'=') fail("expected \"=\" after the value name");
    std::wstring_view data = trim(line.substr(pos + 1));
    Op op{Op::SetValue, root_, path_, {}};
    if (data == L"-") {
      op.kind = Op::DeleteValue;
    } else if (!data.empty() && data.front() == L'"') {
      std::size_t end = 0;
      std::wstring text = parseQuoted(data, end);
      if (!trim(data.substr(end)).empty()) fail("unexpected text after the string");
      value.type = Type::Sz;
      value.data = stringData(text);
    } else if (startsWithNoCase(data, L"dword:")) {
      long long n = parseHex(data.substr(6), 8);
      if (n < 0) fail("bad dword value \"" + utf8(data) + "\"");
      value.type = Type::Dword;
      for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    } else if (startsWithNoCase(data, L"hex")) {
      parseHexValue(data.substr(3), value);
    } else {
      fail("unknown value type in \"" + utf8(data.substr(0, 40)) + "\"");
    }
    op.value = std::move(value);
    if (!sectionDeleted_) ops_.push_back(std::move(op));  // values of a deleted key are moot
  }

  // After "hex": "(type):" or ":" then comma-separated bytes.
  void parseHexValue(std::wstring_view rest, Value& value) {
    value.type = Type::Binary;
    if (!rest.empty() && rest.front() == L'(') {
      std::size_t close = rest.find(L')');
      long long type = close == std::wstring_view::npos ? -1 : parseHex(rest.substr(1, close - 1), 8);
      if (type < 0) fail("bad value type in \"hex" + utf8(rest.substr(0, 12)) + "\"");
      value.type = static_cast<Type>(type);
      rest.remove_prefix(close + 1);
    }
    if (rest.empty() || rest.front() != L':') fail("expected \":\" after \"hex\"");
    rest.remove_prefix(1);
    if (trim(rest).empty()) return;
    for (std::size_t start = 0;;) {
      std::size_t comma = rest.find(L',', start);
      std::wstring_view byte = trim(rest.substr(start, comma == std::wstring_view::npos
                                                           ? std::wstring_view::npos
                                                           : comma - start));
      bool last = comma == std::wstring_view::npos;
      if (!(last && byte.empty())) {  // a trailing comma is tolerated
        long long n = parseHex(byte, 2);
        if (n < 0) fail("bad hex byte \"" + utf8(byte) + "\"");
        value.data.push_back(static_cast<std::uint8_t>(n));
      }
      if (last) break;
      start = comma + 1;
    }
  }

  // A double-quoted text at line[pos] with the escapes \\ \" \n \r \0; pos ends after the quote.
  std::wstring parseQuoted(std::wstring_view line, std::size_t& pos) {
    std::wstring out;
    for (std::size_t i = pos + 1; i < line.size(); ++i) {
      wchar_t c = line[i];
      if (c == L'"') {
        pos = i + 1;
        return out;
      }
      if (c == L'\\') {
        if (++i >= line.size()) break;
        switch (line[i]) {
          case L'\\': out += L'\\'; break;
          case L'"': out += L'"'; break;
          case L'n': out += L'\n'; break;
          case L'r': out += L'\r'; break;
          case L'0': out += L'\0'; break;
          default: fail("unknown escape \"\\" + utf8(line.substr(i, 1)) + "\"");
        }
      } else {
        out += c;
      }
    }
    fail("unterminated string");
  }

  std::string_view source_;
  const Root* onlyRoot_;
  int line_ = 0;
  bool inSection_ = false, sectionDeleted_ = false;
  Root root_ = Root::LocalMachine;
  std::vector<std::wstring> path_;
  std::vector<Op> ops_;
};

// Writes a name or string text between quotes, escaping what the reader unescapes.
std::string quoted(std::wstring_view text) {
  std::string out = "\"";
  for (wchar_t c : text) {
    switch (c) {
      case L'\\': out += "\\\\"; break;
      case L'"': out += "\\\""; break;
      case L'\n': out += "\\n"; break;
      case L'\r': out += "\\r"; break;
      case L'\0': out += "\\0"; break;
      default: out += utf8(std::wstring_view(&c, 1));
    }
  }
  return out + "\"";
}

// The text of a string value when it can be written as "text": well-formed UTF-16 ending in one
// terminator, with no line break or other NUL inside.
std::optional<std::wstring> plainText(const Value& value) {
  const auto& d = value.data;
  if (value.type != Type::Sz || d.size() < 2 || d.size() % 2 || d[d.size() - 1] || d[d.size() - 2])
    return std::nullopt;
  std::u16string units;
  for (std::size_t i = 0; i + 2 < d.size(); i += 2)
    units.push_back(static_cast<char16_t>(d[i] | d[i + 1] << 8));
  std::wstring text = fromUtf16(units);
  if (utf16(text) != units || text.find_first_of(std::wstring_view(L"\n\r\0", 3)) != std::wstring::npos)
    return std::nullopt;
  return text;
}

std::string valueLine(const Value& value) {
  std::string line = value.name.empty() ? "@=" : quoted(value.name) + "=";
  if (auto text = plainText(value)) return line + quoted(*text) + "\n";
  char buf[24];
  if (value.type == Type::Dword && value.data.size() == 4) {
    std::uint32_t n = value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
                      static_cast<std::uint32_t>(value.data[3]) << 24;
    std::snprintf(buf, sizeof buf, "dword:%08x\n", n);
    return line + buf;
  }
  if (value.type == Type::Binary) {
    line += "hex:";
  } else {
    std::snprintf(buf, sizeof buf, "hex(%x):", static_cast<unsigned>(value.type));
    line += buf;
  }
  // Bytes wrap as Registry Editor wraps them: a backslash after the comma, two spaces of indent.
  std::string out;
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02x", value.data[i]);
    line += buf;
    if (i + 1 == value.data.size()) break;
    line += ',';
    if (line.size() > 76) {
      out += line + "\\\n";
      line = "  ";
    }
  }
  return out + line + "\n";
}

void writeNode(std::string& out, const Node& node, const std::wstring& keyName, bool isHiveTop) {
  if (!isHiveTop || !node.values.empty()) {
    out += "\n[" + utf8(keyName) + "]\n";
    for (const Value& v : node.values) out += valueLine(v);
  }
  for (const auto& [folded, child] : node.subkeys)
    writeNode(out, *child, keyName + L"\\" + child->name, false);
}

}  // namespace

Node* Node::child(std::wstring_view name) const {
  auto it = subkeys.find(foldedName(name));
  return it == subkeys.end() ? nullptr : it->second.get();
}

Node& Node::addChild(std::wstring_view name) {
  auto& slot = subkeys[foldedName(name)];
  if (!slot) {
    slot = std::make_unique<Node>();
    slot->name = name;
  }
  return *slot;
}

bool Node::removeChild(std::wstring_view name) { return subkeys.erase(foldedName(name)) > 0; }

Value* Node::value(std::wstring_view name) {
  for (Value& v : values)
    if (equalNoCase(v.name, name)) return &v;
  return nullptr;
}

bool Node::setValue(const Value& v) {
  Value* existing = value(v.name);
  if (!existing) {
    values.push_back(v);
    return true;
  }
  if (existing->type == v.type && existing->data == v.data) return false;
  existing->type = v.type;  // the name keeps the case it was created with
  existing->data = v.data;
  return true;
}

bool Node::deleteValue(std::wstring_view name) {
  for (auto it = values.begin(); it != values.end(); ++it)
    if (equalNoCase(it->name, name)) {
      values.erase(it);
      return true;
    }
  return false;
}

std::vector<std::uint8_t> stringData(std::wstring_view text) {
  std::vector<std::uint8_t> out;
  for (char16_t u : utf16(text)) {
    out.push_back(static_cast<std::uint8_t>(u));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  out.insert(out.end(), {0, 0});
  return out;
}

std::vector<std::wstring> splitKeyPath(std::wstring_view path) {
  std::vector<std::wstring> parts;
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find(L'\\', start);
    if (end == std::wstring_view::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::vector<Op> parseRegText(std::string_view bytes, std::string_view sourceName,
                             const Root* onlyRoot) {
  return Parser(sourceName, onlyRoot).parse(bytes);
}

void applyOps(Node& tree, Root root, const std::vector<Op>& ops) {
  for (const Op& op : ops) {
    if (op.root != root) continue;
    if (op.kind == Op::DeleteKey) {
      Node* parent = &tree;
      for (std::size_t i = 0; parent && i + 1 < op.path.size(); ++i) parent = parent->child(op.path[i]);
      if (parent) parent->removeChild(op.path.back());
      continue;
    }
    Node* node = &tree;
    for (const auto& part : op.path) node = &node->addChild(part);
    if (op.kind == Op::SetValue) node->setValue(op.value);
    if (op.kind == Op::DeleteValue) node->deleteValue(op.value.name);
  }
}

std::string writeRegText(const Node& node, const std::wstring& keyName, bool isHiveTop) {
  std::string out = "Windows Registry Editor Version 5.00\n";
  writeNode(out, node, keyName, isHiveTop);
  return out;
}

}  // namespace plat::reg::detail
