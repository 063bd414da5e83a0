// The undo journal over the drawing database: steps and groups undone whole, every kind of change
// put back (made, changed, erased objects, table records, drawing variables), what undo control
// keeps, and what the reactors hear.
#include "db/undo.h"

#include "test_support.h"

namespace host::test {
namespace {

const Point kP{1, 2, 0};
const Point kQ{5, 6, 0};

class UndoTest : public DrawingTest {
 protected:
  UndoJournal& journal() { return db.undo(); }
  ObjectId make(Groups groups) {
    ObjectId id = 0;
    EXPECT_EQ(db.make(groups, &id), RTNORM);
    return id;
  }
  ObjectId line() { return make({{0, std::wstring(L"LINE")}, {10, kP}, {11, kQ}}); }
  // The model-space entities entnext walks, by type.
  std::vector<std::wstring> walk() {
    std::vector<std::wstring> types;
    for (ObjectId id = db.firstEntity(); id; id = db.nextEntity(id)) types.push_back(db.object(id)->type);
    return types;
  }
  bool alive(ObjectId id) {
    Groups g;
    return db.view(id, nullptr, g);
  }
};

TEST_F(UndoTest, EachStepIsUndoneOnItsOwn) {
  ObjectId a = line();
  journal().endStep();
  ObjectId b = make({{0, std::wstring(L"CIRCLE")}, {10, kP}, {40, 1.0}});
  journal().endStep();
  EXPECT_EQ(journal().undo(1), 1);
  EXPECT_EQ(walk(), std::vector<std::wstring>{L"LINE"});
  EXPECT_FALSE(alive(b));
  EXPECT_EQ(db.lastEntity(), a);
  EXPECT_EQ(journal().undo(5), 1);  // the history runs out
  EXPECT_TRUE(walk().empty());
  EXPECT_EQ(journal().undo(1), 0);

  ObjectId c = line();  // the drawing goes on normally after undo
  EXPECT_EQ(walk(), std::vector<std::wstring>{L"LINE"});
  EXPECT_EQ(db.firstEntity(), c);
}

TEST_F(UndoTest, TheOpenStepIsClosedByUndo) {
  line();
  EXPECT_EQ(journal().undo(1), 1);
  EXPECT_TRUE(walk().empty());
}

TEST_F(UndoTest, AGroupIsUndoneAsOneStep) {
  line();
  journal().endStep();
  journal().beginGroup();
  EXPECT_TRUE(db.vars().getInt(L"UNDOCTL") & kUndoGroupActive);
  line();
  journal().endStep();  // the boundaries of commands inside the group
  make({{0, std::wstring(L"TEXT")}, {10, kP}, {40, 1.0}, {1, std::wstring(L"t")}});
  journal().endStep();
  journal().endGroup();
  EXPECT_FALSE(db.vars().getInt(L"UNDOCTL") & kUndoGroupActive);
  EXPECT_EQ(journal().undo(1), 1);
  EXPECT_EQ(walk(), std::vector<std::wstring>{L"LINE"});
}

TEST_F(UndoTest, BeginWhileAGroupIsActiveEndsItFirst) {
  journal().beginGroup();
  line();
  journal().beginGroup();
  line();
  journal().endGroup();
  EXPECT_EQ(journal().undo(1), 1);
  EXPECT_EQ(walk().size(), 1u);
}

TEST_F(UndoTest, ChangesAreUndoneToTheirEarlierState) {
  ObjectId text = make({{0, std::wstring(L"TEXT")}, {10, kP}, {40, 1.0}, {1, std::wstring(L"old")}});
  ObjectId pl = make({{0, std::wstring(L"POLYLINE")}});
  make({{0, std::wstring(L"VERTEX")}, {10, kP}});
  make({{0, std::wstring(L"SEQEND")}});
  journal().endStep();

  ASSERT_EQ(db.modify({{-1, Ref{text}}, {1, std::wstring(L"new")}, {8, std::wstring(L"牆")}}), RTNORM);
  ASSERT_EQ(db.toggleErase(pl), RTNORM);
  ASSERT_EQ(db.vars().set(L"TEXTSIZE", 5.0), RTNORM);
  ASSERT_NE(db.record(L"LAYER", L"牆"), 0);
  journal().endStep();

  EXPECT_EQ(journal().undo(1), 1);
  EXPECT_EQ(db.object(text)->text(1), L"old");
  EXPECT_EQ(db.object(text)->text(8), L"0");
  EXPECT_EQ(db.record(L"LAYER", L"牆"), 0);  // the layer the change made is gone
  EXPECT_EQ(walk(), (std::vector<std::wstring>{L"TEXT", L"POLYLINE", L"VERTEX", L"SEQEND"}));
  EXPECT_EQ(db.vars().getReal(L"TEXTSIZE"), 2.5);
}

TEST_F(UndoTest, BlocksAndDictionaryEntriesMadeInAStepGo) {
  make({{0, std::wstring(L"BLOCK")}, {2, std::wstring(L"Door")}, {10, kP}});
  line();
  make({{0, std::wstring(L"ENDBLK")}});
  ObjectId styles = db.dictionaryEntry(db.namedObjects(), L"ACAD_MLINESTYLE");
  ASSERT_NE(db.addObject(styles, L"Wall", {{0, std::wstring(L"MLINESTYLE")}, {2, std::wstring(L"Wall")}}), 0);
  journal().endStep();
  journal().undo(1);
  EXPECT_EQ(db.record(L"BLOCK", L"Door"), 0);
  EXPECT_EQ(db.dictionaryEntry(styles, L"Wall"), 0);
  EXPECT_NE(db.dictionaryEntry(styles, L"Standard"), 0);
  EXPECT_EQ(db.nextRecord(L"BLOCK", true), 0);  // tblnext shows no block
}

TEST_F(UndoTest, DocumentVariablesAndUndoControlAreNotUndone) {
  ASSERT_EQ(db.vars().set(L"USERS1", std::wstring(L"kept")), RTNORM);
  journal().endStep();
  journal().undo(1);
  EXPECT_EQ(db.vars().getString(L"USERS1"), L"kept");
  EXPECT_EQ(db.vars().getInt(L"UNDOCTL"), 21);
}

TEST_F(UndoTest, UndoControlDecidesWhatIsKept) {
  struct Case {
    const char* name;
    bool on, oneStep;
    int control;  // UNDOCTL afterwards, from 21
    int undone;  // of two steps recorded afterwards
  };
  for (const Case& c : {Case{"none", false, false, 16, 0}, Case{"one", true, true, 23, 1},
                        Case{"all", true, false, 21, 2}}) {
    SCOPED_TRACE(c.name);
    journal().setEnabled(c.on, c.oneStep);
    EXPECT_EQ(db.vars().getInt(L"UNDOCTL"), c.control);
    std::size_t before = walk().size();
    line();
    journal().endStep();
    line();
    journal().endStep();
    EXPECT_EQ(journal().undo(5), c.undone);
    EXPECT_EQ(walk().size(), before + 2 - c.undone);
    journal().setEnabled(true, false);
    journal().setFlag(kUndoAuto, true);  // turning undo off turned auto off too
  }
}

TEST_F(UndoTest, TurningUndoOffForgetsTheHistoryAndEndsTheGroup) {
  line();
  journal().beginGroup();
  line();
  journal().setEnabled(false, false);
  EXPECT_EQ(db.vars().getInt(L"UNDOCTL"), 16);
  journal().beginGroup();  // no groups while undo is off
  EXPECT_FALSE(journal().groupActive());
  journal().setEnabled(true, false);
  EXPECT_EQ(journal().undo(1), 0);
  EXPECT_EQ(walk().size(), 2u);
}

TEST_F(UndoTest, ARefusedEntmakeLeavesNoStep) {
  ObjectId id = 0;
  EXPECT_EQ(db.make({{0, std::wstring(L"TEXT")}, {1, short(3)}}, &id), RTERROR);
  journal().endStep();
  EXPECT_EQ(journal().stepCount(), 0u);
}

TEST_F(UndoTest, ReactorsHearWhatUndoChanged) {
  struct Ear : DatabaseReactor {
    std::vector<std::wstring> heard;
    void objectErased(Database&, ObjectId, bool erased) override { heard.push_back(erased ? L"erased" : L"unerased"); }
    void objectModified(Database&, ObjectId) override { heard.push_back(L"modified"); }
    void sysVarChanged(Database&, const std::wstring& name) override { heard.push_back(name); }
  } ear;
  ObjectId a = line();
  journal().endStep();
  line();
  ASSERT_EQ(db.toggleErase(a), RTNORM);
  ASSERT_EQ(db.vars().set(L"LTSCALE", 2.0), RTNORM);
  journal().endStep();
  db.addReactor(&ear);
  journal().undo(1);
  db.removeReactor(&ear);
  // the model-space record's order changed too
  std::sort(ear.heard.begin(), ear.heard.end());
  EXPECT_EQ(ear.heard, (std::vector<std::wstring>{L"LTSCALE", L"erased", L"modified", L"unerased"}));
}

}  // namespace
}  // namespace host::test
