// System variables: the table of every variable the host knows (type, value in a new metric
// drawing, range, read-only flag, where the value lives) and the values of one drawing. Names
// ignore case; a wrong type, a value out of range or a read-only name is refused with RTERROR.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "db/values.h"
#include "host/ads.h"

namespace host {

class Database;

enum class VarType { Short, Long, Real, String, Point2, Point3 };

// Where a value lives: saved with the drawing, kept by the document but not saved, or one value
// for the whole session shared by every document.
enum class VarScope { Drawing, Document, Session };

struct VarDef {
  const wchar_t* name;  // upper case
  VarType type;
  Value initial;  // short, int32_t, double, wstring or Point, by type
  bool readOnly = false;
  double min = 1, max = 0;  // inclusive range of a number; none when min > max
  VarScope scope = VarScope::Drawing;
  Value (*compute)() = nullptr;  // a value the host works out when read (DATE, MILLISECS)
  // a string the drawing must accept: CLAYER names a layer, TEXTSTYLE a text style
  bool (*accepts)(const Database& db, const std::wstring& value) = nullptr;
};

std::span<const VarDef> varDefs();
const VarDef* findVar(std::wstring_view name);  // null when unknown

class SysVars {
 public:
  explicit SysVars(Database& db);

  // RTNORM with the value (in the variable's own type), or RTERROR for an unknown name.
  int get(std::wstring_view name, Value& out) const;
  // Integers are accepted for reals and 2D points for 3D ones; RTERROR for an unknown or
  // read-only name, a wrong type, a value out of range or a string the drawing refuses.
  int set(std::wstring_view name, const Value& value);
  // The host's own setter, for read-only variables such as DWGNAME: checks the type only.
  int setReadOnly(std::wstring_view name, const Value& value);

  // Shorthands for the host's own reads; the variable must exist with that type.
  int getInt(std::wstring_view name) const;
  double getReal(std::wstring_view name) const;
  std::wstring getString(std::wstring_view name) const;

  // The acedGetVar / acedSetVar view through one result buffer (a string is malloc'ed).
  int getResbuf(std::wstring_view name, resbuf* result) const;
  int setResbuf(std::wstring_view name, const resbuf* value);

 private:
  int store(const VarDef& def, const Value& value, bool checkRange);
  Database& db_;
  std::map<std::wstring, Value> values_;  // by upper-case name: Drawing and Document scope
};

}  // namespace host
