// Reads and writes two documents with this system's JSON code and with
// nlohmann/json, then prints how long ours takes relative to nlohmann's.
#include <benchmark/benchmark.h>

#include <algorithm>
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
// shared machine) so the ratios can be printed; with repetitions, the median.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      // Repetitions may be reported only as aggregates; their median stands
      // for all of them.
      if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
        nanoseconds_[run.run_name.str()].push_back(run.GetAdjustedCPUTime());
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void printRatios() {
    std::printf("\n%-8s %-16s %14s %14s %10s\n", "what", "document", "taviro", "nlohmann",
                "ratio");
    for (const char* operation : {"parse", "write"}) {
      for (int which = 0; which < 2; ++which) {
        const std::string base = std::string(operation) + "/" + document(which).name + "/";
        const double ours = median(base + "taviro");
        const double theirs = median(base + "nlohmann");
        if (ours == 0 || theirs == 0) continue;
        std::printf("%-8s %-16s %11.1f us %11.1f us %9.2fx\n", operation, document(which).name,
                    ours / 1e3, theirs / 1e3, ours / theirs);
      }
    }
    std::printf("CPU time per operation; ratio = taviro / nlohmann (below 1: taviro is faster)\n");
  }

 private:
  double median(const std::string& name) {
    auto found = nanoseconds_.find(name);
    if (found == nanoseconds_.end()) return 0;
    std::vector<double>& times = found->second;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
  }

  std::map<std::string, std::vector<double>> nanoseconds_;
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
