// The suite's about box: the LISP function k_about and its dialog fnAbout (dialog 3001).
#pragma once

#include "host/ads.h"

namespace core {

// k_about text: shows the about box with the text; nil.
int k_about(resbuf* args);

}  // namespace core
