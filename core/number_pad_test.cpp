// The number pad through the host: c:digit in each mode and kind, the range message, the common
// values by drawing unit and their storage, the keypad, the tooltip and the keyboard layout.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "frame/registry_text.h"
#include "platform/controls.h"
#include "platform/keyboard.h"
#include "platform/msgbox.h"
#include "platform/registry.h"
#include "platform/scripted_user.h"
#include "quick_numbers.h"
#include "testing.h"

namespace {

using plat::scripted::Ui;

constexpr int kValue = 218, kValues = 2054, kOk = 101;

class NumberPadTest : public kctest::HostTest {
 protected:
  NumberPadTest() : HostTest(false) {}
  void SetUp() override {
    HostTest::SetUp();
    plat::scripted::clearScenes();
    plat::scripted::reset();
    ASSERT_TRUE(session().loadModule(L"kcCore"));
    eval(L"(setvar \"insunits\" 5)");  // centimetres, the suite's base unit
  }
  void TearDown() override {
    plat::scripted::clearScenes();
    HostTest::TearDown();
  }
  // The stored common values, in value order.
  std::vector<std::wstring> stored() {
    std::vector<std::wstring> out;
    if (auto key = plat::reg::Key::open(plat::reg::Root::CurrentUser, core::kQuickNumberKey))
      for (const auto& v : key->values()) out.push_back(v.name + L"=" + kc::registryText(v));
    return out;
  }
};

struct PadCase {
  const wchar_t* call;
  const wchar_t* typed;  // null: confirm the initial value
  const wchar_t* result;
  bool rangeMessage;
};

class PadModes : public NumberPadTest, public ::testing::WithParamInterface<PadCase> {};

TEST_P(PadModes, ConfirmedValuesComeBackCheckedAndTyped) {
  const PadCase& c = GetParam();
  plat::scripted::onNextWindow([&](Ui& ui) {
    if (c.typed) ui.replaceText(kValue, c.typed);
    ui.press(plat::VK_RETURN);
  }, L"計算機");
  EXPECT_EQ(show(c.call), c.result);
  bool shown = !plat::scripted::shownMessageBoxes().empty();
  EXPECT_EQ(shown, c.rangeMessage);
  if (shown) {
    const auto& box = plat::scripted::shownMessageBoxes().back();
    EXPECT_EQ(box.text, L"輸入數字超出範圍");
    EXPECT_EQ(box.caption, L"計算機訊息");
    EXPECT_EQ(box.flags, plat::MB_ICONERROR | plat::MB_TOPMOST);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PadModes,
    ::testing::Values(PadCase{L"(c:digit 3 2.5 1)", nullptr, L"2.5", false},
                      PadCase{L"(c:digit 3 2.5 1)", L"0", L"nil", true},
                      PadCase{L"(c:digit 3 -2 0)", L"-2", L"nil", true},
                      PadCase{L"(c:digit 3 0 0)", L"0", L"0.0", false},
                      PadCase{L"(c:digit 2 7.9 -1)", nullptr, L"7", false},
                      PadCase{L"(c:digit 0 1 10 5)", nullptr, L"\"5\"", false},
                      PadCase{L"(c:digit 0 1 10 5)", L"11", L"nil", true},
                      PadCase{L"(c:digit 1 0 100 5)", L"12.345", L"\"12.35\"", false},
                      PadCase{L"(c:digit 5)", L"3.25", L"3.25", false},
                      PadCase{L"(c:digit 4)", L"3.75", L"3", false},
                      PadCase{L"(c:digit)", L"-8", L"-8.0", false}));

TEST_F(NumberPadTest, CancelGivesNilAndLabelsShowTheRangeOrConstraint) {
  std::vector<std::pair<std::wstring, std::wstring>> labels;
  for (int i = 0; i < 3; ++i)
    plat::scripted::onNextWindow([&](Ui& ui) {
      labels.emplace_back(ui.text(2059), ui.text(2060));
      EXPECT_EQ(ui.enabled(2027), ui.text(kValue).find(L'.') != std::wstring::npos);
      ui.click(2);
    });
  EXPECT_EQ(show(L"(c:digit 0 1 10 5)"), L"nil");
  EXPECT_EQ(show(L"(c:digit 3 2.5 1)"), L"nil");
  EXPECT_EQ(show(L"(c:digit 2 4 -1)"), L"nil");
  ASSERT_EQ(labels.size(), 3u);
  EXPECT_EQ(labels[0], std::make_pair(std::wstring(L"最小值:1"), std::wstring(L"最大值:10")));
  EXPECT_EQ(labels[1].first, L">0");
  EXPECT_EQ(labels[2].first, L"整數");
}

TEST_F(NumberPadTest, DigitButtonsAndTheKeypadTypeIntoTheValue) {
  plat::scripted::onNextWindow([](Ui& ui) {
    ui.replaceText(kValue, L"");
    ui.click(2088);  // 1
    ui.click(2089);  // 2
    ui.click(2027);  // .
    ui.click(2092);  // 5
    EXPECT_EQ(ui.text(kValue), L"12.5");
    ui.press(plat::VK_NUMPAD0 + 7);
    EXPECT_FALSE(ui.visible(2094));  // the 7 blinks
    ui.wait(50);
    EXPECT_TRUE(ui.visible(2094));
    EXPECT_EQ(ui.text(kValue), L"12.57");
    EXPECT_EQ(plat::activeKeyboardLayout(), 0x04090409u);
    ui.hover(2050);
    ui.press(plat::VK_RETURN);
  });
  plat::KeyboardLayout before = plat::activeKeyboardLayout();
  EXPECT_EQ(show(L"(c:digit 5)"), L"12.57");
  EXPECT_EQ(plat::activeKeyboardLayout(), before);
}

TEST_F(NumberPadTest, TheHelpTipShowsItsTitleAndLines) {
  plat::scripted::onNextWindow([](Ui& ui) {
    ui.hover(2050);
    plat::ToolTip* tip = nullptr;
    for (plat::Window* w : plat::topLevelWindows())
      if (auto* t = dynamic_cast<plat::ToolTip*>(w); t && t->visible()) tip = t;
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->title(), L"常用數值編修");
    EXPECT_EQ(tip->text(), L"● 按[Ins]增加新數值\n● 按滑鼠右鍵修改數值\n● 修改數值時清空即可刪除該數值");
    ui.close();
  });
  show(L"(c:digit)");
}

TEST_F(NumberPadTest, ClickingACommonValueClosesAfterATenthOfASecond) {
  unsigned start = 0;
  plat::scripted::onNextWindow([&](Ui& ui) {
    start = plat::tickCount();
    ui.clickItem(kValues, 3);  // 10.00 in a centimetre drawing
  });
  EXPECT_EQ(show(L"(c:digit 5)"), L"10.0");
  EXPECT_EQ(plat::tickCount() - start, 100u);
}

TEST_F(NumberPadTest, BaseValuesFollowTheDrawingUnit) {
  std::vector<std::wstring> millimetres, metres;
  plat::scripted::onNextWindow([&](Ui& ui) { millimetres = ui.items(kValues), ui.close(); });
  plat::scripted::onNextWindow([&](Ui& ui) { metres = ui.items(kValues), ui.close(); });
  eval(L"(setvar \"insunits\" 4)");
  show(L"(c:digit)");
  eval(L"(setvar \"insunits\" 6)");
  show(L"(c:digit)");
  ASSERT_EQ(millimetres.size(), 21u);
  EXPECT_EQ(millimetres[0], L"      0.0");
  EXPECT_EQ(millimetres[1], L"     50.0");
  EXPECT_EQ(millimetres[2], L"     60.0");
  EXPECT_EQ(millimetres[20], L"   3000.0");
  EXPECT_EQ(metres[16], L"   1.5000");
  EXPECT_TRUE(stored().empty());  // nothing changed, nothing written
}

TEST_F(NumberPadTest, AnAddedValueIsStoredInListOrderEvenOnCancel) {
  eval(L"(setvar \"insunits\" 4)");
  plat::scripted::onNextWindow([](Ui& ui) {
    ui.press(plat::VK_INSERT);
    ui.press('4');
    ui.press(plat::VK_DECIMAL);  // the editor takes the point...
    ui.press(plat::VK_BACK);     // ...and backspace
    ui.press('5');
    ui.press(plat::VK_RETURN);
    EXPECT_EQ(ui.itemText(kValues, 1), L"     45.0");
    ui.close();
  });
  EXPECT_EQ(show(L"(c:digit)"), L"nil");
  auto values = stored();
  ASSERT_EQ(values.size(), 22u);
  EXPECT_EQ(values[0], L"0=0.000000");
  EXPECT_EQ(values[1], L"1=4.500000");
  EXPECT_EQ(values[2], L"2=5.000000");
  EXPECT_EQ(values[21], L"21=300.000000");
}

TEST_F(NumberPadTest, EditingInPlaceChangesOrRemovesAnEntry) {
  plat::scripted::onNextWindow([](Ui& ui) {
    ui.clickItem(kValues, 1, plat::MouseButton::Right);  // 5.00
    ui.press(plat::VK_BACK);  // the selected text goes
    ui.press(plat::VK_RETURN);  // empty: the entry is removed
    ui.clickItem(kValues, 1, plat::MouseButton::Right);  // now 6.00
    ui.type(0, L"7");
    ui.clickAt({5, 5});  // a click outside commits
    ui.close();
  });
  show(L"(c:digit)");
  auto values = stored();
  ASSERT_EQ(values.size(), 20u);
  EXPECT_EQ(values[1], L"1=7.000000");
  EXPECT_EQ(values[2], L"2=10.000000");
}

TEST_F(NumberPadTest, StoredValuesAreShownInTheirOrderAndDigitIsACommand) {
  auto key = plat::reg::Key::create(plat::reg::Root::CurrentUser, core::kQuickNumberKey);
  kc::writeRegString(*key, L"0", L"12.000000");
  kc::writeRegString(*key, L"1", L"3.500000");
  std::vector<std::wstring> shown;
  plat::scripted::onNextWindow([&](Ui& ui) { shown = ui.items(kValues), ui.close(); }, L"#3004");
  eval(L"(command \"DIGIT\")");
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"     3.50", L"    12.00"}));
}

}  // namespace

