// The tree view in a dialog, driven by the scripted user: items by path, expanding and collapsing
// through the +/- boxes and the keyboard, the parent's notifications and refusals, deletion, the
// script steps, and how it looks.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/dialog.h"
#include "platform/image_files.h"
#include "platform/rcscript.h"
#include "platform/scripted_user.h"

namespace {

using plat::scripted::Ui;

const char* kScript = R"(
200 DIALOGEX 0, 0, 160, 130
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "樹狀"
FONT 9, "新細明體"
BEGIN
    CONTROL         "", 30, "SysTreeView32", TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7, 7, 146, 96
    DEFPUSHBUTTON   "確 定", 1, 56, 110, 48, 14
END
)";

constexpr int kTree = 30;

class TreeDialog : public plat::Dialog {
 public:
  TreeDialog() : Dialog(200) {}
  std::vector<std::pair<int, int>> heard;  // (code, item)
  bool refuseSelection = false;
  int lazyFilled = 0;
  int door = 0, window1 = 0, floor2 = 0, lazy = 0;

 protected:
  bool onInitDialog() override {
    auto* tree = item<plat::TreeView>(kTree);
    plat::Bitmap red(16, 16, plat::rgb(200, 40, 40)), blue(16, 16, plat::rgb(30, 100, 200));
    tree->setImageList({red, blue});
    door = tree->insertItem(L"D1   門", plat::TreeView::kRoot, 0);
    tree->insertItem(L"  2樘 一樓", door, 1);
    floor2 = tree->insertItem(L"  1樘 二樓", door, 1);
    window1 = tree->insertItem(L"W1   窗", plat::TreeView::kRoot, 0);
    tree->insertItem(L"  4樘 一樓", window1, 1);
    lazy = tree->insertItem(L"資料夾", plat::TreeView::kRoot);
    tree->setHasChildren(lazy, true);
    for (int code : {plat::TVN_SELCHANGED, plat::TVN_ITEMEXPANDED})
      onNotification(code, kTree, [this](plat::Notification& n) { heard.emplace_back(n.code, n.item); });
    onNotification(plat::TVN_SELCHANGING, kTree, [this](plat::Notification& n) { n.result = !refuseSelection; });
    // Children filled just before the item opens, as the folder browser does.
    onNotification(plat::TVN_ITEMEXPANDING, kTree, [this, tree](plat::Notification& n) {
      if (n.item == lazy && n.action == plat::TVE_EXPAND && tree->childItems(lazy).empty()) {
        tree->insertItem(L"子資料夾", lazy);
        ++lazyFilled;
      }
    });
    return true;
  }
};

class TreeViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::parseResourceScript(kScript, "tree.rc", set_);
    set_.moduleName = L"tree";
    plat::joinResourceChain(&set_);
    plat::scripted::clearScenes();
  }
  void TearDown() override {
    plat::leaveResourceChain(&set_);
    plat::scripted::clearScenes();
  }
  plat::ResourceSet set_;
};

TEST_F(TreeViewTest, SelectingByPathOpensTheAncestorsAndTellsTheParent) {
  TreeDialog dialog;
  plat::scripted::onNextWindow([&](Ui& ui) {
    EXPECT_EQ(ui.items(kTree), (std::vector<std::wstring>{L"D1   門", L"W1   窗", L"資料夾"}));
    EXPECT_EQ(ui.selection(kTree), -1);
    ui.selectPath(kTree, {L"D1   門", L"  1樘 二樓"});
    EXPECT_EQ(ui.items(kTree).size(), 5u);
    EXPECT_EQ(ui.selection(kTree), 2);
    ui.select(kTree, 3);  // the row of W1
    EXPECT_EQ(ui.selection(kTree), 3);
    EXPECT_THROW(ui.selectPath(kTree, {L"D9"}), std::runtime_error);
    ui.close();
  });
  dialog.doModal();
  using P = std::pair<int, int>;
  EXPECT_EQ(dialog.heard, (std::vector<P>{{plat::TVN_ITEMEXPANDED, dialog.door},
                                          {plat::TVN_SELCHANGED, dialog.floor2},
                                          {plat::TVN_SELCHANGED, dialog.window1}}));
}

