// Host commands a module offers, added to the host's command stack at init and removed at unload.
#pragma once

#include "host/edcmd.h"

namespace kc {

// Adds a command. A local name given as a string id is loaded from the module's own string table
// (at most 64 characters).
int addCommand(const ACHAR* group, const ACHAR* globalName, const ACHAR* localName, int flags,
               AcRxFunctionPtr function);
int addCommand(const ACHAR* group, const ACHAR* globalName, int localNameId, int flags,
               AcRxFunctionPtr function);
int removeCommandGroup(const ACHAR* group);

}  // namespace kc
