// The HTML view shows pages only once embedded controls are enabled, as its hosting module does
// at load.
#include "platform/readymade.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/machine.h"
#include "platform/temp_machine.h"

namespace plat {
namespace {

TEST(HtmlView, ShowsPagesOnceEmbeddedControlsAreEnabled) {
  TempMachine machine;
  std::ofstream(machineRoot() / "drive_c" / "help.html") << "<html><body><h1>說明</h1><p>內容</p></body></html>";
  HtmlView view;
  ASSERT_FALSE(controlContainerEnabled());
  EXPECT_FALSE(view.navigate(L"C:\\help.html"));
  EXPECT_EQ(view.pageText(), L"無法顯示網頁\nC:\\help.html\n");
  enableControlContainer();
  EXPECT_TRUE(view.navigate(L"C:\\HELP.HTML"));
  EXPECT_EQ(view.pageText(), L"說明\n內容\n");
}

}  // namespace
}  // namespace plat
