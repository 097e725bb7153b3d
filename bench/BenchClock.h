// Wall and processor time, sampled together.
#pragma once

#include <sys/resource.h>

#include <chrono>

namespace printset {

struct TSample {
  double Wall = 0;  // seconds on the steady clock
  double Cpu = 0;   // user + system seconds of the whole process
};

inline double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

inline double ProcessCpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline TSample SampleNow() { return {WallSeconds(), ProcessCpuSeconds()}; }

// Processor milliseconds per second of wall time between two samples.
inline double CpuMsPerSecond(const TSample& from, const TSample& to) {
  const double wall = to.Wall - from.Wall;
  return wall > 0 ? (to.Cpu - from.Cpu) * 1000.0 / wall : 0.0;
}

}  // namespace printset
