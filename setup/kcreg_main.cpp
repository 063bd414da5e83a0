// kcreg: edits a machine's registry the way reg.exe does.
//   kcreg [--machine DIR] add KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]
//   kcreg [--machine DIR] query KEY [/v NAME | /ve]
//   kcreg [--machine DIR] delete KEY [/v NAME | /ve] [/f]
//   kcreg [--machine DIR] import FILE.reg
//   kcreg [--machine DIR] export KEY FILE.reg [/y]
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "install.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/machine.h"
#include "platform/registry.h"

namespace {

using plat::reg::Key;
using plat::reg::Type;

constexpr const char* kDone = "The operation completed successfully.\n";
constexpr const char* kNotFound = "ERROR: The system was unable to find the specified registry key or value.\n";

struct Command {
  std::string verb;
  std::vector<std::string> positional;
  std::optional<std::wstring> valueName;  // /v NAME, or L"" for /ve
  std::wstring type = L"REG_SZ";
  std::optional<std::wstring> data;
  bool force = false;
};

int fail(const char* message) {
  std::fputs(message, stderr);
  return 1;
}

void printLine(const std::wstring& text) { std::cout << plat::utf8(text) << "\n"; }

std::optional<std::pair<plat::reg::Root, std::wstring>> keyOf(const std::string& name) {
  return plat::reg::parseKeyName(plat::fromUtf8(name));
}

int query(const Command& c) {
  auto key = keyOf(c.positional[0]);
  if (!key) return fail("ERROR: Invalid key name.\n");
  auto open = Key::open(key->first, key->second);
  if (!open) return fail(kNotFound);
  std::wstring fullName = std::wstring(plat::reg::rootName(key->first)) + L"\\" + open->path();
  auto valueLine = [](const plat::reg::Value& v) {
    std::wstring name = v.name.empty() ? L"(Default)" : v.name;
    printLine(L"    " + name + L"    " + plat::reg::typeName(v.type) + L"    " + plat::reg::dataToText(v));
  };
  std::cout << "\n";
  printLine(fullName);
  if (c.valueName) {
    auto v = open->query(*c.valueName);
    if (!v) return fail(kNotFound);
    valueLine(*v);
    std::cout << "\n";
    return 0;
  }
  for (const auto& v : open->values()) valueLine(v);
  std::cout << "\n";
  for (const auto& sub : open->subkeys()) printLine(fullName + L"\\" + sub);
  return 0;
}

int add(const Command& c) {
  auto key = keyOf(c.positional[0]);
  if (!key) return fail("ERROR: Invalid key name.\n");
  auto open = Key::create(key->first, key->second);
  if (!open) return fail("ERROR: Access is denied.\n");
  if (c.valueName) {
    if (open->query(*c.valueName) && !c.force) {
      std::cout << "Value " << plat::utf8(c.valueName->empty() ? L"(Default)" : *c.valueName)
                << " exists, overwrite(Yes/No)? ";
      std::string answer;
      if (!std::getline(std::cin, answer) || (answer != "y" && answer != "Y" && answer != "yes" && answer != "Yes"))
        return fail("The operation was canceled by the user.\n");
    }
    auto type = plat::reg::typeFromName(c.type);
    if (!type) return fail("ERROR: Invalid syntax. Specify a valid registry value type.\n");
    auto data = plat::reg::dataFromText(*type, c.data.value_or(L""));
    if (!data) return fail("ERROR: Invalid syntax. The data does not fit the value type.\n");
    bool ok = open->set(*c.valueName, *type, *data);
    if (!ok) return fail("ERROR: Access is denied.\n");
  }
  std::cout << kDone;
  return 0;
}

int remove(const Command& c) {
  auto key = keyOf(c.positional[0]);
  if (!key) return fail("ERROR: Invalid key name.\n");
  auto open = Key::open(key->first, key->second);
  if (!open) return fail(kNotFound);
  if (!c.force) {
    std::cout << "Permanently delete the registry " << (c.valueName ? "value" : "key") << " "
              << plat::utf8(c.valueName ? *c.valueName : open->path()) << " (Yes/No)? ";
    std::string answer;
    if (!std::getline(std::cin, answer) || (answer != "y" && answer != "Y" && answer != "yes" && answer != "Yes"))
      return fail("The operation was canceled by the user.\n");
  }
  bool ok = c.valueName ? open->deleteValue(*c.valueName) : Key::deleteTree(key->first, key->second);
  if (!ok) return fail(kNotFound);
  std::cout << kDone;
  return 0;
}

int importFile(const Command& c) {
  std::ifstream in(c.positional[0], std::ios::binary);
  if (!in) return fail("ERROR: Error opening the file. There may be a disk or file system error.\n");
  std::stringstream bytes;
  bytes << in.rdbuf();
  plat::reg::importText(bytes.str(), c.positional[0]);
  std::cout << kDone;
  return 0;
}

int exportKey(const Command& c) {
  if (c.positional.size() < 2) return fail("ERROR: Invalid syntax.\n");
  auto key = keyOf(c.positional[0]);
  if (!key) return fail("ERROR: Invalid key name.\n");
  if (!Key::open(key->first, key->second)) return fail(kNotFound);
  if (!plat::writeFileAtomically(c.positional[1], plat::reg::exportText(key->first, key->second)))
    return fail("ERROR: Error opening the file. There may be a disk or file system error.\n");
  std::cout << kDone;
  return 0;
}

int usage() {
  std::fputs(
      "usage: kcreg [--machine DIR] add KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]\n"
      "       kcreg [--machine DIR] query KEY [/v NAME | /ve]\n"
      "       kcreg [--machine DIR] delete KEY [/v NAME | /ve] [/f]\n"
      "       kcreg [--machine DIR] import FILE.reg\n"
      "       kcreg [--machine DIR] export KEY FILE.reg [/y]\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path machine = setup::defaultMachineFolder();
  Command c;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto next = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      return std::string(argv[++i]);
    };
    std::string lower = arg;
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (arg == "--machine") {
      auto dir = next();
      if (!dir) return usage();
      machine = *dir;
    } else if (lower == "/v") {
      auto name = next();
      if (!name) return usage();
      c.valueName = plat::fromUtf8(*name);
    } else if (lower == "/ve") {
      c.valueName = L"";
    } else if (lower == "/d") {
      auto data = next();
      if (!data) return usage();
      c.data = plat::fromUtf8(*data);
    } else if (lower == "/t") {
      auto type = next();
      if (!type) return usage();
      c.type = plat::fromUtf8(*type);
    } else if (lower == "/f" || lower == "/y") {
      c.force = true;
    } else if (c.verb.empty()) {
      c.verb = lower;
    } else {
      c.positional.push_back(arg);
    }
  }
  if (c.verb.empty() || c.positional.empty()) return usage();
  try {
    plat::openMachine(machine);
    if (c.verb == "query") return query(c);
    if (c.verb == "add") return add(c);
    if (c.verb == "delete") return remove(c);
    if (c.verb == "import") return importFile(c);
    if (c.verb == "export") return exportKey(c);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ERROR: %s\n", e.what());
    return 1;
  }
  return usage();
}
