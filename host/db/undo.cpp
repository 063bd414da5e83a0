// The undo journal: the open step, the history of closed steps and groups, and undoing a step by
// handing the database back the states the step saved.
#include "db/undo.h"

namespace host {

void UndoJournal::objectMade(ObjectId id) {
  if (recording()) open_.objects.try_emplace(id, std::nullopt);
}

void UndoJournal::objectChanging(const Object& before) {
  if (recording()) open_.objects.try_emplace(before.id, before);
}

void UndoJournal::objectDropped(ObjectId id) {
  auto it = open_.objects.find(id);
  if (it != open_.objects.end() && !it->second) open_.objects.erase(it);
}

void UndoJournal::tableChanging(const std::wstring& table, const std::vector<ObjectId>& records) {
  if (recording()) open_.tableRecords.try_emplace(table, records);
}

void UndoJournal::varChanging(const std::wstring& name, const Value& before) {
  if (recording()) open_.vars.try_emplace(name, before);
}

int UndoJournal::control() const { return db_.vars().getInt(L"UNDOCTL"); }

void UndoJournal::setControl(int value) { db_.vars().setReadOnly(L"UNDOCTL", static_cast<short>(value)); }

void UndoJournal::pushStep(UndoStep step) {
  if (step.empty()) return;
  history_.push_back(std::move(step));
  if (control() & kUndoOneStep) history_.erase(history_.begin(), history_.end() - 1);
}

void UndoJournal::endStep() {
  if (groupActive()) return;
  pushStep(std::move(open_));
  open_ = {};
}

void UndoJournal::beginGroup() {
  if (!(control() & kUndoOn)) return;
  endGroup();
  endStep();
  setFlag(kUndoGroupActive, true);
}

void UndoJournal::endGroup() {
  if (!groupActive()) return;
  setFlag(kUndoGroupActive, false);
  endStep();
}

int UndoJournal::undo(int steps) {
  endGroup();
  endStep();
  int undone = 0;
  undoing_ = true;
  for (; undone < steps && !history_.empty(); ++undone) {
    UndoStep step = std::move(history_.back());
    history_.pop_back();
    db_.revert(step);
  }
  undoing_ = false;
  return undone;
}

void UndoJournal::setEnabled(bool on, bool oneStep) {
  if (on) {
    endGroup();  // a change of control ends an active group
    endStep();
  } else {
    history_.clear();
    open_ = {};
  }
  int value = control() & ~(kUndoOn | kUndoOneStep | kUndoGroupActive | (on ? 0 : kUndoAuto));
  if (on) value |= kUndoOn | (oneStep ? kUndoOneStep : 0);
  setControl(value);
  if (oneStep && history_.size() > 1) history_.erase(history_.begin(), history_.end() - 1);
}

void UndoJournal::setFlag(int bit, bool on) { setControl(on ? control() | bit : control() & ~bit); }

}  // namespace host
