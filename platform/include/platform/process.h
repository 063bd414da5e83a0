// The running program as the platform sees it.
#pragma once

#include <filesystem>

namespace plat {

// The folder of the running program's file (where the programs and modules were built or
// installed side by side).
std::filesystem::path programFolder();

}  // namespace plat