TEST_F(TreeViewTest, BoxesAndKeysExpandAndCollapse) {
  TreeDialog dialog;
  plat::scripted::onNextWindow([&](Ui& ui) {
    auto* tree = dynamic_cast<plat::TreeView*>(&ui.control(kTree));
    ui.expandPath(kTree, {L"資料夾"}, true);  // filled as it opens
    EXPECT_EQ(ui.items(kTree).back(), L"子資料夾");
    ui.expandPath(kTree, {L"資料夾"}, false);
    ui.expandPath(kTree, {L"資料夾"}, true);
    EXPECT_EQ(dialog.lazyFilled, 1);
    // Collapsing hides the selection, so it moves to the collapsed item.
    ui.selectPath(kTree, {L"W1   窗", L"  4樘 一樓"});
    ui.expandPath(kTree, {L"W1   窗"}, false);
    EXPECT_EQ(tree->selectedItem(), dialog.window1);
    ui.press(plat::VK_RIGHT);  // opens W1
    EXPECT_TRUE(tree->expanded(dialog.window1));
    ui.press(plat::VK_RIGHT);  // into its first child
    ui.press(plat::VK_LEFT);  // back to W1
    EXPECT_EQ(tree->selectedItem(), dialog.window1);
    ui.press(plat::VK_SUBTRACT);
    EXPECT_FALSE(tree->expanded(dialog.window1));
    ui.press(plat::VK_UP);
    EXPECT_EQ(tree->selectedItem(), dialog.door);
    ui.close();
  });
  dialog.doModal();
}

TEST_F(TreeViewTest, TheParentMayRefuseASelectionAndDeletingClearsIt) {
  TreeDialog dialog;
  plat::scripted::onNextWindow([&](Ui& ui) {
    auto* tree = dynamic_cast<plat::TreeView*>(&ui.control(kTree));
    ui.selectPath(kTree, {L"W1   窗"});
    dialog.refuseSelection = true;
    ui.selectPath(kTree, {L"D1   門"});
    EXPECT_EQ(tree->selectedItem(), dialog.window1);
    dialog.refuseSelection = false;
    EXPECT_TRUE(tree->deleteItem(dialog.window1));
    EXPECT_EQ(tree->selectedItem(), 0);
    EXPECT_FALSE(tree->exists(dialog.window1));
    EXPECT_EQ(tree->count(), 4);  // W1 went with its child
    EXPECT_EQ(tree->insertItem(L"孤兒", dialog.window1), 0);
    EXPECT_EQ(tree->pathOf(dialog.floor2), (std::vector<std::wstring>{L"D1   門", L"  1樘 二樓"}));
    ui.close();
  });
  dialog.doModal();
}

TEST_F(TreeViewTest, ScriptStepsSelectExpandAndCollapse) {
  std::size_t failuresBefore = plat::scripted::scriptFailures().size();
  plat::scripted::loadScript(LR"(window "樹狀"
  expand 30 "W1   窗"
  selectpath 30 "D1   門" "  2樘 一樓"
  expect selection 30 1
  collapse 30 "D1   門"
  expect selection 30 0
  press RETURN
)");
  TreeDialog dialog;
  EXPECT_EQ(dialog.doModal(), plat::IDOK);
  EXPECT_EQ(plat::scripted::scriptFailures().size(), failuresBefore);
  EXPECT_THROW(plat::scripted::loadScript(L"window\n  selectpath 30\n"), plat::scripted::ScriptError);
}

// The snapshot shows lines and boxes: a "-" box on the open item, a "+" on the closed ones, the
// selected label lit.
TEST_F(TreeViewTest, SnapshotShowsBoxesLinesAndSelection) {
  auto dir = std::filesystem::temp_directory_path() / ("kc-tree-" + std::to_string(::getpid()));
  plat::scripted::setSnapshotFolder(dir);
  TreeDialog dialog;
  plat::scripted::onNextWindow([&](Ui& ui) {
    ui.selectPath(kTree, {L"D1   門", L"  1樘 二樓"});
    auto* tree = dynamic_cast<plat::TreeView*>(&ui.control(kTree));
    plat::Bitmap shot = ui.snapshot();
    plat::Point client = tree->clientToScreen({0, 0});
    plat::Point at{client.x - ui.window().screenRect().left, client.y - ui.window().screenRect().top};
    plat::Rect box = tree->buttonRect(dialog.door);
    ASSERT_FALSE(box.empty());
    // The box's border, and its centre column above the "-" stays white (no "+" stroke).
    EXPECT_NE(shot.at(at.x + box.left, at.y + box.top), plat::colors::window);
    int mx = (box.left + box.right) / 2;
    EXPECT_EQ(shot.at(at.x + mx, at.y + box.top + 2), plat::colors::window);
    plat::Rect closed = tree->buttonRect(dialog.window1);
    EXPECT_NE(shot.at(at.x + (closed.left + closed.right) / 2, at.y + closed.top + 2), plat::colors::window);
    ui.close();
  });
  dialog.doModal();
  plat::scripted::setSnapshotFolder({});
  EXPECT_FALSE(plat::scripted::writtenSnapshots().empty());
  if (const char* keep = std::getenv("KC_KEEP_SNAPSHOTS")) {
    std::filesystem::copy(dir, keep, std::filesystem::copy_options::overwrite_existing |
                                         std::filesystem::copy_options::recursive);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
