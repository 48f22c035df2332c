#include "support/Environment.h"

#include <windows.h>

#include <cstdlib>

#include "support/WideText.h"

namespace qiro::e2e {
namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

template <typename Function>
Function WineExport(const char* name) {
  HMODULE module = GetModuleHandleW(L"ntdll.dll");
  FARPROC address = module != nullptr ? GetProcAddress(module, name) : nullptr;
  if (address == nullptr) {
    module = GetModuleHandleW(L"kernel32.dll");
    address = module != nullptr ? GetProcAddress(module, name) : nullptr;
  }
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

E2ePaths ReadPaths() {
  E2ePaths paths;
  paths.programExeUnix = Variable("QIRO_E2E_PROGRAM");
  paths.targetsDirUnix = Variable("QIRO_E2E_TARGETS");
  paths.workDirUnix = Variable("QIRO_E2E_WORK");
  paths.programExe = DosPathOf(paths.programExeUnix);
  paths.targetsDir = DosPathOf(paths.targetsDirUnix);
  paths.workDir = DosPathOf(paths.workDirUnix);
  return paths;
}

}  // namespace

const E2ePaths& Paths() {
  static const E2ePaths paths = ReadPaths();
  return paths;
}

std::string WineVersion() {
  using GetVersion = const char*(__cdecl*)();
  const auto getVersion = WineExport<GetVersion>("wine_get_version");
  return getVersion != nullptr ? std::string(getVersion()) : std::string();
}

std::wstring DosPathOf(const std::string& unixPath) {
  if (unixPath.empty()) {
    return {};
  }
  // kernel32's wine_get_dos_file_name: a heap copy of the DOS path.
  using ToDos = WCHAR*(__stdcall*)(const char*);
  const auto toDos = WineExport<ToDos>("wine_get_dos_file_name");
  if (toDos == nullptr) {
    return {};
  }
  WCHAR* dosPath = toDos(unixPath.c_str());
  if (dosPath == nullptr) {
    return {};
  }
  std::wstring result(dosPath);
  HeapFree(GetProcessHeap(), 0, dosPath);
  return result;
}

}  // namespace qiro::e2e
