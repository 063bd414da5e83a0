// Results that kcCore's LISP handlers hand back as lists.
#pragma once

#include <string>
#include <vector>

namespace core {

// Sets the LISP result to the list of the texts; nil for none.
void returnStringList(const std::vector<std::wstring>& texts);

}  // namespace core
