#include "bench/launch_clock.h"

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::int64_t ClockNs(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The start time in /proc/self/stat counts clock ticks since boot, which is the clock
// that CLOCK_BOOTTIME reads; the difference to now is then moved onto the monotonic clock.
std::int64_t KernelStartNs() {
  std::ifstream stat("/proc/self/stat");
  std::string line;
  if (!std::getline(stat, line)) return NowNs();
  // The command name may hold spaces; the fields after it start past the last ')'.
  const auto close = line.rfind(')');
  if (close == std::string::npos) return NowNs();
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  // Field 22 of the line (the start time) comes 19 fields after the state, field 3.
  for (int i = 0; i < 19 && fields >> field; ++i) {
  }
  if (!(fields >> field)) return NowNs();
  const long ticksPerSecond = sysconf(_SC_CLK_TCK);
  const std::int64_t startBoot = static_cast<std::int64_t>(std::stoll(field)) *
                                 (1'000'000'000 / (ticksPerSecond > 0 ? ticksPerSecond : 100));
  const std::int64_t age = ClockNs(CLOCK_BOOTTIME) - startBoot;
  return NowNs() - age;
}

}  // namespace

std::int64_t NowNs() { return ClockNs(CLOCK_MONOTONIC); }

std::int64_t LaunchNs() {
  static const std::int64_t launch = [] {
    if (const char* given = std::getenv("SETUP_BENCH_LAUNCH_NS"); given != nullptr && *given != '\0') {
      return static_cast<std::int64_t>(std::strtoll(given, nullptr, 10));
    }
    return KernelStartNs();
  }();
  return launch;
}

double MsBetween(std::int64_t from, std::int64_t to) { return static_cast<double>(to - from) / 1e6; }

double ProcessCpuMs() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0.0;
  const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(1 << 16, '\n');
  }
  return 0;
}
