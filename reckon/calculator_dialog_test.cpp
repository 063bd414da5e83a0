// ExpCal through the host: the dialog's totals as the user types, the restore list, the join
// button, the help panel and the return list.
#include <gtest/gtest.h>

#include <fstream>

#include "frame/module.h"
#include "platform/readymade.h"
#include "platform/registry.h"
#include "platform/scripted_user.h"
#include "testing.h"

namespace {

using plat::scripted::Ui;

constexpr int kLines = 1002, kUnit = 1003, kSubtotal = 1004, kTotal = 1005, kSingle = 1006,
              kResult = 1008, kHelp = 1009, kJoin = 1010, kPage = 2058;

class CalculatorTest : public kctest::HostTest {
 protected:
  CalculatorTest() : HostTest(false) {}
  void SetUp() override {
    HostTest::SetUp();
    plat::scripted::clearScenes();
    // The user's installation record, as kcCore seeds it at document load.
    auto record = plat::reg::Key::create(plat::reg::Root::CurrentUser, kc::kInstallKey);
    record->setString(L"Version", L"2025.01");
    record->setString(L"KCADHLP", L"C:\\KORA_CAD\\Help\\");
    ASSERT_TRUE(session().loadModule(L"kcReckon"));
  }
  void TearDown() override {
    plat::scripted::clearScenes();
    HostTest::TearDown();
  }
};

TEST_F(CalculatorTest, TotalsFollowTheTypingAndOkReturnsTheState) {
  std::vector<std::wstring> totals;
  plat::scripted::onNextWindow([&](Ui& ui) {
    totals.push_back(ui.text(kResult));  // the empty editor
    ui.type(kLines, L"1.236\n2.004");
    totals.push_back(ui.text(kResult));
    ui.type(kLines, L"\nw=3\nw*2\n?");
    totals.push_back(ui.text(kResult));
    ui.press(plat::VK_BACK);
    ui.press(plat::VK_BACK);  // "?" and its line go: the text ends with "w*2"
    totals.push_back(ui.text(kResult));
    ui.type(kLines, L"\n");
    ui.click(1);
  }, L"計算機");
  EXPECT_EQ(show(L"(ExpCal)"), L"(7 2 2 0 \"12.24\" (\"1.236\" \"2.004\" \"w=3\" \"w*2\" \"\"))");
  // acdbRToS drops trailing zeros as the drawing's DIMZIN says: the empty editor shows 0.
  EXPECT_EQ(totals, (std::vector<std::wstring>{L"0", L"3.24", L"?", L"12.24"}));
}

TEST_F(CalculatorTest, TheRestoreListSetsTheBoxesAndLines) {
  plat::scripted::onNextWindow([](Ui& ui) {
    EXPECT_EQ(ui.selection(kUnit), 0);
    EXPECT_EQ(ui.text(kUnit), L"公尺");
    EXPECT_EQ(ui.selection(kSubtotal), 1);
    EXPECT_EQ(ui.selection(kTotal), 3);
    EXPECT_TRUE(ui.checked(kSingle));
    EXPECT_FALSE(ui.enabled(kSubtotal));  // single-expression mode has no subtotals
    EXPECT_EQ(ui.text(kLines), L"1+1");
    EXPECT_EQ(ui.text(kResult), L"2");
    ui.replaceText(kUnit, L"英呎");  // a unit that is no item
    ui.press(plat::VK_RETURN);  // Enter outside the editor: OK
  });
  EXPECT_EQ(show(L"(ExpCal 0 1 3 1 '(\"1+1\"))"), L"(-1 1 3 1 \"2\" (\"1+1\"))");
}

TEST_F(CalculatorTest, ItemsOfAnotherTypeKeepTheDefaults) {
  plat::scripted::onNextWindow([](Ui& ui) {
    EXPECT_EQ(ui.selection(kUnit), 7);
    EXPECT_EQ(ui.selection(kSubtotal), 4);
    EXPECT_EQ(ui.text(kLines), L"2\r\n3");
    ui.close();
  });
  EXPECT_EQ(show(L"(ExpCal \"x\" 4 2.5 nil '(\"2\" 7 \"3\"))"), L"nil");
}

TEST_F(CalculatorTest, JoinMakesTheSelectedLinesOneSum) {
  plat::scripted::onNextWindow([](Ui& ui) {
    ui.type(kLines, L"1\n2\n3");
    ui.click(kJoin);  // nothing selected: nothing happens
    EXPECT_EQ(ui.text(kLines), L"1\r\n2\r\n3");
    ui.selectRange(kLines, 0, -1);
    ui.click(kJoin);
    EXPECT_EQ(ui.text(kLines), L"1+2+3");
    EXPECT_EQ(ui.text(kResult), L"6");
    ui.close();
  });
  show(L"(ExpCal)");
}

TEST_F(CalculatorTest, TheHelpPanelWidensTheDialogAndLoadsThePage) {
  auto help = machine_->driveC() / "KORA_CAD" / "Help";
  std::filesystem::create_directories(help);
  std::ofstream(help / "rCaCal.html") << "<html><body><h1>計算機說明</h1><p>每行一個算式。</p></body></html>";
  plat::scripted::onNextWindow([](Ui& ui) {
    int narrow = ui.window().rect().width();
    ui.click(kHelp);
    EXPECT_EQ(ui.text(kHelp), L"說明 <<");
    auto* page = dynamic_cast<plat::HtmlView*>(&ui.control(kPage));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ui.window().rect().width(), narrow + page->rect().width() + 9);
    EXPECT_EQ(page->pageText(), L"計算機說明\n每行一個算式。\n");
    ui.click(kHelp);
    EXPECT_EQ(ui.text(kHelp), L"說明 >>");
    EXPECT_EQ(ui.window().rect().width(), narrow);
    ui.click(kHelp);
    EXPECT_EQ(page->navigations(), 2);
    ui.close();
  });
  show(L"(ExpCal)");
}

}  // namespace
