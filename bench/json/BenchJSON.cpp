// Reads and writes two documents with this system's JSON code and with
// nlohmann/json, then prints how long ours takes relative to nlohmann's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "Documents.h"
#include "json/JSONKit.h"

namespace {

using taviro::Value;

struct Document {
  const char* name;
  std::string text;
};

const Document& document(int which) {
  static const Document documents[] = {
      {"shortcut-store", taviro::bench::shortcutStoreDocument()},
      {"generated-1MB", taviro::bench::generatedDocument(1 << 20)},
  };
  return documents[which];
}

void setBytes(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void parseTaviro(benchmark::State& state, int which) {
  const std::string& text = document(which).text;
  for (auto _ : state) benchmark::DoNotOptimize(taviro::mutableObjectFromJSONString(text));
  setBytes(state, text.size());
}

void parseNlohmann(benchmark::State& state, int which) {
  const std::string& text = document(which).text;
  for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::parse(text));
  setBytes(state, text.size());
}

void writeTaviro(benchmark::State& state, int which) {
  const std::string& text = document(which).text;
  const Value tree = *taviro::mutableObjectFromJSONString(text);
  for (auto _ : state) benchmark::DoNotOptimize(taviro::JSONString(*tree.asDict()));
  setBytes(state, text.size());
}

void writeNlohmann(benchmark::State& state, int which) {
  const std::string& text = document(which).text;
  const nlohmann::json tree = nlohmann::json::parse(text);
  for (auto _ : state) benchmark::DoNotOptimize(tree.dump());
  setBytes(state, text.size());
}

// Remembers each run's CPU time per iteration (steadier than wall time on a
// shared machine) so the ratios can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration)
        nanoseconds_[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }

  void printRatios() const {
    std::printf("\n%-8s %-16s %14s %14s %10s\n", "what", "document", "taviro", "nlohmann",
                "ratio");
    for (const char* operation : {"parse", "write"}) {
      for (int which = 0; which < 2; ++which) {
        const std::string base = std::string(operation) + "/" + document(which).name + "/";
        const auto ours = nanoseconds_.find(base + "taviro");
        const auto theirs = nanoseconds_.find(base + "nlohmann");
        if (ours == nanoseconds_.end() || theirs == nanoseconds_.end()) continue;
        std::printf("%-8s %-16s %11.1f us %11.1f us %9.2fx\n", operation, document(which).name,
                    ours->second / 1e3, theirs->second / 1e3, ours->second / theirs->second);
      }
    }
    std::printf("CPU time per operation; ratio = taviro / nlohmann (below 1: taviro is faster)\n");
  }

 private:
  std::map<std::string, double> nanoseconds_;  // CPU time per iteration
};

}  // namespace

int main(int argc, char** argv) {
  for (int which = 0; which < 2; ++which) {
    const std::string name = document(which).name;
    benchmark::RegisterBenchmark(("parse/" + name + "/taviro").c_str(), parseTaviro, which);
    benchmark::RegisterBenchmark(("parse/" + name + "/nlohmann").c_str(), parseNlohmann, which);
    benchmark::RegisterBenchmark(("write/" + name + "/taviro").c_str(), writeTaviro, which);
    benchmark::RegisterBenchmark(("write/" + name + "/nlohmann").c_str(), writeNlohmann, which);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::printf("documents: shortcut-store %zu bytes, generated-1MB %zu bytes\n",
              document(0).text.size(), document(1).text.size());
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios();
  benchmark::Shutdown();
  return 0;
}
