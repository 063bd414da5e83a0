// The host's own commands (UCS, UNDO, U) and the command line that runs them for `command`,
// acedCommandS and acedCmdS. A command reads its prompts' answers from the inputs that follow its
// name, as the real command line feeds them: a keyword (abbreviated to its capital letters, with
// an optional "_" prefix), a number, a point, or "" for Enter. Input that does not fit a prompt is
// reported and the next input is tried; when the inputs run out before the command is done, the
// command is cancelled and leaves the drawing as it was. Every command is one undo step.
#pragma once

#include <optional>
#include <span>

#include "db/database.h"
#include "lisp/interpreter.h"

namespace host {

// What one prompt read.
struct Reply {
  enum Kind { Missing, Enter, Keyword, Number, Point } kind = Missing;
  int keyword = -1;  // the index of the keyword in the prompt's list
  double number = 0;
  host::Point point{0, 0, 0};  // as given, in the current user coordinate system
};

// What a prompt takes besides its keywords.
enum Accept : unsigned { kKeywordsOnly = 0, kReal = 1, kInteger = 2, kPoint = 4 };

class CommandInput {
 public:
  explicit CommandInput(std::span<const lisp::Value> inputs) : inputs_(inputs) {}
  // The answer to one prompt.
  Reply ask(std::initializer_list<const wchar_t*> keywords, unsigned accept);
  // The next input at the Command prompt; nullopt at the end.
  std::optional<lisp::Value> next();
  void skipRest() { at_ = inputs_.size(); }

 private:
  std::span<const lisp::Value> inputs_;
  std::size_t at_ = 0;
};

// How a command ended.
enum class CommandEnd { Done, Cancelled };
using HostCommand = CommandEnd (*)(CommandInput& input, Database& db);

CommandEnd ucsCommand(CommandInput& input, Database& db);
CommandEnd undoCommand(CommandInput& input, Database& db);
CommandEnd uCommand(CommandInput& input, Database& db);

// Runs the inputs as typed at the Command prompt: a command name ("." and "_" prefixes allowed),
// the answers to its prompts, then the next command. Host commands come first, then module
// commands, then c: functions. RTNORM, or RTCAN when a command was cancelled. Throws lisp::Error
// for an unknown command or a name that is no string.
int runCommands(lisp::Interpreter& in, std::span<const lisp::Value> inputs);

// True when `text` is an abbreviation of `keyword`: at least its leading capitals, ignoring case.
bool matchesKeyword(std::wstring_view text, std::wstring_view keyword);

}  // namespace host
