// The drawing database: object creation with process-unique ids and per-drawing handles, the
// entmake / entmod / entdel / entget semantics over the DXF layouts of kinds.cpp, the model-space
// order, symbol tables, dictionaries and reactors. A refused change leaves the drawing as it was.
#include "db/database.h"

#include <algorithm>
#include <atomic>
#include <cwchar>

#include "db/undo.h"
#include "kinds.h"

namespace host {
namespace {

std::atomic<ObjectId> gNextId{1};
Database* gCurrent = nullptr;

// Groups the chain may carry that the database sets itself: name, kind, handle, owner, markers.
bool setByDatabase(short code) {
  return code == -1 || code == 0 || code == 5 || code == 330 || code == 100 || code == 102;
}

// Splits an entmake / entmod list into the kind's own groups and the extended data (-3 on).
void splitGroups(const Groups& groups, Groups& body, Groups& xdata) {
  auto xd = std::find_if(groups.begin(), groups.end(), [](const Group& g) { return g.code == -3; });
  for (auto it = groups.begin(); it != xd; ++it)
    if (!setByDatabase(it->code)) body.push_back(*it);
  xdata.assign(xd, groups.end());
}

const std::wstring* textOf(const Groups& groups, short code) {
  for (const Group& g : groups)
    if (g.code == code) return std::get_if<std::wstring>(&g.value);
  return nullptr;
}

// True when the extended-data items have legal codes and balanced 1002 braces.
bool validItems(const Groups& items) {
  int depth = 0;
  for (const Group& g : items) {
    if (g.code < 1000 || g.code > 1071 || g.code == 1001 || !valueFits(g.code, g.value)) return false;
    if (g.code == 1002) {
      const auto& s = std::get<std::wstring>(g.value);
      if (s == L"{") ++depth;
      else if (s == L"}" && --depth < 0) return false;
      else if (s != L"{" && s != L"}") return false;
    }
  }
  return depth == 0;
}

// True when tblsearch and tblnext show the record: live, and not the model or paper space block.
bool listed(const Object& rec) {
  std::wstring name = upper(rec.text(2));
  return !rec.erased && name != L"*MODEL_SPACE" && name != L"*PAPER_SPACE";
}

const wchar_t* const kTables[] = {L"APPID", L"BLOCK", L"DIMSTYLE", L"LAYER", L"LTYPE", L"STYLE", L"UCS", L"VIEW"};

}  // namespace

// ---- objects

bool Object::isEntity() const {
  return kind && (kind->category == Category::Entity || kind->category == Category::SubEntity ||
                  kind->category == Category::SeqEnd);
}

const Value* Object::find(short code) const {
  for (const Group& g : fixed)
    if (g.code == code) return &g.value;
  return nullptr;
}

std::wstring Object::text(short code) const {
  const Value* v = find(code);
  const auto* s = v ? std::get_if<std::wstring>(v) : nullptr;
  return s ? *s : std::wstring();
}

std::wstring handleText(std::uint64_t handle) {
  wchar_t buf[24];
  std::swprintf(buf, 24, L"%llX", static_cast<unsigned long long>(handle));
  return buf;
}

Database* currentDatabase() { return gCurrent; }
void setCurrentDatabase(Database* db) { gCurrent = db; }

// ---- a new drawing

Database::Database() : vars_(*this) {
  const Kind& tableKind = *findKind(L"TABLE");
  for (const wchar_t* name : kTables) {
    Object& t = create(tableKind, 0);
    fillGroups(tableKind, {{2, std::wstring(name)}}, t, vars_);
    tables_[name].id = t.id;
  }
  auto add = [&](const wchar_t* table, const wchar_t* name, Groups more = {}) {
    more.insert(more.begin(), {2, std::wstring(name)});
    addRecord(table, more);
  };
  add(L"LTYPE", L"ByBlock");
  add(L"LTYPE", L"ByLayer");
  add(L"LTYPE", L"Continuous", {{3, std::wstring(L"Solid line")}});
  add(L"LAYER", L"0");
  add(L"STYLE", L"Standard", {{3, std::wstring(L"arial.ttf")}});
  add(L"APPID", L"ACAD");
  add(L"DIMSTYLE", L"ISO-25");
  add(L"DIMSTYLE", L"Standard");
  add(L"BLOCK", L"*Model_Space");
  add(L"BLOCK", L"*Paper_Space");
  modelSpace_ = record(L"BLOCK", L"*Model_Space");

  // the named object dictionary with the layouts and the standard multiline style
  const Kind& dict = *findKind(L"DICTIONARY");
  Object& nod = create(dict, 0);
  fillGroups(dict, {}, nod, vars_);
  namedObjects_ = nod.id;
  for (const wchar_t* name : {L"ACAD_GROUP", L"ACAD_LAYOUT", L"ACAD_MLINESTYLE"})
    addObject(namedObjects_, name, {});
  auto object = [](const wchar_t* kind, Groups groups) {
    groups.insert(groups.begin(), {0, std::wstring(kind)});
    return groups;
  };
  ObjectId layouts = dictionaryEntry(namedObjects_, L"ACAD_LAYOUT");
  addObject(layouts, L"Model", object(L"LAYOUT", {{1, std::wstring(L"Model")}}));
  addObject(layouts, L"Layout1", object(L"LAYOUT", {{1, std::wstring(L"Layout1")}, {71, short(1)}}));
  addObject(dictionaryEntry(namedObjects_, L"ACAD_MLINESTYLE"), L"Standard",
            object(L"MLINESTYLE", {{2, std::wstring(L"Standard")}, {49, 0.5}, {49, -0.5}}));
  // the journal starts with the finished template: a new drawing has nothing to undo
  undo_ = std::make_unique<UndoJournal>(*this);
}

Database::~Database() {
  notify([&](DatabaseReactor* r) { r->goodbye(*this); });
  if (gCurrent == this) gCurrent = nullptr;
}

Object& Database::create(const Kind& kind, ObjectId owner) {
  auto obj = std::make_unique<Object>();
  obj->id = gNextId++;
  obj->handle = nextHandle_++;
  obj->type = kind.name;
  obj->kind = &kind;
  obj->owner = owner;
  Object& ref = *obj;
  byHandle_[ref.handle] = ref.id;
  objects_[ref.id] = std::move(obj);
  if (undo_) undo_->objectMade(ref.id);
  return ref;
}

// Forgets an object that was never committed to the drawing.
void Database::drop(ObjectId id) {
  auto it = objects_.find(id);
  if (it == objects_.end()) return;
  byHandle_.erase(it->second->handle);
  objects_.erase(it);
  if (undo_) undo_->objectDropped(id);
}

const Object* Database::object(ObjectId id) const {
  auto it = objects_.find(id);
  return it == objects_.end() ? nullptr : it->second.get();
}

Object* Database::live(ObjectId id) {
  auto it = objects_.find(id);
  return it == objects_.end() || it->second->erased ? nullptr : it->second.get();
}

ObjectId Database::idOfHandle(std::wstring_view hex) const {
  if (hex.empty() || hex.size() > 16) return 0;
  std::uint64_t h = 0;
  for (wchar_t c : hex) {
    int d = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10
          : c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
    if (d < 0) return 0;
    h = h * 16 + d;
  }
  auto it = byHandle_.find(h);
  return it == byHandle_.end() ? 0 : it->second;
}

// ---- reactors

void Database::addReactor(DatabaseReactor* reactor) {
  if (reactor && std::find(reactors_.begin(), reactors_.end(), reactor) == reactors_.end())
    reactors_.push_back(reactor);
}

void Database::removeReactor(DatabaseReactor* reactor) {
  reactors_.erase(std::remove(reactors_.begin(), reactors_.end(), reactor), reactors_.end());
}

// Calls every reactor, on a copy of the list so that a reactor may remove itself.
template <typename F>
void Database::notify(F f) {
  std::vector<DatabaseReactor*> copy = reactors_;
  for (DatabaseReactor* r : copy)
    if (std::find(reactors_.begin(), reactors_.end(), r) != reactors_.end()) f(r);
}

void Database::varChanging(const std::wstring& name, const Value& before) {
  if (undo_) undo_->varChanging(name, before);
}

void Database::notifySysVarChanged(const std::wstring& name) {
  notify([&](DatabaseReactor* r) { r->sysVarChanged(*this, name); });
}

// ---- entity order

// The block record whose entity list holds the entity (a sub-entity's is its parent's).
ObjectId Database::blockOf(const Object& obj) const {
  const Object* o = &obj;
  while (o && o->kind && o->kind->category != Category::Entity) o = object(o->owner);
  return o ? o->owner : 0;
}

ObjectId Database::firstEntity() const {
  for (ObjectId id : object(modelSpace_)->entities)
    if (!object(id)->erased) return id;
  return 0;
}

ObjectId Database::nextEntity(ObjectId id) const {
  const Object* obj = object(id);
  if (!obj || !obj->isEntity()) return 0;
  const Object* block = object(blockOf(*obj));
  if (!block) return 0;
  const auto& order = block->entities;
  auto it = std::find(order.begin(), order.end(), id);
  if (it == order.end()) return 0;
  for (++it; it != order.end(); ++it)
    if (!object(*it)->erased) return *it;
  return 0;
}

ObjectId Database::lastEntity() const {
  const auto& order = object(modelSpace_)->entities;
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    const Object* obj = object(*it);
    if (!obj->erased && obj->kind->category == Category::Entity) return *it;
  }
  return 0;
}

