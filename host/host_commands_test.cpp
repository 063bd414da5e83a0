// The host's own commands through `command`, acedCommandS and acedCmdS: the UCS forms and trans,
// UNDO with its options and the U command over real undo groups, prompts that re-ask and commands
// cancelled for want of input.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "host/ads.h"
#include "host/session.h"
#include "platform/codepage.h"
#include "testing.h"

namespace {

using Xyz = std::array<double, 3>;

class HostCommandsTest : public kctest::HostTest {
 protected:
  HostCommandsTest() : HostTest(false) {}
  // A LISP point as three numbers.
  Xyz point(const std::wstring& source) {
    auto items = eval(source).listToVector();
    Xyz p{NAN, NAN, NAN};
    for (std::size_t i = 0; i < items.size() && i < 3; ++i) p[i] = items[i].asNumber();
    return p;
  }
  void expectPoint(const std::wstring& source, Xyz expected) {
    Xyz p = point(source);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], expected[i], 1e-9) << plat::utf8(source) << " [" << i << "]";
  }
  int undoctl() { return eval(L"(getvar \"UNDOCTL\")").asInt(); }
  int entities() { return eval(L"(setq n 0 e (entnext)) (while e (setq n (1+ n) e (entnext e))) n").asInt(); }
  void line() { eval(L"(entmake '((0 . \"LINE\") (10 0.0 0.0 0.0) (11 1.0 1.0 0.0)))"); }
};

TEST_F(HostCommandsTest, UcsOriginZRotationPreviousAndWorld) {
  eval(L"(command \"ucs\" \"o\" '(100 50))");
  expectPoint(L"(getvar \"UCSORG\")", {100, 50, 0});
  EXPECT_EQ(eval(L"(getvar \"WORLDUCS\")").asInt(), 0);
  eval(L"(command \"._UCS\" \"_Z\" 90)");
  expectPoint(L"(getvar \"UCSXDIR\")", {0, 1, 0});
  expectPoint(L"(getvar \"UCSYDIR\")", {-1, 0, 0});
  expectPoint(L"(trans '(10 0) 1 0)", {100, 60, 0});
  expectPoint(L"(trans '(100 60 0) 0 1)", {10, 0, 0});
  expectPoint(L"(trans '(10 0 0) 1 0 T)", {0, 10, 0});  // a displacement keeps no origin
  expectPoint(L"(trans '(10 0 0) 1 2)", {10, 0, 0});  // the display is the user system
  eval(L"(command \"ucs\" \"previous\")");
  expectPoint(L"(getvar \"UCSXDIR\")", {1, 0, 0});
  expectPoint(L"(getvar \"UCSORG\")", {100, 50, 0});
  eval(L"(command \"ucs\" \"\")");  // Enter: the world
  expectPoint(L"(getvar \"UCSORG\")", {0, 0, 0});
  EXPECT_EQ(eval(L"(getvar \"WORLDUCS\")").asInt(), 1);
}

TEST_F(HostCommandsTest, UcsAnswersInEveryForm) {
  struct Case {
    const wchar_t* command;
    Xyz origin, xDir;
  };
  const Case cases[] = {
      {L"(command \"ucs\" \"z\" \"\")", {0, 0, 0}, {0, 1, 0}},  // 90 on Enter
      {L"(command \"ucs\" \"z\" \"-30\")", {0, 0, 0}, {std::sqrt(3) / 2, -0.5, 0}},
      {L"(command \"ucs\" \"o\" \"5,6\")", {5, 6, 0}, {1, 0, 0}},
      {L"(command \"ucs\" '(1 2) \"\")", {1, 2, 0}, {1, 0, 0}},
      {L"(command \"ucs\" '(1 2) '(1 9) \"\")", {1, 2, 0}, {0, 1, 0}},
      {L"(command \"ucs\" \"n\" \"z\" 180)", {0, 0, 0}, {-1, 0, 0}},
      {L"(command \"ucs\" \"o\" '(1 1) \"ucs\" \"o\" '(1 1))", {2, 2, 0}, {1, 0, 0}},  // two commands
      {L"(command \"ucs\" \"z\" \"abc\" \"nan\" 'x 45)", {0, 0, 0}, {M_SQRT1_2, M_SQRT1_2, 0}},  // re-asked
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(plat::utf8(c.command));
    eval(L"(command \"ucs\" \"w\")");
    eval(c.command);
    expectPoint(L"(getvar \"UCSORG\")", c.origin);
    expectPoint(L"(getvar \"UCSXDIR\")", c.xDir);
  }
  EXPECT_NE(takeOutput().find(L"Invalid input: \"abc\""), std::wstring::npos);
}

