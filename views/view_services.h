// What the main window hands each view when it creates it: the prompter,
// the desktop shell and the frame itself, all as interfaces, so that tests
// can build views around stand-ins.
#pragma once

#include "prompt.h"
#include "shell_services.h"
#include "main_frame_services.h"

namespace vantor {

struct CViewServices {
    IPrompt& prompt;
    IShellServices& shell;
    IMainFrame& frame;
};

}  // namespace vantor
