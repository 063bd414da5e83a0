// The resource chain: sets in joining order and the current resource module, searched first.
#include "platform/resources.h"

#include <algorithm>
#include <vector>

namespace plat {

namespace {

struct Chain {
  std::vector<ResourceHandle> sets;
  ResourceHandle current = nullptr;
};

Chain& chain() {
  static Chain c;
  return c;
}

// The text of `id` in one set, when it has one.
const std::wstring* stringIn(ResourceHandle set, int id) {
  if (!set) return nullptr;
  auto it = set->strings.find(id);
  return it == set->strings.end() ? nullptr : &it->second;
}

}  // namespace

void joinResourceChain(ResourceHandle set) {
  auto& sets = chain().sets;
  if (set && std::find(sets.begin(), sets.end(), set) == sets.end()) sets.push_back(set);
}

void leaveResourceChain(ResourceHandle set) {
  auto& sets = chain().sets;
  sets.erase(std::remove(sets.begin(), sets.end(), set), sets.end());
  if (chain().current == set) chain().current = nullptr;  // never leave a dangling current module
}

ResourceHandle currentResourceModule() { return chain().current; }

void setCurrentResourceModule(ResourceHandle set) { chain().current = set; }

std::wstring loadString(int id) {
  if (const std::wstring* text = stringIn(chain().current, id)) return *text;
  for (ResourceHandle set : chain().sets)
    if (const std::wstring* text = stringIn(set, id)) return *text;
  return L"";
}

}  // namespace plat
