// Documents and the document manager the modules see through acDocManagerPtr().
#include <algorithm>
#include <vector>

#include "host/document.h"
#include "host/session.h"

namespace host {

Document::Document(std::wstring fileName) : fileName_(std::move(fileName)) {
  auto slash = fileName_.find_last_of(L"\\/");
  title_ = slash == std::wstring::npos ? fileName_ : fileName_.substr(slash + 1);
}

namespace {

class DocManager : public AcApDocManager {
 public:
  AcApDocument* curDocument() const override {
    Session* s = Session::active();
    return s ? &s->current() : nullptr;
  }
  AcApDocument* mdiActiveDocument() const override { return curDocument(); }
  int documentCount() const override {
    Session* s = Session::active();
    return s ? static_cast<int>(s->documents().size()) : 0;
  }
  void addReactor(AcApDocManagerReactor* reactor) override {
    if (std::find(reactors_.begin(), reactors_.end(), reactor) == reactors_.end()) reactors_.push_back(reactor);
  }
  void removeReactor(AcApDocManagerReactor* reactor) override { std::erase(reactors_, reactor); }
  void sendStringToExecute(AcApDocument* doc, const ACHAR* text, bool, bool, bool) override {
    if (text) queued_.emplace_back(doc, text);
  }

  // Reactors are told in a copy of the list: one may remove itself while being told.
  template <class F>
  void notify(F&& tell) {
    auto reactors = reactors_;
    for (auto* r : reactors)
      if (std::find(reactors_.begin(), reactors_.end(), r) != reactors_.end()) tell(r);
  }

  std::vector<std::pair<AcApDocument*, std::wstring>> queued_;

 private:
  std::vector<AcApDocManagerReactor*> reactors_;
};

DocManager theManager;

}  // namespace

void notifyDocumentCreated(Document& doc) {
  theManager.notify([&](AcApDocManagerReactor* r) { r->documentCreated(&doc); });
}
void notifyDocumentToBeDestroyed(Document& doc) {
  theManager.notify([&](AcApDocManagerReactor* r) { r->documentToBeDestroyed(&doc); });
}
void notifyDocumentBecameCurrent(Document& doc) {
  theManager.notify([&](AcApDocManagerReactor* r) { r->documentBecameCurrent(&doc); });
}

// Text queued for the document's command line, taken in order.
std::vector<std::wstring> takeQueuedInput(Document& doc) {
  std::vector<std::wstring> taken;
  auto& queue = theManager.queued_;
  for (auto it = queue.begin(); it != queue.end();) {
    if (it->first == &doc) {
      taken.push_back(it->second);
      it = queue.erase(it);
    } else {
      ++it;
    }
  }
  return taken;
}

}  // namespace host

void AcApDocManagerReactor::veto() { vetoed_ = true; }

AcApDocManager* acDocManagerPtr() { return &host::theManager; }
AcApDocument* acedGetAcadDoc() { return host::theManager.curDocument(); }
