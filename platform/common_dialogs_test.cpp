// The file-open dialog and the folder browser as windows on a temporary machine: NTFS-ordered
// listings filtered by type, picking, typing names, folders and patterns, missing files, queued
// answers, the folder tree opened at the initial folder, script steps, and snapshots.
#include "platform/common_dialogs.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/dialog.h"
#include "platform/files.h"
#include "platform/scripted_user.h"
#include "platform/temp_machine.h"

namespace {

namespace fs = std::filesystem;
using plat::scripted::Ui;

void touch(const fs::path& file, const std::string& bytes = "") {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

class CommonDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::path work = machine.drive() / "work";
    for (const char* name : {"b.dwg", "A.DWG", "plan.dxf", "notes.txt", "Sub/inner.dwg", "_x/y.dwg"})
      touch(work / name, "0123456789");
    touch(work / "secret.dwg");
    plat::setAttributes(L"C:\\work\\secret.dwg", plat::FILE_ATTRIBUTE_HIDDEN);
    fs::create_directories(machine.drive() / "KORA_CAD" / "Pop");
    fs::create_directories(machine.drive('d'));
    plat::scripted::clearScenes();
    plat::scripted::reset();
  }
  void TearDown() override { plat::scripted::clearScenes(); }
  static std::optional<std::wstring> openDrawing() {
    return plat::getOpenFileName(nullptr, L"", L"圖檔 (*.dwg;*.dxf)|*.dwg;*.dxf|所有檔案 (*.*)|*.*",
                                 L"c:/work");
  }
  plat::TempMachine machine;
};

TEST_F(CommonDialogs, ListsFoldersThenMatchingFilesInNtfsOrderAndReturnsThePick) {
  plat::scripted::onNextWindow([](Ui& ui) {
    EXPECT_EQ(ui.text(plat::IDC_FILE_FOLDER), L"C:\\work");
    EXPECT_EQ(ui.items(plat::IDC_FILE_LIST),
              (std::vector<std::wstring>{L"Sub", L"_x", L"A.DWG", L"b.dwg", L"plan.dxf"}));
    EXPECT_EQ(ui.itemText(plat::IDC_FILE_LIST, 3, 2), L"DWG 檔案");
    ui.select(plat::IDC_FILE_TYPES, 1);  // all files
    EXPECT_EQ(ui.items(plat::IDC_FILE_LIST).size(), 6u);
    ui.select(plat::IDC_FILE_LIST, L"b.dwg");
    EXPECT_EQ(ui.text(plat::IDC_FILE_NAME), L"b.dwg");
    ui.click(plat::IDOK);
  }, L"開啟舊檔");
  EXPECT_EQ(openDrawing(), L"C:\\work\\b.dwg");
  EXPECT_EQ(plat::scripted::shownCommonDialogs().back().kind, L"open");
}

TEST_F(CommonDialogs, TypedNamesOpenFoldersFilterOrChooseAndMissingFilesAreRefused) {
  plat::scripted::answerNextMessageBox(plat::IDOK);
  plat::scripted::onNextWindow([](Ui& ui) {
    ui.replaceText(plat::IDC_FILE_NAME, L"sub");
    ui.press(plat::VK_RETURN);  // a folder: it opens
    EXPECT_EQ(ui.items(plat::IDC_FILE_LIST), std::vector<std::wstring>{L"inner.dwg"});
    ui.click(plat::IDC_FILE_UP);
    ui.replaceText(plat::IDC_FILE_NAME, L"*.txt");
    ui.press(plat::VK_RETURN);  // a pattern: it filters
    EXPECT_EQ(ui.items(plat::IDC_FILE_LIST), (std::vector<std::wstring>{L"Sub", L"_x", L"notes.txt"}));
    ui.replaceText(plat::IDC_FILE_NAME, L"gone.dwg");
    ui.press(plat::VK_RETURN);  // missing: a message, the dialog stays
    EXPECT_TRUE(ui.window().exists());
    ui.replaceText(plat::IDC_FILE_NAME, L"C:\\work\\Sub\\INNER.dwg");
    ui.press(plat::VK_RETURN);
  });
  EXPECT_EQ(openDrawing(), L"C:\\work\\Sub\\INNER.dwg");
  ASSERT_EQ(plat::scripted::shownMessageBoxes().size(), 1u);
  EXPECT_EQ(plat::scripted::shownMessageBoxes()[0].text, L"gone.dwg\n找不到檔案。\n請確認提供的檔名是否正確。");
}