// ---- making and changing

// True when every group that names a symbol-table record names an existing one. Layers are
// not checked: an unknown layer is created.
bool Database::checkReferences(const Object& obj) const {
  auto check = [&](const std::vector<GroupDef>& defs) {
    for (const GroupDef& def : defs) {
      if (!def.table || sameName(def.table, L"LAYER")) continue;
      const Value* v = obj.find(def.code);
      const auto* name = v ? std::get_if<std::wstring>(v) : nullptr;
      if (name && !record(def.table, *name)) return false;
    }
    return true;
  };
  return check(obj.kind->head) && check(obj.kind->foot);
}

void Database::ensureLayer(const Object& obj) {
  if (!obj.isEntity()) return;
  std::wstring layer = obj.text(8);
  if (!record(L"LAYER", layer)) addRecord(L"LAYER", {{2, layer}});
}

bool Database::setXdata(Object& obj, const Groups& xdata) const {
  std::size_t i = 1;  // past the -3 group
  while (i < xdata.size()) {
    const auto* app = xdata[i].code == 1001 ? std::get_if<std::wstring>(&xdata[i].value) : nullptr;
    ObjectId appId = app ? record(L"APPID", *app) : 0;
    if (!appId) return false;
    Groups items;
    for (++i; i < xdata.size() && xdata[i].code != 1001; ++i) items.push_back(xdata[i]);
    if (!validItems(items)) return false;
    std::wstring name = object(appId)->text(2);
    auto it = std::find_if(obj.xdata.begin(), obj.xdata.end(),
                           [&](const XdataApp& x) { return sameName(x.app, name); });
    if (items.empty()) {
      if (it != obj.xdata.end()) obj.xdata.erase(it);
    } else if (it != obj.xdata.end()) {
      it->items = std::move(items);
    } else {
      obj.xdata.push_back({name, std::move(items)});
    }
  }
  return true;
}

