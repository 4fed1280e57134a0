#include "driver/kordrv.h"

#include "platform/dynamic_library.h"

// Constant-initialised, so the flag and the variables are valid before any other code runs.
constinit TGetNumCards GetNumCards = nullptr;
constinit TQueryCardInfo QueryCardInfo = nullptr;
constinit TQueryBARBase QueryBARBase = nullptr;
constinit TWaitForIRQ WaitForIRQ = nullptr;
constinit TCOSWaitForIRQ COSWaitForIRQ = nullptr;
constinit TWDGHandleIRQ WDGHandleIRQ = nullptr;
constinit TAbortRequest AbortRequest = nullptr;
constinit TCloseCard CloseCard = nullptr;
constinit TWDGInit WDGInit = nullptr;
constinit TWDGSetTimeout WDGSetTimeout = nullptr;
constinit TWDGSetResetDuration WDGSetResetDuration = nullptr;
constinit TWDGPet WDGPet = nullptr;
constinit TWDGReadTemp WDGReadTemp = nullptr;
constinit TWDGReadStatus WDGReadStatus = nullptr;
constinit TWDGStart WDGStart = nullptr;
constinit TWDGStop WDGStop = nullptr;
constinit TEmergencyReboot EmergencyReboot = nullptr;
constinit TInPortB InPortB = nullptr;
constinit TOutPortB OutPortB = nullptr;
constinit TInPort InPort = nullptr;
constinit TOutPort OutPort = nullptr;
constinit TInPortL InPortL = nullptr;
constinit TOutPortL OutPortL = nullptr;
constinit TInPortDWord InPortDWord = nullptr;
constinit TOutPortDWord OutPortDWord = nullptr;
constinit TRelInPortB RelInPortB = nullptr;
constinit TRelOutPortB RelOutPortB = nullptr;
constinit TRelInPort RelInPort = nullptr;
constinit TRelOutPort RelOutPort = nullptr;
constinit TRelInPortL RelInPortL = nullptr;
constinit TRelOutPortL RelOutPortL = nullptr;
constinit TRelInPortDWord RelInPortDWord = nullptr;
constinit TRelOutPortDWord RelOutPortDWord = nullptr;

constinit bool DriverLoaded = false;

namespace {

// Stores the address of one exported function in its variable, null when the library lacks
// the name, and tells whether it was found.
template <class TProc>
bool Bind(DynamicLibrary::THandle library, TProc& variable, const char* name) {
  variable = reinterpret_cast<TProc>(DynamicLibrary::GetProcAddress(library, name));
  return variable != nullptr;
}

}  // namespace

void LoadDriver() {
  if (DriverLoaded) return;

  // The handle is not kept: the library stays loaded until the process ends.
  const DynamicLibrary::THandle library = DynamicLibrary::LoadLibrary(kDriverLibraryName);
  if (library == nullptr) return;

  // Every name is looked up, even after a miss, so that the names found are all bound.
  bool all = true;
  all &= Bind(library, GetNumCards, "GetNumCards");
  all &= Bind(library, QueryCardInfo, "QueryCardInfo");
  all &= Bind(library, QueryBARBase, "QueryBARBase");
  all &= Bind(library, WaitForIRQ, "WaitForIRQ");
  all &= Bind(library, COSWaitForIRQ, "COSWaitForIRQ");
  all &= Bind(library, WDGHandleIRQ, "WDGHandleIRQ");
  all &= Bind(library, AbortRequest, "AbortRequest");
  all &= Bind(library, CloseCard, "CloseCard");
  all &= Bind(library, WDGInit, "WDGInit");
  all &= Bind(library, WDGSetTimeout, "WDGSetTimeout");
  all &= Bind(library, WDGSetResetDuration, "WDGSetResetDuration");
  all &= Bind(library, WDGPet, "WDGPet");
  all &= Bind(library, WDGReadTemp, "WDGReadTemp");
  all &= Bind(library, WDGReadStatus, "WDGReadStatus");
  all &= Bind(library, WDGStart, "WDGStart");
  all &= Bind(library, WDGStop, "WDGStop");
  all &= Bind(library, EmergencyReboot, "EmergencyReboot");
  all &= Bind(library, InPortB, "InPortB");
  all &= Bind(library, OutPortB, "OutPortB");
  all &= Bind(library, InPort, "InPort");
  all &= Bind(library, OutPort, "OutPort");
  all &= Bind(library, InPortL, "InPortL");
  all &= Bind(library, OutPortL, "OutPortL");
  all &= Bind(library, InPortDWord, "InPortDWord");
  all &= Bind(library, OutPortDWord, "OutPortDWord");
  all &= Bind(library, RelInPortB, "RelInPortB");
  all &= Bind(library, RelOutPortB, "RelOutPortB");
  all &= Bind(library, RelInPort, "RelInPort");
  all &= Bind(library, RelOutPort, "RelOutPort");
  all &= Bind(library, RelInPortL, "RelInPortL");
  all &= Bind(library, RelOutPortL, "RelOutPortL");
  all &= Bind(library, RelInPortDWord, "RelInPortDWord");
  all &= Bind(library, RelOutPortDWord, "RelOutPortDWord");
  DriverLoaded = all;
}
