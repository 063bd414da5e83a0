// The decisions of kcCore's command brackets and progress mark, free of the host.
#include "command_brackets.h"

namespace core {

double drawingScale(bool paperSpace, int scaleDenominator, int insunits) {
  if (paperSpace) return 1.0;
  switch (insunits) {
    case kMillimetres:
      return scaleDenominator * 10.0;
    case kMetres:
      return scaleDenominator / 100.0;
    default:  // centimetres, the suite's base unit, and every unit it does not convert
      return scaleDenominator;
  }
}

std::vector<std::wstring> undoSwitchAnswers(int undoctl) {
  // UNDOCTL bit 1: undo on; bit 2: one step only. The higher bits (auto, group, combine) do not
  // change what the UNDO command asks.
  constexpr int kOn = 1, kOneStep = 2;
  if (!(undoctl & kOn)) return {L"a"};
  if (undoctl & kOneStep) return {L"c", L"a"};
  return {};
}

wchar_t ProgressSpinner::next() {
  static constexpr wchar_t kMarks[] = {L'-', L'/', L'|', L'\\'};
  wchar_t mark = kMarks[counter_];
  counter_ = (counter_ + 1) % 4;
  return mark;
}

}  // namespace core
