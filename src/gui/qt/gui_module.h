// The entry point of the GUI module, loaded with dlopen() by the program.
#pragma once

#include "platform/gui.h"

#if defined(__GNUC__)
#define MORLANE_GUI_EXPORT __attribute__((visibility("default")))
#else
#define MORLANE_GUI_EXPORT
#endif

// Starts Qt (unless a QApplication exists already) and answers the module; the module and the
// application live for the rest of the process. applicationTitle is Windows-1252 bytes; argc
// must stay alive as long as the application, as Qt requires.
extern "C" MORLANE_GUI_EXPORT morlane::platform::GuiModule* morlane_gui_create(
    const char* applicationTitle, int* argc, char** argv);
