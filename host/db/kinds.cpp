// The DXF layouts of the object kinds and the filling of an object's groups from an entmake or
// entmod chain: groups come out in the order the host shows them, defaults filled, whatever order
// they were given in, and a chain with a group the kind does not have is refused.
#include <algorithm>
#include <numbers>

#include "kinds.h"

namespace host {
namespace {

// A group with a default, converted to the code's storage type.
GroupDef g(short code, double n, unsigned flags = 0) {
  Value v;
  switch (groupValueKind(code)) {
    case RbValueKind::Short: v = static_cast<short>(n); break;
    case RbValueKind::Long: v = static_cast<std::int32_t>(n); break;
    case RbValueKind::Int64: v = static_cast<std::int64_t>(n); break;
    default: v = n; break;
  }
  return {code, v, flags};
}
GroupDef text(short code, const wchar_t* value) { return {code, std::wstring(value)}; }
GroupDef point(short code, Point value) { return {code, value}; }
GroupDef required(short code) { return {code, {}, Required}; }
GroupDef optional(short code) { return {code, {}, Optional}; }
GroupDef marker(const wchar_t* subclass) { return {100, std::wstring(subclass), Marker}; }
GroupDef count(short code) { return g(code, 0, Count); }

const Point kOrigin{0, 0, 0};
const Point kNormal{0, 0, 1};

using Defs = std::vector<GroupDef>;

// The groups every entity has after its handle.
Defs withEntityHeader(Defs defs) {
  Defs all{marker(L"AcDbEntity"), g(67, 0), text(410, L"Model"),
           text(8, L"0").from(L"CLAYER").names(L"LAYER"), optional(6).names(L"LTYPE"), optional(62),
           optional(370), optional(48), optional(60)};
  all.insert(all.end(), defs.begin(), defs.end());
  return all;
}

Defs withRecordHeader(const wchar_t* subclass, Defs defs) {
  Defs all{marker(L"AcDbSymbolTableRecord"), marker(subclass)};
  all.insert(all.end(), defs.begin(), defs.end());
  return all;
}

// The text groups shared by TEXT and ATTRIB.
Defs textGroups() {
  return {marker(L"AcDbText"), optional(39), required(10), required(40), required(1), g(50, 0),
          g(41, 1), g(51, 0), text(7, L"Standard").from(L"TEXTSTYLE").names(L"STYLE"), g(71, 0),
          g(72, 0), point(11, kOrigin), point(210, kNormal)};
}

Defs concat(Defs a, const Defs& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<Kind> buildKinds() {
  using C = Category;
  std::vector<Kind> k;
  auto entity = [&](const wchar_t* name, Defs head, C cat = C::Entity, const wchar_t* parent = L"") {
    k.push_back({name, cat, parent, withEntityHeader(std::move(head))});
    return &k.back();
  };
  entity(L"LINE", {marker(L"AcDbLine"), optional(39), required(10), required(11), point(210, kNormal)});
  entity(L"POINT", {marker(L"AcDbPoint"), optional(39), required(10), point(210, kNormal), g(50, 0)});
  entity(L"CIRCLE",
         {marker(L"AcDbCircle"), optional(39), required(10), required(40), point(210, kNormal)});
  entity(L"ARC", {marker(L"AcDbCircle"), optional(39), required(10), required(40), point(210, kNormal),
                  marker(L"AcDbArc"), required(50), required(51)});
  entity(L"TEXT", concat(textGroups(), {marker(L"AcDbText"), g(73, 0)}));
  entity(L"POLYLINE", {marker(L"AcDb2dPolyline"), g(66, 1), point(10, kOrigin), g(70, 0), g(40, 0),
                       g(41, 0), point(210, kNormal), g(71, 0), g(72, 0), g(73, 0), g(74, 0), g(75, 0)});
  entity(L"VERTEX", {marker(L"AcDbVertex"), marker(L"AcDb2dVertex"), required(10), g(40, 0),
                     g(41, 0), g(42, 0), g(91, 0), g(70, 0), g(50, 0)},
         C::SubEntity, L"POLYLINE");
  entity(L"SEQEND", {}, C::SeqEnd);
  Kind* lw = entity(L"LWPOLYLINE", {marker(L"AcDbPolyline"), count(90), g(70, 0), g(43, 0),
                                     optional(38), optional(39)});
  lw->record = {required(10), g(40, 0), g(41, 0), g(42, 0), g(91, 0)};
  lw->foot = {point(210, kNormal)};
  lw->minRecords = 1;
  entity(L"INSERT", {marker(L"AcDbBlockReference"), optional(66), required(2).names(L"BLOCK"),
                     required(10), g(41, 1), g(42, 1), g(43, 1), g(50, 0), g(70, 0), g(71, 0),
                     g(44, 0), g(45, 0), point(210, kNormal)});
  entity(L"ATTRIB",
         concat(textGroups(), {marker(L"AcDbAttribute"), required(2), g(70, 0), g(73, 0), g(74, 0)}),
         C::SubEntity, L"INSERT");
  Kind* ml = entity(L"MLINE", {marker(L"AcDbMline"), text(2, L"STANDARD"), {340, Ref{}}, g(40, 1),
                               g(70, 0), g(71, 1), count(72), g(73, 2), point(10, kOrigin),
                               point(210, kNormal)});
  ml->record = {required(11), point(12, Point{1, 0, 0}), point(13, Point{0, 1, 0})};
  ml->extras = {74, 41, 75, 42};
  entity(L"REGION", {marker(L"AcDbModelerGeometry"), g(70, 1)});

  auto record = [&](const wchar_t* table, const wchar_t* subclass, Defs defs) {
    k.push_back({table, C::Record, table, withRecordHeader(subclass, concat({required(2), g(70, 0)}, defs))});
    return &k.back();
  };
  record(L"LAYER", L"AcDbLayerTableRecord", {g(62, 7), text(6, L"Continuous").names(L"LTYPE")});
  record(L"STYLE", L"AcDbTextStyleTableRecord",
         {g(40, 0), g(41, 1), g(50, 0), g(71, 0), g(42, 2.5), text(3, L"txt"), text(4, L"")});
  Kind* lt = record(L"LTYPE", L"AcDbLinetypeTableRecord", {text(3, L""), g(72, 65), count(73), g(40, 0)});
  lt->record = {required(49), g(74, 0)};
  record(L"APPID", L"AcDbRegAppTableRecord", {});
  record(L"UCS", L"AcDbUCSTableRecord", {point(10, kOrigin), point(11, Point{1, 0, 0}), point(12, Point{0, 1, 0})});
  record(L"VIEW", L"AcDbViewTableRecord",
         {g(40, 297), point(10, Point{210, 148.5, 0}), g(41, 420), point(11, kNormal), point(12, kOrigin)});
  record(L"DIMSTYLE", L"AcDbDimStyleTableRecord", {});

  k.push_back({L"BLOCK", C::BlockBegin, L"BLOCK", {required(2), g(70, 0), point(10, kOrigin)}});
  k.push_back({L"ENDBLK", C::BlockEnd});

  k.push_back({L"DICTIONARY", C::Object, L"", {marker(L"AcDbDictionary"), g(280, 0), g(281, 1)},
               {required(3), required(350)}});
  k.push_back({L"MLINESTYLE", C::Object, L"",
               {marker(L"AcDbMlineStyle"), required(2), g(70, 0), text(3, L""), g(62, 256),
                g(51, std::numbers::pi / 2), g(52, std::numbers::pi / 2), count(71)},
               {required(49), g(62, 256), text(6, L"BYLAYER")}});
  k.push_back({L"TABLE", C::Object, L"", {marker(L"AcDbSymbolTable"), required(2)}});
  k.push_back({L"LAYOUT", C::Object, L"", {marker(L"AcDbLayout"), required(1), g(70, 1), g(71, 0)}});
  return k;
}

const std::vector<Kind>& kinds() {
  static const std::vector<Kind> all = buildKinds();
  return all;
}

// True when the defs have a group of the code that a chain may give (a count is given and ignored).
bool hasCode(const std::vector<GroupDef>& defs, short code) {
  return std::any_of(defs.begin(), defs.end(),
                     [&](const GroupDef& d) { return d.code == code && !(d.flags & Marker); });
}

// True when the code is one of the groups of the kind's repeated record.
bool inRecord(const Kind& kind, short code) {
  return hasCode(kind.record, code) ||
         std::find(kind.extras.begin(), kind.extras.end(), code) != kind.extras.end();
}

const Value* firstValue(const Groups& groups, short code) {
  for (const Group& grp : groups)
    if (grp.code == code && !(code == 100)) return &grp.value;
  return nullptr;
}

// The value of a fixed group: given, else kept, else the default. Null when it has none.
bool emit(const GroupDef& def, const Groups& given, const Groups& kept, std::size_t records,
          const SysVars& vars, Groups& out) {
  if (def.flags & Marker) {
    out.push_back({100, def.initial});
    return true;
  }
  if (def.flags & Count) {
    GroupDef n = g(def.code, static_cast<double>(records));
    out.push_back({def.code, n.initial});
    return true;
  }
  const Value* v = firstValue(given, def.code);
  if (!v) v = firstValue(kept, def.code);
  Value fromVar;
  if (!v && def.var && vars.get(def.var, fromVar) == RTNORM && valueFits(def.code, fromVar)) v = &fromVar;
  if (!v && !std::holds_alternative<std::monostate>(def.initial)) v = &def.initial;
  if (!v) return !(def.flags & Required);
  out.push_back({def.code, *v});
  return true;
}

// Splits given repeated groups into records at each record's first group and fills each.
bool buildRecords(const Kind& kind, const Groups& run, const SysVars& vars, Groups& out) {
  std::size_t i = 0;
  while (i < run.size()) {
    if (run[i].code != kind.record.front().code) return false;
    Groups one{run[i]};
    for (++i; i < run.size() && run[i].code != kind.record.front().code; ++i) one.push_back(run[i]);
    for (const GroupDef& def : kind.record)
      if (!emit(def, one, {}, 0, vars, out)) return false;
    for (const Group& grp : one)
      if (std::find(kind.extras.begin(), kind.extras.end(), grp.code) != kind.extras.end())
        out.push_back(grp);
  }
  return true;
}

std::size_t countRecords(const Kind& kind, const Groups& records) {
  if (kind.record.empty()) return 0;
  return std::count_if(records.begin(), records.end(),
                       [&](const Group& grp) { return grp.code == kind.record.front().code; });
}

}  // namespace

const Kind* findKind(std::wstring_view name) {
  for (const Kind& kind : kinds())
    if (sameName(kind.name, name)) return &kind;
  return nullptr;
}

RbValueKind groupValueKind(int code) { return acutRbValueKind(code); }

bool valueFits(short code, const Value& value) {
  switch (groupValueKind(code)) {
    case RbValueKind::None: return std::holds_alternative<std::monostate>(value);
    case RbValueKind::Real: return std::holds_alternative<double>(value);
    case RbValueKind::Point: return std::holds_alternative<Point>(value);
    case RbValueKind::Short: return std::holds_alternative<short>(value);
    case RbValueKind::Long: return std::holds_alternative<std::int32_t>(value);
    case RbValueKind::Int64: return std::holds_alternative<std::int64_t>(value);
    case RbValueKind::String: return std::holds_alternative<std::wstring>(value);
    case RbValueKind::Name: return std::holds_alternative<Ref>(value);
    case RbValueKind::Binary: return std::holds_alternative<std::string>(value);
  }
  return false;
}

bool fillGroups(const Kind& kind, const Groups& input, Object& obj, const SysVars& vars) {
  // Given groups before the first record start and after the record run are fixed groups.
  Groups given, run;
  std::size_t i = 0;
  auto startsRecord = [&](short code) { return !kind.record.empty() && code == kind.record.front().code; };
  for (; i < input.size() && !startsRecord(input[i].code); ++i) given.push_back(input[i]);
  for (; i < input.size() && inRecord(kind, input[i].code); ++i) run.push_back(input[i]);
  for (; i < input.size(); ++i) given.push_back(input[i]);

  for (const Group& grp : given)
    if (!(hasCode(kind.head, grp.code) || hasCode(kind.foot, grp.code)) || !valueFits(grp.code, grp.value))
      return false;
  for (const Group& grp : run)
    if (!valueFits(grp.code, grp.value)) return false;

  Groups records;
  if (run.empty())
    records = obj.records;
  else if (!buildRecords(kind, run, vars, records))
    return false;
  std::size_t n = countRecords(kind, records);
  if (n < kind.minRecords) return false;

  Groups fixed;
  std::size_t recordsAt = 0;
  for (const auto* part : {&kind.head, &kind.foot}) {
    for (const GroupDef& def : *part)
      if (!emit(def, given, obj.fixed, n, vars, fixed)) return false;
    if (part == &kind.head) recordsAt = fixed.size();
  }
  obj.fixed = std::move(fixed);
  obj.recordsAt = recordsAt;
  obj.records = std::move(records);
  return true;
}

}  // namespace host
