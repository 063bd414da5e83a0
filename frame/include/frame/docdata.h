// Per-document records: a document-manager reactor that maps each open document to a record,
// creates it on first use and drops it when the document is about to be destroyed.
#pragma once

#include <map>

#include "host/docman.h"

// The per-document record of a module. It carries no fields yet; it is the place for them.
struct CDocData {};

template <class T>
class AsdkDataManager : public AcApDocManagerReactor {
 public:
  AsdkDataManager() { acDocManagerPtr()->addReactor(this); }
  ~AsdkDataManager() override {
    if (AcApDocManager* manager = acDocManagerPtr()) manager->removeReactor(this);
  }
  AsdkDataManager(const AsdkDataManager&) = delete;
  AsdkDataManager& operator=(const AsdkDataManager&) = delete;

  void documentToBeDestroyed(AcApDocument* doc) override { records_.erase(doc); }

  // The record of the current document.
  T& docData() { return records_[acDocManagerPtr()->curDocument()]; }
  T& docData(AcApDocument* doc) { return records_[doc]; }
  std::size_t documentCount() const { return records_.size(); }

 private:
  std::map<AcApDocument*, T> records_;
};
