// Resource scripts: the modules' dialogs, string tables, icons and bitmaps written in a form close
// to the Windows resource script (UTF-8 text; dialog units, control ids, style names, texts).
// The build reads each module's script with parseResourceScript and writes it as C++ tables
// (resourceSetSource), so a fault in a script stops the build with its file and line.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/resources.h"

namespace plat {

struct ResourceScriptError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Reads a script into a resource set (adding to what it holds); throws ResourceScriptError
// "NAME(LINE): what is wrong".
void parseResourceScript(std::string_view utf8Text, std::string_view sourceName, ResourceSet& set);

// C++ source of a function `void FUNCTION(plat::ResourceSet& set)` that fills a set with
// everything `set` holds.
std::string resourceSetSource(const ResourceSet& set, std::string_view function);

}  // namespace plat
