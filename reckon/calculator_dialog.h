// The calculator dialog fnCalc (dialog 101, "計算機") and the LISP function ExpCal that runs it.
#pragma once

#include <string>

#include "host/ads.h"

namespace reckon {

// ExpCal [unit subtotal-decimals total-decimals single (lines...)]: runs the dialog in the
// module's resources; on OK returns the dialog's state as a list, otherwise nil. The help page
// comes from `helpFolder`.
int runCalculator(resbuf* args, const std::wstring& helpFolder);

}  // namespace reckon
