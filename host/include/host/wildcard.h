// The host's wildcard patterns, shared by the LISP function wcmatch and acutWcMatch: "#" a digit,
// "@" a letter, "." neither, "*" any run, "?" any character, "[...]" and "[~...]" sets with
// ranges, "`" quoting the next character, "," between alternatives, "~" negating one. Case counts.
#pragma once

#include <string_view>

namespace host {

bool wildcardMatch(std::wstring_view text, std::wstring_view pattern);

}  // namespace host
