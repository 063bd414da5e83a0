// The host's entity functions (acdbEntGet and friends) and acedGetVar / acedSetVar, over the
// current document's database. Without a current database, or with a dead or foreign entity
// name, they fail with RTERROR or a null chain; they never touch a name they cannot find.
#include <vector>

#include "db/database.h"
#include "host/acdb.h"

using host::currentDatabase;
using host::Groups;

namespace {

// The id an entity name carries, when the current database has such an object.
const host::Object* lookup(const ads_name name) {
  host::Database* db = currentDatabase();
  return db && name ? db->object(name[0]) : nullptr;
}

int setName(ads_name result, host::ObjectId id) {
  if (!result) return RTERROR;
  result[0] = id;
  result[1] = 0;
  return id ? RTNORM : RTERROR;
}

resbuf* viewOf(const ads_name ent, const std::vector<std::wstring>* apps) {
  const host::Object* obj = lookup(ent);
  Groups groups;
  if (!obj || !currentDatabase()->view(obj->id, apps, groups)) return nullptr;
  return host::chainFromGroups(groups);
}

int makeFrom(const resbuf* chain, host::ObjectId* made) {
  host::Database* db = currentDatabase();
  Groups groups;
  if (!db || !host::groupsFromChain(chain, groups)) return RTERROR;
  return db->make(groups, made);
}

}  // namespace

resbuf* acdbEntGet(const ads_name ent) { return viewOf(ent, nullptr); }

resbuf* acdbEntGetX(const ads_name ent, const resbuf* apps) {
  std::vector<std::wstring> names;
  for (const resbuf* rb = apps; rb; rb = rb->rbnext)
    if (rb->restype == RTSTR && rb->resval.rstring) names.emplace_back(rb->resval.rstring);
  return viewOf(ent, &names);
}

int acdbEntMod(const resbuf* ent) {
  host::Database* db = currentDatabase();
  Groups groups;
  if (!db || !host::groupsFromChain(ent, groups)) return RTERROR;
  return db->modify(groups);
}

int acdbEntMake(const resbuf* ent) { return makeFrom(ent, nullptr); }

int acdbEntMakeX(const resbuf* ent, ads_name result) {
  host::ObjectId id = 0;
  int status = makeFrom(ent, &id);
  if (status != RTNORM) return status;
  return setName(result, id);
}

int acdbEntUpd(const ads_name ent) {
  const host::Object* obj = lookup(ent);
  return obj && !obj->erased && obj->isEntity() ? RTNORM : RTERROR;
}

int acdbEntDel(const ads_name ent) {
  return lookup(ent) ? currentDatabase()->toggleErase(ent[0]) : RTERROR;
}

int acdbEntNext(const ads_name ent, ads_name result) {
  host::Database* db = currentDatabase();
  if (!db) return RTERROR;
  if (!ent || ent[0] == 0) return setName(result, db->firstEntity());
  return lookup(ent) ? setName(result, db->nextEntity(ent[0])) : RTERROR;
}

int acdbEntLast(ads_name result) {
  host::Database* db = currentDatabase();
  return db ? setName(result, db->lastEntity()) : RTERROR;
}

int acdbHandEnt(const ACHAR* handle, ads_name result) {
  host::Database* db = currentDatabase();
  return db && handle ? setName(result, db->idOfHandle(handle)) : RTERROR;
}

int acdbNameClear(ads_name name) {
  if (!name) return RTERROR;
  name[0] = name[1] = 0;
  return RTNORM;
}

bool acdbNameNil(const ads_name name) { return !name || (name[0] == 0 && name[1] == 0); }

resbuf* acdbTblSearch(const ACHAR* table, const ACHAR* symbol, int setnext) {
  host::Database* db = currentDatabase();
  if (!db || !table || !symbol) return nullptr;
  host::ObjectId id = db->searchRecord(table, symbol);
  if (!id) return nullptr;
  if (setnext) db->setNextRecord(table, id);
  return host::chainFromGroups(db->recordView(id));
}

resbuf* acdbTblNext(const ACHAR* table, int rewind) {
  host::Database* db = currentDatabase();
  host::ObjectId id = db && table ? db->nextRecord(table, rewind != 0) : 0;
  return id ? host::chainFromGroups(db->recordView(id)) : nullptr;
}

int acdbRegApp(const ACHAR* appname) {
  host::Database* db = currentDatabase();
  // as the LISP function regapp, a name registered before is refused
  return db && appname && !db->record(L"APPID", appname) && db->registerApp(appname) ? RTNORM : RTERROR;
}

int acedGetVar(const ACHAR* name, resbuf* result) {
  host::Database* db = currentDatabase();
  return db && name && result ? db->vars().getResbuf(name, result) : RTERROR;
}

int acedSetVar(const ACHAR* name, const resbuf* value) {
  host::Database* db = currentDatabase();
  return db && name && value ? db->vars().setResbuf(name, value) : RTERROR;
}
