#pragma once
// What every benchmark program's main() does: the Qt application, when the
// benchmark needs one, runs offscreen whatever display there is, so that the
// figures do not depend on one; then the benchmarks run.
//
// Usage:
//   int main(int argc, char** argv) {
//     TOffscreenApplication<QApplication> app(argc, argv);
//     return RunBenchmarks(argc, argv);
//   }
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

template <class TApp>
class TOffscreenApplication {
 public:
  TOffscreenApplication(int argc, char** argv) : FArgs(argv, argv + argc) {
    FArgs.insert(FArgs.begin() + 1, {FPlatform, FOffscreen});
    FArgc = static_cast<int>(FArgs.size());
    FApp = std::make_unique<TApp>(FArgc, FArgs.data());
  }

 private:
  char FPlatform[10] = "-platform";
  char FOffscreen[10] = "offscreen";
  std::vector<char*> FArgs;
  int FArgc = 0;  // Qt keeps a reference to it
  std::unique_ptr<TApp> FApp;
};

inline int RunBenchmarks(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
