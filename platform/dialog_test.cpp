// Dialogs driven by the scripted user: creation from a resource, data exchange, notifications,
// the keyboard, timers, list views, message boxes as windows, snapshots and script files.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/dialog.h"
#include "platform/image_files.h"
#include "platform/msgbox.h"
#include "platform/rcscript.h"
#include "platform/readymade.h"
#include "platform/scripted_user.h"

namespace {

using plat::scripted::Ui;

const char* kScript = R"(
100 DIALOGEX 0, 0, 200, 120
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "測試"
FONT 9, "新細明體"
BEGIN
    EDITTEXT        10, 7, 7, 80, 14, ES_AUTOHSCROLL
    AUTOCHECKBOX    "單一算式", 11, 7, 25, 80, 10
    COMBOBOX        12, 7, 40, 80, 60, CBS_DROPDOWNLIST | WS_VSCROLL
    CONTROL         "", 13, "SysListView32", LVS_REPORT | LVS_SORTASCENDING | WS_BORDER, 100, 7, 90, 60
    CONTROL         "", 14, "LineNumberEdit", ES_MULTILINE | ES_WANTRETURN | WS_BORDER | WS_VSCROLL, 7, 60, 80, 30
    PUSHBUTTON      "加一", 15, 100, 70, 40, 14
    DEFPUSHBUTTON   "確定", 1, 100, 100, 40, 14
    PUSHBUTTON      "取消", 2, 150, 100, 40, 14
END
)";

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::parseResourceScript(kScript, "test.rc", set_);
    set_.moduleName = L"test";
    plat::joinResourceChain(&set_);
    plat::scripted::clearScenes();
    plat::scripted::reset();
  }
  void TearDown() override {
    plat::leaveResourceChain(&set_);
    plat::scripted::clearScenes();
  }
  plat::ResourceSet set_;
};

class TestDialog : public plat::Dialog {
 public:
  TestDialog() : Dialog(100) {}
  std::wstring name = L"起始";
  int single = 1;
  int unit = 1;
  int clicks = 0, changes = 0, closeAfter = 0;
  std::vector<int> listClicks;

 protected:
  bool onInitDialog() override {
    auto* combo = item<plat::ComboBox>(12);
    for (const wchar_t* u : {L"公尺", L"公分", L"無"}) combo->addString(u);
    combo->setCurSel(unit);
    auto* list = item<plat::ListView>(13);
    list->insertColumn(0, {L"常用數值", 80});
    for (const wchar_t* v : {L"   50.0", L"    5.0", L"  300.0"}) list->insertItem(0, v);
    onClicked(15, [this] { ++clicks; });
    onCommand(plat::EN_CHANGE, 10, [this] { ++changes; });
    onNotification(plat::NM_CLICK, 13, [this](plat::Notification& n) { listClicks.push_back(n.item); });
    if (closeAfter) setTimer(1, closeAfter);
    return true;
  }
  void doDataExchange(plat::DataExchange& dx) override {
    plat::ddxText(dx, 10, name);
    plat::ddxCheck(dx, 11, single);
    plat::ddxCBIndex(dx, 12, unit);
  }
  void onTimer(int) override { endDialog(7); }
};

TEST_F(DialogTest, DataGoesInAndComesBackOnOk) {
  TestDialog dialog;
  plat::scripted::onNextWindow([](Ui& ui) {
    EXPECT_EQ(ui.text(10), L"起始");
    EXPECT_TRUE(ui.checked(11));
    EXPECT_EQ(ui.text(12), L"公分");
    ui.replaceText(10, L"新名");
    ui.check(11, false);
    ui.select(12, 2);
    ui.click(15);
    ui.click(15);
    ui.type(10, L"");  // Enter on a focused push button would click it: leave it first
    ui.press(plat::VK_RETURN);
  }, L"測試");
  EXPECT_EQ(dialog.doModal(), plat::IDOK);
  EXPECT_EQ(dialog.name, L"新名");
  EXPECT_EQ(dialog.single, 0);
  EXPECT_EQ(dialog.unit, 2);
  EXPECT_EQ(dialog.clicks, 2);
  EXPECT_GE(dialog.changes, 1);
}

TEST_F(DialogTest, NobodyThereCancelsAndAMissingResourceFails) {
  TestDialog dialog;
  EXPECT_EQ(dialog.doModal(), plat::IDCANCEL);
  plat::Dialog missing(999);
  EXPECT_EQ(missing.doModal(), -1);
}

TEST_F(DialogTest, ATimerClosesTheDialogOnTheSimulatedClock) {
  TestDialog dialog;
  dialog.closeAfter = 1000;
  unsigned start = plat::tickCount();
  EXPECT_EQ(dialog.doModal(), 7);
  EXPECT_EQ(plat::tickCount() - start, 1000u);
}

