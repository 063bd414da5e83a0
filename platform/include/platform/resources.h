// The resource chain: every module joins it with its own resource set when it is loaded and leaves
// it when unloaded. A lookup searches the current resource module first, then the whole chain in
// joining order, as the class library's resource chain does; a module that needs its own texts
// makes itself current for the time of the lookup (ResourceOverride).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace plat {

// A control of a dialog resource: its window class, text, id, place in dialog units and styles.
struct ControlTemplate {
  std::wstring className;  // "Static", "Button", "Edit", "SysListView32", "LineNumberEdit", ...
  std::wstring text;
  int id = -1;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::uint32_t style = 0, exStyle = 0;
};

// A dialog resource (DIALOGEX): caption, size in dialog units, font and controls in tab order.
struct DialogTemplate {
  int id = 0;
  std::wstring caption;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::uint32_t style = 0, exStyle = 0;
  std::wstring fontFace = L"MS Shell Dlg";
  int fontPoints = 9;
  std::vector<ControlTemplate> controls;
};

// An icon or bitmap. The suite's pictures are drawn from a description: a rounded tile of a
// colour with a glyph (a character or a short word) on it, or, for bitmaps, a banner.
struct PictureResource {
  std::wstring glyph;
  std::uint32_t color = 0x1F5FA8;  // 0xRRGGBB of the tile
  int width = 32, height = 32;
};

struct ResourceSet {
  std::wstring moduleName;
  std::map<int, std::wstring> strings;  // string table
  std::map<int, DialogTemplate> dialogs;
  std::map<int, PictureResource> icons;
  std::map<int, PictureResource> bitmaps;
};

using ResourceHandle = const ResourceSet*;

void joinResourceChain(ResourceHandle set);
void leaveResourceChain(ResourceHandle set);
ResourceHandle currentResourceModule();  // null: the chain as a whole
void setCurrentResourceModule(ResourceHandle set);

// LoadString: the text of a string id, or L"" when no set in the search order has it.
std::wstring loadString(int id);
// A dialog, icon or bitmap resource by id, found in the same order; null when none has it.
const DialogTemplate* findDialog(int id);
const PictureResource* findIcon(int id);
const PictureResource* findBitmap(int id);
// The module whose resources a lookup of a dialog id would use (for tests of the switching).
ResourceHandle dialogOwner(int id);

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
