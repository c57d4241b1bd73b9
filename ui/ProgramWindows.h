#pragma once
#include <memory>

#include "TfrmGenerator.h"

namespace quor {

// Creates the program's windows, all hidden, in their fixed order: the main window first
// (with the About and flash windows it brings), the frequency slider window last, whose
// creation derives the first tone parameters. The main window owns the others.
std::unique_ptr<TfrmGenerator> createProgramWindows(GeneratorServices services);

}  // namespace quor
