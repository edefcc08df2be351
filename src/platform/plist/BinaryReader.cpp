// Reads a binary property list ("bplist00"): the trailer names the sizes of
// offsets and object references, the number of objects, the top object and
// where the offset table lies. Objects may be shared, so a small file can
// name a huge tree, and may even contain themselves. Before anything is
// built, one pass over the objects measures what the tree would be (values,
// bytes of text and data, nesting) with every shared object counted at each
// use; a list beyond the limits of PlistValues.h is refused there, in time
// proportional to the file. Only then is the tree built.
#include <bit>
#include <limits>
#include <vector>

#include "json/Utf8.h"
#include "platform/plist/PlistValues.h"

namespace taviro::plist {

namespace {

// Seconds between the Unix epoch and the property-list epoch (2001-01-01).
constexpr double kPlistEpoch = 978307200.0;
constexpr std::size_t kTrailerSize = 32;
constexpr std::size_t kHeaderSize = 8;
constexpr std::uint64_t kSignedMax = std::numeric_limits<std::int64_t>::max();

enum Kind : unsigned { kSimple = 0x0, kInteger = 0x1, kReal = 0x2, kDate = 0x3, kData = 0x4,
                       kAscii = 0x5, kUtf16 = 0x6, kUid = 0x8, kArray = 0xA, kDict = 0xD };

// What an object's tree would hold once expanded, capped just past the limits.
struct Extent {
  std::uint32_t values = 0;
  std::uint32_t bytes = 0;
  std::uint16_t levels = 0;  // arrays and dictionaries inside one another
};

class BinaryReader {
 public:
  explicit BinaryReader(std::string_view b) : b_(b) {}

  Parsed read() {
    Extent root;
    Value value;
    if (!trailer() || !measure(top_, 1, root) || !object(top_, value)) return {std::nullopt, error_};
    return {std::move(value), {}};
  }

 private:
  bool fail(std::string_view what) {
    error_ = "not a property list (binary: " + std::string(what) + ")";
    return false;
  }
  bool refuse(std::string_view what) {
    error_ = "it holds " + std::string(what);
    return false;
  }

  // A big-endian unsigned number of `size` bytes (at most 8) at `at`.
  std::uint64_t number(std::size_t at, std::size_t size) const {
    std::uint64_t v = 0;
    for (std::size_t k = 0; k < size; ++k) v = (v << 8) | static_cast<unsigned char>(b_[at + k]);
    return v;
  }
  std::uint64_t ref(std::size_t at, std::uint64_t k) const { return number(at + k * refSize_, refSize_); }
  unsigned kindAt(std::size_t at) const { return static_cast<unsigned char>(b_[at]) >> 4; }

  static bool validSize(std::size_t n) { return n == 1 || n == 2 || n == 4 || n == 8; }

  bool trailer() {
    if (b_.size() < kHeaderSize + 1 + kTrailerSize || b_.substr(0, 8) != "bplist00")
      return fail("too short or not version 00");
    const std::size_t t = b_.size() - kTrailerSize;
    offsetSize_ = static_cast<unsigned char>(b_[t + 6]);
    refSize_ = static_cast<unsigned char>(b_[t + 7]);
    count_ = number(t + 8, 8);
    top_ = number(t + 16, 8);
    table_ = number(t + 24, 8);
    if (!validSize(offsetSize_) || !validSize(refSize_) || count_ == 0 || top_ >= count_ ||
        table_ < kHeaderSize + 1 || table_ > t || count_ > (t - table_) / offsetSize_)
      return fail("bad trailer");
    // Every object but the top one is a value or a key of one: a list of
    // more objects than that holds more values than the limit.
    if (count_ > 2 * kMaxValues) return refuse(kTooManyValues);
    state_.assign(count_, State::Unseen);
    extent_.resize(count_);
    return true;
  }

  // Where object `r` starts; its bytes end before the offset table.
  bool offsetOf(std::uint64_t r, std::size_t& at) {
    if (r >= count_) return fail("reference out of range");
    const std::uint64_t offset = number(table_ + r * offsetSize_, offsetSize_);
    if (offset < kHeaderSize || offset >= table_) return fail("offset out of range");
    at = offset;
    return true;
  }

  // Whether `n` items of `size` bytes fit between `at` and the offset table.
  bool fits(std::size_t at, std::uint64_t n, std::size_t size) {
    if (at > table_ || n > (table_ - at) / size) return fail("object runs past its data");
    return true;
  }

