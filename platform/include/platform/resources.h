// The resource chain: every module joins it with its own resource set when it is loaded and leaves
// it when unloaded. A lookup searches the current resource module first, then the whole chain in
// joining order, as the class library's resource chain does; a module that needs its own texts
// makes itself current for the time of the lookup (ResourceOverride).
#pragma once

#include <map>
#include <string>

namespace plat {

struct ResourceSet {
  std::wstring moduleName;
  std::map<int, std::wstring> strings;  // string table
};

using ResourceHandle = const ResourceSet*;

void joinResourceChain(ResourceHandle set);
void leaveResourceChain(ResourceHandle set);
ResourceHandle currentResourceModule();  // null: the chain as a whole
void setCurrentResourceModule(ResourceHandle set);

// LoadString: the text of a string id, or L"" when no set in the search order has it.
std::wstring loadString(int id);

// Makes a module's resources current for its lifetime and restores the previous setting on every
// way out of the scope.
class ResourceOverride {
 public:
  explicit ResourceOverride(ResourceHandle set) : previous_(currentResourceModule()) {
    setCurrentResourceModule(set);
  }
  ~ResourceOverride() { setCurrentResourceModule(previous_); }
  ResourceOverride(const ResourceOverride&) = delete;
  ResourceOverride& operator=(const ResourceOverride&) = delete;

 private:
  ResourceHandle previous_;
};

}  // namespace plat
