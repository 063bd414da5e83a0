// The system variables: one table that says for each variable its type, its value in a new
// drawing made from the metric template, its range, whether scripts may set it, and whether the
// value is kept with the drawing, by the document only, or once for the session.
#include "db/sysvars.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <limits>

#include "db/database.h"

namespace host {
namespace {

using T = VarType;
using S = VarScope;
constexpr double kPositive = std::numeric_limits<double>::min();  // "greater than zero"
constexpr double kHuge = std::numeric_limits<double>::max();

Value str(const wchar_t* text) { return std::wstring(text); }

// DATE: the Julian day and its fraction.
Value julianDate() {
  using namespace std::chrono;
  double seconds = duration<double>(system_clock::now().time_since_epoch()).count();
  return 2440587.5 + seconds / 86400.0;
}

// CDATE: the local calendar date and time as YYYYMMDD.HHMMSSmmm.
Value calendarDate() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t t = system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&t, &tm);
  long long ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  double day = (tm.tm_year + 1900) * 10000.0 + (tm.tm_mon + 1) * 100.0 + tm.tm_mday;
  double time = tm.tm_hour * 1e7 + tm.tm_min * 1e5 + tm.tm_sec * 1e3 + ms;
  return day + time / 1e9;
}

// MILLISECS: milliseconds on a clock that only moves forward.
Value milliseconds() {
  using namespace std::chrono;
  auto ms = duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count();
  return static_cast<std::int32_t>(ms & 0x7fffffff);
}

Value loginName() {
  const char* user = std::getenv("USER");
  std::string name = user && *user ? user : "user";
  return std::wstring(name.begin(), name.end());
}

bool isLayer(const Database& db, const std::wstring& name) { return db.record(L"LAYER", name) != 0; }
bool isTextStyle(const Database& db, const std::wstring& name) { return db.record(L"STYLE", name) != 0; }
bool isLinetype(const Database& db, const std::wstring& name) { return db.record(L"LTYPE", name) != 0; }

