#pragma once

// Loading a shared library by file name at run time and finding its exported functions by
// name. The names live in their own namespace because the Win32 headers define macros and
// functions of the same names.
namespace DynamicLibrary {

// An opaque handle of a loaded library; null when loading failed.
using THandle = void*;

// Loads the library with the system's usual search for a bare file name. Returns null when it
// cannot be found or loaded; nothing is shown to the user either way.
THandle LoadLibrary(const char* FileName);

// The address of the exported function ProcName, or null when the library lacks it or the
// handle is null.
void* GetProcAddress(THandle Library, const char* ProcName);

}  // namespace DynamicLibrary
