// Reads and writes four documents with this system's JSON code, with
// nlohmann/json and with RapidJSON, then prints how long ours takes relative
// to each of them.
//
// `taviro_bench_json --rounds=N CASE` runs one case (a name that
// --benchmark_list_tests prints) N times inside runRounds() and nothing else,
// for counting instructions under callgrind (instructions.sh).
#include <benchmark/benchmark.h>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <malloc.h>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "Documents.h"
#include "json/JSONKit.h"

namespace {

using taviro::Value;
using Operation = std::function<void()>;

const char* const kDocuments[] = {"shortcut-file", "shortcut-store", "records-1MB", "numbers-1MB"};
const char* const kLibraries[] = {"taviro", "nlohmann", "rapidjson"};
constexpr int kDocumentCount = 4;
constexpr int kLibraryCount = 3;

// Each document is made on first use, so that a run of one case makes only its own.
const std::string& document(int which) {
  static std::string texts[kDocumentCount];
  std::string& text = texts[which];
  if (text.empty()) {
    switch (which) {
      case 0: text = taviro::bench::shortcutFileDocument(); break;
      case 1: text = taviro::bench::shortcutStoreDocument(); break;
      case 2: text = taviro::bench::recordsDocument(1 << 20); break;
      default: text = taviro::bench::numbersDocument(1 << 20); break;
    }
    // The generators build and drop trees of taviro::Value, which leaves
    // freed blocks of just the sizes our next tree takes, and no other
    // library's. Merged back, they give every library's tree the same fresh
    // memory, laid out in the order it is allocated.
    malloc_trim(0);
  }
  return text;
}

// Full-precision numbers and UTF-8 validation, as the other two libraries do.
constexpr unsigned kRapidJSONParseFlags =
    rapidjson::kParseFullPrecisionFlag | rapidjson::kParseValidateEncodingFlag;

// Builds what a case needs (the tree to write, for instance) and answers the
// operation that is measured: a whole parse (building and destroying the
// tree) or writing the compact text of a tree.
Operation prepare(bool parse, int library, int which) {
  const std::string& text = document(which);
  if (parse) {
    switch (library) {
      case 0:
        return [&text] { benchmark::DoNotOptimize(taviro::mutableObjectFromJSONString(text)); };
      case 1: return [&text] { benchmark::DoNotOptimize(nlohmann::json::parse(text)); };
      default:
        return [&text] {
          rapidjson::Document tree;
          tree.Parse<kRapidJSONParseFlags>(text.data(), text.size());
          benchmark::DoNotOptimize(tree.HasParseError());
        };
    }
  }
  switch (library) {
    case 0: {
      auto tree = std::make_shared<const Value>(*taviro::mutableObjectFromJSONString(text));
      return [tree] { benchmark::DoNotOptimize(taviro::JSONString(*tree->asDict())); };
    }
    case 1: {
      auto tree = std::make_shared<const nlohmann::json>(nlohmann::json::parse(text));
      return [tree] { benchmark::DoNotOptimize(tree->dump()); };
    }
    default: {
      auto tree = std::make_shared<rapidjson::Document>();
      tree->Parse<kRapidJSONParseFlags>(text.data(), text.size());
      return [tree] {
        rapidjson::StringBuffer out;
        rapidjson::Writer<rapidjson::StringBuffer> writer(out);
        tree->Accept(writer);
        benchmark::DoNotOptimize(out.GetString());
      };
    }
  }
}

std::string caseName(bool parse, int library, int which) {
  return std::string(parse ? "parse/" : "write/") + kDocuments[which] + "/" + kLibraries[library];
}

// Every case is prepared before any runs, so that the trees the write cases
// walk lie in memory as a program lays out a tree it has just read, and not
// over the blocks that earlier cases freed (which made the same walk up to
// three times slower, more or less so from run to run).
const Operation& prepared(bool parse, int library, int which) {
  static std::map<std::string, Operation> operations;
  Operation& operation = operations[caseName(parse, library, which)];
  if (!operation) operation = prepare(parse, library, which);
  return operation;
}

void run(benchmark::State& state, bool parse, int library, int which) {
  const Operation& once = prepared(parse, library, which);
  // Every repetition starts from a merged heap. Otherwise the small blocks a
  // 1 MB case left behind decide how scattered the trees of the next case
  // are, whichever case that is: the same 3 KB parse took 9.5 or 15 us
  // depending on the case before it.
  malloc_trim(0);
  for (auto _ : state) once();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document(which).size()));
}

[[gnu::noinline]] void runRounds(const Operation& once, int rounds) {
  for (int i = 0; i < rounds; ++i) once();
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
    std::printf("\n%-6s %-15s %8s %12s %12s %12s %9s %9s\n", "what", "document", "bytes", "taviro",
                "nlohmann", "rapidjson", "/nlohmann", "/rapidjson");
    for (const bool parse : {true, false}) {
      for (int which = 0; which < kDocumentCount; ++which) {
        double times[kLibraryCount];
        for (int library = 0; library < kLibraryCount; ++library)
          times[library] = median(caseName(parse, library, which));
        if (times[0] == 0) continue;
        std::printf("%-6s %-15s %8zu", parse ? "parse" : "write", kDocuments[which],
                    document(which).size());
        for (const double t : times) std::printf(" %9.1f us", t / 1e3);
        for (const double t : {times[1], times[2]})
          std::printf(" %9.2f", t != 0 ? times[0] / t : 0.0);
        std::printf("\n");
      }
    }
    std::printf("CPU time per operation; ratios = taviro / other (below 1: taviro is faster)\n");
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

// --rounds=N CASE: answers the exit status, or -1 when not asked for.
int runRoundsIfAsked(int argc, char** argv) {
  if (argc != 3 || std::strncmp(argv[1], "--rounds=", 9) != 0) return -1;
  const int rounds = std::atoi(argv[1] + 9);
  for (const bool parse : {true, false}) {
    for (int library = 0; library < kLibraryCount; ++library) {
      for (int which = 0; which < kDocumentCount; ++which) {
        if (caseName(parse, library, which) != argv[2]) continue;
        const Operation& once = prepared(parse, library, which);
        once();  // warm up outside the counted rounds
        runRounds(once, rounds);
        return 0;
      }
    }
  }
  std::fprintf(stderr, "no case named %s\n", argv[2]);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // glibc moves its mmap and trim thresholds as large blocks come and go, so
  // the page faults a case pays depend on the cases that ran before it: the
  // same 1 MB write measured 1.9 or 4.0 ms, and nlohmann's 4.3 or 5.9 ms, with
  // nothing changed but the allocations of another case. Fixed where glibc's
  // own adjustment ends, they give every case the same steady heap.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  if (const int status = runRoundsIfAsked(argc, argv); status >= 0) return status;
  for (const bool parse : {true, false}) {
    for (int which = 0; which < kDocumentCount; ++which) {
      for (int library = 0; library < kLibraryCount; ++library) {
        prepared(parse, library, which);
        benchmark::RegisterBenchmark(caseName(parse, library, which).c_str(), run, parse, library,
                                     which);
      }
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios();
  benchmark::Shutdown();
  return 0;
}
