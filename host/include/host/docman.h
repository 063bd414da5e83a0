// Documents as the modules see them: the document manager, the current document, lock modes and
// document reactors. Each document has its own drawing and its own LISP namespace.
#pragma once

#include <string>

#include "host/rxapp.h"

class AcApDocument {
 public:
  virtual ~AcApDocument() = default;
  virtual const ACHAR* fileName() const = 0;  // full Windows path, "Drawing1.dwg" when untitled
  virtual const ACHAR* docTitle() const = 0;
};

namespace AcAp {
enum DocLockMode {
  kNone = 0x00,
  kAutoWrite = 0x01,
  kNotLocked = 0x02,
  kWrite = 0x04,
  kProtectedAutoWrite = 0x14,
  kRead = 0x20,
  kXWrite = 0x40,
};
}  // namespace AcAp

class AcApDocManagerReactor {
 public:
  virtual ~AcApDocManagerReactor() = default;
  virtual void documentCreated(AcApDocument* doc) {}
  virtual void documentToBeDestroyed(AcApDocument* doc) {}
  virtual void documentBecameCurrent(AcApDocument* doc) {}
  virtual void documentToBeActivated(AcApDocument* doc) {}
  virtual void documentLockModeWillChange(AcApDocument* doc, AcAp::DocLockMode myCurrentMode,
                                          AcAp::DocLockMode myNewMode,
                                          AcAp::DocLockMode currentMode, const ACHAR* globalCmdName) {}
  virtual void documentLockModeChanged(AcApDocument* doc, AcAp::DocLockMode myPreviousMode,
                                       AcAp::DocLockMode myCurrentMode,
                                       AcAp::DocLockMode currentMode, const ACHAR* globalCmdName) {}

 protected:
  // Called from documentLockModeWillChange to refuse the change.
  void veto();

 private:
  friend class KcDocManagerAccess;
  bool vetoed_ = false;
};

class AcApDocManager {
 public:
  virtual ~AcApDocManager() = default;
  virtual AcApDocument* curDocument() const = 0;
  virtual AcApDocument* mdiActiveDocument() const = 0;
  virtual int documentCount() const = 0;
  virtual void addReactor(AcApDocManagerReactor* reactor) = 0;
  virtual void removeReactor(AcApDocManagerReactor* reactor) = 0;
  // Queues command text on a document's command line, as if typed.
  virtual void sendStringToExecute(AcApDocument* doc, const ACHAR* text, bool activate = true,
                                   bool wrapUpInactiveDoc = false, bool echoString = true) = 0;
};

AcApDocManager* acDocManagerPtr();
AcApDocument* acedGetAcadDoc();