TEST_F(DialogTest, ListViewKeepsItsOrderAndReportsClicks) {
  TestDialog dialog;
  plat::scripted::onNextWindow([&](Ui& ui) {
    EXPECT_EQ(ui.items(13), (std::vector<std::wstring>{L"    5.0", L"   50.0", L"  300.0"}));
    ui.clickItem(13, 2);
    EXPECT_EQ(ui.selection(13), 2);
    auto* list = dynamic_cast<plat::ListView*>(&ui.control(13));
    plat::Edit* editor = list->editLabel(0);
    ASSERT_NE(editor, nullptr);
    ui.type(0, L"");  // focus stays on the editor
    editor->onChar(L'7');
    ui.press(plat::VK_RETURN);  // commits the label, does not close the dialog
    EXPECT_EQ(ui.itemText(13, 0), L"7");
    // The parent's refusal of a label keeps the old one.
    ui.dialog()->onNotification(plat::LVN_ENDLABELEDIT, 13, [](plat::Notification& n) { n.result = false; });
    list->editLabel(0);
    ui.type(0, L"");
    list->labelEditor()->onChar(L'8');
    ui.press(plat::VK_RETURN);
    EXPECT_EQ(ui.itemText(13, 0), L"7");
    ui.close();
  });
  EXPECT_EQ(dialog.doModal(), plat::IDCANCEL);
  EXPECT_EQ(dialog.listClicks, std::vector<int>{2});
}

TEST_F(DialogTest, MultiLineEditTakesEnterAndShowsLineNumbers) {
  TestDialog dialog;
  plat::scripted::onNextWindow([](Ui& ui) {
    ui.type(14, L"1+2\n3");
    EXPECT_EQ(ui.text(14), L"1+2\r\n3");
    auto* edit = dynamic_cast<plat::LineNumberEdit*>(&ui.control(14));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->lineCount(), 2);
    ui.selectRange(14, 0, 3);
    edit->replaceSelection(L"9");
    EXPECT_EQ(ui.text(14), L"9\r\n3");
    edit->undo();
    EXPECT_EQ(ui.text(14), L"1+2\r\n3");
    ui.close();
  });
  dialog.doModal();
}

TEST_F(DialogTest, MessageBoxesAreWindowsAScenesCanAnswer) {
  plat::scripted::onNextWindow([](Ui& ui) {
    EXPECT_EQ(ui.window().text(), L"標題");
    EXPECT_TRUE(ui.visible(plat::IDNO));
    ui.click(plat::IDNO);
  });
  EXPECT_EQ(plat::messageBox(nullptr, L"要存檔嗎?", L"標題", plat::MB_YESNO | plat::MB_ICONQUESTION), plat::IDNO);
  std::wstring printed;
  plat::setConsoleSink([&](std::wstring_view t) { printed += t; });
  EXPECT_EQ(plat::messageBox(nullptr, L"無人", L"標題", plat::MB_YESNO | plat::MB_DEFBUTTON2), plat::IDNO);
  plat::setConsoleSink(nullptr);
  EXPECT_EQ(printed, L"標題: 無人\n");
  ASSERT_EQ(plat::scripted::shownMessageBoxes().size(), 2u);
}

TEST_F(DialogTest, SnapshotsShowTheDialogWithItsTexts) {
  auto dir = std::filesystem::temp_directory_path() / ("kc-snap-" + std::to_string(::getpid()));
  plat::scripted::setSnapshotFolder(dir);
  TestDialog dialog;
  plat::Bitmap seen;
  plat::scripted::onNextWindow([&](Ui& ui) { seen = ui.snapshot(); });
  dialog.doModal();
  plat::scripted::setSnapshotFolder({});
  ASSERT_TRUE(std::filesystem::exists(dir / "001-測試-open.png"));
  ASSERT_TRUE(std::filesystem::exists(dir / "001-測試-close.png"));
  plat::Bitmap back = plat::readPng(dir / "001-測試-open.png");
  EXPECT_EQ(back.width(), seen.width());
  EXPECT_EQ(back.at(back.width() / 2, 10), seen.at(seen.width() / 2, 10));
  std::filesystem::remove_all(dir);
}

TEST_F(DialogTest, ScriptFilesActAndCheck) {
  plat::scripted::loadScript(LR"(# a scene for the test dialog
window "測試"
  settext 10 "腳本"
  expect text 10 "腳本"
  expect checked 11 0
  press RETURN
)");
  TestDialog dialog;
  EXPECT_EQ(dialog.doModal(), plat::IDOK);
  EXPECT_EQ(dialog.name, L"腳本");
  ASSERT_EQ(plat::scripted::scriptFailures().size(), 1u);
  EXPECT_EQ(plat::scripted::scriptFailures()[0], L"line 5: checked of 11 is \"1\", not \"0\"");
  EXPECT_THROW(plat::scripted::loadScript(L"window\n  juggle 3\n"), plat::scripted::ScriptError);
}

}  // namespace

namespace {

TEST_F(DialogTest, TheCurrentResourceModuleDecidesWhoseDialogOpens) {
  plat::ResourceSet other;
  plat::parseResourceScript("100 DIALOGEX 0, 0, 50, 20\nCAPTION \"別的\"\nBEGIN\nEND\n", "other.rc", other);
  plat::joinResourceChain(&other);
  std::vector<std::wstring> captions;
  for (int i = 0; i < 2; ++i)
    plat::scripted::onNextWindow([&](Ui& ui) { captions.push_back(ui.window().text()); });
  plat::Dialog(100).doModal();  // the chain in joining order: the test set first
  {
    plat::ResourceOverride own(&other);
    plat::Dialog(100).doModal();
  }
  plat::leaveResourceChain(&other);
  EXPECT_EQ(captions, (std::vector<std::wstring>{L"測試", L"別的"}));
}

}  // namespace
