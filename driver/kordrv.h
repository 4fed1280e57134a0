#pragma once

#include <cstdint>

// The card driver library, bound by file name at run time. The library may be absent: nothing
// of it is imported at link time, and DriverLoaded tells whether its functions may be called.
// Only GetNumCards is called by the program; the parameter lists of the others are this
// binding's own, since nothing calls them.

constexpr char kDriverLibraryName[] = "KORDRV.dll";

using TGetNumCards = std::int32_t (*)();
using TQueryCardInfo = std::int32_t (*)(std::int32_t CardIndex, void* Info, std::uint32_t InfoSize);
using TQueryBARBase = std::uint32_t (*)(std::int32_t CardIndex, std::int32_t BarIndex);
using TWaitForIRQ = std::int32_t (*)(std::int32_t CardIndex, std::uint32_t TimeoutMs);
using TCOSWaitForIRQ = std::int32_t (*)(std::int32_t CardIndex, std::uint32_t TimeoutMs,
                                        std::uint32_t* Status);
using TWDGHandleIRQ = std::int32_t (*)(std::int32_t CardIndex);
using TAbortRequest = void (*)(std::int32_t CardIndex);
using TCloseCard = void (*)(std::int32_t CardIndex);
using TWDGInit = std::int32_t (*)(std::int32_t CardIndex);
using TWDGSetTimeout = void (*)(std::int32_t CardIndex, std::uint32_t Timeout);
using TWDGSetResetDuration = void (*)(std::int32_t CardIndex, std::uint32_t Duration);
using TWDGPet = void (*)(std::int32_t CardIndex);
using TWDGReadTemp = std::int32_t (*)(std::int32_t CardIndex);
using TWDGReadStatus = std::uint32_t (*)(std::int32_t CardIndex);
using TWDGStart = void (*)(std::int32_t CardIndex);
using TWDGStop = void (*)(std::int32_t CardIndex);
using TEmergencyReboot = void (*)();
using TInPortB = std::uint8_t (*)(std::uint32_t Port);
using TOutPortB = void (*)(std::uint32_t Port, std::uint8_t Value);
using TInPort = std::uint16_t (*)(std::uint32_t Port);
using TOutPort = void (*)(std::uint32_t Port, std::uint16_t Value);
using TInPortL = std::uint32_t (*)(std::uint32_t Port);
using TOutPortL = void (*)(std::uint32_t Port, std::uint32_t Value);
using TInPortDWord = std::uint32_t (*)(std::uint32_t Port);
using TOutPortDWord = void (*)(std::uint32_t Port, std::uint32_t Value);
using TRelInPortB = std::uint8_t (*)(std::int32_t CardIndex, std::int32_t BarIndex, std::uint32_t Offset);
using TRelOutPortB = void (*)(std::int32_t CardIndex, std::int32_t BarIndex, std::uint32_t Offset,
                              std::uint8_t Value);
using TRelInPort = std::uint16_t (*)(std::int32_t CardIndex, std::int32_t BarIndex, std::uint32_t Offset);
using TRelOutPort = void (*)(std::int32_t CardIndex, std::int32_t BarIndex, std::uint32_t Offset,
                             std::uint16_t Value);
using TRelInPortL = std::uint32_t (*)(std::int32_t CardIndex, std::int32_t BarIndex, std::uint32_t Offset);
using TRelOutPortL = void (*)(std::int32_t CardIndex, std::int32_t BarIndex, std::uint32_t Offset,
                              std::uint32_t Value);
using TRelInPortDWord = std::uint32_t (*)(std::int32_t CardIndex, std::int32_t BarIndex,
                                          std::uint32_t Offset);
using TRelOutPortDWord = void (*)(std::int32_t CardIndex, std::int32_t BarIndex, std::uint32_t Offset,
                                  std::uint32_t Value);

// The bound functions, in lookup order; each is null until the binding has found it. A failed
// binding keeps whatever names it did find, so test DriverLoaded, not the variables.
extern TGetNumCards GetNumCards;
extern TQueryCardInfo QueryCardInfo;
extern TQueryBARBase QueryBARBase;
extern TWaitForIRQ WaitForIRQ;
extern TCOSWaitForIRQ COSWaitForIRQ;
extern TWDGHandleIRQ WDGHandleIRQ;
extern TAbortRequest AbortRequest;
extern TCloseCard CloseCard;
extern TWDGInit WDGInit;
extern TWDGSetTimeout WDGSetTimeout;
extern TWDGSetResetDuration WDGSetResetDuration;
extern TWDGPet WDGPet;
extern TWDGReadTemp WDGReadTemp;
extern TWDGReadStatus WDGReadStatus;
extern TWDGStart WDGStart;
extern TWDGStop WDGStop;
extern TEmergencyReboot EmergencyReboot;
extern TInPortB InPortB;
extern TOutPortB OutPortB;
extern TInPort InPort;
extern TOutPort OutPort;
extern TInPortL InPortL;
extern TOutPortL OutPortL;
extern TInPortDWord InPortDWord;
extern TOutPortDWord OutPortDWord;
extern TRelInPortB RelInPortB;
extern TRelOutPortB RelOutPortB;
extern TRelInPort RelInPort;
extern TRelOutPort RelOutPort;
extern TRelInPortL RelInPortL;
extern TRelOutPortL RelOutPortL;
extern TRelInPortDWord RelInPortDWord;
extern TRelOutPortDWord RelOutPortDWord;

// True once the library was loaded with all of its functions; it stays true for the life of
// the process.
extern bool DriverLoaded;

// Loads the library and looks up every function, unless an earlier call already succeeded. A
// failed call changes nothing visible to the user, and a later call tries again. The library
// is never unloaded.
void LoadDriver();
