// The about box through the host: its texts, its picture, and how it closes.
#include <gtest/gtest.h>

#include "frame/module.h"
#include "host/windows.h"
#include "platform/image_files.h"
#include "platform/registry.h"
#include "platform/scripted_user.h"
#include "testing.h"

namespace {

using plat::scripted::Ui;

class AboutBoxTest : public kctest::HostTest {
 protected:
  AboutBoxTest() : HostTest(false) {}
  void SetUp() override {
    HostTest::SetUp();
    plat::scripted::clearScenes();
    ASSERT_TRUE(session().loadModule(L"kcCore"));
  }
};

TEST_F(AboutBoxTest, ClosesItselfAfterOneSecond) {
  std::wstring text, thanks;
  plat::Window* owner = nullptr;
  plat::scripted::onNextWindow([&](Ui& ui) {
    text = ui.text(221);
    thanks = ui.text(223);
    owner = ui.window().parent();
  }, L"#3001");
  unsigned start = plat::tickCount();
  EXPECT_EQ(show(L"(k_about \"版本 2025.01\")"), L"nil");
  EXPECT_EQ(plat::tickCount() - start, 1000u);
  EXPECT_EQ(text, L"版本 2025.01");
  EXPECT_FALSE(thanks.empty());
  EXPECT_EQ(owner, adsw_acadMainWnd());
  EXPECT_NE(owner, nullptr);
}

TEST_F(AboutBoxTest, EnterOrEscapeCloseItEarlier) {
  for (int key : {plat::VK_RETURN, plat::VK_ESCAPE}) {
    plat::scripted::onNextWindow([&](Ui& ui) { ui.press(key); });
    unsigned start = plat::tickCount();
    EXPECT_EQ(show(L"(k_about \"x\")"), L"nil");
    EXPECT_EQ(plat::tickCount() - start, 0u);
  }
  EXPECT_EQ(show(L"(k_about 12)"), L"nil");  // a text of another type: no box
  EXPECT_EQ(plat::scripted::pendingScenes(), 0u);
}

TEST_F(AboutBoxTest, TheEditionPictureWinsOverTheResource) {
  // A pure red edition picture, "%s\System\%s\%s.bmp" from KDIR and OEM.
  auto key = plat::reg::Key::open(plat::reg::Root::CurrentUser, kc::kInstallKey);
  ASSERT_TRUE(key);
  key->setString(L"OEM", L"TEST");
  auto folder = machine_->driveC() / "KORA_CAD" / "System" / "TEST";
  std::filesystem::create_directories(folder);
  ASSERT_TRUE(plat::writeBmp(plat::Bitmap(40, 20, plat::rgb(255, 0, 0)), folder / "TEST.bmp"));
  plat::Bitmap withFile, withResource;
  plat::scripted::onNextWindow([&](Ui& ui) { withFile = ui.snapshot(); });
  show(L"(k_about \"x\")");
  key->setString(L"OEM", L"NONE");
  plat::scripted::onNextWindow([&](Ui& ui) { withResource = ui.snapshot(); });
  show(L"(k_about \"x\")");
  int cx = withFile.width() / 2, cy = withFile.height() / 3;
  EXPECT_EQ(withFile.at(cx, cy), plat::rgb(255, 0, 0));
  EXPECT_NE(withResource.at(cx, cy), plat::rgb(255, 0, 0));
}

}  // namespace