  // The count of an object (the marker's low nibble, or when that is 0xF an
  // integer object that follows), and `at` moved to what the count counts.
  // Checks that the counted items fit.
  bool countOf(std::size_t& at, std::uint64_t& n) {
    const unsigned kind = kindAt(at);
    n = static_cast<unsigned char>(b_[at]) & 0xF;
    ++at;
    if (n == 0xF) {
      if (!fits(at, 1, 1)) return false;
      const unsigned char marker = static_cast<unsigned char>(b_[at]);
      const std::size_t size = std::size_t{1} << (marker & 0xF);
      if ((marker & 0xF0) != 0x10 || size > 8 || !fits(at + 1, 1, size)) return fail("bad count");
      n = number(at + 1, size);
      at += 1 + size;
    }
    const std::size_t itemSize = kind == kUtf16 ? 2 : kind == kArray || kind == kDict ? refSize_ : 1;
    if (kind == kDict && n > std::numeric_limits<std::uint64_t>::max() / 2) return fail("bad count");
    return fits(at, kind == kDict ? 2 * n : n, itemSize);
  }

  // The measuring pass: what object `r`, reached `depth` levels deep, would
  // expand to. Recursion stops past the depth limit, and each object is
  // measured once, so the pass is bounded by the file.
  bool measure(std::uint64_t r, int depth, Extent& out) {
    if (r >= count_) return fail("reference out of range");
    if (state_[r] == State::Measuring) return refuse(kTooDeep);  // it contains itself
    if (state_[r] == State::Measured) {
      out = extent_[r];
      return depth + out.levels - 1 <= kMaxDepth || refuse(kTooDeep);
    }
    std::size_t at = 0;
    if (!offsetOf(r, at)) return false;
    const unsigned kind = kindAt(at);
    Extent e{1, 0, 0};
    std::uint64_t n = 0;
    if (kind == kData || kind == kAscii || kind == kUtf16) {
      if (!countOf(at, n)) return false;
      e.bytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(n, kMaxBytes + 1));
    } else if (kind == kArray || kind == kDict) {
      if (depth > kMaxDepth) return refuse(kTooDeep);
      if (!countOf(at, n)) return false;
      state_[r] = State::Measuring;
      e.levels = 1;
      for (std::uint64_t k = 0; k < n; ++k) {
        Extent item;
        if (kind == kDict && !key(ref(at, k), item)) return false;
        e.bytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{e.bytes} + item.bytes, kMaxBytes + 1));
        if (!measure(ref(at, kind == kDict ? n + k : k), depth + 1, item)) return false;
        e.values = static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{e.values} + item.values, kMaxValues + 1));
        e.bytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{e.bytes} + item.bytes, kMaxBytes + 1));
        e.levels = std::max<std::uint16_t>(e.levels, static_cast<std::uint16_t>(item.levels + 1));
      }
    }
    if (e.values > kMaxValues) return refuse(kTooManyValues);
    if (e.bytes > kMaxBytes) return refuse(std::string("more than ") + kTooLarge + " of text and data");
    state_[r] = State::Measured;
    extent_[r] = out = e;
    return true;
  }

  // A dictionary key: a string, whose bytes count like any other text.
  bool key(std::uint64_t r, Extent& out) {
    std::size_t at = 0;
    if (!offsetOf(r, at)) return false;
    if (kindAt(at) != kAscii && kindAt(at) != kUtf16) return fail("a key that is not a string");
    return measure(r, 1, out);
  }

  // The building pass, within the limits the measuring pass proved.
  bool object(std::uint64_t r, Value& out) {
    std::size_t at = 0;
    if (!offsetOf(r, at)) return false;
    const unsigned char marker = static_cast<unsigned char>(b_[at]);
    const unsigned info = marker & 0xF;
    switch (kindAt(at)) {
      case kSimple:
        if (marker == 0x08 || marker == 0x09) {
          out = Value(marker == 0x09);
          return true;
        }
        return marker == 0x00 ? refuse("a null value") : fail("unknown object");
      case kInteger: return integer(at + 1, std::size_t{1} << info, out);
      case kReal: return real(at + 1, std::size_t{1} << info, out);
      case kDate: return marker == 0x33 ? date(at + 1, out) : fail("bad date");
      case kData: {
        std::uint64_t n = 0;
        if (!countOf(at, n)) return false;
        out = Value(Value::Data{{b_.begin() + static_cast<std::ptrdiff_t>(at),
                                 b_.begin() + static_cast<std::ptrdiff_t>(at + n)}});
        return true;
      }
      case kAscii:
      case kUtf16: {
        std::string s;
        if (!string(r, s)) return false;
        out = Value(std::move(s));
        return true;
      }
      case kUid: {
        // A keyed archiver's UID: kept in the form an XML list gives it.
        const std::size_t size = info + 1;
        if (size > 8 || !fits(at + 1, 1, size)) return fail("bad UID");
        const std::uint64_t uid = number(at + 1, size);
        out = Value(Value::Dict{{"CF$UID", uid > kSignedMax ? Value(uid)
                                                            : Value(static_cast<std::int64_t>(uid))}});
        return true;
      }
      case kArray: return array(at, out);
      case kDict: return dict(at, out);
      default: return refuse("a kind of value a settings file cannot keep (a set, or an unknown one)");
    }
  }

  bool integer(std::size_t at, std::size_t size, Value& out) {
    if (size > 16 || !fits(at, 1, size)) return fail("bad integer");
    if (size < 8) {
      out = Value(static_cast<std::int64_t>(number(at, size)));
    } else if (size == 8) {
      out = Value(static_cast<std::int64_t>(number(at, 8)));
    } else {
      // 16 bytes: the upper half is all zero for an unsigned value above 2^63
      // and all ones for a negative one.
      const std::uint64_t high = number(at, 8), low = number(at + 8, 8);
      const bool negative = low > kSignedMax;
      if (high == 0 && negative) out = Value(low);
      else if (high == (negative ? ~std::uint64_t{0} : 0)) out = Value(static_cast<std::int64_t>(low));
      else return refuse("an integer out of the 64-bit range");
    }
    return true;
  }

  bool real(std::size_t at, std::size_t size, Value& out) {
    if ((size != 4 && size != 8) || !fits(at, 1, size)) return fail("bad real");
    if (size == 4) out = Value(std::bit_cast<float>(static_cast<std::uint32_t>(number(at, 4))));
    else out = Value(std::bit_cast<double>(number(at, 8)));
    return true;
  }

  bool date(std::size_t at, Value& out) {
    if (!fits(at, 1, 8)) return fail("bad date");
    const double since2001 = std::bit_cast<double>(number(at, 8));
    const double since1970 = since2001 + kPlistEpoch;
    if (auto problem = dateProblem(since1970)) return refuse(*problem);
    if (since1970 - kPlistEpoch != since2001)
      return refuse("a date whose fraction of a second cannot be kept exactly");
    out = Value(Value::Date{since1970});
    return true;
  }

  // An ASCII or UTF-16 string object as UTF-8.
  bool string(std::uint64_t r, std::string& out) {
    std::size_t at = 0;
    std::uint64_t n = 0;
    if (!offsetOf(r, at)) return false;
    const bool utf16 = kindAt(at) == kUtf16;
    if (!countOf(at, n)) return false;
    out.clear();
    if (!utf16) {
      out.assign(b_.data() + at, n);
    } else {
      for (std::uint64_t k = 0; k < n; ++k) {
        char32_t c = static_cast<char32_t>(number(at + 2 * k, 2));
        if (c >= 0xD800 && c <= 0xDBFF && k + 1 < n) {
          const auto low = static_cast<char32_t>(number(at + 2 * (k + 1), 2));
          if (low >= 0xDC00 && low <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            ++k;
          }
        }
        if (c >= 0xD800 && c <= 0xDFFF) return refuse("text with an unpaired UTF-16 surrogate");
        json::appendUtf8(out, c);
      }
    }
    if (auto problem = textProblem(out)) return refuse("text with " + *problem);
    return true;
  }

  bool array(std::size_t at, Value& out) {
    std::uint64_t n = 0;
    if (!countOf(at, n)) return false;
    Value::Array items(n);
    for (std::uint64_t k = 0; k < n; ++k)
      if (!object(ref(at, k), items[k])) return false;
    out = Value(std::move(items));
    return true;
  }

  bool dict(std::size_t at, Value& out) {
    std::uint64_t n = 0;
    if (!countOf(at, n)) return false;
    Value::Dict members;
    for (std::uint64_t k = 0; k < n; ++k) {
      std::string name;
      Value item;
      if (!string(ref(at, k), name)) return false;
      if (members.count(name)) return refuse("the key \"" + name + "\" twice");
      if (!object(ref(at, n + k), item)) return false;
      members.emplace(std::move(name), std::move(item));
    }
    out = Value(std::move(members));
    return true;
  }

  enum class State : std::uint8_t { Unseen, Measuring, Measured };

  std::string_view b_;
  std::size_t offsetSize_ = 0, refSize_ = 0;
  std::uint64_t count_ = 0, top_ = 0, table_ = 0;
  std::vector<State> state_;
  std::vector<Extent> extent_;
  std::string error_;
};

}  // namespace

Parsed parseBinary(std::string_view bytes) { return BinaryReader(bytes).read(); }

}  // namespace taviro::plist
