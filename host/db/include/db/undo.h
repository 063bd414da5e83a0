// The undo journal of one drawing. Before the database changes an object, a symbol table's list
// or a variable saved with the drawing, it hands the journal the state it had; the changes since
// the last step boundary form the open step. A step boundary (the end of a command or of one
// entry on the command line) closes the open step into the history, unless a group is active:
// then everything until the group ends is one step. Undoing a step puts back every state it
// holds, so the drawing is as it was before the step. The undo control setting (the UNDOCTL
// variable: 1 on, 2 one step only, 4 auto, 8 group active) decides what is kept.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "db/database.h"

namespace host {

// UNDOCTL bits.
constexpr int kUndoOn = 1, kUndoOneStep = 2, kUndoAuto = 4, kUndoGroupActive = 8;

// What one step changed, as it was before the step.
struct UndoStep {
  std::map<ObjectId, std::optional<Object>> objects;  // nullopt: the object was made in the step
  std::map<std::wstring, std::vector<ObjectId>> tableRecords;  // by upper-case table name
  std::map<std::wstring, Value> vars;  // by upper-case variable name
  bool empty() const { return objects.empty() && tableRecords.empty() && vars.empty(); }
};

class UndoJournal {
 public:
  explicit UndoJournal(Database& db) : db_(db) {}

  // -- recording, called by the database before each change
  void objectMade(ObjectId id);
  void objectChanging(const Object& before);
  void objectDropped(ObjectId id);  // a made object that never joined the drawing
  void tableChanging(const std::wstring& table, const std::vector<ObjectId>& records);
  void varChanging(const std::wstring& name, const Value& before);

  // -- steps and groups
  void endStep();  // a step boundary
  void beginGroup();  // ends an active group first
  void endGroup();  // nothing when no group is active
  bool groupActive() const { return (control() & kUndoGroupActive) != 0; }
  // Ends an active group, closes the open step and undoes up to `steps` steps, the latest first.
  // Returns how many were undone (fewer when the history runs out).
  int undo(int steps);
  std::size_t stepCount() const { return history_.size(); }

  // -- control: the UNDOCTL value
  int control() const;
  void setEnabled(bool on, bool oneStep);  // Control All / One; off (None) forgets the history
  void setFlag(int bit, bool on);  // Auto and the combine flags

  // True while undoing: reactors see the changes, but nothing they change is recorded.
  bool undoing() const { return undoing_; }

 private:
  bool recording() const { return !undoing_ && (control() & kUndoOn) != 0; }
  void setControl(int value);
  void pushStep(UndoStep step);

  Database& db_;
  UndoStep open_;
  std::vector<UndoStep> history_;
  bool undoing_ = false;
};

}  // namespace host
