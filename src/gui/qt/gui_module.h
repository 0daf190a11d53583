// The entry point of the GUI module, loaded with dlopen() by the program; the one symbol the
// module exports.
#pragma once

#include <QtGlobal>

#include "platform/gui.h"

// Starts Qt (unless a QApplication exists already) and answers the module; the module and the
// application live for the rest of the process. applicationTitle is Windows-1252 bytes; argc
// must stay alive as long as the application, as Qt requires.
extern "C" Q_DECL_EXPORT morlane::platform::GuiModule* morlane_gui_create(
    const char* applicationTitle, int* argc, char** argv);
