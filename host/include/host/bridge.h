// Values crossing between LISP and the modules, as on the real host: an integer that fits in 16
// bits travels as RTSHORT and a larger one as RTLONG; a list of two or three numbers as a point;
// T as RTT and nil as RTNIL; other lists as RTLB ... RTLE, with RTDOTE before a dotted tail.
// Entity chains (DXF group codes) have their own form: a list of (code . value) pairs.
#pragma once

#include <span>

#include "host/ads.h"
#include "lisp/value.h"

namespace host::bridge {

// The argument chain of a call (null for no arguments). The caller frees it with acutRelRb.
resbuf* argumentsToChain(std::span<const lisp::Value> args);
// One value as a chain: a list becomes RTLB ... RTLE, nil a single RTNIL node.
resbuf* valueToChain(const lisp::Value& value);
// The items of a chain (RTLB/RTLE nest, RTDOTE makes a dotted tail).
std::vector<lisp::Value> chainToValues(const resbuf* chain);
// What acedRetList returns: a chain that is one RTLB ... RTLE group is that list; otherwise the
// list of the chain's items.
lisp::Value chainToList(const resbuf* chain);
// What acedPutSym stores: a single item as itself, otherwise as chainToList.
lisp::Value chainToValue(const resbuf* chain);

// Entity chains: ((-1 . <Entity name>) (0 . "TEXT") (10 1.0 2.0 0.0) ... (-3 ("APP" (1000 . "x"))))
lisp::Value groupsToList(const resbuf* chain);
// The reverse; throws lisp::Error ("bad DXF group: ...") for a malformed list.
resbuf* listToGroups(const lisp::Value& list);

}  // namespace host::bridge
