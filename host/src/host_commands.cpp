// The command line of the host's own commands: reading prompt answers from the inputs, finding a
// command by name, running it as one undo step, and the entry points `command` (LISP),
// acedCommandS and acedCmdS (modules).
#include "host_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cwctype>

#include "chain_build.h"
#include "db/undo.h"
#include "host/bridge.h"
#include "host/session.h"

namespace host {

bool runModuleCommand(const std::wstring& name);

namespace {

using lisp::Error;
using lisp::Value;

struct CommandDef {
  const wchar_t* name;
  HostCommand run;
};

const CommandDef kCommands[] = {{L"U", uCommand}, {L"UCS", ucsCommand}, {L"UNDO", undoCommand}};

const CommandDef* findCommand(std::wstring_view name) {
  for (const CommandDef& c : kCommands)
    if (sameName(c.name, name)) return &c;
  return nullptr;
}

// The whole text as a finite number; nullopt when anything else is left.
std::optional<double> numberIn(const std::wstring& text) {
  if (text.empty()) return std::nullopt;
  wchar_t* end = nullptr;
  double value = std::wcstod(text.c_str(), &end);
  while (end && std::iswspace(*end)) ++end;
  if (!end || *end || end == text.c_str() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// "x,y" or "x,y,z" as a point.
std::optional<Point> pointIn(const std::wstring& text) {
  Point p{0, 0, 0};
  std::size_t start = 0, count = 0;
  for (; count < 3 && start <= text.size(); ++count) {
    std::size_t comma = text.find(L',', start);
    if (comma == std::wstring::npos) comma = text.size();
    auto value = numberIn(text.substr(start, comma - start));
    if (!value) return std::nullopt;
    p[count] = *value;
    start = comma + 1;
  }
  if (count < 2 || start <= text.size()) return std::nullopt;
  return p;
}

// A list of two or three numbers as a point.
std::optional<Point> pointOf(const Value& v) {
  if (!v.isCons()) return std::nullopt;
  auto items = v.listToVector();
  if (items.size() < 2 || items.size() > 3) return std::nullopt;
  Point p{0, 0, 0};
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!items[i].isNumber() || !std::isfinite(items[i].asNumber())) return std::nullopt;
    p[i] = items[i].asNumber();
  }
  return p;
}

// A number the prompt takes: any number, or a whole one where it asks for an integer.
std::optional<double> acceptedNumber(std::optional<double> n, unsigned accept) {
  if (!n || !std::isfinite(*n)) return std::nullopt;
  if (accept & kReal) return n;
  if ((accept & kInteger) && *n == static_cast<double>(static_cast<long>(*n))) return n;
  return std::nullopt;
}

// Runs a host command as one undo step of the current drawing.
CommandEnd runHostCommand(const CommandDef& command, CommandInput& input) {
  Database* db = currentDatabase();
  if (!db) return CommandEnd::Cancelled;
  db->undo().endStep();
  CommandEnd end = command.run(input, *db);
  if (Database* after = currentDatabase()) after->undo().endStep();
  return end;
}

// A command a module or a c: function offers; the inputs after it are left to it.
bool runOtherCommand(lisp::Interpreter& in, const std::wstring& name, CommandInput& input) {
  if (Database* db = currentDatabase()) db->undo().endStep();
  bool ran = runModuleCommand(name);
  if (!ran) {
    Value fn = in.boundFunction(L"c:" + name);
    if (fn.isNil()) return false;
    in.apply(fn, {});
  }
  input.skipRest();
  if (Database* db = currentDatabase()) db->undo().endStep();
  return true;
}

}  // namespace

bool matchesKeyword(std::wstring_view text, std::wstring_view keyword) {
  if (!text.empty() && text[0] == L'_') text.remove_prefix(1);
  std::size_t capitals = 0;
  while (capitals < keyword.size() && std::iswupper(keyword[capitals])) ++capitals;
  if (text.size() < std::max<std::size_t>(capitals, 1) || text.size() > keyword.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (std::towupper(text[i]) != std::towupper(keyword[i])) return false;
  return true;
}

std::optional<lisp::Value> CommandInput::next() {
  if (at_ >= inputs_.size()) return std::nullopt;
  return inputs_[at_++];
}

Reply CommandInput::ask(std::initializer_list<const wchar_t*> keywords, unsigned accept) {
  while (auto input = next()) {
    if (input->isString()) {
      const std::wstring& text = input->asString();
      if (text.empty()) return {Reply::Enter};
      int index = 0;
      for (const wchar_t* keyword : keywords) {
        if (matchesKeyword(text, keyword)) return {Reply::Keyword, index};
        ++index;
      }
      if (auto n = acceptedNumber(numberIn(text), accept)) return {Reply::Number, -1, *n};
      if (auto p = (accept & kPoint) ? pointIn(text) : std::nullopt) return {Reply::Point, -1, 0, *p};
    } else if (input->isNumber()) {
      if (auto n = acceptedNumber(input->asNumber(), accept)) return {Reply::Number, -1, *n};
    } else if (auto p = (accept & kPoint) ? pointOf(*input) : std::nullopt) {
      return {Reply::Point, -1, 0, *p};
    }
    Session::active()->print(L"\nInvalid input: " + lisp::prin1String(*input));
  }
  return {};
}

int runCommands(lisp::Interpreter& in, std::span<const lisp::Value> inputs) {
  CommandInput input(inputs);
  int status = RTNORM;
  while (auto item = input.next()) {
    if (!item->isString()) throw Error(L"bad argument type: stringp " + lisp::prin1String(*item));
    std::wstring name = item->asString();
    if (name.empty()) continue;  // Enter at the Command prompt
    std::size_t prefix = name.find_first_not_of(L"._");
    std::wstring plain = prefix == std::wstring::npos ? std::wstring() : name.substr(prefix);
    if (const CommandDef* command = findCommand(plain)) {
      if (runHostCommand(*command, input) == CommandEnd::Cancelled) {
        Session::active()->print(L"\n*Cancel*");
        status = RTCAN;
      }
    } else if (!runOtherCommand(in, plain, input)) {
      throw Error(L"Unknown command \"" + name + L"\"");
    }
  }
  return status;
}

}  // namespace host

int acedCmdS(const resbuf* args) {
  host::Session* session = host::Session::active();
  if (!session) return RTERROR;
  try {
    auto inputs = host::bridge::chainToValues(args);
    return host::runCommands(session->interpreter(), inputs);
  } catch (const lisp::Error& e) {
    session->print(L"\n" + e.message());
    return RTERROR;
  }
}

int acedCommandS(int restype, ...) {
  va_list args;
  va_start(args, restype);
  resbuf* chain = host::buildChain(restype, args, RTNONE);
  va_end(args);
  int status = acedCmdS(chain);
  acutRelRb(chain);
  return status;
}
