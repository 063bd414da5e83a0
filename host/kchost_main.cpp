// kchost: the CAD host substitute as a program.
//   kchost [--machine DIR] [--no-startup] [--load NAME]... [--ui FILE] [--snapshots DIR]
//          [-e EXPR | SCRIPT.lsp]...
// --ui FILE gives the dialogs a scripted user (scenes in the format the README describes);
// --snapshots DIR writes each window as a PNG when it first shows and when it closes.
// Runs the suite in one new drawing. -e prints the value of its last form as prin1 writes it;
// scripts are UTF-8 files. A LISP error prints "; error: ..." on standard error, ends that
// expression or script, and makes the exit status 1. Without -e or scripts: an interactive
// command line.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "host/session.h"
#include "platform/process.h"
#include "install.h"
#include "platform/codepage.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "platform/scripted_user.h"

namespace {

struct Options {
  std::filesystem::path machine = setup::defaultMachineFolder();
  bool startup = true;
  std::vector<std::wstring> loads;
  std::string uiScript;  // the scripted user's scenes, a UTF-8 file
  std::string snapshots;  // folder for window snapshots
  struct Item {
    bool isExpression;
    std::string text;  // the expression, or the script's file name
  };
  std::vector<Item> items;
};

int usage() {
  std::fputs("usage: kchost [--machine DIR] [--no-startup] [--load NAME]... [--ui FILE] [--snapshots DIR]\n"
             "              [-e EXPR | SCRIPT.lsp]...\n", stderr);
  return 2;
}

// Standard output as the command line: remembers whether a line is open, so a printed value
// starts on a fresh line.
struct CommandLine {
  bool lineOpen = false;
  void write(std::wstring_view text) {
    if (text.empty()) return;
    std::string bytes = plat::utf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
    lineOpen = text.back() != L'\n';
  }
  void freshLine() {
    if (lineOpen) write(L"\n");
  }
};

void printError(const std::wstring& message) {
  std::fflush(stdout);
  std::string text = "; error: " + plat::utf8(message) + "\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
}

bool readFile(const std::string& name, std::string& bytes) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  std::stringstream all;
  all << in.rdbuf();
  bytes = all.str();
  return true;
}

// True when the text has as many closing as opening parentheses outside strings and comments.
bool balanced(const std::wstring& text) {
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (inString) {
      if (c == L'\\') ++i;
      else if (c == L'"') inString = false;
    } else if (c == L'"') {
      inString = true;
    } else if (c == L';') {
      while (i < text.size() && text[i] != L'\n') ++i;
    } else if (c == L'(') {
      ++depth;
    } else if (c == L')') {
      --depth;
    }
  }
  return depth <= 0 && !inString;
}

// A typed command line as a LISP call: the command name and each answer after it, separated by
// blanks as the command line takes them, become the strings of (command ...).
std::wstring commandCall(const std::wstring& line) {
  std::wstring call = L"(command";
  std::size_t at = 0;
  while ((at = line.find_first_not_of(L" \t", at)) != std::wstring::npos) {
    std::size_t end = line.find_first_of(L" \t", at);
    std::wstring word = line.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at);
    call += L" \"";
    for (wchar_t c : word) {
      if (c == L'\\' || c == L'"') call += L'\\';
      call += c;
    }
    call += L'"';
    at = end;
  }
  return call + L")";
}

