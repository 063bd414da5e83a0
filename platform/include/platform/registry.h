// The registry: the current user's and the local machine's hives, each stored in the machine
// folder as Registry Editor 5.00 text. Key paths and value names compare without regard to case
// and keep the case they were created with; subkeys enumerate alphabetically, values in creation
// order. Every change is saved atomically under a file lock, after re-reading the hive when another
// process changed it, so two processes do not lose each other's writes. A damaged hive file is
// refused with a HiveError naming the file and line, and is never written over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plat::reg {

enum class Root { CurrentUser, LocalMachine };

enum class Type : std::uint32_t {
  None = 0,
  Sz = 1,
  ExpandSz = 2,
  Binary = 3,
  Dword = 4,
  MultiSz = 7,
  Qword = 11,
};

class HiveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Value {
  std::wstring name;  // L"" is the key's default value
  Type type = Type::None;
  std::vector<std::uint8_t> data;  // as Windows stores it: strings are UTF-16LE with terminator

  // The text of a string value (Sz, ExpandSz) without its terminator; nullopt for other types.
  std::optional<std::wstring> text() const;
  // Byte size as RegQueryValueEx reports it (strings count their UTF-16 terminator).
  std::size_t byteSize() const { return data.size(); }
};

// An open key. Cheap to copy: it names a key, it holds no lock.
class Key {
 public:
  // Opens an existing key; nullopt when any part of the path is missing.
  static std::optional<Key> open(Root root, std::wstring_view path);
  // Opens a key, creating the missing parts of its path.
  static std::optional<Key> create(Root root, std::wstring_view path);
  // Deletes a key with everything below it; false when it does not exist.
  static bool deleteTree(Root root, std::wstring_view path);

  std::optional<Value> query(std::wstring_view name) const;
  bool set(std::wstring_view name, Type type, const std::vector<std::uint8_t>& data);
  bool setString(std::wstring_view name, std::wstring_view text);  // REG_SZ, terminator included
  bool setDword(std::wstring_view name, std::uint32_t value);
  bool deleteValue(std::wstring_view name);

  std::vector<std::wstring> subkeys() const;  // names, alphabetical
  std::vector<Value> values() const;  // creation order

  Root root() const { return root_; }
  const std::wstring& path() const { return path_; }  // as created, backslash-separated

 private:
  Key(Root root, std::wstring path) : root_(root), path_(std::move(path)) {}
  Root root_;
  std::wstring path_;
};

// "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"
std::wstring_view rootName(Root root);
// Parses "HKCU\..." / "HKEY_LOCAL_MACHINE\..." into root and path; nullopt for another root.
std::optional<std::pair<Root, std::wstring>> parseKeyName(std::wstring_view fullName);

// Registry Editor 5.00 text of a key and everything below it (UTF-8); just the header line when
// the key does not exist.
std::string exportText(Root root, std::wstring_view path);
// Applies a .reg text (UTF-8, or UTF-16LE with its byte-order mark): keys, values, "-" deletions.
// Throws HiveError naming `sourceName` and the line of the first fault, changing nothing then.
void importText(std::string_view text, std::string_view sourceName);

// Value types by the names reg.exe gives them: "REG_SZ", "REG_EXPAND_SZ", "REG_BINARY",
// "REG_DWORD", "REG_MULTI_SZ", "REG_QWORD", "REG_NONE"; another type reads "REG_0x<hex>".
std::wstring typeName(Type type);
std::optional<Type> typeFromName(std::wstring_view name);  // ignores case; nullopt when unknown
// Value data typed on a command line, read as reg.exe reads it: strings as they are, REG_MULTI_SZ
// items separated by "\0", REG_DWORD and REG_QWORD in decimal or 0x-hex, REG_BINARY and REG_NONE
// as hex digits. nullopt when the text is no data of that type.
std::optional<std::vector<std::uint8_t>> dataFromText(Type type, std::wstring_view text);
// The data as reg.exe's query shows it (the inverse of dataFromText).
std::wstring dataToText(const Value& value);

}  // namespace plat::reg
