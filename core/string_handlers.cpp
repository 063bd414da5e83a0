// kcCore's LISP string functions: arguments checked by type in order (a missing or wrong one gives
// nil), the work done by the string model on the first 255 characters of the text.
#include "string_handlers.h"

#include "frame/args.h"
#include "lisp_results.h"
#include "string_functions.h"

namespace core::fn {

int srtstr(resbuf* args) {
  kc::Args in(args);
  auto text = in.takeString();
  if (!text) return RTNORM;
  auto words = firstFourWords(*text);
  returnStringList({words.begin(), words.end()});
  return RTNORM;
}

int strrep(resbuf* args) {
  kc::Args in(args);
  auto text = in.takeString(), from = in.takeString(), to = in.takeString();
  if (text && from && to) acedRetStr(replaceCharacter(*text, *from, *to).c_str());
  return RTNORM;
}

int strlist(resbuf* args) {
  kc::Args in(args);
  auto text = in.takeString(), delimiters = in.takeString();
  if (text && delimiters) returnStringList(splitTokens(*text, *delimiters));
  return RTNORM;
}

int strfind(resbuf* args) {
  kc::Args in(args);
  auto text = in.takeString(), set = in.takeString();
  if (!text || !set) return RTNORM;
  if (auto at = findFirstOf(*text, *set)) acedRetInt(static_cast<int>(*at));
  return RTNORM;
}

}  // namespace core::fn
