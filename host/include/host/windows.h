// The host's windows as the modules see them: the main window, owner of the dialogs and message
// boxes the modules open on the host's behalf.
#pragma once

namespace plat {
class Window;
}

// The host's main window; null while no session runs.
plat::Window* adsw_acadMainWnd();
