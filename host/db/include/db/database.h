// The drawing database of one document: entities, symbol-table records and dictionaries, each an
// object with an id (the entity name's first word, unique in the process and never reused) and a
// handle (hex text, increasing within the drawing), seen through DXF group codes as entget shows
// them. The model-space order is the order entnext walks, with the sub-entities of a polyline or a
// block reference right after it. Every change is reported to the database's reactors.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/sysvars.h"
#include "db/ucs.h"
#include "db/values.h"
#include "host/ads.h"

namespace host {

class Database;
struct Kind;
class UndoJournal;
struct UndoStep;

// ---- reactors

// Observes one database. Every notification comes after the change is made.
class DatabaseReactor {
 public:
  virtual ~DatabaseReactor() = default;
  virtual void objectAppended(Database& db, ObjectId id) {}
  virtual void objectModified(Database& db, ObjectId id) {}
  virtual void objectErased(Database& db, ObjectId id, bool erased) {}  // false: undeleted
  virtual void sysVarChanged(Database& db, const std::wstring& name) {}
  virtual void goodbye(Database& db) {}  // the database is being destroyed
};

// ---- objects

// Extended data of one registered application: items of group codes 1000 to 1071.
struct XdataApp {
  std::wstring app;
  Groups items;
};

struct Object {
  ObjectId id = 0;
  std::uint64_t handle = 0;
  std::wstring type;  // the DXF name: "TEXT", "LAYER", "DICTIONARY", ...
  ObjectId owner = 0;  // block record, parent entity, symbol table or dictionary
  bool erased = false;
  const Kind* kind = nullptr;
  Groups fixed;  // the kind's groups in entget order, subclass markers included
  Groups records;  // its repeated groups: polyline vertices, multiline vertices, dictionary entries
  std::size_t recordsAt = 0;  // where in the fixed groups the records are shown
  std::vector<XdataApp> xdata;
  std::vector<ObjectId> entities;  // block records: their entities in drawing order

  bool isEntity() const;
  const Value* find(short code) const;  // the first of the fixed groups with the code
  std::wstring text(short code) const;  // a string group's value, empty when absent
};

// The handle as the host writes it: upper-case hex without leading zeros.
std::wstring handleText(std::uint64_t handle);

// ---- DXF group lists and result-buffer chains

// Reads a chain of DXF groups (group 0 as code 0 or RTDXF0). False on a code that is no DXF
// group or a node without its value (a null string).
bool groupsFromChain(const resbuf* chain, Groups& out);
resbuf* chainFromGroups(const Groups& groups);  // the caller frees it with acutRelRb
bool valueFromResbuf(const resbuf* rb, Value& out);  // by the node's own type, RT* or group code
void valueToResbuf(const Value& value, resbuf* rb);  // fills resval; rb->restype is set by the caller

// ---- the database

class Database {
 public:
  Database();  // a new drawing as from the metric template
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // -- objects
  const Object* object(ObjectId id) const;  // null for an id of another drawing; erased included
  ObjectId idOfHandle(std::wstring_view hex) const;  // 0 when unknown
  ObjectId modelSpace() const { return modelSpace_; }

  // -- the model-space order, as entnext and entlast see it (0: none)
  ObjectId firstEntity() const;
  ObjectId nextEntity(ObjectId id) const;  // the next live entity after id, sub-entities included
  ObjectId lastEntity() const;  // the last live main entity

  // -- the DXF view. Status RTNORM, or RTERROR on a bad chain, a dead name or a failed check.
  // Appends an entity, a table record, or the BLOCK ... ENDBLK and complex-entity sequences
  // (POLYLINE VERTEX... SEQEND, INSERT with 66=1 ATTRIB... SEQEND), which appear at their end.
  int make(const Groups& groups, ObjectId* made = nullptr);
  int modify(const Groups& groups);  // the -1 group names the object
  int toggleErase(ObjectId id);  // entdel: erases a live entity, restores an erased one
  // The groups as entget gives them; apps selects extended data by wildcard (null: none).
  // False for an unknown or erased object.
  bool view(ObjectId id, const std::vector<std::wstring>* apps, Groups& out) const;

