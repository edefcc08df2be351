#include "platform/plist/PlistFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

namespace taviro {

namespace {

std::string errnoText(int e = errno) { return std::strerror(e); }

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

PlistReadResult failed(PlistReadStatus status, std::string error, int systemError = 0) {
  PlistReadResult r;
  r.status = status;
  r.error = std::move(error);
  r.systemError = systemError;
  return r;
}

// Whole file, at most one byte more than the limit.
bool readAll(int fd, std::string& out) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0;
    out.append(buffer, static_cast<std::size_t>(n));
    if (out.size() > plist::kMaxBytes) return true;
  }
}

}  // namespace

plist::Parsed parsePlist(std::string_view bytes) {
  if (bytes.size() > plist::kMaxBytes) return {std::nullopt, std::string("it is ") + plist::kTooLarge};
  if (bytes.substr(0, 6) == "bplist") return plist::parseBinary(bytes);
  return plist::parseXml(bytes);
}

PlistReadResult readPlistDictionary(const std::string& path) {
  const auto unreadable = [] {
    const int e = errno;
    return failed(PlistReadStatus::Unreadable, errnoText(e), e);
  };
  // Non-blocking, so that a FIFO at the path cannot stall the start.
  const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) {
    if (errno == ENOENT) return failed(PlistReadStatus::Missing, "no such file");
    return unreadable();
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return unreadable();
  if (!S_ISREG(st.st_mode)) return failed(PlistReadStatus::Unreadable, "not a regular file");
  std::string bytes;
  if (static_cast<std::uintmax_t>(st.st_size) <= plist::kMaxBytes && !readAll(fd.get(), bytes))
    return unreadable();
  if (static_cast<std::uintmax_t>(st.st_size) > plist::kMaxBytes || bytes.size() > plist::kMaxBytes)
    return failed(PlistReadStatus::Refused, std::string("it is ") + plist::kTooLarge);

  plist::Parsed parsed = parsePlist(bytes);
  if (!parsed.value) return failed(PlistReadStatus::Refused, parsed.error);
  Value::Dict* dictionary = parsed.value->asDict();
  if (!dictionary)
    return failed(PlistReadStatus::NotADictionary, "the property list is not a dictionary");
  PlistReadResult r;
  r.dictionary = std::move(*dictionary);
  return r;
}

std::optional<std::string> followLinks(const std::string& path) {
  std::filesystem::path current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current.string();
    char target[PATH_MAX];
    const ssize_t n = ::readlink(current.c_str(), target, sizeof target);
    if (n < 0 || static_cast<std::size_t>(n) == sizeof target) return current.string();
    const std::filesystem::path next(std::string(target, static_cast<std::size_t>(n)));
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return std::nullopt;
}

bool writePlistDictionary(const std::string& path, const Value::Dict& dictionary,
                          std::string* error) {
  const auto fail = [error](std::string why) {
    if (error) *error = std::move(why);
    return false;
  };
  // Refused before anything is touched: a file that could not be read back
  // must not replace one that can.
  const plist::Written xml = plist::writeXml(dictionary);
  if (!xml.text) return fail("cannot write it: " + xml.error);
  const std::optional<std::string> resolved = followLinks(path);
  if (!resolved) return fail("cannot write " + path + ": " + errnoText(ELOOP));
  const std::filesystem::path target(*resolved);
  const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : ".";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) return fail("cannot create " + dir.string() + ": " + ec.message());

  std::string temp = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temp.data());
  if (fd < 0) return fail("cannot create a temporary file in " + dir.string() + ": " + errnoText());
  fchmod(fd, 0600);
  const auto abandon = [&](std::string why) {
    ::close(fd);
    ::unlink(temp.c_str());
    return fail(std::move(why));
  };
  const std::string& text = *xml.text;
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return abandon("cannot write " + temp + ": " + errnoText());
    }
    written += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) return abandon("cannot flush " + temp + ": " + errnoText());
  if (::close(fd) != 0) {
    const std::string why = errnoText();
    ::unlink(temp.c_str());
    return fail("cannot close " + temp + ": " + why);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const std::string why = errnoText();
    ::unlink(temp.c_str());
    return fail("cannot replace " + target.string() + ": " + why);
  }
  // Make the rename itself durable.
  if (const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

}  // namespace taviro
