// A machine folder with the suite installed, made once for a benchmark run and removed at exit,
// so that benchmarks through the host measure a real installation.
#pragma once

#include <filesystem>

namespace kcbench {

const std::filesystem::path& installedMachine();

}  // namespace kcbench
