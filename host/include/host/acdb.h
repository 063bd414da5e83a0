// The host's entity access by entity name and DXF group codes, as the modules and the LISP
// functions entget, entmod, entmake, entnext, entlast, handent, tblsearch and tblnext use it.
// All of them work on the current document's drawing.
#pragma once

#include "host/ads.h"

resbuf* acdbEntGet(const ads_name ent);  // null when the entity does not exist
resbuf* acdbEntGetX(const ads_name ent, const resbuf* apps);  // with extended data of the apps
int acdbEntMod(const resbuf* ent);  // the chain's -1 group names the entity
int acdbEntMake(const resbuf* ent);  // appends a new entity (or table record) to the drawing
int acdbEntMakeX(const resbuf* ent, ads_name result);
int acdbEntUpd(const ads_name ent);
int acdbEntDel(const ads_name ent);  // toggles deletion, as the LISP function entdel does
int acdbEntNext(const ads_name ent, ads_name result);  // ent null: the first entity
int acdbEntLast(ads_name result);
int acdbHandEnt(const ACHAR* handle, ads_name result);
int acdbNameClear(ads_name name);
bool acdbNameNil(const ads_name name);
resbuf* acdbTblSearch(const ACHAR* table, const ACHAR* symbol, int setnext);
resbuf* acdbTblNext(const ACHAR* table, int rewind);
int acdbRegApp(const ACHAR* appname);