TEST_F(CommonDialogs, AOneNameFilterWithAProposedNameAndADefaultExtension) {
  touch(machine.drive() / "case1" / "kcad.DB");
  touch(machine.drive() / "case1" / "other.db");
  touch(machine.drive() / "case1" / "report.DBF");
  plat::OpenFileRequest request;
  request.title = L"選取案件目錄";
  request.filter = L"案件資料庫檔|KCAD.db";
  request.initialFolder = L"C:\\case1";
  request.fileName = L"KCAD.db";
  request.defaultExtension = L"DBF";
  std::vector<std::wstring> listed;
  plat::scripted::onNextWindow([&](Ui& ui) {
    listed = ui.items(plat::IDC_FILE_LIST);
    EXPECT_EQ(ui.text(plat::IDC_FILE_NAME), L"KCAD.db");
    ui.click(plat::IDOK);
  }, L"選取案件目錄");
  EXPECT_EQ(plat::getOpenFileName(nullptr, request), L"C:\\case1\\KCAD.db");
  EXPECT_EQ(listed, std::vector<std::wstring>{L"kcad.DB"});
  plat::scripted::onNextWindow([](Ui& ui) {
    ui.replaceText(plat::IDC_FILE_NAME, L"report");
    ui.click(plat::IDOK);
  });
  EXPECT_EQ(plat::getOpenFileName(nullptr, request), L"C:\\case1\\report.DBF");
}

TEST_F(CommonDialogs, QueuedAnswersSkipTheWindowAndNobodyCancels) {
  plat::scripted::answerNextFileDialog(L"C:\\work\\plan.dxf");
  plat::scripted::answerNextFileDialog(std::nullopt);
  std::size_t before = plat::scripted::writtenSnapshots().size();
  EXPECT_EQ(openDrawing(), L"C:\\work\\plan.dxf");
  EXPECT_EQ(plat::browseForFolder(nullptr, L"選取", L""), std::nullopt);
  EXPECT_EQ(plat::scripted::writtenSnapshots().size(), before);
  EXPECT_EQ(openDrawing(), std::nullopt);  // a window nobody acts on
  EXPECT_EQ(plat::browseForFolder(nullptr, L"選取", L"C:\\nowhere"), std::nullopt);
}

TEST_F(CommonDialogs, TheFolderBrowserOpensAtTheInitialFolderAndTracksThePath) {
  plat::scripted::onNextWindow([](Ui& ui) {
    EXPECT_EQ(ui.text(plat::IDC_BROWSE_TITLE), L"選取圖庫資料夾");
    EXPECT_EQ(ui.text(plat::IDC_BROWSE_PATH), L"C:\\KORA_CAD");
    std::vector<std::wstring> rows = ui.items(plat::IDC_BROWSE_TREE);
    EXPECT_EQ(rows.front(), L"C:");
    EXPECT_EQ(rows.back(), L"D:");
    ui.selectPath(plat::IDC_BROWSE_TREE, {L"C:", L"work", L"Sub"});
    EXPECT_EQ(ui.text(plat::IDC_BROWSE_PATH), L"C:\\work\\Sub");
    ui.selectPath(plat::IDC_BROWSE_TREE, {L"D:"});
    EXPECT_EQ(ui.text(plat::IDC_BROWSE_PATH), L"D:\\");
    ui.selectPath(plat::IDC_BROWSE_TREE, {L"C:", L"KORA_CAD", L"Pop"});
    ui.click(plat::IDOK);
  }, L"瀏覽資料夾");
  EXPECT_EQ(plat::browseForFolder(nullptr, L"選取圖庫資料夾", L"c:\\kora_cad"), L"C:\\KORA_CAD\\Pop");
  EXPECT_EQ(plat::scripted::shownCommonDialogs().back().kind, L"folder");
}

TEST_F(CommonDialogs, ScriptsDriveBothAndSnapshotsShowThem) {
  plat::scripted::loadScript(LR"(window "開啟舊檔"
  selecttext 1120 "A.DWG"
  expect text 1152 "A.DWG"
  click 1
window "瀏覽資料夾"
  selectpath 14145 "C:" "work" "_x"
  expect text 14148 "C:\\work\\_x"
  click 1
)");
  std::size_t failures = plat::scripted::scriptFailures().size();
  fs::path dir = machine.root() / "snapshots";
  plat::scripted::setSnapshotFolder(dir);
  EXPECT_EQ(openDrawing(), L"C:\\work\\A.DWG");
  EXPECT_EQ(plat::browseForFolder(nullptr, L"選取資料夾", L"C:\\work"), L"C:\\work\\_x");
  plat::scripted::setSnapshotFolder({});
  EXPECT_EQ(plat::scripted::scriptFailures().size(), failures);
  std::vector<std::string> closed;
  for (const auto& file : fs::directory_iterator(dir))
    if (file.path().string().ends_with("-close.png")) closed.push_back(file.path().filename().string().substr(4));
  std::sort(closed.begin(), closed.end());
  EXPECT_EQ(closed, (std::vector<std::string>{"瀏覽資料夾-close.png", "開啟舊檔-close.png"}));
  if (const char* keep = std::getenv("KC_KEEP_SNAPSHOTS"))
    fs::copy(dir, keep, fs::copy_options::overwrite_existing | fs::copy_options::recursive);
}

}  // namespace
