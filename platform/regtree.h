// The in-memory registry tree and the Registry Editor 5.00 text it is stored in. Internal to the
// platform: registry.cpp keeps one tree per hive, regtext.cpp reads and writes the text.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace plat::reg::detail {

// One key: its name as created, its values in creation order, its subkeys in the order the
// registry enumerates them (ordinal order of the upper-cased UTF-16 names).
struct Node {
  std::wstring name;
  std::vector<Value> values;
  std::map<std::u16string, std::unique_ptr<Node>> subkeys;

  Node* child(std::wstring_view name) const;
  Node& addChild(std::wstring_view name);  // the existing child when one matches
  bool removeChild(std::wstring_view name);
  Value* value(std::wstring_view name);
  // true when something changed.
  bool setValue(const Value& value);
  bool deleteValue(std::wstring_view name);
};

// The data of a string value: UTF-16LE with its terminator.
std::vector<std::uint8_t> stringData(std::wstring_view text);

// The non-empty components of a backslash-separated key path.
std::vector<std::wstring> splitKeyPath(std::wstring_view path);

// One step of a .reg text, in file order.
struct Op {
  enum Kind { CreateKey, DeleteKey, SetValue, DeleteValue } kind;
  Root root;
  std::vector<std::wstring> path;
  Value value;  // SetValue: the value; DeleteValue: its name
};

// Parses a whole .reg text (UTF-8, or UTF-16LE with byte-order mark). `onlyRoot`, when given, is
// the one root the text may name (a hive file). Throws HiveError "\"source\" line N: what".
std::vector<Op> parseRegText(std::string_view bytes, std::string_view sourceName,
                             const Root* onlyRoot);
// Applies parsed steps of one root to its tree.
void applyOps(Node& tree, Root root, const std::vector<Op>& ops);
// The .reg text (UTF-8) of `node` and everything below it; `keyName` is the node's full name,
// "HKEY_LOCAL_MACHINE" for a hive's top. The top of a hive gets a section only when it has values.
std::string writeRegText(const Node& node, const std::wstring& keyName, bool isHiveTop);

}  // namespace plat::reg::detail
