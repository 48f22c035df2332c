#pragma once

#include <cstddef>
#include <span>

#include "optimise/OptimisationSwitch.h"
#include "platform/ProcessServices.h"
#include "platform/WindowLayout.h"
#include "platform/WindowToolkit.h"

namespace qiro {

inline constexpr int kExitClosed = 0;           // the window has been closed
inline constexpr int kExitWindowNotBuilt = -1;  // the window could not be built

// The program: builds the main window from its layout, binds the handlers
// of every event it handles, and runs until the window has been closed.
class Program {
 public:
  // iconFile: the bytes of the program's .ico file, shown in the
  // notification area; they must outlive the program.
  Program(WindowToolkit& toolkit, ProcessServices& processes,
          std::span<const std::byte> iconFile);

  // Start-up to the end; the result is the process's exit code.
  int Run();

 private:
  EventBindings Bindings();

  WindowToolkit& toolkit_;
  ProcessServices& processes_;
  std::span<const std::byte> iconFile_;
  OptimisationSwitch switch_;
};

}  // namespace qiro