const std::vector<VarDef>& table() {
  static const std::vector<VarDef> defs = [] {
    std::vector<VarDef> v = {
        {L"ACADVER", T::String, str(L"25.0s (LMS Tech)"), true, 1, 0, S::Session},
        {L"ANGBASE", T::Real, 0.0},
        {L"ANGDIR", T::Short, short(0), false, 0, 1},
        {L"AUNITS", T::Short, short(0), false, 0, 4},
        {L"AUPREC", T::Short, short(0), false, 0, 8},
        {L"CDATE", T::Real, 0.0, true, 1, 0, S::Session, calendarDate},
        {L"CECOLOR", T::String, str(L"BYLAYER")},
        {L"CELTYPE", T::String, str(L"ByLayer"), false, 1, 0, S::Drawing, nullptr, isLinetype},
        {L"CLAYER", T::String, str(L"0"), false, 1, 0, S::Drawing, nullptr, isLayer},
        {L"CMDECHO", T::Short, short(1), false, 0, 1, S::Session},
        {L"CVPORT", T::Short, short(2), false, 1, 32767},
        {L"DATE", T::Real, 0.0, true, 1, 0, S::Session, julianDate},
        {L"DIMSCALE", T::Real, 1.0, false, 0, kHuge},
        {L"DIMZIN", T::Short, short(8), false, 0, 15},
        {L"DWGNAME", T::String, str(L"Drawing1.dwg"), true, 1, 0, S::Document},
        // DWGPREFIX, DWGTITLED and UNDOCTL are settable, so LISP programs and tests can stand in
        // for a saved drawing and for the undo settings the host's commands keep.
        {L"DWGPREFIX", T::String, str(L"C:\\"), false, 1, 0, S::Document},
        {L"DWGTITLED", T::Short, short(0), false, 0, 1, S::Document},
        {L"ELEVATION", T::Real, 0.0},
        {L"EXPERT", T::Short, short(0), false, 0, 5, S::Session},
        {L"EXTMAX", T::Point3, Point{-1e20, -1e20, -1e20}, true},
        {L"EXTMIN", T::Point3, Point{1e20, 1e20, 1e20}, true},
        {L"FILEDIA", T::Short, short(1), false, 0, 1, S::Session},
        {L"HIGHLIGHT", T::Short, short(1), false, 0, 1, S::Document},
        {L"INSUNITS", T::Short, short(4), false, 0, 24},
        {L"LIMMAX", T::Point2, Point{420, 297, 0}},
        {L"LIMMIN", T::Point2, Point{0, 0, 0}},
        {L"LOGINNAME", T::String, str(L""), true, 1, 0, S::Session, loginName},
        {L"LTSCALE", T::Real, 1.0, false, kPositive, kHuge},
        {L"LUNITS", T::Short, short(2), false, 1, 5},
        {L"LUPREC", T::Short, short(4), false, 0, 8},
        {L"MEASUREMENT", T::Short, short(1), false, 0, 1},
        {L"MILLISECS", T::Long, std::int32_t(0), true, 1, 0, S::Session, milliseconds},
        {L"ORTHOMODE", T::Short, short(0), false, 0, 1},
        {L"OSMODE", T::Short, short(4133), false, 0, 32767, S::Session},
        {L"PDMODE", T::Short, short(0), false, 0, 100},
        {L"PDSIZE", T::Real, 0.0},
        {L"PICKBOX", T::Short, short(3), false, 0, 50, S::Session},
        {L"PLINEWID", T::Real, 0.0, false, 0, kHuge},
        {L"QAFLAGS", T::Short, short(0), false, 0, 32767, S::Session},
        {L"SNAPANG", T::Real, 0.0},
        {L"TEXTSIZE", T::Real, 2.5, false, kPositive, kHuge},
        {L"TEXTSTYLE", T::String, str(L"Standard"), false, 1, 0, S::Drawing, nullptr, isTextStyle},
        {L"THICKNESS", T::Real, 0.0},
        {L"TILEMODE", T::Short, short(1), false, 0, 1},
        {L"UCSORG", T::Point3, Point{0, 0, 0}, true},
        {L"UCSXDIR", T::Point3, Point{1, 0, 0}, true},
        {L"UCSYDIR", T::Point3, Point{0, 1, 0}, true},
        {L"UNDOCTL", T::Short, short(21), false, 0, 63, S::Document},
        {L"VIEWCTR", T::Point3, Point{210, 148.5, 0}, true},
        {L"VIEWSIZE", T::Real, 297.0, true},
        {L"WORLDUCS", T::Short, short(1), true},
    };
    // the user variables: integers and reals kept with the drawing, texts with the document
    static const wchar_t* const kUser[][3] = {{L"USERI1", L"USERR1", L"USERS1"}, {L"USERI2", L"USERR2", L"USERS2"},
                                              {L"USERI3", L"USERR3", L"USERS3"}, {L"USERI4", L"USERR4", L"USERS4"},
                                              {L"USERI5", L"USERR5", L"USERS5"}};
    for (const auto& names : kUser) {
      v.push_back({names[0], T::Short, short(0)});
      v.push_back({names[1], T::Real, 0.0});
      v.push_back({names[2], T::String, str(L""), false, 1, 0, S::Document});
    }
    std::sort(v.begin(), v.end(), [](const VarDef& a, const VarDef& b) { return std::wstring_view(a.name) < b.name; });
    return v;
  }();
  return defs;
}

std::map<std::wstring, Value>& sessionValues() {
  static std::map<std::wstring, Value> values = [] {
    std::map<std::wstring, Value> m;
    for (const VarDef& def : table())
      if (def.scope == S::Session && !def.compute) m[def.name] = def.initial;
    return m;
  }();
  return values;
}

// The value in the variable's own type, or monostate when the given value cannot be one.
Value convert(VarType type, const Value& value) {
  const auto* s = std::get_if<short>(&value);
  const auto* l = std::get_if<std::int32_t>(&value);
  switch (type) {
    case T::Short:
      if (s) return *s;
      if (l && *l >= -32768 && *l <= 32767) return static_cast<short>(*l);
      return {};
    case T::Long:
      if (s) return static_cast<std::int32_t>(*s);
      if (l) return *l;
      return {};
    case T::Real:
      if (s) return static_cast<double>(*s);
      if (l) return static_cast<double>(*l);
      if (std::holds_alternative<double>(value)) return value;
      return {};
    case T::String:
      return std::holds_alternative<std::wstring>(value) ? value : Value{};
    case T::Point2:
    case T::Point3:
      return std::holds_alternative<Point>(value) ? value : Value{};
  }
  return {};
}