TEST_F(HostCommandsTest, ACommandWithoutItsAnswersIsCancelled) {
  eval(L"(command \"ucs\" \"o\")");
  expectPoint(L"(getvar \"UCSORG\")", {0, 0, 0});
  EXPECT_NE(takeOutput().find(L"*Cancel*"), std::wstring::npos);
  EXPECT_EQ(acedCommandS(RTSTR, L"_UCS", RTSTR, L"_Origin", RTNONE), RTCAN);
  ads_point at = {3, 4, 0};
  EXPECT_EQ(acedCommandS(RTSTR, L"_UCS", RTSTR, L"_Origin", RTPOINT, at, RTNONE), RTNORM);
  expectPoint(L"(getvar \"UCSORG\")", {3, 4, 0});
}

TEST_F(HostCommandsTest, UnknownCommandsAndBadNamesAreErrors) {
  EXPECT_TRUE(session().evaluate(L"(command \"nosuch\")").failed);
  EXPECT_TRUE(session().evaluate(L"(command 12)").failed);
  EXPECT_EQ(acedCommandS(RTSTR, L"nosuch", RTNONE), RTERROR);
  EXPECT_TRUE(eval(L"(command)").isNil());
  EXPECT_TRUE(eval(L"(command \"\")").isNil());
}

TEST_F(HostCommandsTest, TransTakesEntityAndExtrusionSystems) {
  eval(L"(entmake '((0 . \"CIRCLE\") (10 1.0 2.0 3.0) (40 . 1.0) (210 0.0 0.0 -1.0)))");
  expectPoint(L"(trans '(1 2 3) (entlast) 0)", {-1, 2, -3});
  expectPoint(L"(trans '(1 2 3) '(0 0 -1) 0)", {-1, 2, -3});
  expectPoint(L"(trans '(1 0 0) 0 '(1 0 0))", {0, 0, 1});
  for (const wchar_t* bad : {L"(trans '(1 2) 7 0)", L"(trans '(1 2) 0 '(0 0 0))", L"(trans \"p\" 0 1)",
                             L"(trans '(1 2) 0 \"ucs\")", L"(trans '(1 2) 0)"})
    EXPECT_TRUE(session().evaluate(bad).failed) << plat::utf8(bad);

  resbuf world{}, ucs{}, text{};
  world.restype = ucs.restype = RTSHORT;
  ucs.resval.rint = 1;
  text.restype = RTSTR;
  ads_point in = {1, 2, 0}, out;
  EXPECT_EQ(acedTrans(in, &world, &ucs, 0, out), RTNORM);
  EXPECT_EQ(acedTrans(in, &world, &text, 0, out), RTERROR);
}

TEST_F(HostCommandsTest, UUndoesOneEntryAndUndoNumberSeveral) {
  line();
  line();
  line();
  eval(L"(command \"ucs\" \"o\" '(7 7))");
  ASSERT_EQ(entities(), 3);
  eval(L"(command \"u\")");  // the UCS command
  expectPoint(L"(getvar \"UCSORG\")", {0, 0, 0});
  EXPECT_EQ(entities(), 3);
  eval(L"(command \"_.undo\" 2)");
  EXPECT_EQ(entities(), 1);
  eval(L"(command \"undo\" \"\")");  // Enter: one
  EXPECT_EQ(entities(), 0);
  takeOutput();
  eval(L"(command \"u\")");
  EXPECT_NE(takeOutput().find(L"Everything has been undone"), std::wstring::npos);
  eval(L"(command \"undo\" 0 1)");  // zero is refused and re-asked
  EXPECT_NE(takeOutput().find(L"positive"), std::wstring::npos);
}

