// The decisions of the command brackets: drawing scale by space and unit, the answers that turn
// full undo on from each undo control value, and the progress mark's turn.
#include "command_brackets.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(CommandBrackets, DrawingScaleBySpaceAndUnit) {
  struct Case {
    bool paperSpace;
    int useri2, insunits;
    double scale;
  } cases[] = {
      {false, 100, kMillimetres, 1000.0}, {false, 100, kCentimetres, 100.0}, {false, 100, kMetres, 1.0},
      {false, 50, kMetres, 0.5},  // a real, not cut to an integer
      {false, 100, 0, 100.0},  // a unit the suite does not convert: the denominator as it is
      {true, 100, kMillimetres, 1.0},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(drawingScale(c.paperSpace, c.useri2, c.insunits), c.scale)
        << c.paperSpace << " " << c.useri2 << " " << c.insunits;
}

TEST(CommandBrackets, UndoIsTurnedOnWhateverTheOtherControlBits) {
  using Answers = std::vector<std::wstring>;
  EXPECT_EQ(undoSwitchAnswers(0), Answers{L"a"});
  EXPECT_EQ(undoSwitchAnswers(16), Answers{L"a"});  // off, with pan and zoom combined
  EXPECT_EQ(undoSwitchAnswers(48), Answers{L"a"});
  EXPECT_EQ(undoSwitchAnswers(3), (Answers{L"c", L"a"}));
  EXPECT_EQ(undoSwitchAnswers(23), (Answers{L"c", L"a"}));  // one step, auto, combined
  EXPECT_EQ(undoSwitchAnswers(1), Answers{});
  EXPECT_EQ(undoSwitchAnswers(21), Answers{});
  EXPECT_EQ(undoSwitchAnswers(29), Answers{});  // a group is active
}

TEST(CommandBrackets, TheProgressMarkTurns) {
  ProgressSpinner spinner;
  std::wstring marks;
  for (int i = 0; i < 9; ++i) marks += spinner.next();
  EXPECT_EQ(marks, L"-/|\\-/|\\-");
}

}  // namespace
}  // namespace core
