// The ready-made controls the suite's dialogs use beside the standard ones, each registered as a
// window class for dialog resources: the line-numbered edit ("LineNumberEdit": a multi-line edit
// with a gutter of line numbers) and the HTML view ("HtmlView": shows an HTML page as formatted
// text — headings, paragraphs, list items, table rows — parsed with libxml2).
#pragma once

#include <string>
#include <vector>

#include "platform/controls.h"

namespace plat {

class LineNumberEdit : public Edit {
 public:
  LineNumberEdit() { setClassName(L"LineNumberEdit"); }
  int gutterWidth() const;
  void onPaint(DC& dc) override;

 protected:
  Rect textArea() const override;
};

// Hosting of embedded controls, which the HTML view is: a module that shows one switches it on
// once at load, as it would enable its class library's control container. Until then an HTML view
// shows its "cannot be shown" page.
void enableControlContainer();
bool controlContainerEnabled();

class HtmlView : public Window {
 public:
  HtmlView() { setClassName(L"HtmlView"); }
  // Loads a page by Windows path; false (and a "cannot be shown" page) when it cannot be read.
  bool navigate(std::wstring_view path);
  const std::wstring& location() const { return location_; }
  // The page's text as shown, blocks separated by line feeds.
  std::wstring pageText() const;
  int navigations() const { return navigations_; }
  void onPaint(DC& dc) override;

  struct Block {
    std::wstring text;
    int heading = 0;  // 1 to 6 for h1..h6, 0 for body text
    bool item = false;  // a list item, shown with a bullet
  };

 private:
  std::wstring location_;
  std::vector<Block> blocks_;
  int navigations_ = 0;
};

}  // namespace plat