// Fills an object's groups and extended data and checks what they name. The layer an entity
// names is left to the caller to create once the change is accepted.
bool Database::fill(Object& obj, const Groups& body, const Groups& xdata) {
  if (!fillGroups(*obj.kind, body, obj, vars_) || !checkReferences(obj) || !setXdata(obj, xdata))
    return false;
  if (obj.isEntity() && obj.text(8).empty()) return false;
  if (obj.type == L"MLINE") {
    // a multiline refers to its style object, found by the style name
    ObjectId style = dictionaryEntry(dictionaryEntry(namedObjects_, L"ACAD_MLINESTYLE"), obj.text(2));
    auto ref = std::find_if(obj.fixed.begin(), obj.fixed.end(), [](const Group& g) { return g.code == 340; });
    if (!style || ref == obj.fixed.end()) return false;
    ref->value = Ref{style};
  }
  return true;
}

void Database::commit(const std::vector<ObjectId>& made, ObjectId blockRecord) {
  if (undo_) undo_->objectChanging(*objects_.at(blockRecord));
  auto& order = objects_.at(blockRecord)->entities;
  order.insert(order.end(), made.begin(), made.end());
  for (ObjectId id : made) notify([&](DatabaseReactor* r) { r->objectAppended(*this, id); });
}

void Database::abandon(Pending& pending) {
  for (ObjectId id : pending.made) drop(id);
  pending = {};
}