// The number a numeric value holds, for the range check.
double number(const Value& v) {
  if (const auto* s = std::get_if<short>(&v)) return *s;
  if (const auto* l = std::get_if<std::int32_t>(&v)) return *l;
  return std::get<double>(v);
}

int restypeOf(VarType type) {
  switch (type) {
    case T::Short: return RTSHORT;
    case T::Long: return RTLONG;
    case T::Real: return RTREAL;
    case T::String: return RTSTR;
    case T::Point2: return RTPOINT;
    case T::Point3: return RT3DPOINT;
  }
  return RTNONE;
}

}  // namespace

std::span<const VarDef> varDefs() { return table(); }

const VarDef* findVar(std::wstring_view name) {
  std::wstring key = upper(name);
  const auto& defs = table();
  auto it = std::lower_bound(defs.begin(), defs.end(), key,
                             [](const VarDef& d, const std::wstring& k) { return std::wstring_view(d.name) < k; });
  return it != defs.end() && key == it->name ? &*it : nullptr;
}

SysVars::SysVars(Database& db) : db_(db) {
  for (const VarDef& def : table())
    if (def.scope != S::Session) values_[def.name] = def.initial;
}

int SysVars::get(std::wstring_view name, Value& out) const {
  const VarDef* def = findVar(name);
  if (!def) return RTERROR;
  if (def->compute) out = def->compute();
  else if (def->scope == S::Session) out = sessionValues().at(def->name);
  else out = values_.at(def->name);
  return RTNORM;
}

int SysVars::store(const VarDef& def, const Value& given, bool checkRange) {
  if (def.compute) return RTERROR;
  Value value = convert(def.type, given);
  if (std::holds_alternative<std::monostate>(value)) return RTERROR;
  if (def.type == T::Point2) std::get<Point>(value)[2] = 0;
  if (checkRange) {
    if (def.min <= def.max && (def.type == T::Short || def.type == T::Long || def.type == T::Real)) {
      double n = number(value);
      if (n < def.min || n > def.max) return RTERROR;
    }
    if (def.accepts && !def.accepts(db_, std::get<std::wstring>(value))) return RTERROR;
  }
  Value& slot = def.scope == S::Session ? sessionValues()[def.name] : values_[def.name];
  if (slot == value) return RTNORM;
  // undo covers what is saved with the drawing, not the document's or the session's settings
  if (def.scope == S::Drawing) db_.varChanging(def.name, slot);
  slot = std::move(value);
  db_.notifySysVarChanged(def.name);
  return RTNORM;
}

int SysVars::set(std::wstring_view name, const Value& value) {
  const VarDef* def = findVar(name);
  return def && !def->readOnly ? store(*def, value, true) : RTERROR;
}

int SysVars::setReadOnly(std::wstring_view name, const Value& value) {
  const VarDef* def = findVar(name);
  return def ? store(*def, value, false) : RTERROR;
}

int SysVars::getInt(std::wstring_view name) const {
  Value v;
  if (get(name, v) != RTNORM) return 0;
  if (const auto* s = std::get_if<short>(&v)) return *s;
  if (const auto* l = std::get_if<std::int32_t>(&v)) return *l;
  return 0;
}

double SysVars::getReal(std::wstring_view name) const {
  Value v;
  const auto* d = get(name, v) == RTNORM ? std::get_if<double>(&v) : nullptr;
  return d ? *d : 0.0;
}

std::wstring SysVars::getString(std::wstring_view name) const {
  Value v;
  const auto* s = get(name, v) == RTNORM ? std::get_if<std::wstring>(&v) : nullptr;
  return s ? *s : std::wstring();
}

int SysVars::getResbuf(std::wstring_view name, resbuf* result) const {
  Value v;
  if (!result || get(name, v) != RTNORM) return RTERROR;
  result->restype = static_cast<short>(restypeOf(findVar(name)->type));
  valueToResbuf(v, result);
  return RTNORM;
}

int SysVars::setResbuf(std::wstring_view name, const resbuf* value) {
  if (!value) return RTERROR;
  switch (value->restype) {
    case RTSHORT: case RTLONG: case RTREAL: case RTANG: case RTSTR: case RTPOINT: case RT3DPOINT:
      break;
    default:
      return RTERROR;
  }
  Value v;
  if (!valueFromResbuf(value, v)) return RTERROR;
  if (value->restype == RTPOINT) std::get<Point>(v)[2] = 0;
  return set(name, v);
}

}  // namespace host
