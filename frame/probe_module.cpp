// A module that exists only to exercise the frame in tests: a standard one (installation gate,
// default version threshold, one folder value) and, built with PROBE_GUARDED, one with kcCore's
// guarded dispatch.
#include <stdexcept>

#include "frame/args.h"
#include "frame/commands.h"
#include "frame/docdata.h"
#include "frame/module.h"

namespace {

int calls = 0;
std::wstring userFolder;

int probe_calls(resbuf*) {
  acedRetInt(++calls);
  return RTNORM;
}

int probe_folder(resbuf*) {
  ++calls;
  acedRetStr(userFolder.c_str());
  return RTNORM;
}

int probe_echo(resbuf* args) {
  ++calls;
  acedRetList(args);
  return RTNORM;
}

// The documents the module keeps a record for.
AsdkDataManager<CDocData>& documents() {
  static AsdkDataManager<CDocData> manager;
  return manager;
}

int probe_documents(resbuf*) {
  ++calls;
  documents().docData();
  acedRetInt(static_cast<int>(documents().documentCount()));
  return RTNORM;
}

constexpr int IDS_PROBE_COMMAND = 100;

void probeCommand() { acutPrintf(L"\nprobe command ran"); }

int probe_throw(resbuf*) {
  ++calls;
  throw std::runtime_error("probe failure");
}

const kc::FunctionRow kFunctions[] = {
    {L"probe_calls", probe_calls},
    {L"probe_folder", probe_folder},
    {L"probe_echo", probe_echo},
    {L"probe_throw", probe_throw},
    {L"probe_documents", probe_documents},
};

class ProbeModule : public kc::Module {
 public:
  ProbeModule()
#ifdef PROBE_GUARDED
      : Module({.name = L"FrameProbeGuarded",
                .functions = kFunctions,
                .checksInstallation = false,
                .guardedDispatch = true}) {
  }
#else
      : Module({.name = L"FrameProbe",
                .functions = kFunctions,
                .folders = {{L"KCADUSR", &userFolder, L"Probe\\"}},
                .loadMessage = L"\n探針模組載入。"}) {
    resourceSet().strings.emplace(IDS_PROBE_COMMAND, L"探針" + std::wstring(70, L'x'));
  }

 protected:
  void onInit(void*) override {
    documents();
    kc::addCommand(L"PROBE_GROUP", L"PROBECMD", IDS_PROBE_COMMAND, ACRX_CMD::kModal, probeCommand);
  }
  void onUnload() override { kc::removeCommandGroup(L"PROBE_GROUP"); }
#endif
};

}  // namespace

KC_DEFINE_MODULE(ProbeModule)
