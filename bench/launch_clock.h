#pragma once

#include <cstdint>

// Times on the system-wide monotonic clock, so that a launcher and the program it starts
// read the same clock.

// Nanoseconds on the monotonic clock.
std::int64_t NowNs();

// When the process was started: the launcher's timestamp taken just before it started the
// program (SETUP_BENCH_LAUNCH_NS), else the process start time the kernel keeps (which has
// only scheduler-tick resolution).
std::int64_t LaunchNs();

// Milliseconds between two monotonic timestamps.
double MsBetween(std::int64_t from, std::int64_t to);

// Processor time this process has used so far (user and system, all threads), in ms.
double ProcessCpuMs();

// Peak resident memory of this process so far, in KiB (VmHWM); 0 where it cannot be read.
long PeakResidentKiB();
