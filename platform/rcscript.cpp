// The resource-script reader and the C++ writer of its tables. Grammar: DIALOGEX blocks with
// STYLE, EXSTYLE, CAPTION, FONT and control statements (LTEXT, CTEXT, RTEXT, PUSHBUTTON,
// DEFPUSHBUTTON, CHECKBOX, AUTOCHECKBOX, RADIOBUTTON, AUTORADIOBUTTON, GROUPBOX, EDITTEXT,
// COMBOBOX, LISTBOX, SCROLLBAR, ICON, CONTROL) with the defaults the Windows resource compiler
// gives them; STRINGTABLE; "ID ICON GLYPH text, colour [, width, height]" and the same for BITMAP.
#include "platform/rcscript.h"

#include <cctype>
#include <map>
#include <vector>

#include "platform/codepage.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/window.h"

namespace plat {

namespace {

const std::map<std::string, std::uint32_t>& styleNames() {
  static const std::map<std::string, std::uint32_t> names = {
      {"WS_POPUP", WS_POPUP}, {"WS_CHILD", WS_CHILD}, {"WS_VISIBLE", WS_VISIBLE},
      {"WS_DISABLED", WS_DISABLED}, {"WS_CAPTION", WS_CAPTION}, {"WS_BORDER", WS_BORDER},
      {"WS_DLGFRAME", WS_DLGFRAME}, {"WS_VSCROLL", WS_VSCROLL}, {"WS_HSCROLL", WS_HSCROLL},
      {"WS_SYSMENU", WS_SYSMENU}, {"WS_THICKFRAME", WS_THICKFRAME}, {"WS_GROUP", WS_GROUP},
      {"WS_TABSTOP", WS_TABSTOP}, {"WS_EX_TOPMOST", WS_EX_TOPMOST},
      {"WS_EX_CLIENTEDGE", WS_EX_CLIENTEDGE}, {"WS_EX_STATICEDGE", WS_EX_STATICEDGE},
      {"DS_MODALFRAME", DS_MODALFRAME}, {"DS_SETFONT", DS_SETFONT}, {"DS_CENTER", DS_CENTER},
      {"DS_3DLOOK", DS_3DLOOK}, {"DS_SHELLFONT", DS_SETFONT},
      {"SS_LEFT", SS_LEFT}, {"SS_CENTER", SS_CENTER}, {"SS_RIGHT", SS_RIGHT}, {"SS_ICON", SS_ICON},
      {"SS_BLACKRECT", SS_BLACKRECT}, {"SS_GRAYRECT", SS_GRAYRECT}, {"SS_BLACKFRAME", SS_BLACKFRAME},
      {"SS_GRAYFRAME", SS_GRAYFRAME}, {"SS_BITMAP", SS_BITMAP}, {"SS_ETCHEDFRAME", SS_ETCHEDFRAME},
      {"SS_NOTIFY", SS_NOTIFY}, {"SS_CENTERIMAGE", SS_CENTERIMAGE}, {"SS_SUNKEN", SS_SUNKEN},
      {"BS_PUSHBUTTON", BS_PUSHBUTTON}, {"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON},
      {"BS_CHECKBOX", BS_CHECKBOX}, {"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX},
      {"BS_RADIOBUTTON", BS_RADIOBUTTON}, {"BS_AUTORADIOBUTTON", BS_AUTORADIOBUTTON},
      {"BS_3STATE", BS_3STATE}, {"BS_AUTO3STATE", BS_AUTO3STATE}, {"BS_GROUPBOX", BS_GROUPBOX},
      {"BS_ICON", BS_ICON}, {"BS_BITMAP", BS_BITMAP}, {"BS_PUSHLIKE", BS_PUSHLIKE},
      {"ES_LEFT", ES_LEFT}, {"ES_CENTER", ES_CENTER}, {"ES_RIGHT", ES_RIGHT},
      {"ES_MULTILINE", ES_MULTILINE}, {"ES_UPPERCASE", ES_UPPERCASE}, {"ES_LOWERCASE", ES_LOWERCASE},
      {"ES_PASSWORD", ES_PASSWORD}, {"ES_AUTOVSCROLL", ES_AUTOVSCROLL},
      {"ES_AUTOHSCROLL", ES_AUTOHSCROLL}, {"ES_READONLY", ES_READONLY},
      {"ES_WANTRETURN", ES_WANTRETURN}, {"ES_NUMBER", ES_NUMBER},
      {"LBS_NOTIFY", LBS_NOTIFY}, {"LBS_SORT", LBS_SORT}, {"LBS_NOINTEGRALHEIGHT", LBS_NOINTEGRALHEIGHT},
      {"CBS_SIMPLE", CBS_SIMPLE}, {"CBS_DROPDOWN", CBS_DROPDOWN}, {"CBS_DROPDOWNLIST", CBS_DROPDOWNLIST},
      {"CBS_SORT", CBS_SORT}, {"CBS_AUTOHSCROLL", CBS_AUTOHSCROLL},
      {"LVS_ICON", LVS_ICON}, {"LVS_REPORT", LVS_REPORT}, {"LVS_SMALLICON", LVS_SMALLICON},
      {"LVS_LIST", LVS_LIST}, {"LVS_SINGLESEL", LVS_SINGLESEL}, {"LVS_SHOWSELALWAYS", LVS_SHOWSELALWAYS},
      {"LVS_SORTASCENDING", LVS_SORTASCENDING}, {"LVS_SORTDESCENDING", LVS_SORTDESCENDING},
      {"LVS_EDITLABELS", LVS_EDITLABELS}, {"LVS_NOCOLUMNHEADER", LVS_NOCOLUMNHEADER},
      {"LVS_NOSORTHEADER", LVS_NOSORTHEADER}, {"TVS_HASBUTTONS", TVS_HASBUTTONS},
      {"TVS_HASLINES", TVS_HASLINES}, {"TVS_LINESATROOT", TVS_LINESATROOT},
      {"TVS_SHOWSELALWAYS", TVS_SHOWSELALWAYS}, {"SBS_HORZ", SBS_HORZ}, {"SBS_VERT", SBS_VERT},
  };
  return names;
}

struct Token {
  enum Kind { Word, Number, String, Punct, End } kind = End;
  std::string text;
  long long number = 0;
  int line = 0;
};

class Reader {
 public:
  Reader(std::string_view text, std::string_view name) : text_(text), name_(name) { advance(); }

  const Token& peek() const { return current_; }
  Token take() {
    Token t = current_;
    advance();
    return t;
  }
  [[noreturn]] void fail(const std::string& what) const {
    throw ResourceScriptError(std::string(name_) + "(" + std::to_string(current_.line) + "): " + what);
  }
  bool atWord(const char* word) const { return current_.kind == Token::Word && current_.text == word; }
  bool atPunct(char c) const { return current_.kind == Token::Punct && current_.text[0] == c; }
  void expectPunct(char c) {
    if (!atPunct(c)) fail(std::string("'") + c + "' expected");
    advance();
  }
  bool skipComma() {
    if (!atPunct(',')) return false;
    advance();
    return true;
  }
  long long number() {
    bool negative = false;
    if (atPunct('-')) negative = true, advance();
    if (current_.kind != Token::Number) fail("a number expected");
    return negative ? -take().number : take().number;
  }
  std::wstring string() {
    if (current_.kind != Token::String) fail("a quoted text expected");
    return fromUtf8(take().text);
  }
  // A style: names and numbers joined by "|", with "NOT name" removing bits from `base`.
  std::uint32_t style(std::uint32_t base = 0) {
    std::uint32_t value = base;
    for (;;) {
      bool negate = false;
      if (atWord("NOT")) negate = true, advance();
      std::uint32_t bits;
      if (current_.kind == Token::Number) {
        bits = std::uint32_t(take().number);
      } else if (current_.kind == Token::Word) {
        auto it = styleNames().find(current_.text);
        if (it == styleNames().end()) fail("unknown style " + current_.text);
        bits = it->second;
        advance();
      } else {
        fail("a style expected");
      }
      value = negate ? value & ~bits : value | bits;
      if (!atPunct('|')) return value;
      advance();
    }
  }

 private:
  void advance() {
    skipSpace();
    current_ = Token{};
    current_.line = line_;
    if (pos_ >= text_.size()) return;
    char c = text_[pos_];
    if (c == '"') {
      current_.kind = Token::String;
      ++pos_;
      for (;;) {
        if (pos_ >= text_.size() || text_[pos_] == '\n') fail("unclosed text");
        char d = text_[pos_++];
        if (d == '"') {
          if (pos_ < text_.size() && text_[pos_] == '"') { current_.text += '"'; ++pos_; continue; }
          break;
        }
        if (d == '\\' && pos_ < text_.size()) {
          char e = text_[pos_++];
          current_.text += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
          continue;
        }
        current_.text += d;
      }
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      current_.kind = Token::Number;
      std::size_t used = 0;
      current_.number = std::stoll(std::string(text_.substr(pos_, 20)), &used, 0);
      pos_ += used;
      if (pos_ < text_.size() && (text_[pos_] == 'L' || text_[pos_] == 'l')) ++pos_;
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      current_.kind = Token::Word;
      while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
        current_.text += text_[pos_++];
    } else {
      current_.kind = Token::Punct;
      current_.text = std::string(1, c);
      ++pos_;
    }
  }
  void skipSpace() {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\n') ++line_, ++pos_;
      else if (std::isspace(static_cast<unsigned char>(c))) ++pos_;
      else if (text_.substr(pos_, 2) == "//" || (c == '#' && atLineStart()))
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      else if (text_.substr(pos_, 2) == "/*") {
        std::size_t end = text_.find("*/", pos_ + 2);
        for (std::size_t i = pos_; i < std::min(end, text_.size()); ++i) line_ += text_[i] == '\n';
        pos_ = end == std::string_view::npos ? text_.size() : end + 2;
      } else break;
    }
  }
  bool atLineStart() const {
    for (std::size_t i = pos_; i > 0; --i) {
      if (text_[i - 1] == '\n') return true;
      if (!std::isspace(static_cast<unsigned char>(text_[i - 1]))) return false;
    }
    return true;
  }

  std::string_view text_, name_;
  std::size_t pos_ = 0;
  int line_ = 1;
  Token current_;
};

bool atBegin(Reader& r) { return r.atWord("BEGIN") || r.atPunct('{'); }
bool atEnd(Reader& r) { return r.atWord("END") || r.atPunct('}'); }

// The window class and default style of each control statement, as the resource compiler has them.
struct StatementKind {
  const char* className;
  std::uint32_t style;
  bool hasText;
};

const std::map<std::string, StatementKind>& statements() {
  static const std::map<std::string, StatementKind> kinds = {
      {"LTEXT", {"Static", SS_LEFT | WS_GROUP, true}},
      {"CTEXT", {"Static", SS_CENTER | WS_GROUP, true}},
      {"RTEXT", {"Static", SS_RIGHT | WS_GROUP, true}},
      {"PUSHBUTTON", {"Button", BS_PUSHBUTTON | WS_TABSTOP, true}},
      {"DEFPUSHBUTTON", {"Button", BS_DEFPUSHBUTTON | WS_TABSTOP, true}},
      {"CHECKBOX", {"Button", BS_CHECKBOX | WS_TABSTOP, true}},
      {"AUTOCHECKBOX", {"Button", BS_AUTOCHECKBOX | WS_TABSTOP, true}},
      {"RADIOBUTTON", {"Button", BS_RADIOBUTTON, true}},
      {"AUTORADIOBUTTON", {"Button", BS_AUTORADIOBUTTON, true}},
      {"GROUPBOX", {"Button", BS_GROUPBOX, true}},
      {"EDITTEXT", {"Edit", ES_LEFT | WS_BORDER | WS_TABSTOP, false}},
      {"COMBOBOX", {"ComboBox", WS_TABSTOP, false}},  // CBS_SIMPLE unless a kind is given
      {"LISTBOX", {"ListBox", LBS_NOTIFY | WS_BORDER, false}},
      {"SCROLLBAR", {"ScrollBar", SBS_HORZ, false}},
  };
  return kinds;
}

ControlTemplate control(Reader& r) {
  Token head = r.take();
  ControlTemplate c;
  std::uint32_t visible = WS_VISIBLE | WS_CHILD;
  if (head.text == "CONTROL") {
    c.text = r.string();
    r.expectPunct(',');
    c.id = int(r.number());
    r.expectPunct(',');
    c.className = r.string();
    r.expectPunct(',');
    c.style = r.style(visible);
    r.expectPunct(',');
  } else if (head.text == "ICON") {
    // ICON icon, id, x, y [, cx, cy [, style]]
    if (r.peek().kind == Token::String) c.text = r.string();
    else c.text = L"#" + std::to_wstring(r.number());
    r.expectPunct(',');
    c.id = int(r.number());
    r.expectPunct(',');
    c.className = L"Static";
    c.x = int(r.number());
    r.expectPunct(',');
    c.y = int(r.number());
    c.cx = c.cy = 21;
    c.style = visible | SS_ICON;
    if (r.skipComma()) {
      c.cx = int(r.number());
      r.expectPunct(',');
      c.cy = int(r.number());
      if (r.skipComma()) c.style = r.style(c.style);
    }
    return c;
  } else {
    auto it = statements().find(head.text);
    if (it == statements().end()) r.fail("unknown statement " + head.text);
    c.className = fromUtf8(it->second.className);
    if (it->second.hasText) {
      c.text = r.string();
      r.expectPunct(',');
    }
    c.id = int(r.number());
    r.expectPunct(',');
    c.style = visible | it->second.style;
  }
  c.x = int(r.number());
  r.expectPunct(',');
  c.y = int(r.number());
  r.expectPunct(',');
  c.cx = int(r.number());
  r.expectPunct(',');
  c.cy = int(r.number());
  if (r.skipComma()) {
    if (head.text == "CONTROL") c.exStyle = r.style();
    else {
      c.style = r.style(c.style);
      if (r.skipComma()) c.exStyle = r.style();
    }
  }
  if (head.text == "COMBOBOX" && (c.style & 3) == 0) c.style |= CBS_SIMPLE;
  return c;
}

DialogTemplate dialog(Reader& r, int id) {
  DialogTemplate d;
  d.id = id;
  d.x = int(r.number());
  r.expectPunct(',');
  d.y = int(r.number());
  r.expectPunct(',');
  d.cx = int(r.number());
  r.expectPunct(',');
  d.cy = int(r.number());
  d.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
  while (!atBegin(r)) {
    Token t = r.take();
    if (t.text == "STYLE") d.style = r.style();
    else if (t.text == "EXSTYLE") d.exStyle = r.style();
    else if (t.text == "CAPTION") d.caption = r.string();
    else if (t.text == "FONT") {
      d.fontPoints = int(r.number());
      r.expectPunct(',');
      d.fontFace = r.string();
      while (r.skipComma()) r.number();  // weight, italic, character set
    } else r.fail("unknown dialog statement " + t.text);
  }
  r.take();
  while (!atEnd(r)) {
    if (r.peek().kind != Token::Word) r.fail("a control statement expected");
    d.controls.push_back(control(r));
  }
  r.take();
  return d;
}

PictureResource picture(Reader& r, bool icon) {
  if (!r.atWord("GLYPH")) r.fail("GLYPH expected: the suite's pictures are drawn from a glyph");
  r.take();
  PictureResource p;
  p.glyph = r.string();
  r.expectPunct(',');
  p.color = std::uint32_t(r.number());
  if (!icon) p.width = 320, p.height = 120;
  if (r.skipComma()) {
    p.width = int(r.number());
    r.expectPunct(',');
    p.height = int(r.number());
  }
  return p;
}

// A C++ wide-string literal of a text.
std::string literal(const std::wstring& text) {
  std::string out = "L\"";
  for (wchar_t c : text) {
    if (c == L'"' || c == L'\\') out += '\\', out += char(c);
    else if (c < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\%03o", unsigned(c));
      out += esc;
    } else out += utf8(std::wstring(1, c));
  }
  return out + "\"";
}

}  // namespace

void parseResourceScript(std::string_view text, std::string_view sourceName, ResourceSet& set) {
  Reader r(text, sourceName);
  while (r.peek().kind != Token::End) {
    if (r.atWord("STRINGTABLE")) {
      r.take();
      while (!atBegin(r)) r.take();  // options such as DISCARDABLE
      r.take();
      while (!atEnd(r)) {
        int id = int(r.number());
        r.skipComma();
        set.strings[id] = r.string();
      }
      r.take();
      continue;
    }
    int id = int(r.number());
    Token kind = r.take();
    if (kind.text == "DIALOGEX" || kind.text == "DIALOG") set.dialogs[id] = dialog(r, id);
    else if (kind.text == "ICON") set.icons[id] = picture(r, true);
    else if (kind.text == "BITMAP") set.bitmaps[id] = picture(r, false);
    else r.fail("unknown resource type " + kind.text);
  }
}

std::string resourceSetSource(const ResourceSet& set, std::string_view function) {
  std::string out = "// Made by kcrc from a resource script; edit the script, not this file.\n"
                    "#include \"platform/resources.h\"\n\n";
  out += "void " + std::string(function) + "(plat::ResourceSet& set) {\n";
  for (const auto& [id, text] : set.strings)
    out += "  set.strings[" + std::to_string(id) + "] = " + literal(text) + ";\n";
  for (const auto& [id, d] : set.dialogs) {
    out += "  set.dialogs[" + std::to_string(id) + "] = plat::DialogTemplate{" + std::to_string(id) +
           ", " + literal(d.caption) + ", " + std::to_string(d.x) + ", " + std::to_string(d.y) + ", " +
           std::to_string(d.cx) + ", " + std::to_string(d.cy) + ", " + std::to_string(d.style) + "u, " +
           std::to_string(d.exStyle) + "u, " + literal(d.fontFace) + ", " + std::to_string(d.fontPoints) +
           ", {\n";
    for (const ControlTemplate& c : d.controls)
      out += "      {" + literal(c.className) + ", " + literal(c.text) + ", " + std::to_string(c.id) +
             ", " + std::to_string(c.x) + ", " + std::to_string(c.y) + ", " + std::to_string(c.cx) + ", " +
             std::to_string(c.cy) + ", " + std::to_string(c.style) + "u, " + std::to_string(c.exStyle) +
             "u},\n";
    out += "  }};\n";
  }
  for (const auto* table : {&set.icons, &set.bitmaps})
    for (const auto& [id, p] : *table)
      out += std::string("  set.") + (table == &set.icons ? "icons" : "bitmaps") + "[" +
             std::to_string(id) + "] = plat::PictureResource{" + literal(p.glyph) + ", " +
             std::to_string(p.color) + "u, " + std::to_string(p.width) + ", " +
             std::to_string(p.height) + "};\n";
  out += "}\n";
  return out;
}

}  // namespace plat
