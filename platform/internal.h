// Hooks between the platform's own files; not part of the public interface.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace plat::detail {

// Forget per-machine state when another machine is opened.
void resetPaths();
void resetRegistry();

// The entry of a host folder that a Windows name denotes: the exact name when present, otherwise
// the first (in ordinal order) that matches without regard to case; nullopt when none does.
std::optional<std::filesystem::path> findEntry(const std::filesystem::path& folder,
                                               std::wstring_view name);

}  // namespace plat::detail