TEST_F(HostCommandsTest, BeginAndEndMakeOneGroup) {
  line();
  eval(L"(command \"undo\" \"be\")");
  EXPECT_EQ(undoctl() & 8, 8);
  line();
  eval(L"(command \"ucs\" \"z\" 45)");
  line();
  eval(L"(command \"undo\" \"e\")");
  EXPECT_EQ(undoctl() & 8, 0);
  eval(L"(command \"u\")");
  EXPECT_EQ(entities(), 1);
  expectPoint(L"(getvar \"UCSXDIR\")", {1, 0, 0});
  eval(L"(command \"undo\" \"e\")");  // no group: nothing
  EXPECT_EQ(entities(), 1);
}

TEST_F(HostCommandsTest, ControlAndAutoSetTheUndoControlBits) {
  struct Case {
    const wchar_t* command;
    int undoctl;
  };
  const Case cases[] = {
      {L"(command \"undo\" \"a\" \"off\")", 17},  {L"(command \"undo\" \"auto\" \"ON\")", 21},
      {L"(command \"undo\" \"c\" \"one\")", 23},  {L"(command \"undo\" \"be\")", 23},  // no group in one
      {L"(command \"undo\" \"c\" \"a\")", 21},    {L"(command \"undo\" \"c\" \"c\" \"n\")", 5},
      {L"(command \"undo\" \"c\" \"c\" \"\")", 21}, {L"(command \"undo\" \"c\" \"none\")", 16},
      {L"(command \"undo\" \"a\")", 17},  // with undo off the control option is asked at once
  };
  ASSERT_EQ(undoctl(), 21);
  for (const Case& c : cases) {
    eval(c.command);
    EXPECT_EQ(undoctl(), c.undoctl) << plat::utf8(c.command);
  }
}

TEST_F(HostCommandsTest, WithUndoOffNothingIsKept) {
  line();
  eval(L"(command \"undo\" \"c\" \"n\")");
  line();
  takeOutput();
  eval(L"(command \"u\")");
  EXPECT_NE(takeOutput().find(L"U command disabled"), std::wstring::npos);
  EXPECT_EQ(entities(), 2);
  eval(L"(command \"undo\" \"all\")");
  eval(L"(command \"u\")");
  EXPECT_EQ(entities(), 2);  // the history went when undo was turned off
}

TEST_F(HostCommandsTest, OneStepUndoKeepsOnlyTheLastStep) {
  eval(L"(command \"undo\" \"c\" \"o\")");
  line();
  line();
  eval(L"(command \"undo\" 5)");
  EXPECT_EQ(entities(), 1);
  eval(L"(command \"undo\" \"c\" \"a\" \"undo\" 1)");  // control, then a number
  EXPECT_EQ(entities(), 1);
}

TEST_F(HostCommandsTest, ModulesRunCommandsThroughAcedCmdS) {
  resbuf* args = acutBuildList(RTSTR, L"_.UNDO", RTSTR, L"_BEgin", 0);
  EXPECT_EQ(acedCmdS(args), RTNORM);
  acutRelRb(args);
  EXPECT_EQ(undoctl() & 8, 8);
  EXPECT_EQ(acedCommandS(RTSTR, L".undo", RTSTR, L"e", RTNONE), RTNORM);
  EXPECT_EQ(undoctl() & 8, 0);
}

TEST_F(HostCommandsTest, CFunctionsRunAsCommandsOfTheirOwn) {
  eval(L"(defun c:twolines () (entmake '((0 . \"LINE\") (10 0 0) (11 1 1))) (entmake '((0 . \"LINE\") (10 0 0) (11 2 2))))");
  line();
  eval(L"(command \"twolines\" \"ignored\")");
  EXPECT_EQ(entities(), 3);
  eval(L"(command \"u\")");
  EXPECT_EQ(entities(), 1);
}

}  // namespace
