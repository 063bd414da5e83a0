// The host's main window: the top-level frame a session opens, titled with the host's name and
// the current drawing, and made the platform's main window while it lives.
#pragma once

#include <string>
#include <string_view>

#include "platform/window.h"

namespace host {

class MainWindow : public plat::Window {
 public:
  MainWindow();  // created, shown and made the platform's main window
  ~MainWindow() override;
  // Shows the current drawing's name in the caption: "KORA CAD 主機 - [Drawing1.dwg]".
  void showDrawing(std::wstring_view drawingName);
  void onPaint(plat::DC& dc) override;
};

// The caption for a drawing.
std::wstring mainWindowTitle(std::wstring_view drawingName);

}  // namespace host