namespace {

// kchost with a scripted user: the script opens nothing itself; DIGIT does, and the scene types.
TEST(NumberPadProgram, KchostUiTypesIntoThePad) {
  kctest::TempMachine scratch(false);  // a folder for the run's own machine and files
  auto machine = scratch.root() / "run";
  auto script = scratch.root() / "pad.ui";
  auto snapshots = scratch.root() / "shots";
  std::ofstream(script) << "# type a value and confirm\n"
                           "window \"計算機\"\n"
                           "  settext 218 \"12\"\n"
                           "  click 2027\n"
                           "  press NUMPAD5\n"
                           "  expect text 218 \"12.5\"\n"
                           "  press RETURN\n";
  auto run = kctest::runProgram("kchost", {"--machine", machine.string(), "--ui", script.string(),
                                           "--snapshots", snapshots.string(), "-e", "(c:digit 3 1 1)"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1), "12.5\n");
  EXPECT_TRUE(std::filesystem::exists(snapshots / "001-計算機-open.png"));
  EXPECT_TRUE(std::filesystem::exists(snapshots / "001-計算機-close.png"));

  // A check that does not hold, and a scene no window takes, fail the run.
  std::ofstream(script) << "window \"計算機\"\n  expect text 218 \"9\"\n  close\nwindow \"無此視窗\"\n";
  run = kctest::runProgram("kchost", {"--machine", machine.string(), "--ui", script.string(), "-e", "(c:digit)"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("; error: ui line 2: text of 218 is \"0.000000\", not \"9\""), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("1 scene(s) found no window"), std::string::npos);
}

}  // namespace
