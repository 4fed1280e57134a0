// A substitute for the card driver library, for tests. It exports every function of the real
// library with C names; GetNumCards reports the count in FAKE_KORDRV_CARDS (0 when unset), and
// each load and unload of the library is appended as a line to the file named by
// FAKE_KORDRV_LOADLOG, when that is set.
//
// The variants that lack one name are built from this same file with that name defined to
// another one on the command line (-DWDGPet=WDGPet_absent), so the library exports the
// function under a name nobody looks up. FAKE_KORDRV_VARIANT labels the log lines.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#define FAKE_EXPORT extern "C" __declspec(dllexport)
#else
#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#ifndef FAKE_KORDRV_VARIANT
#define FAKE_KORDRV_VARIANT "all"
#endif

namespace {

void RecordInLoadLog(const char* event) {
  const char* path = std::getenv("FAKE_KORDRV_LOADLOG");
  if (path == nullptr || *path == '\0') return;
  if (std::FILE* log = std::fopen(path, "a")) {
    std::fprintf(log, "%s %s\n", event, FAKE_KORDRV_VARIANT);
    std::fclose(log);
  }
}

// Constructed when the library is loaded and destroyed when it is unloaded.
struct TLoadRecorder {
  TLoadRecorder() { RecordInLoadLog("load"); }
  ~TLoadRecorder() { RecordInLoadLog("unload"); }
};

const TLoadRecorder kLoadRecorder;

}  // namespace

FAKE_EXPORT std::int32_t GetNumCards() {
  const char* text = std::getenv("FAKE_KORDRV_CARDS");
  if (text == nullptr) return 0;
  char* end = nullptr;
  errno = 0;
  const long count = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0 || count < INT32_MIN || count > INT32_MAX) return 0;
  return static_cast<std::int32_t>(count);
}

FAKE_EXPORT std::int32_t QueryCardInfo(std::int32_t, void*, std::uint32_t) { return 0; }
FAKE_EXPORT std::uint32_t QueryBARBase(std::int32_t, std::int32_t) { return 0; }
FAKE_EXPORT std::int32_t WaitForIRQ(std::int32_t, std::uint32_t) { return 0; }
FAKE_EXPORT std::int32_t COSWaitForIRQ(std::int32_t, std::uint32_t, std::uint32_t*) { return 0; }
FAKE_EXPORT std::int32_t WDGHandleIRQ(std::int32_t) { return 0; }
FAKE_EXPORT void AbortRequest(std::int32_t) {}
FAKE_EXPORT void CloseCard(std::int32_t) {}
FAKE_EXPORT std::int32_t WDGInit(std::int32_t) { return 0; }
FAKE_EXPORT void WDGSetTimeout(std::int32_t, std::uint32_t) {}
FAKE_EXPORT void WDGSetResetDuration(std::int32_t, std::uint32_t) {}
FAKE_EXPORT void WDGPet(std::int32_t) {}
FAKE_EXPORT std::int32_t WDGReadTemp(std::int32_t) { return 0; }
FAKE_EXPORT std::uint32_t WDGReadStatus(std::int32_t) { return 0; }
FAKE_EXPORT void WDGStart(std::int32_t) {}
FAKE_EXPORT void WDGStop(std::int32_t) {}
FAKE_EXPORT void EmergencyReboot() {}
FAKE_EXPORT std::uint8_t InPortB(std::uint32_t) { return 0; }
FAKE_EXPORT void OutPortB(std::uint32_t, std::uint8_t) {}
FAKE_EXPORT std::uint16_t InPort(std::uint32_t) { return 0; }
FAKE_EXPORT void OutPort(std::uint32_t, std::uint16_t) {}
FAKE_EXPORT std::uint32_t InPortL(std::uint32_t) { return 0; }
FAKE_EXPORT void OutPortL(std::uint32_t, std::uint32_t) {}
FAKE_EXPORT std::uint32_t InPortDWord(std::uint32_t) { return 0; }
FAKE_EXPORT void OutPortDWord(std::uint32_t, std::uint32_t) {}
FAKE_EXPORT std::uint8_t RelInPortB(std::int32_t, std::int32_t, std::uint32_t) { return 0; }
FAKE_EXPORT void RelOutPortB(std::int32_t, std::int32_t, std::uint32_t, std::uint8_t) {}
FAKE_EXPORT std::uint16_t RelInPort(std::int32_t, std::int32_t, std::uint32_t) { return 0; }
FAKE_EXPORT void RelOutPort(std::int32_t, std::int32_t, std::uint32_t, std::uint16_t) {}
FAKE_EXPORT std::uint32_t RelInPortL(std::int32_t, std::int32_t, std::uint32_t) { return 0; }
FAKE_EXPORT void RelOutPortL(std::int32_t, std::int32_t, std::uint32_t, std::uint32_t) {}
FAKE_EXPORT std::uint32_t RelInPortDWord(std::int32_t, std::int32_t, std::uint32_t) { return 0; }
FAKE_EXPORT void RelOutPortDWord(std::int32_t, std::int32_t, std::uint32_t, std::uint32_t) {}
