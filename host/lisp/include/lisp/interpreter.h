// The evaluator. Built-in functions live in one table shared by every interpreter; symbol values
// (setq, defun, functions the host binds for a module) live in a Namespace, one per document. An
// interpreter evaluates in one namespace at a time. Evaluation never crashes on bad input: every
// fault, including runaway recursion, surfaces as a lisp::Error.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "lisp/value.h"

namespace lisp {

// The symbol values of one document. Setting a symbol to nil unbinds it.
class Namespace {
 public:
  Value get(const Value& symbol) const;
  void set(const Value& symbol, Value value);
  bool bound(const Value& symbol) const;

 private:
  std::unordered_map<const Symbol*, Value> values_;
};

struct TopLevelResult {
  bool failed = false;
  std::wstring message;  // the error text, without "; error: "
  Value value;
};

class Interpreter {
 public:
  explicit Interpreter(Namespace& ns);

  Namespace& ns() const { return *ns_; }
  void setNamespace(Namespace& ns) { ns_ = &ns; }

  // Reads and evaluates every form; returns the last value. Throws lisp::Error.
  Value evalString(std::wstring_view source);
  Value eval(const Value& form);
  Value apply(const Value& fn, std::span<const Value> args);
  // Calls the function bound to the symbol NAME; throws "no function definition: NAME".
  Value call(std::wstring_view name, std::span<const Value> args);
  // As typed on the command line: on an error, a function bound to *error* is called with the
  // message (inside the failing defun, so its locals are still visible; errors inside the
  // handler are swallowed) and the result says failed. The caller prints "; error: " + message.
  TopLevelResult runTopLevel(std::wstring_view source);
  // Reads and evaluates a file (see `load`); throws `LOAD failed: "name"` when it is missing.
  Value loadFile(std::wstring_view name);

  // The value of a symbol: the namespace's binding, else the built-in of that name, else nil.
  Value symbolValue(const Value& symbol) const;
  void setSymbol(const Value& symbol, Value value) { ns_->set(symbol, std::move(value)); }
  void setGlobal(std::wstring_view name, Value value);
  Value getGlobal(std::wstring_view name) const;
  // The function bound to NAME, whatever its kind; nil when the symbol holds no function.
  Value boundFunction(std::wstring_view name) const;

  // Adds or replaces a function of the shared built-in table.
  static void defineBuiltin(std::wstring name, BuiltinFn fn);

  // Where princ, prin1, print, prompt and terpri write when given no file: one command line for
  // the whole process. Default: discard.
  static void setOutput(std::function<void(std::wstring_view)> sink);
  static void write(std::wstring_view text);

  // rtos formatting: the host supplies defaults for a missing mode or precision (LUNITS, LUPREC,
  // DIMZIN). The default formats mode 2 with four decimals.
  using RtosFn = std::function<std::wstring(double value, std::optional<int> mode,
                                            std::optional<int> precision)>;
  static void setRtos(RtosFn fn);
  static std::wstring rtos(double value, std::optional<int> mode, std::optional<int> precision);
  // rtos with an explicit mode and precision: 1 scientific, 2 decimal (others fall back to 2).
  static std::wstring formatNumber(double value, int mode, int precision);

  // findfile and load: the full Windows path of an existing file. The default looks at the name
  // as given (absolute or relative to the current folder); a host may add its search path.
  using FindFileFn = std::function<std::optional<std::wstring>(std::wstring_view name)>;
  static void setFileFinder(FindFileFn fn);
  static std::optional<std::wstring> findFile(std::wstring_view name);

  // Engine internals used by the special forms and built-ins.
  int depth = 0;         // nesting of eval, bounded by kMaxDepth
  int catchDepth = 0;    // active vl-catch-all-apply frames: *error* stays silent inside
  bool topLevel = false; // inside runTopLevel: errors go to *error*
  static constexpr int kMaxDepth = 12000;
  // Calls *error* for an error not yet handled, when the command line is evaluating.
  void reportError(Error& e);

 private:
  Value callFunction(const Value& fn, std::span<const Value> args);
  Value applyUser(const Value& fn, std::span<const Value> args);

  Namespace* ns_;
};

}  // namespace lisp
