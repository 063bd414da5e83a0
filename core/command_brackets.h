// What kcCore's command brackets decide: the drawing scale a suite command works at, the answers
// that turn the host's full undo on before the command's undo group begins, and the turning bar
// of the progress mark.
#pragma once

#include <string>
#include <vector>

namespace core {

// Host drawing units (INSUNITS) the suite converts.
constexpr int kMillimetres = 4, kCentimetres = 5, kMetres = 6;

// The scale symbol's value: 1 in a paper-space layout; otherwise the drawing's scale denominator
// (USERI2, a centimetre figure) in drawing units. Drawings in other units take it as it is.
double drawingScale(bool paperSpace, int scaleDenominator, int insunits);

// The answers to ".undo" that turn full undo on from an undo control value (UNDOCTL): with undo
// off the command asks for the control option at once ("a", All); with one-step undo it goes
// through Control ("c", "a"); with full undo there is nothing to do (empty).
std::vector<std::wstring> undoSwitchAnswers(int undoctl);

// The progress mark: "-", "/", "|", "\" in turn, from "-".
class ProgressSpinner {
 public:
  wchar_t next();

 private:
  int counter_ = 0;
};

}  // namespace core
