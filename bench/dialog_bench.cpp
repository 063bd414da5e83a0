// The dialog kit's costs: rendering a dialog the size of the calculator (528 by 201 dialog units,
// its own resource) and encoding it as a PNG; and one open-and-close cycle of the number pad
// through the host, from the LISP call to its return.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>

#include "host/session.h"
#include "installed_machine.h"
#include "platform/dialog.h"
#include "platform/image_files.h"
#include "platform/rcscript.h"
#include "platform/scripted_user.h"

namespace {

host::Session& session() {
  kcbench::installedMachine();
  static host::Session s(host::SessionOptions{[](std::wstring_view) {}, true});
  return s;
}

// The calculator's resource script, read from the source tree.
const plat::ResourceSet& calculatorResources() {
  static plat::ResourceSet set = [] {
    plat::ResourceSet s;
    std::ifstream in(KORA_SOURCE_DIR "/resources/kcReckon.rc", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    plat::parseResourceScript(text, "kcReckon.rc", s);
    return s;
  }();
  return set;
}

void BM_RenderCalculatorToPng(benchmark::State& state) {
  plat::ResourceSet set = calculatorResources();
  plat::Dialog dialog(set.dialogs.at(101), nullptr);
  plat::joinResourceChain(&set);
  dialog.createModeless();
  dialog.item<plat::Edit>(1002)->setText(L"1.236\r\n2.004\r\nw=3\r\nw*2");
  std::size_t bytes = 0;
  for (auto _ : state) {
    plat::Bitmap image = dialog.render();
    bytes = plat::encodePng(image).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["png_bytes"] = double(bytes);
  dialog.destroy();
  plat::leaveResourceChain(&set);
}
BENCHMARK(BM_RenderCalculatorToPng)->Unit(benchmark::kMillisecond);

void BM_NumberPadOpenClose(benchmark::State& state) {
  host::Session& s = session();
  for (auto _ : state) {
    plat::scripted::onNextWindow([](plat::scripted::Ui& ui) { ui.press(plat::VK_ESCAPE); });
    benchmark::DoNotOptimize(s.eval(L"(c:digit 3 2.5 1)"));
  }
}
BENCHMARK(BM_NumberPadOpenClose)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