int Database::make(const Groups& groups, ObjectId* made) {
  const std::wstring* type = textOf(groups, 0);
  const Kind* kind = type ? findKind(*type) : nullptr;
  if (!kind) return RTERROR;
  Groups body, xdata;
  splitGroups(groups, body, xdata);
  // a complex entity takes only its sub-entities until its SEQEND
  bool continuesComplex = kind->category == Category::SubEntity || kind->category == Category::SeqEnd;
  if (complex_.owner && !continuesComplex) abandon(complex_);
  if (!complex_.owner && continuesComplex) return RTERROR;
  switch (kind->category) {
    case Category::Entity:
    case Category::SubEntity:
    case Category::SeqEnd:
      return makeEntity(*kind, body, xdata, made);
    case Category::BlockBegin:
    case Category::BlockEnd:
      return xdata.empty() ? makeBlock(*kind, body, made) : RTERROR;
    case Category::Record:
      return makeRecord(*kind, body, xdata, made);
    case Category::Object:
      return RTERROR;
  }
  return RTERROR;
}

int Database::makeRecord(const Kind& kind, const Groups& body, const Groups& xdata, ObjectId* made) {
  Table* t = table(kind.owner);
  const std::wstring* name = textOf(body, 2);
  if (!name || name->empty() || record(kind.owner, *name)) return RTERROR;
  Object& rec = create(kind, t->id);
  if (!fill(rec, body, xdata)) {
    drop(rec.id);
    return RTERROR;
  }
  if (undo_) undo_->tableChanging(upper(kind.owner), t->records);
  t->records.push_back(rec.id);
  if (made) *made = rec.id;
  ObjectId id = rec.id;
  notify([&](DatabaseReactor* r) { r->objectAppended(*this, id); });
  return RTNORM;
}

int Database::makeEntity(const Kind& kind, const Groups& body, const Groups& xdata, ObjectId* made) {
  ObjectId owner = block_.owner ? block_.owner : modelSpace_;
  if (kind.category != Category::Entity) {
    const Object* parent = object(complex_.owner);
    if (kind.category == Category::SubEntity && !sameName(parent->type, kind.owner)) {
      abandon(complex_);
      return RTERROR;
    }
    owner = complex_.owner;
  }
  Object& obj = create(kind, owner);
  if (!fill(obj, body, xdata)) {
    drop(obj.id);
    if (kind.category != Category::Entity) abandon(complex_);
    return RTERROR;
  }
  ensureLayer(obj);
  if (made) *made = obj.id;
  if (kind.category == Category::Entity) {
    const Value* follows = obj.find(66);
    bool opensComplex = kind.name == L"POLYLINE" ||
                        (kind.name == L"INSERT" && follows && std::get<short>(*follows) == 1);
    if (opensComplex) complex_ = {obj.id, {obj.id}};
    else commit({obj.id}, owner);
    return RTNORM;
  }
  complex_.made.push_back(obj.id);
  if (kind.category == Category::SeqEnd) {
    if (made) *made = complex_.owner;
    std::vector<ObjectId> all = std::move(complex_.made);
    ObjectId block = blockOf(*object(complex_.owner));
    complex_ = {};
    commit(all, block);
  }
  return RTNORM;
}

// BLOCK starts a definition that the following entities fill; ENDBLK adds it to the table.
int Database::makeBlock(const Kind& kind, const Groups& body, ObjectId* made) {
  if (kind.category == Category::BlockBegin) {
    const std::wstring* name = textOf(body, 2);
    if (block_.owner || !name || name->empty() || record(L"BLOCK", *name)) return RTERROR;
    Object& rec = create(kind, table(L"BLOCK")->id);
    if (!fill(rec, body, {})) {
      drop(rec.id);
      return RTERROR;
    }
    block_ = {rec.id, {rec.id}};
    if (made) *made = rec.id;
    return RTNORM;
  }
  if (!block_.owner) return RTERROR;
  ObjectId id = block_.owner;
  block_ = {};
  if (undo_) undo_->tableChanging(L"BLOCK", table(L"BLOCK")->records);
  table(L"BLOCK")->records.push_back(id);
  if (made) *made = id;
  notify([&](DatabaseReactor* r) { r->objectAppended(*this, id); });
  return RTNORM;
}

