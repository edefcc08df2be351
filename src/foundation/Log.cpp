#include "foundation/Log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace taviro {
namespace {

void stderrSink(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stderr);
  if (line.empty() || line.back() != '\n') std::fputc('\n', stderr);
}

std::atomic<LogSink> g_sink{&stderrSink};

void emit(char* buffer, std::size_t capacity, int used) {
  if (used < 0) return;
  const std::size_t n = static_cast<std::size_t>(used) < capacity ? static_cast<std::size_t>(used)
                                                                  : capacity - 1;
  g_sink.load()(std::string_view(buffer, n));
}

}  // namespace

LogSink setLogSink(LogSink sink) { return g_sink.exchange(sink ? sink : &stderrSink); }

void logBare(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  const int used = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  emit(buffer, sizeof buffer, used);
}

void logMethod(const char* method, int line, const char* level, const char* format, ...) {
  char buffer[1024];
  int used = std::snprintf(buffer, sizeof buffer, "%s[Line %d] [%s] ", method, line, level);
  if (used < 0 || static_cast<std::size_t>(used) >= sizeof buffer) return emit(buffer, sizeof buffer, used);
  va_list args;
  va_start(args, format);
  const int rest = std::vsnprintf(buffer + used, sizeof buffer - static_cast<std::size_t>(used), format, args);
  va_end(args);
  emit(buffer, sizeof buffer, rest < 0 ? used : used + rest);
}

}  // namespace taviro
