// kcrc: the build's resource compiler. Reads a module's resource script and writes its tables as
// C++ source.
//   kcrc SCRIPT.rc OUTPUT.cpp FUNCTION
// A fault in the script prints "SCRIPT(LINE): what" and fails the build.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/files.h"
#include "platform/rcscript.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: kcrc SCRIPT.rc OUTPUT.cpp FUNCTION\n", stderr);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "kcrc: cannot read %s\n", argv[1]);
    return 1;
  }
  std::string text((std::istreambuf_iterator<char>(in)), {});
  try {
    plat::ResourceSet set;
    plat::parseResourceScript(text, argv[1], set);
    if (!plat::writeFileAtomically(argv[2], plat::resourceSetSource(set, argv[3]))) {
      std::fprintf(stderr, "kcrc: cannot write %s\n", argv[2]);
      return 1;
    }
  } catch (const plat::ResourceScriptError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
