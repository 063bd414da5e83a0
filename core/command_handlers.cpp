// k_fcmd, lcmd and progress over the host: system variables, LISP symbols and the ".undo" command.
#include "command_handlers.h"

#include <cstdlib>

#include "command_brackets.h"

namespace core::fn {
namespace {

// A short system variable of the current drawing; 0 when it cannot be read as one.
int shortVar(const ACHAR* name) {
  resbuf rb{};
  if (acedGetVar(name, &rb) != RTNORM) return 0;
  if (rb.restype == RTSHORT) return rb.resval.rint;
  if (rb.restype == RTLONG) return rb.resval.rlong;
  if (rb.restype == RTSTR) std::free(rb.resval.rstring);
  return 0;
}

void putSym(const ACHAR* name, resbuf* value) {
  acedPutSym(name, value);
  acutRelRb(value);
}

// Runs ".undo" with the answers.
void undo(const std::vector<std::wstring>& answers) {
  resbuf* head = acutBuildList(RTSTR, L".undo", 0);
  resbuf* tail = head;
  for (const std::wstring& answer : answers) tail = tail->rbnext = acutBuildList(RTSTR, answer.c_str(), 0);
  acedCmdS(head);
  acutRelRb(head);
}

ProgressSpinner spinner;

}  // namespace

int k_fcmd(resbuf*) {
  bool paperSpace = shortVar(L"tilemode") == 0 && shortVar(L"cvport") == 1;
  double scale = drawingScale(paperSpace, shortVar(L"useri2"), shortVar(L"insunits"));
  putSym(L"scale", acutBuildList(RTREAL, scale, 0));
  putSym(L"LAS", acutBuildList(RTNIL, 0));
  auto answers = undoSwitchAnswers(shortVar(L"undoctl"));
  if (!answers.empty()) undo(answers);
  undo({L"be"});
  return RTNORM;
}

int lcmd(resbuf*) {
  undo({L"e"});
  acedRetVoid();
  return RTNORM;
}

int progress(resbuf*) {
  acutPrintf(L"\b%lc", spinner.next());
  return RTNORM;
}

}  // namespace core::fn
