// Time to build the three looks of a 281 x 81 highlight circle (copy the background, draw the
// ring), next to two baselines measured in the same run: the plain copy of the same pixels,
// which is the floor, and the ring drawn by the plain per-pixel reference loop.

#include <benchmark/benchmark.h>

#include <QImage>
#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>

#include "bench/ring_reference.h"
#include "setupctrls/ring.h"

namespace {

constexpr int kWidth = 281;
constexpr int kHeight = 81;
constexpr int kLooks = 3;
constexpr double kPixelsPerBuild = double(kLooks) * kWidth * kHeight;

QImage NoiseBackground() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  std::mt19937 random(281081);
  for (int y = 0; y < kHeight; ++y) {
    uchar* row = image.scanLine(y);
    for (int i = 0; i < 4 * kWidth; ++i) row[i] = static_cast<uchar>(random());
  }
  return image;
}

// The three looks of a settings circle, built from one background as the highlight does.
struct LookSet {
  QImage Background = NoiseBackground();
  std::array<QImage, kLooks> Images;
  TRingLook Look = RingLookFor(1);

  LookSet() {
    for (QImage& image : Images) image = Background.copy();
  }

  void CopyBackground() {
    for (QImage& image : Images) {
      std::memcpy(image.bits(), Background.constBits(), static_cast<std::size_t>(Background.sizeInBytes()));
    }
  }

  template <typename Draw>
  void Build(Draw draw) {
    CopyBackground();
    draw(Images[0], kWidth - 1, kHeight - 1, Look.Normal, Look.RingColor, false);
    draw(Images[1], kWidth - 1, kHeight - 1, Look.Glint, Look.RingColor, true);
    draw(Images[2], kWidth - 1, kHeight - 1, Look.Bright, Look.RingColor, false);
  }
};

void Finish(benchmark::State& state, LookSet& set) {
  benchmark::DoNotOptimize(set.Images[2].constBits());
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kPixelsPerBuild));
}

void BM_CopyPixels(benchmark::State& state) {
  LookSet set;
  for (auto _ : state) {
    set.CopyBackground();
    benchmark::ClobberMemory();
  }
  Finish(state, set);
}
BENCHMARK(BM_CopyPixels);

void BM_ReferenceRing(benchmark::State& state) {
  LookSet set;
  for (auto _ : state) {
    set.Build(DrawRingReference);
    benchmark::ClobberMemory();
  }
  Finish(state, set);
}
BENCHMARK(BM_ReferenceRing);

void BM_DrawRing(benchmark::State& state) {
  LookSet set;
  for (auto _ : state) {
    set.Build(DrawRing);
    benchmark::ClobberMemory();
  }
  Finish(state, set);
}
BENCHMARK(BM_DrawRing);

// Prints the usual console lines and keeps each benchmark's time per pixel for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      // Processor time, and the best of repeated runs: the machine may be shared, and both
      // only ever add time that is not the routine's.
      const double perPixel = run.GetAdjustedCPUTime() * UnitsToNanoseconds(run.time_unit) / kPixelsPerBuild;
      const auto [entry, added] = FNanosecondsPerPixel.emplace(run.run_name.function_name, perPixel);
      if (!added && perPixel < entry->second) entry->second = perPixel;
    }
  }

  void PrintSummary() const {
    const double copy = Find("BM_CopyPixels");
    const double reference = Find("BM_ReferenceRing");
    const double fast = Find("BM_DrawRing");
    std::printf("\nThree looks of a %d x %d circle, processor time per pixel of the three images:\n", kWidth,
                kHeight);
    std::printf("  %-30s %9s %12s %14s\n", "", "ns/pixel", "x copy", "x reference");
    Row("plain copy (floor)", copy, copy, reference);
    Row("reference loop", reference, copy, reference);
    Row("DrawRing", fast, copy, reference);
    if (fast > 0 && reference > 0)
      std::printf("  DrawRing is %.2f times as fast as the reference loop\n", reference / fast);
  }

 private:
  static double UnitsToNanoseconds(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kSecond: return 1e9;
      case benchmark::kMillisecond: return 1e6;
      case benchmark::kMicrosecond: return 1e3;
      default: return 1.0;
    }
  }

  double Find(const std::string& name) const {
    const auto found = FNanosecondsPerPixel.find(name);
    return found == FNanosecondsPerPixel.end() ? 0.0 : found->second;
  }

  static void Row(const char* label, double value, double copy, double reference) {
    if (value <= 0) {
      std::printf("  %-30s %9s\n", label, "not run");
      return;
    }
    std::printf("  %-30s %9.3f %12.2f %14.3f\n", label, value, copy > 0 ? value / copy : 0.0,
                reference > 0 ? value / reference : 0.0);
  }

  std::map<std::string, double> FNanosecondsPerPixel;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  benchmark::Shutdown();
  return 0;
}
