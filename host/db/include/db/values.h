// The values the drawing database keeps: a DXF group is a code and one typed value, stored in the
// field the code's range gives (string, point, real, short, long, 64-bit, object id or bytes).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace host {

using ObjectId = std::int64_t;  // an entity name's first word; 0 is no object
using Point = std::array<double, 3>;

// A reference to another object (group codes -1, -2 and 330 to 369).
struct Ref {
  ObjectId id = 0;
  bool operator==(const Ref&) const = default;
};

using Value = std::variant<std::monostate, double, Point, short, std::int32_t, std::int64_t,
                           std::wstring, Ref, std::string /* bytes */>;

struct Group {
  short code = 0;
  Value value;
  bool operator==(const Group&) const = default;
};
using Groups = std::vector<Group>;

// Symbol names, variable names and application names compare without regard to case.
std::wstring upper(std::wstring_view text);
bool sameName(std::wstring_view a, std::wstring_view b);

}  // namespace host
