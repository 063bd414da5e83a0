// The line-numbered edit and the HTML view.
#include "platform/readymade.h"

#include <libxml/HTMLparser.h>
#include <unicode/ustring.h>

#include <fstream>
#include <iterator>

#include <cstring>
#include <cwctype>

#include "platform/codepage.h"
#include "platform/files.h"

namespace plat {

// ---- LineNumberEdit

int LineNumberEdit::gutterWidth() const {
  int digits = std::max<int>(2, std::to_wstring(lineCount()).size());
  return font()->textWidth(std::wstring(digits, L'0')) + 10;
}

Rect LineNumberEdit::textArea() const {
  Rect r = Edit::textArea();
  r.left += gutterWidth() + 3;
  return r;
}

void LineNumberEdit::onPaint(DC& dc) {
  Edit::onPaint(dc);
  Rect all = clientRect();
  int gutter = gutterWidth();
  Rect old = dc.intersectClip({0, 0, gutter, all.bottom});
  dc.fillRect({0, 0, gutter, all.bottom}, rgb(232, 236, 242));
  dc.fillRect({gutter - 1, 0, gutter, all.bottom}, colors::shadow);
  dc.setTextColor(rgb(90, 100, 120));
  int lineHeight = dc.font()->metrics().height;
  Rect area = Edit::textArea();
  for (int line = firstVisibleLine(), y = area.top; line < lineCount() && y < all.bottom;
       ++line, y += lineHeight)
    dc.drawText({0, y, gutter - 5, y + lineHeight}, std::to_wstring(line + 1), DT_SINGLELINE | DT_RIGHT);
  dc.setClip(old);
}

// ---- HtmlView

namespace {

bool isBlock(const char* name) {
  static const char* blocks[] = {"p", "div", "br", "li", "tr", "table", "ul", "ol", "h1", "h2",
                                 "h3", "h4", "h5", "h6", "title", "pre", "hr", "dt", "dd", "body"};
  for (const char* b : blocks)
    if (std::strcmp(name, b) == 0) return true;
  return false;
}

// Collects the text of an HTML tree into blocks; script and style text is left out.
void collect(xmlNode* node, std::vector<HtmlView::Block>& blocks, int heading, bool item) {
  for (xmlNode* n = node; n; n = n->next) {
    if (n->type == XML_TEXT_NODE && n->content) {
      std::wstring text = fromUtf8(reinterpret_cast<const char*>(n->content));
      std::wstring squeezed;
      for (wchar_t c : text) {
        if (std::iswspace(c)) {
          if (!squeezed.empty() && squeezed.back() != L' ') squeezed += L' ';
        } else {
          squeezed += c;
        }
      }
      if (squeezed.empty() || squeezed == L" ") continue;
      if (blocks.empty()) blocks.push_back({L"", heading, item});
      blocks.back().text += squeezed;
    } else if (n->type == XML_ELEMENT_NODE) {
      const char* name = reinterpret_cast<const char*>(n->name);
      if (!std::strcmp(name, "script") || !std::strcmp(name, "style") || !std::strcmp(name, "head"))
        continue;
      int h = (name[0] == 'h' && name[1] >= '1' && name[1] <= '6' && !name[2]) ? name[1] - '0' : heading;
      bool li = item || !std::strcmp(name, "li");
      if (isBlock(name)) blocks.push_back({L"", h, li});
      collect(n->children, blocks, h, li);
      if (isBlock(name)) blocks.push_back({L"", heading, item});
    }
  }
}

// True when the bytes are well-formed UTF-8.
bool isUtf8(const std::string& bytes) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, bytes.data(), int32_t(bytes.size()), &status);
  return status != U_INVALID_CHAR_FOUND && status != U_ILLEGAL_CHAR_FOUND;
}

}  // namespace

namespace {
bool containerEnabled = false;
}  // namespace

void enableControlContainer() { containerEnabled = true; }
bool controlContainerEnabled() { return containerEnabled; }

bool HtmlView::navigate(std::wstring_view path) {
  location_ = path;
  ++navigations_;
  blocks_.clear();
  auto file = containerEnabled ? resolve(path) : std::nullopt;
  htmlDocPtr doc = nullptr;
  std::ifstream in;
  if (file) in.open(*file, std::ios::binary);
  if (in) {
    // Pages are UTF-8, or text in the machine's ANSI code page (Big5) as older help pages are.
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    if (!isUtf8(bytes)) bytes = utf8(toWide(ansiCodePage(), bytes));
    doc = htmlReadMemory(bytes.data(), int(bytes.size()), nullptr, "UTF-8",
                         HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET | HTML_PARSE_RECOVER);
  }
  if (!doc) {
    blocks_.push_back({L"無法顯示網頁", 2, false});
    blocks_.push_back({std::wstring(path), 0, false});
    return false;
  }
  collect(xmlDocGetRootElement(doc), blocks_, 0, false);
  xmlFreeDoc(doc);
  std::erase_if(blocks_, [](const Block& b) {
    return b.text.find_first_not_of(L' ') == std::wstring::npos;
  });
  for (Block& b : blocks_) {
    while (!b.text.empty() && b.text.front() == L' ') b.text.erase(0, 1);
    while (!b.text.empty() && b.text.back() == L' ') b.text.pop_back();
  }
  return true;
}

std::wstring HtmlView::pageText() const {
  std::wstring out;
  for (const Block& b : blocks_) out += b.text + L"\n";
  return out;
}

void HtmlView::onPaint(DC& dc) {
  Rect r = clientRect();
  dc.fillRect(r, colors::window);
  FontHandle body = font();
  int y = 6;
  for (const Block& b : blocks_) {
    int pixels = b.heading ? body->pixels() + std::max(0, 8 - 2 * b.heading) : body->pixels();
    dc.setFont(Font::create(body->face(), pixels, b.heading != 0));
    int indent = b.item ? 18 : 8;
    if (b.item) dc.textOut(8, y, L"•");
    for (const std::wstring& line : dc.wrap(b.text, r.width() - indent - 8)) {
      dc.textOut(indent, y, line);
      y += dc.font()->metrics().height + 2;
    }
    y += b.heading ? 6 : 4;
    if (y > r.bottom) break;
  }
  dc.setFont(body);
}

}  // namespace plat
