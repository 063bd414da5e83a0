// Resource scripts: statements get the resource compiler's defaults, and a fault names its line.
#include <gtest/gtest.h>

#include "platform/controls.h"
#include "platform/rcscript.h"

namespace {

TEST(ResourceScript, DialogControlsStringsAndPictures) {
  plat::ResourceSet set;
  plat::parseResourceScript(R"(// a test script
3004 DIALOGEX 0, 0, 120, 80
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION
CAPTION "計算機"
FONT 9, "新細明體"
BEGIN
    LTEXT           "最小值:", 2059, 7, 7, 50, 10
    EDITTEXT        218, 7, 20, 60, 14, ES_AUTOHSCROLL | NOT WS_TABSTOP
    DEFPUSHBUTTON   "確 定", 101, 7, 40, 40, 14
    CONTROL         "", 2054, "SysListView32", LVS_REPORT | WS_BORDER, 70, 7, 45, 60
    ICON            4002, -1, 90, 60
END
STRINGTABLE
BEGIN
    61001 "版本不符無法載入。"
END
4018 ICON GLYPH "0", 0x2B5797
284 BITMAP GLYPH "KORA CAD", 0x204060, 300, 100
)", "test.rc", set);
  ASSERT_EQ(set.dialogs.count(3004), 1u);
  const plat::DialogTemplate& d = set.dialogs[3004];
  EXPECT_EQ(d.caption, L"計算機");
  EXPECT_EQ(d.fontFace, L"新細明體");
  ASSERT_EQ(d.controls.size(), 5u);
  EXPECT_EQ(d.controls[0].className, L"Static");
  EXPECT_EQ(d.controls[1].style & plat::WS_TABSTOP, 0u);
  EXPECT_NE(d.controls[1].style & plat::WS_BORDER, 0u);
  EXPECT_EQ(d.controls[2].style & plat::BS_TYPEMASK, plat::BS_DEFPUSHBUTTON);
  EXPECT_EQ(d.controls[3].className, L"SysListView32");
  EXPECT_EQ(d.controls[4].text, L"#4002");
  EXPECT_EQ(set.strings[61001], L"版本不符無法載入。");
  EXPECT_EQ(set.icons[4018].glyph, L"0");
  EXPECT_EQ(set.bitmaps[284].width, 300);
  // The generated tables carry the texts as they stand.
  std::string source = plat::resourceSetSource(set, "fill");
  EXPECT_NE(source.find("L\"計算機\""), std::string::npos);
}

TEST(ResourceScript, FaultsNameTheirLine) {
  struct Case {
    const char* script;
    const char* message;
  } cases[] = {
      {"1 DIALOGEX 0, 0, 10, 10\nSTYLE WS_NOPE\nBEGIN\nEND\n", "bad.rc(2): unknown style WS_NOPE"},
      {"STRINGTABLE\nBEGIN\n  5 \"open\n", "bad.rc(3): unclosed text"},
      {"7 CURSOR GLYPH \"x\", 0\n", "bad.rc(1): unknown resource type CURSOR"},
  };
  for (const Case& c : cases) {
    plat::ResourceSet set;
    try {
      plat::parseResourceScript(c.script, "bad.rc", set);
      ADD_FAILURE() << c.script;
    } catch (const plat::ResourceScriptError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
