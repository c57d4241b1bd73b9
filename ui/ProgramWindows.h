#pragma once
#include <memory>

#include "TfrmGenerator.h"

namespace quor {

// Creates the program's windows, all hidden, in their fixed order: the main window (which
// loads a settings file named on the command line), the About window, the script progress
// dialog, the flash window, and the frequency slider window last, whose creation derives the
// first tone parameters. The main window owns the others.
std::unique_ptr<TfrmGenerator> createProgramWindows(GeneratorServices services);

}  // namespace quor
