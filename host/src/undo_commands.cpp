// The UNDO and U commands over the drawing's undo journal. What UNDO asks depends on the undo
// control (UNDOCTL): with undo off it asks only for the control option; with one step only it
// takes a number or Control; otherwise a number of steps to undo or Auto, Control, BEgin, End.
#include <algorithm>

#include "db/undo.h"
#include "host/session.h"
#include "host_commands.h"

namespace host {
namespace {

void print(const wchar_t* text) { Session::active()->print(text); }

// Undoes up to `steps` steps, saying so when the history runs out.
void undoSteps(UndoJournal& journal, int steps) {
  if (journal.undo(steps) < steps) print(L"\nEverything has been undone");
}

// Combine and Layer: Yes (also Enter) or No.
CommandEnd yesNo(CommandInput& input, UndoJournal& journal, int bit) {
  Reply r = input.ask({L"Yes", L"No"}, kKeywordsOnly);
  if (r.kind == Reply::Missing) return CommandEnd::Cancelled;
  journal.setFlag(bit, !(r.kind == Reply::Keyword && r.keyword == 1));
  return CommandEnd::Done;
}

// Control: All (also Enter), None, One, Combine, Layer.
CommandEnd controlOption(CommandInput& input, UndoJournal& journal) {
  enum { All, None, One, Combine, Layer };
  constexpr int kCombineZoom = 16, kCombineLayer = 32;
  Reply r = input.ask({L"All", L"None", L"One", L"Combine", L"Layer"}, kKeywordsOnly);
  if (r.kind == Reply::Missing) return CommandEnd::Cancelled;
  switch (r.kind == Reply::Keyword ? r.keyword : All) {
    case None:
      journal.setEnabled(false, false);
      return CommandEnd::Done;
    case One:
      journal.setEnabled(true, true);
      return CommandEnd::Done;
    case Combine:
      return yesNo(input, journal, kCombineZoom);
    case Layer:
      return yesNo(input, journal, kCombineLayer);
    default:
      journal.setEnabled(true, false);
      return CommandEnd::Done;
  }
}

// Auto: ON or OFF; Enter keeps the setting.
CommandEnd autoOption(CommandInput& input, UndoJournal& journal) {
  Reply r = input.ask({L"ON", L"OFF"}, kKeywordsOnly);
  if (r.kind == Reply::Missing) return CommandEnd::Cancelled;
  if (r.kind == Reply::Keyword) journal.setFlag(kUndoAuto, r.keyword == 0);
  return CommandEnd::Done;
}

// A number of steps to undo, 1 on Enter; nullopt for a keyword. Numbers below 1 are refused.
std::optional<int> stepsOf(const Reply& r) {
  if (r.kind == Reply::Enter) return 1;
  if (r.kind == Reply::Number) return static_cast<int>(std::min(r.number, 1e9));
  return std::nullopt;
}

}  // namespace

CommandEnd undoCommand(CommandInput& input, Database& db) {
  UndoJournal& journal = db.undo();
  int control = journal.control();
  if (!(control & kUndoOn)) return controlOption(input, journal);

  enum { Control, Auto, Begin, End };
  bool oneStep = control & kUndoOneStep;
  Reply r;
  do {
    r = oneStep ? input.ask({L"Control"}, kInteger)
                : input.ask({L"Control", L"Auto", L"BEgin", L"End"}, kInteger);
    if (r.kind == Reply::Number && r.number < 1) print(L"\nValue must be positive and nonzero.");
  } while (r.kind == Reply::Number && r.number < 1);
  if (r.kind == Reply::Missing) return CommandEnd::Cancelled;
  if (auto steps = stepsOf(r)) {
    undoSteps(journal, *steps);
    return CommandEnd::Done;
  }
  switch (r.keyword) {
    case Control:
      return controlOption(input, journal);
    case Auto:
      return autoOption(input, journal);
    case Begin:
      journal.beginGroup();
      return CommandEnd::Done;
    default:
      journal.endGroup();
      return CommandEnd::Done;
  }
}

CommandEnd uCommand(CommandInput&, Database& db) {
  UndoJournal& journal = db.undo();
  if (!(journal.control() & kUndoOn)) {
    print(L"\nU command disabled. Use UNDO command to turn it on");
    return CommandEnd::Done;
  }
  undoSteps(journal, 1);
  return CommandEnd::Done;
}

}  // namespace host
