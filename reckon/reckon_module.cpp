// kcReckon: the calculator module. KCAL evaluates one typed expression for the suite's LISP
// programs; ExpCal opens the calculator dialog (calculator_dialog.cpp).
// Each call evaluates with a fresh ExpParser, so no variable or Ans outlives it.
#include "calculation.h"
#include "calculator_dialog.h"
#include "expparser.h"
#include "frame/args.h"
#include "frame/module.h"
#include "platform/readymade.h"

// kcReckon's resource tables, compiled from resources/kcReckon.rc.
void kcReckonResources(plat::ResourceSet& set);

namespace {

std::wstring helpFolder;  // the installation's help folder, for the dialog's help page

int KCAL(resbuf* args) {
  kc::Args in(args);
  auto typed = in.takeString();
  if (!typed) return RTERROR;
  std::optional<double> value;
  if (auto text = reckon::normalise(*typed)) {
    reckon::ExpParser parser;
    value = reckon::resultValue(parser.Evaluate(*text));
  }
  if (value)
    acedRetReal(*value);
  else
    acedRetNil();
  return RTNORM;
}

// The calculator dialog, with the help page from the installation's help folder.
int ExpCal(resbuf* args) { return reckon::runCalculator(args, helpFolder); }

const kc::FunctionRow kFunctions[] = {
    {L"KCAL", KCAL},
    {L"ExpCal", ExpCal},
};

class ReckonModule : public kc::Module {
 public:
  ReckonModule()
      : Module({.name = L"kcReckon",
                .functions = kFunctions,
                .checksInstallation = true,
                .versionThreshold = 2009.01,
                .folders = {{L"KCADHLP", &helpFolder}},
                .loadMessage = L"\n計算模組載入.",
                .guardedDispatch = false,
                .versionTextId = 104,
                .installTextId = 105}) {
    kcReckonResources(resourceSet());
  }

 protected:
  // The calculator's help panel is an embedded HTML view.
  void onInit(void*) override { plat::enableControlContainer(); }
};

}  // namespace

KC_DEFINE_MODULE(ReckonModule)
