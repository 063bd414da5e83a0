// The host's main window: a captioned frame over a drawing area and a command-line strip. It
// owns the dialogs the modules open on the host's behalf, so a modal dialog disables it while
// it runs, and it stops being the platform's main window when it goes.
#include "main_window.h"

#include <algorithm>

#include "host/session.h"
#include "host/windows.h"

namespace host {

namespace {

constexpr int kWidth = 1280, kHeight = 800;
constexpr int kCommandLineHeight = 60;

}  // namespace

std::wstring mainWindowTitle(std::wstring_view drawingName) {
  return L"KORA CAD 主機 - [" + std::wstring(drawingName) + L"]";
}

MainWindow::MainWindow() {
  plat::Size screen = plat::screenSize();
  int w = std::min(kWidth, screen.cx), h = std::min(kHeight, screen.cy);
  int x = (screen.cx - w) / 2, y = (screen.cy - h) / 2;
  create(nullptr, 0, mainWindowTitle(L""), {x, y, x + w, y + h},
         plat::WS_POPUP | plat::WS_CAPTION | plat::WS_SYSMENU | plat::WS_THICKFRAME);
  setClassName(L"KoraCadMainFrame");
  show(true);
  plat::setMainWindow(this);
}

MainWindow::~MainWindow() {
  if (plat::mainWindow() == this) plat::setMainWindow(nullptr);
  destroy();
  plat::collectDestroyedWindows();
}

void MainWindow::showDrawing(std::wstring_view drawingName) { setText(mainWindowTitle(drawingName)); }

void MainWindow::onPaint(plat::DC& dc) {
  plat::Rect r = clientRect();
  plat::Rect drawing{r.left, r.top, r.right, r.bottom - kCommandLineHeight};
  dc.fillRect(drawing, plat::rgb(33, 40, 48));
  dc.fillRect({r.left, drawing.bottom, r.right, r.bottom}, plat::colors::window);
  dc.fillRect({r.left, drawing.bottom, r.right, drawing.bottom + 1}, plat::colors::border);
  dc.setTextColor(plat::colors::text);
  dc.textOut(6, drawing.bottom + kCommandLineHeight - 22, L"指令:");
}

}  // namespace host

plat::Window* adsw_acadMainWnd() {
  host::Session* session = host::Session::active();
  return session ? session->mainWindow() : nullptr;
}
