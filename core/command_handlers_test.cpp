// kcCore's command brackets, messages and input functions through the host: k_fcmd and lcmd
// around a suite command make one undo group, progress prints its turning bar, chmsg and yes_no
// ask the user, wc and uc follow the user coordinate system, keystate reads the held keys.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "platform/codepage.h"
#include "platform/keyboard.h"
#include "platform/msgbox.h"
#include "testing.h"

namespace {

class CoreCommandHandlers : public kctest::HostTest {
 protected:
  CoreCommandHandlers() : HostTest(false) {}
  void SetUp() override {
    HostTest::SetUp();
    ASSERT_TRUE(session().loadModule(L"kcCore"));
    takeOutput();
  }
  void TearDown() override {
    plat::scripted::releaseAllKeys();
    HostTest::TearDown();
  }
  int undoctl() { return eval(L"(getvar \"undoctl\")").asInt(); }
  int entities() { return eval(L"(setq n 0 e (entnext)) (while e (setq n (1+ n) e (entnext e))) n").asInt(); }
  void line() { eval(L"(entmake '((0 . \"LINE\") (10 0.0 0.0 0.0) (11 1.0 1.0 0.0)))"); }
  void expectPoint(const std::wstring& source, std::array<double, 3> expected) {
    auto items = eval(source).listToVector();
    ASSERT_EQ(items.size(), 3u) << plat::utf8(source);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(items[i].asNumber(), expected[i], 1e-9) << plat::utf8(source);
  }
};

TEST_F(CoreCommandHandlers, ASuiteCommandIsOneUndoGroup) {
  line();
  EXPECT_EQ(show(L"(k_fcmd)"), L"nil");
  EXPECT_EQ(undoctl() & 8, 8);
  line();
  eval(L"(command \"ucs\" \"z\" 30)");
  line();
  EXPECT_EQ(show(L"(lcmd)"), L"nil");
  EXPECT_EQ(undoctl() & 8, 0);
  eval(L"(command \"u\")");
  EXPECT_EQ(entities(), 1);
  EXPECT_EQ(show(L"(getvar \"UCSXDIR\")"), L"(1.0 0.0 0.0)");
}

TEST_F(CoreCommandHandlers, KFcmdTurnsFullUndoOn) {
  struct Case {
    const wchar_t* setUp;
    int before;
  } cases[] = {
      {L"(command \"undo\" \"c\" \"none\")", 16},
      {L"(command \"undo\" \"c\" \"n\" \"undo\" \"c\" \"c\" \"n\")", 0},
      {L"(command \"undo\" \"c\" \"one\")", 23},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(plat::utf8(c.setUp));
    eval(c.setUp);
    ASSERT_EQ(undoctl(), c.before);
    eval(L"(k_fcmd)");
    EXPECT_EQ(undoctl() & 11, 9);  // on, every step kept, a group active
    line();
    line();
    eval(L"(lcmd)");
    eval(L"(command \"u\")");
    EXPECT_EQ(entities(), 0);
    eval(L"(command \"undo\" \"c\" \"a\" \"undo\" \"c\" \"c\" \"y\" \"undo\" \"a\" \"on\")");
  }
}

TEST_F(CoreCommandHandlers, KFcmdSetsTheScaleSymbol) {
  struct Case {
    const wchar_t* vars;
    const wchar_t* scale;
  } cases[] = {
      {L"(setvar \"useri2\" 100)", L"1000.0"},  // model space, millimetres
      {L"(setvar \"insunits\" 5)", L"100.0"},
      {L"(setvar \"insunits\" 6)", L"1.0"},
      {L"(setvar \"tilemode\" 0) (setvar \"cvport\" 1)", L"1.0"},  // a paper-space layout
      {L"(setvar \"cvport\" 2) (setvar \"useri2\" 250)", L"2.5"},  // a model-space viewport, metres
  };
  eval(L"(setq las \"left over\")");
  for (const Case& c : cases) {
    eval(c.vars);
    eval(L"(k_fcmd) (lcmd)");
    EXPECT_EQ(show(L"scale"), c.scale) << plat::utf8(c.vars);
    EXPECT_EQ(show(L"las"), L"nil");
  }
}

TEST_F(CoreCommandHandlers, ProgressTurnsABar) {
  for (int i = 0; i < 5; ++i) EXPECT_EQ(show(L"(progress)"), L"nil");
  EXPECT_EQ(takeOutput(), L"\b-\b/\b|\b\\\b-");
}

TEST_F(CoreCommandHandlers, MessagesAskTheUser) {
  plat::scripted::answerNextMessageBox(plat::IDYES);
  EXPECT_EQ(show(L"(yes_no \"刪除這個圖層?\")"), L"1");
  plat::scripted::answerNextMessageBox(plat::IDNO);
  EXPECT_EQ(show(L"(yes_no \"再一次?\")"), L"nil");
  EXPECT_EQ(show(L"(chmsg \"完成\")"), L"nil");
  EXPECT_EQ(show(L"(chmsg 12)"), L"nil");  // no string: no box
  EXPECT_EQ(show(L"(yes_no)"), L"nil");

  const auto& shown = plat::scripted::shownMessageBoxes();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, L"刪除這個圖層?");
  EXPECT_EQ(shown[0].caption, L"KORA CAD訊息");
  EXPECT_EQ(shown[0].flags, plat::MB_YESNO | plat::MB_ICONQUESTION | plat::MB_TOPMOST);
  EXPECT_EQ(shown[2].text, L"完成");
  EXPECT_EQ(shown[2].flags, plat::MB_OK | plat::MB_ICONINFORMATION | plat::MB_TOPMOST);
}

TEST_F(CoreCommandHandlers, WcAndUcFollowTheUserSystem) {
  EXPECT_EQ(show(L"(wc 0.5)"), L"0.5");  // the world: unchanged
  EXPECT_EQ(show(L"(uc '(1 2))"), L"(1.0 2.0 0.0)");
  eval(L"(command \"ucs\" \"o\" '(100 50) \"ucs\" \"z\" 90)");
  EXPECT_NEAR(eval(L"(wc 0.5)").asReal(), 0.5 + M_PI / 2, 1e-12);
  EXPECT_NEAR(eval(L"(uc 1)").asReal(), 1 - M_PI / 2, 1e-12);
  EXPECT_NEAR(eval(L"(uc 10.0)").asReal(), 10 - M_PI / 2, 1e-12);  // not brought into range
  expectPoint(L"(wc '(10 0))", {100, 60, 0});
  expectPoint(L"(uc '(100 60 5))", {10, 0, 5});
  for (const wchar_t* bad : {L"(wc)", L"(wc \"1\")", L"(uc nil)", L"(wc '(1 2 3 4))"})
    EXPECT_EQ(show(bad), L"nil") << plat::utf8(bad);
}

TEST_F(CoreCommandHandlers, KeystateReadsTheHeldKeys) {
  EXPECT_EQ(show(L"(keystate)"), L"nil");
  plat::scripted::holdKey(plat::VK_SHIFT);
  EXPECT_EQ(show(L"(keystate)"), L"11");
  plat::scripted::holdKey(plat::VK_CONTROL);
  EXPECT_EQ(show(L"(keystate)"), L"10");  // Control wins
  plat::scripted::releaseKey(plat::VK_SHIFT);
  EXPECT_EQ(show(L"(keystate)"), L"10");
}

}  // namespace
