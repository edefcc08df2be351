#pragma once
// Log lines. Driver lines read "<method>[Line <n>] [<level>] <message>", with
// level "info" or "-warn-"; other parts log bare lines. Lines are formatted
// into a fixed buffer, so logging on the report path does not allocate.
#include <string_view>

namespace taviro {

using LogSink = void (*)(std::string_view line);

// Where lines go (standard error unless replaced); returns the previous sink.
LogSink setLogSink(LogSink sink);

void logBare(const char* format, ...) __attribute__((format(printf, 1, 2)));
void logMethod(const char* method, int line, const char* level, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

inline constexpr const char* kLogInfo = "info";
inline constexpr const char* kLogWarn = "-warn-";

}  // namespace taviro

// TAVIRO_LOG("-[BTDriverManager initializeHID]", taviro::kLogInfo, "initializing HID device");
#define TAVIRO_LOG(method, level, ...) ::taviro::logMethod(method, __LINE__, level, __VA_ARGS__)