int Database::modify(const Groups& groups) {
  auto named = std::find_if(groups.begin(), groups.end(), [](const Group& g) { return g.code == -1; });
  const Ref* name = named == groups.end() ? nullptr : std::get_if<Ref>(&named->value);
  Object* obj = name ? live(name->id) : nullptr;
  if (!obj || !obj->kind) return RTERROR;
  const std::wstring* type = textOf(groups, 0);
  const std::wstring* handle = textOf(groups, 5);
  if ((type && !sameName(*type, obj->type)) || (handle && !sameName(*handle, handleText(obj->handle))))
    return RTERROR;
  Groups body, xdata;
  splitGroups(groups, body, xdata);
  Object changed = *obj;
  if (!fill(changed, body, xdata)) return RTERROR;
  if (obj->kind->category == Category::Record || obj->kind->category == Category::BlockBegin) {
    ObjectId same = record(obj->kind->owner, changed.text(2));
    if (changed.text(2).empty() || (same && same != obj->id)) return RTERROR;
  }
  ensureLayer(changed);
  if (undo_) undo_->objectChanging(*obj);
  *obj = std::move(changed);
  ObjectId id = obj->id;
  notify([&](DatabaseReactor* r) { r->objectModified(*this, id); });
  return RTNORM;
}

int Database::toggleErase(ObjectId id) {
  auto it = objects_.find(id);
  if (it == objects_.end() || !it->second->kind || it->second->kind->category != Category::Entity)
    return RTERROR;
  Object& obj = *it->second;
  const Object* block = object(blockOf(obj));
  const auto& order = block->entities;
  auto pos = std::find(order.begin(), order.end(), id);
  if (pos == order.end()) return RTERROR;  // not yet committed
  bool erased = !obj.erased;
  // the sub-entities follow their parent in the order
  std::vector<Object*> changing{&obj};
  for (++pos; pos != order.end() && object(*pos)->owner == id; ++pos) changing.push_back(objects_.at(*pos).get());
  for (Object* o : changing) {
    if (undo_) undo_->objectChanging(*o);
    o->erased = erased;
  }
  notify([&](DatabaseReactor* r) { r->objectErased(*this, id, erased); });
  return RTNORM;
}

bool Database::view(ObjectId id, const std::vector<std::wstring>* apps, Groups& out) const {
  const Object* obj = object(id);
  if (!obj || obj->erased) return false;
  out.clear();
  out.push_back({-1, Ref{id}});
  out.push_back({0, obj->type});
  Group owner{330, Ref{obj->owner}}, handle{5, handleText(obj->handle)};
  if (obj->isEntity()) {
    out.push_back(owner);
    out.push_back(handle);
  } else {
    out.push_back(handle);
    out.push_back(owner);
  }
  out.insert(out.end(), obj->fixed.begin(), obj->fixed.begin() + obj->recordsAt);
  out.insert(out.end(), obj->records.begin(), obj->records.end());
  out.insert(out.end(), obj->fixed.begin() + obj->recordsAt, obj->fixed.end());
  if (!apps) return true;
  bool started = false;
  for (const XdataApp& x : obj->xdata) {
    std::wstring name = upper(x.app);
    bool wanted = std::any_of(apps->begin(), apps->end(), [&](const std::wstring& pattern) {
      return acutWcMatch(name.c_str(), upper(pattern).c_str()) == RTNORM;
    });
    if (!wanted) continue;
    if (!started) out.push_back({-3, {}});
    started = true;
    out.push_back({1001, x.app});
    out.insert(out.end(), x.items.begin(), x.items.end());
  }
  return true;
}

// ---- symbol tables

Database::Table* Database::table(std::wstring_view name) {
  auto it = tables_.find(upper(name));
  return it == tables_.end() ? nullptr : &it->second;
}

const Database::Table* Database::table(std::wstring_view name) const {
  auto it = tables_.find(upper(name));
  return it == tables_.end() ? nullptr : &it->second;
}

ObjectId Database::record(std::wstring_view tableName, std::wstring_view name) const {
  const Table* t = table(tableName);
  if (!t) return 0;
  for (ObjectId id : t->records) {
    const Object* rec = object(id);
    if (!rec->erased && sameName(rec->text(2), name)) return id;
  }
  return 0;
}

const std::vector<ObjectId>* Database::records(std::wstring_view tableName) const {
  const Table* t = table(tableName);
  return t ? &t->records : nullptr;
}

ObjectId Database::searchRecord(std::wstring_view tableName, std::wstring_view name) const {
  ObjectId id = record(tableName, name);
  return id && listed(*object(id)) ? id : 0;
}

ObjectId Database::nextRecord(std::wstring_view tableName, bool rewind) {
  Table* t = table(tableName);
  if (!t) return 0;
  if (rewind) t->cursor = 0;
  while (t->cursor < t->records.size()) {
    ObjectId id = t->records[t->cursor++];
    if (listed(*object(id))) return id;
  }
  return 0;
}

