// The host's LISP bridge as the modules see it: result buffers, type and status codes, and the
// functions that define LISP functions, read their arguments, set their results, read and set
// LISP symbols and system variables, call other LISP functions, and print on the command line.
// These are our own declarations of the host interface; the numeric codes are the published ones.
#pragma once

#include <cstddef>
#include <cstdint>

using ACHAR = wchar_t;
using ads_real = double;
using ads_point = ads_real[3];
using ads_matrix = ads_real[4][4];
// An entity name: [0] is the entity's id in its drawing (never 0 for a live entity), [1] is 0.
using ads_name = std::int64_t[2];

// Result-buffer types. DXF group codes (0..1071) share the same field in entity chains.
enum {
  RTNONE = 5000,
  RTREAL = 5001,
  RTPOINT = 5002,  // 2D point
  RTSHORT = 5003,
  RTANG = 5004,
  RTSTR = 5005,
  RTENAME = 5006,
  RTPICKS = 5007,
  RTORINT = 5008,
  RT3DPOINT = 5009,
  RTLONG = 5010,
  RTVOID = 5014,
  RTLB = 5016,  // list begin
  RTLE = 5017,  // list end
  RTDOTE = 5018,  // dot of a dotted pair
  RTNIL = 5019,
  RTDXF0 = 5020,
  RTT = 5021,
};

// Status codes.
enum {
  RTNORM = 5100,
  RTERROR = -5001,
  RTCAN = -5002,
  RTREJ = -5003,
  RTFAIL = -5004,
  RTKWORD = -5005,
};

union ads_u_val {
  ads_real rreal;
  ads_real rpoint[3];
  short rint;
  ACHAR* rstring;  // owned by the node: acutRelRb frees it with free()
  std::int64_t rlname[2];
  std::int32_t rlong;
  std::int64_t mnInt64;
  struct {
    short clen;
    char* buf;
  } rbinary;
};

struct resbuf {
  resbuf* rbnext;
  short restype;
  ads_u_val resval;
};

// The storage class of a result-buffer or DXF type code: which field of resval it uses.
enum class RbValueKind { None, Real, Point, Short, Long, Int64, String, Name, Binary };
RbValueKind acutRbValueKind(int restype);

// ---- result-buffer chains
resbuf* acutNewRb(int restype);
int acutRelRb(resbuf* chain);  // frees the whole chain, strings included
// Builds a chain from (type, value) pairs closed by 0. Values: RTSTR and string group codes take
// const ACHAR*, RTSHORT and short codes an int, RTLONG an int32_t, RTREAL and real codes a double,
// RTPOINT/RT3DPOINT and point codes a const ads_real*, RTENAME and name codes a const int64_t*;
// RTLB, RTLE, RTDOTE, RTNIL, RTT, RTNONE and RTVOID take no value.
resbuf* acutBuildList(int restype, ...);
resbuf* acutDuplicateChain(const resbuf* chain);  // deep copy, for callers that keep a chain

// ---- LISP functions defined by modules
int acedDefun(const ACHAR* name, int funcode);
int acedUndef(const ACHAR* name, int funcode);
int acedGetFunCode();
resbuf* acedGetArgs();  // a copy the caller frees with acutRelRb; null for no arguments
int acedRetStr(const ACHAR* text);
int acedRetReal(ads_real value);
int acedRetInt(int value);
int acedRetPoint(const ads_point pt);
int acedRetName(const ads_name name, int restype);
int acedRetList(const resbuf* list);
int acedRetT();
int acedRetNil();
int acedRetVoid();
int acedRetVal(const resbuf* value);

// ---- LISP symbols of the current document, and calls of LISP functions
int acedGetSym(const ACHAR* name, resbuf** value);  // RTNORM with a chain (RTNIL for nil)
int acedPutSym(const ACHAR* name, resbuf* value);
// Calls the function named by the list's first string with the rest as arguments. RTNORM with the
// result chain (the caller frees it), or RTERROR when no loaded module or LISP function has the name.
int acedInvoke(const resbuf* args, resbuf** result);

// ---- system variables of the current document
int acedGetVar(const ACHAR* name, resbuf* result);  // a string result is malloc'ed for the caller
int acedSetVar(const ACHAR* name, const resbuf* value);

// ---- command line
int acutPrintf(const ACHAR* format, ...);
int acedPrompt(const ACHAR* text);
int acdbFail(const ACHAR* message);  // the host's error report

// ---- commands: (type, value) pairs closed by RTNONE, run to completion. RTNORM when every
// command finished, RTCAN when one was cancelled for want of input, RTERROR for an unknown one.
int acedCommandS(int restype, ...);
int acedCmdS(const resbuf* args);

// ---- coordinate systems
// Converts a point (or, with disp nonzero, a displacement) between coordinate systems, each given
// as RTSHORT 0 world, 1 the current user system, 2 display (the user system here); RTENAME an
// entity's own system; or RT3DPOINT an extrusion direction. RTERROR for anything else.
int acedTrans(const ads_point pt, const resbuf* from, const resbuf* to, int disp, ads_point result);

// ---- helpers
// Formats a real in the linear units (1 scientific, 2 decimal, 3 engineering, 4 architectural,
// 5 fractional) with the precision; -1 takes LUNITS or LUPREC of the current drawing.
int acdbRToS(ads_real value, int unit, int prec, ACHAR* str, std::size_t size);
template <std::size_t N>
int acdbRToS(ads_real value, int unit, int prec, ACHAR (&str)[N]) {
  return acdbRToS(value, unit, prec, str, N);
}
ads_real acutAngle(const ads_point a, const ads_point b);
ads_real acutDistance(const ads_point a, const ads_point b);
void acutPolar(const ads_point from, ads_real angle, ads_real dist, ads_point result);
int acutWcMatch(const ACHAR* text, const ACHAR* pattern);  // RTNORM on a match, RTERROR otherwise
