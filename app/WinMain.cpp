#include <windows.h>

#include <cstddef>
#include <span>

#include "app/Program.h"
#include "app/resources/ResourceIds.h"
#include "platform/win32/Win32ProcessServices.h"
#include "platform/win32/Win32WindowToolkit.h"

namespace {

// A resource's bytes stay mapped as long as the module, so the span never
// dangles. Empty when the resource is missing.
std::span<const std::byte> ResourceBytes(HINSTANCE module, int id,
                                         LPCSTR type) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) {
    return {};
  }
  return {static_cast<const std::byte*>(bytes), SizeofResource(module, found)};
}

}  // namespace

// The command line is not read: the program has no options.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/,
                   LPSTR /*commandLine*/, int /*show*/) {
  qiro::Win32WindowToolkit toolkit(instance, QIRO_ICON_ID);
  qiro::Win32ProcessServices processes;
  qiro::Program program(toolkit, processes,
                        ResourceBytes(instance, QIRO_ICON_FILE_ID, RT_RCDATA));
  return program.Run();
}