void Database::setNextRecord(std::wstring_view tableName, ObjectId after) {
  Table* t = table(tableName);
  if (!t) return;
  auto it = std::find(t->records.begin(), t->records.end(), after);
  if (it != t->records.end()) t->cursor = (it - t->records.begin()) + 1;
}

Groups Database::recordView(ObjectId id) const {
  const Object* rec = object(id);
  Groups out{{0, rec->type}};
  for (const Group& g : rec->fixed)
    if (g.code != 100) out.push_back(g);
  out.insert(out.end(), rec->records.begin(), rec->records.end());
  if (rec->type == L"BLOCK") {
    auto first = std::find_if(rec->entities.begin(), rec->entities.end(),
                              [&](ObjectId e) { return !object(e)->erased; });
    if (first != rec->entities.end()) out.push_back({-2, Ref{*first}});
  }
  return out;
}

ObjectId Database::addRecord(std::wstring_view tableName, const Groups& groups) {
  const Kind* kind = findKind(tableName);
  if (!kind || !table(tableName)) return 0;
  ObjectId id = 0;
  if (kind->category == Category::BlockBegin) {
    // a block record without entities, as a new drawing's model and paper space
    if (makeBlock(*kind, groups, &id) != RTNORM) return 0;
    makeBlock(*findKind(L"ENDBLK"), {}, nullptr);
    return id;
  }
  return makeRecord(*kind, groups, {}, &id) == RTNORM ? id : 0;
}

bool Database::registerApp(std::wstring_view name) {
  if (name.empty() || name.size() > 255) return false;
  return record(L"APPID", name) || addRecord(L"APPID", {{2, std::wstring(name)}});
}

// ---- dictionaries

ObjectId Database::dictionaryEntry(ObjectId dictionary, std::wstring_view key) const {
  const Object* dict = object(dictionary);
  if (!dict || dict->type != L"DICTIONARY") return 0;
  for (std::size_t i = 0; i + 1 < dict->records.size(); i += 2)
    if (sameName(std::get<std::wstring>(dict->records[i].value), key)) {
      const Object* entry = object(std::get<Ref>(dict->records[i + 1].value).id);
      return entry && !entry->erased ? entry->id : 0;
    }
  return 0;
}

// Adds an object of the kind the (0 . kind) group names, or a dictionary without one, under the key.
ObjectId Database::addObject(ObjectId dictionary, std::wstring_view key, const Groups& groups) {
  Object* dict = live(dictionary);
  if (!dict || dict->type != L"DICTIONARY" || key.empty() || dictionaryEntry(dictionary, key)) return 0;
  const std::wstring* type = textOf(groups, 0);
  const Kind* kind = findKind(type ? *type : L"DICTIONARY");
  if (!kind || kind->category != Category::Object) return 0;
  Groups body, xdata;
  splitGroups(groups, body, xdata);
  Object& obj = create(*kind, dictionary);
  if (!fill(obj, body, xdata)) {
    drop(obj.id);
    return 0;
  }
  if (undo_) undo_->objectChanging(*dict);
  dict->records.push_back({3, std::wstring(key)});
  dict->records.push_back({350, Ref{obj.id}});
  ObjectId id = obj.id;
  notify([&](DatabaseReactor* r) { r->objectAppended(*this, id); });
  return id;
}

// ---- undo

void Database::revert(const UndoStep& step) {
  abandon(complex_);
  abandon(block_);
  // what each reactor hears afterwards: erased or restored, else modified
  std::vector<std::pair<ObjectId, std::optional<bool>>> told;
  for (const auto& [id, before] : step.objects) {
    auto it = objects_.find(id);
    if (it == objects_.end()) continue;  // dropped before it joined the drawing
    Object& obj = *it->second;
    bool wasErased = obj.erased;
    // an object made in the step leaves the drawing: the lists that held it are put back below
    if (before) obj = *before;
    else obj.erased = true;
    if (obj.erased != wasErased) told.emplace_back(id, obj.erased);
    else if (before) told.emplace_back(id, std::nullopt);
  }
  for (const auto& [name, records] : step.tableRecords) {
    Table& t = tables_.at(name);
    t.records = records;
    t.cursor = std::min(t.cursor, t.records.size());
  }
  for (const auto& [name, value] : step.vars) vars_.setReadOnly(name, value);
  for (const auto& [id, erased] : told) {
    if (erased) notify([&](DatabaseReactor* r) { r->objectErased(*this, id, *erased); });
    else notify([&](DatabaseReactor* r) { r->objectModified(*this, id); });
  }
}

}  // namespace host
