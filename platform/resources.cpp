// The resource chain: sets in joining order and the current resource module, searched first.
#include "platform/resources.h"

#include <algorithm>
#include <utility>
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

// The entry of `id` in one table of one set, when it has one.
template <class T>
const T* entryIn(ResourceHandle set, std::map<int, T> ResourceSet::*table, int id) {
  if (!set) return nullptr;
  auto it = (set->*table).find(id);
  return it == (set->*table).end() ? nullptr : &it->second;
}

// The current module first, then the chain in joining order: the first set holding `id`.
template <class T>
std::pair<const T*, ResourceHandle> lookup(std::map<int, T> ResourceSet::*table, int id) {
  if (const T* found = entryIn(chain().current, table, id)) return {found, chain().current};
  for (ResourceHandle set : chain().sets)
    if (const T* found = entryIn(set, table, id)) return {found, set};
  return {nullptr, nullptr};
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
  const std::wstring* text = lookup(&ResourceSet::strings, id).first;
  return text ? *text : L"";
}

const DialogTemplate* findDialog(int id) { return lookup(&ResourceSet::dialogs, id).first; }
const PictureResource* findIcon(int id) { return lookup(&ResourceSet::icons, id).first; }
const PictureResource* findBitmap(int id) { return lookup(&ResourceSet::bitmaps, id).first; }
ResourceHandle dialogOwner(int id) { return lookup(&ResourceSet::dialogs, id).second; }

}  // namespace plat