// The interactive command line: LISP expressions, or command names run as (command "NAME").
int interactive(host::Session& session, CommandLine& out) {
  std::string line;
  std::wstring pending;
  for (;;) {
    out.freshLine();
    out.write(pending.empty() ? L"指令: " : L"");
    out.lineOpen = false;
    if (!std::getline(std::cin, line)) break;
    pending += plat::fromUtf8(line) + L"\n";
    std::wstring trimmed = pending.substr(0, pending.find_last_not_of(L" \t\r\n") + 1);
    if (trimmed.empty()) {
      pending.clear();
      continue;
    }
    bool isLisp = trimmed.find_first_of(L"(!'") == trimmed.find_first_not_of(L" \t");
    if (isLisp && !balanced(pending)) continue;
    std::wstring source = isLisp ? pending : commandCall(trimmed);
    pending.clear();
    lisp::TopLevelResult result = session.evaluate(source);
    if (result.failed) {
      out.freshLine();
      printError(result.message);
    } else if (isLisp) {
      out.freshLine();
      out.write(lisp::prin1String(result.value) + L"\n");
    }
  }
  return 0;
}

// Queues the scenes of a --ui file; false (with the fault on standard error) when it cannot be used.
bool loadUiScript(const std::string& file) {
  std::string bytes;
  if (!readFile(file, bytes)) {
    std::fprintf(stderr, "kchost: cannot read %s\n", file.c_str());
    return false;
  }
  try {
    plat::scripted::loadScript(plat::fromUtf8(bytes));
  } catch (const plat::scripted::ScriptError& e) {
    std::fprintf(stderr, "kchost: %s: %s\n", file.c_str(), e.what());
    return false;
  }
  return true;
}

// Reports the scripted user's failed checks and scenes no window took; true when there are none.
bool reportUi(CommandLine& out) {
  bool clean = true;
  for (const std::wstring& failure : plat::scripted::scriptFailures()) {
    out.freshLine();
    printError(L"ui " + failure);
    clean = false;
  }
  if (std::size_t left = plat::scripted::pendingScenes()) {
    out.freshLine();
    printError(L"ui: " + std::to_wstring(left) + L" scene(s) found no window");
    clean = false;
  }
  return clean;
}

int run(const Options& options) {
  plat::openMachine(options.machine);
  if (!options.snapshots.empty()) plat::scripted::setSnapshotFolder(options.snapshots);
  if (!options.uiScript.empty() && !loadUiScript(options.uiScript)) return 2;
  if (!setup::isInstalled()) {
    setup::InstallOptions install;
    install.modulesFrom = plat::programFolder();
    setup::install(install);
  }
  CommandLine out;
  host::SessionOptions sessionOptions;
  sessionOptions.output = [&out](std::wstring_view text) { out.write(text); };
  sessionOptions.runStartup = options.startup;
  host::Session session(sessionOptions);
  for (const std::wstring& name : options.loads) session.loadModule(name);

  if (options.items.empty()) return interactive(session, out);
  int status = 0;

  for (const auto& item : options.items) {
    std::string bytes = item.text;
    if (!item.isExpression && !readFile(item.text, bytes)) {
      out.freshLine();
      printError(L"LOAD failed: \"" + plat::fromUtf8(item.text) + L"\"");
      status = 1;
      continue;
    }
    lisp::TopLevelResult result = session.evaluate(plat::fromUtf8(bytes));
    if (result.failed) {
      out.freshLine();
      printError(result.message);
      status = 1;
    } else if (item.isExpression) {
      out.freshLine();
      out.write(lisp::prin1String(result.value) + L"\n");
    }
  }
  if (!options.uiScript.empty() && !reportUi(out)) status = 1;
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--machine" || arg == "--load" || arg == "-e" || arg == "--ui" || arg == "--snapshots") {
      if (i + 1 >= argc) return usage();
      std::string value = argv[++i];
      if (arg == "--machine")
        options.machine = value;
      else if (arg == "--load")
        options.loads.push_back(plat::fromUtf8(value));
      else if (arg == "--ui")
        options.uiScript = value;
      else if (arg == "--snapshots")
        options.snapshots = value;
      else
        options.items.push_back({true, value});
    } else if (arg == "--no-startup") {
      options.startup = false;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return usage();
    } else {
      options.items.push_back({false, arg});
    }
  }
  try {
    return run(options);
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "kchost: %s\n", e.what());
    return 2;
  }
}
