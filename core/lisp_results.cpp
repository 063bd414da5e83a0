// List results through the host's result operations.
#include "lisp_results.h"

#include "host/ads.h"

namespace core {

void returnStringList(const std::vector<std::wstring>& texts) {
  if (texts.empty()) return;  // no result set: nil
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (const auto& text : texts) {
    *tail = acutBuildList(RTSTR, text.c_str(), 0);
    tail = &(*tail)->rbnext;
  }
  acedRetList(head);
  acutRelRb(head);
}

}  // namespace core
