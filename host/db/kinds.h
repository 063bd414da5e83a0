// The DXF layout of every kind of object the database keeps: which groups it has, in which order
// entget shows them, which are required, their defaults, and the repeated groups (vertices,
// dictionary entries). Private to the database.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "host/ads.h"

namespace host {

enum GroupFlag : unsigned {
  Required = 1,  // entmake fails without it
  Optional = 2,  // shown only when given
  Count = 4,  // the number of repeated records, worked out
  Marker = 8,  // a subclass marker (100) with a constant text
};

struct GroupDef {
  short code = 0;
  Value initial;
  unsigned flags = 0;
  const wchar_t* var = nullptr;  // the default comes from this system variable
  const wchar_t* table = nullptr;  // the value names a record of this symbol table

  GroupDef& from(const wchar_t* name) { var = name; return *this; }
  GroupDef& names(const wchar_t* tableName) { table = tableName; return *this; }
};

enum class Category {
  Entity,  // a main entity of a block record
  SubEntity,  // VERTEX or ATTRIB: follows its parent
  SeqEnd,  // closes a complex entity
  Record,  // a symbol-table record
  BlockBegin,  // BLOCK: starts a block definition
  BlockEnd,  // ENDBLK
  Object,  // a dictionary or an object kept in one
};

struct Kind {
  std::wstring name;
  Category category;
  std::wstring owner = {};  // records: their table; sub-entities: the parent's kind
  std::vector<GroupDef> head = {};
  std::vector<GroupDef> record = {};  // one repeated record; its first group starts each record
  std::vector<short> extras = {};  // further groups kept verbatim inside a record
  std::vector<GroupDef> foot = {};
  std::size_t minRecords = 0;
};

const Kind* findKind(std::wstring_view name);  // by DXF name, any case

// Sets the object's fixed groups and records from the input groups (no -1, 0, 5, 330, 100 or
// extended data) laid over its current ones, filling defaults. False when a group does not
// belong to the kind, has the wrong value type, or a required one is missing.
bool fillGroups(const Kind& kind, const Groups& input, Object& obj, const SysVars& vars);

// True when the value has the storage type of the group code.
bool valueFits(short code, const Value& value);
RbValueKind groupValueKind(int code);

}  // namespace host
