#include "platform/dynamic_library.h"

#ifdef _WIN32
#include <windows.h>
#undef LoadLibrary
#else
#include <dlfcn.h>
#endif

namespace DynamicLibrary {

#ifdef _WIN32

THandle LoadLibrary(const char* FileName) { return ::LoadLibraryA(FileName); }

void* GetProcAddress(THandle Library, const char* ProcName) {
  if (Library == nullptr) return nullptr;
  // FARPROC is a function pointer type; callers cast the address to the type they expect.
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(Library), ProcName));
}

#else

// RTLD_NOW resolves everything at load time, so a library that cannot be used fails here
// rather than at its first call; RTLD_LOCAL keeps its symbols out of the program's namespace.
THandle LoadLibrary(const char* FileName) { return dlopen(FileName, RTLD_NOW | RTLD_LOCAL); }

// A null handle would mean "search every loaded object" to dlsym, so it finds nothing here.
void* GetProcAddress(THandle Library, const char* ProcName) {
  return Library == nullptr ? nullptr : dlsym(Library, ProcName);
}

#endif

}  // namespace DynamicLibrary
