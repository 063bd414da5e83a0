// Host commands: a module adds commands to the command stack found in the service registry under
// "ACAD_REGISTERED_COMMANDS"; the command line runs them by global or local name.
#pragma once

#include "host/rxapp.h"

using AcRxFunctionPtr = void (*)();

namespace ACRX_CMD {
constexpr int kModal = 0x0;
constexpr int kTransparent = 0x1;
constexpr int kUsePickSet = 0x2;
constexpr int kRedraw = 0x4;
constexpr int kSession = 0x200000;
}  // namespace ACRX_CMD

class AcEdCommandStack : public AcRxObject {
 public:
  virtual int addCommand(const ACHAR* groupName, const ACHAR* globalName, const ACHAR* localName,
                         int flags, AcRxFunctionPtr function) = 0;
  virtual int removeCmd(const ACHAR* groupName, const ACHAR* globalName) = 0;
  virtual int removeGroup(const ACHAR* groupName) = 0;
};

// Status of addCommand and removeCmd (Acad::ErrorStatus).
constexpr int eOk = 0;
constexpr int eDuplicateKey = 47;
constexpr int eKeyNotFound = 50;