  // -- symbol tables: LAYER, STYLE, LTYPE, BLOCK, APPID, UCS, VIEW, DIMSTYLE (names ignore case)
  ObjectId record(std::wstring_view table, std::wstring_view name) const;  // 0 when absent
  const std::vector<ObjectId>* records(std::wstring_view table) const;  // null: no such table
  // The tblsearch / tblnext view of a record: (0 . table) (2 . name) groups... [(-2 . first)].
  Groups recordView(ObjectId id) const;
  ObjectId addRecord(std::wstring_view table, const Groups& groups);  // 0 when refused
  bool registerApp(std::wstring_view name);  // true when added or already there
  // tblsearch: as record(), but model and paper space are not shown
  ObjectId searchRecord(std::wstring_view table, std::wstring_view name) const;
  // tblnext: the first record (rewind) or the one after the last given; 0 at the end.
  ObjectId nextRecord(std::wstring_view table, bool rewind);
  void setNextRecord(std::wstring_view table, ObjectId after);  // tblsearch's setnext

  // -- dictionaries
  ObjectId namedObjects() const { return namedObjects_; }
  ObjectId dictionaryEntry(ObjectId dictionary, std::wstring_view key) const;  // 0 when absent
  ObjectId addObject(ObjectId dictionary, std::wstring_view key, const Groups& groups);

  // -- system variables of this drawing
  SysVars& vars() { return vars_; }
  const SysVars& vars() const { return vars_; }

  // -- undo: the journal of this drawing's changes (db/undo.h)
  UndoJournal& undo() { return *undo_; }
  // -- the user coordinate systems the drawing had before its current one, the latest last
  std::vector<Ucs>& previousUcs() { return previousUcs_; }

  // -- reactors (not owned)
  void addReactor(DatabaseReactor* reactor);
  void removeReactor(DatabaseReactor* reactor);
  void notifySysVarChanged(const std::wstring& name);
  // Told by the variables before a value saved with the drawing changes, for the undo journal.
  void varChanging(const std::wstring& name, const Value& before);

 private:
  struct Table {
    ObjectId id = 0;
    std::vector<ObjectId> records;
    std::size_t cursor = 0;
  };
  // an entity sequence made in parts: a block definition or a complex entity
  struct Pending {
    ObjectId owner = 0;  // block record or parent entity
    std::vector<ObjectId> made;
  };

  Object& create(const Kind& kind, ObjectId owner);
  Object* live(ObjectId id);
  Table* table(std::wstring_view name);
  const Table* table(std::wstring_view name) const;
  bool fill(Object& obj, const Groups& body, const Groups& xdata);
  bool checkReferences(const Object& obj) const;
  bool setXdata(Object& obj, const Groups& xdata) const;
  int makeEntity(const Kind& kind, const Groups& body, const Groups& xdata, ObjectId* made);
  int makeRecord(const Kind& kind, const Groups& body, const Groups& xdata, ObjectId* made);
  int makeBlock(const Kind& kind, const Groups& body, ObjectId* made);
  void drop(ObjectId id);
  void commit(const std::vector<ObjectId>& made, ObjectId blockRecord);
  void abandon(Pending& pending);
  void ensureLayer(const Object& obj);
  ObjectId blockOf(const Object& obj) const;
  template <typename F>
  void notify(F f);
  // Puts back the states an undo step saved, telling the reactors.
  friend class UndoJournal;
  void revert(const UndoStep& step);

  std::uint64_t nextHandle_ = 1;
  std::unordered_map<ObjectId, std::unique_ptr<Object>> objects_;
  std::unordered_map<std::uint64_t, ObjectId> byHandle_;
  std::map<std::wstring, Table> tables_;  // by upper-case name
  ObjectId modelSpace_ = 0;
  ObjectId namedObjects_ = 0;
  Pending block_;  // BLOCK made, ENDBLK awaited
  Pending complex_;  // POLYLINE or INSERT made, SEQEND awaited
  std::vector<DatabaseReactor*> reactors_;
  SysVars vars_;
  std::unique_ptr<UndoJournal> undo_;
  std::vector<Ucs> previousUcs_;
};

// The database of the current document; the document manager sets it on every switch.
Database* currentDatabase();
void setCurrentDatabase(Database* db);

}  // namespace host
