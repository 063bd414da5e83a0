// Registry strings as the modules read and write them: a read goes into a 260-byte buffer, so a
// value whose UTF-16 text with terminator needs more (more than 129 characters) counts as
// missing; a write stores REG_SZ with its terminator. Reads never create keys.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace kc {

constexpr std::size_t kRegBufferBytes = 260;

// A value's bytes read as text, whatever its type, up to the first 0 character.
std::wstring registryText(const plat::reg::Value& value);

std::optional<std::wstring> readRegString(const plat::reg::Key& key, std::wstring_view name);
bool writeRegString(plat::reg::Key& key, std::wstring_view name, std::wstring_view text);

}  // namespace kc
