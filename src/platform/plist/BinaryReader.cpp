// Reads a binary property list ("bplist00"): the trailer names the sizes of
// offsets and object references, the number of objects, the top object and
// where the offset table lies. Objects may be shared, so a small file can
// name a huge tree; every use of a shared object counts against the limits of
// PlistValues.h while the tree is built, and the reading stops at the first
// one exceeded. Nesting is bounded the same way, which also ends a file whose
// objects contain themselves.
#include <bit>
#include <limits>

#include "json/Utf8.h"
#include "platform/plist/PlistValues.h"

namespace taviro::plist {

namespace {

// Seconds between the Unix epoch and the property-list epoch (2001-01-01).
constexpr double kPlistEpoch = 978307200.0;
constexpr std::size_t kTrailerSize = 32;
constexpr std::size_t kHeaderSize = 8;
constexpr std::uint64_t kSignedMax = std::numeric_limits<std::int64_t>::max();

class BinaryReader {
 public:
  explicit BinaryReader(std::string_view b) : b_(b) {}

  Parsed read() {
    if (!trailer()) return {std::nullopt, error_};
    Value root;
    if (!object(top_, 1, root)) return {std::nullopt, error_};
    return {std::move(root), {}};
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
    return true;
  }

  // Where object `ref` starts; its bytes end before the offset table.
  bool offsetOf(std::uint64_t ref, std::size_t& at) {
    if (ref >= count_) return fail("reference out of range");
    const std::uint64_t offset = number(table_ + ref * offsetSize_, offsetSize_);
    if (offset < kHeaderSize || offset >= table_) return fail("offset out of range");
    at = offset;
    return true;
  }

  // Whether `n` items of `size` bytes fit between `at` and the offset table.
  bool fits(std::size_t at, std::uint64_t n, std::size_t size) {
    if (at > table_ || n > (table_ - at) / size) return fail("object runs past its data");
    return true;
  }

  // The count of an object: its marker's low nibble, or when that is 0xF, an
  // integer object that follows.
  bool countOf(std::size_t& at, std::uint64_t& n) {
    n = static_cast<unsigned char>(b_[at]) & 0xF;
    ++at;
    if (n != 0xF) return true;
    if (!fits(at, 1, 1)) return false;
    const unsigned char marker = static_cast<unsigned char>(b_[at]);
    const std::size_t size = std::size_t{1} << (marker & 0xF);
    if ((marker & 0xF0) != 0x10 || size > 8 || !fits(at + 1, 1, size))
      return fail("bad count");
    n = number(at + 1, size);
    at += 1 + size;
    return true;
  }

  bool counted(std::uint64_t bytes) {
    bytes_ += bytes;
    if (bytes_ > kMaxBytes) return refuse(std::string("more than ") + kTooLarge + " of text and data");
    return true;
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

  bool string(std::size_t at, std::uint64_t n, bool utf16, std::string& out) {
    if (!fits(at, n, utf16 ? 2 : 1) || !counted(n)) return false;
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

  bool object(std::uint64_t ref, int depth, Value& out) {
    if (++values_ > kMaxValues) return refuse(kTooManyValues);
    std::size_t at = 0;
    if (!offsetOf(ref, at)) return false;
    const unsigned char marker = static_cast<unsigned char>(b_[at]);
    const unsigned info = marker & 0xF;
    switch (marker >> 4) {
      case 0x0:
        if (marker == 0x08 || marker == 0x09) {
          out = Value(marker == 0x09);
          return true;
        }
        return marker == 0x00 ? refuse("a null value") : fail("unknown object");
      case 0x1: return integer(at + 1, std::size_t{1} << info, out);
      case 0x2: return real(at + 1, std::size_t{1} << info, out);
      case 0x3: return marker == 0x33 ? date(at + 1, out) : fail("bad date");
      case 0x4: {
        std::uint64_t n = 0;
        if (!countOf(at, n) || !fits(at, n, 1) || !counted(n)) return false;
        out = Value(Value::Data{{b_.begin() + static_cast<std::ptrdiff_t>(at),
                                 b_.begin() + static_cast<std::ptrdiff_t>(at + n)}});
        return true;
      }
      case 0x5:
      case 0x6: {
        std::uint64_t n = 0;
        std::string s;
        if (!countOf(at, n) || !string(at, n, marker >> 4 == 0x6, s)) return false;
        out = Value(std::move(s));
        return true;
      }
      case 0x8: {
        // A keyed archiver's UID: kept in the form an XML list gives it.
        const std::size_t size = info + 1;
        if (size > 8 || !fits(at + 1, 1, size)) return fail("bad UID");
        const std::uint64_t uid = number(at + 1, size);
        out = Value(Value::Dict{{"CF$UID", uid > kSignedMax ? Value(uid)
                                                            : Value(static_cast<std::int64_t>(uid))}});
        return true;
      }
      case 0xA: return array(at, depth, out);
      case 0xD: return dict(at, depth, out);
      default: return refuse("a kind of value a settings file cannot keep (a set, or an unknown one)");
    }
  }

  bool array(std::size_t at, int depth, Value& out) {
    std::uint64_t n = 0;
    if (depth > kMaxDepth) return refuse(kTooDeep);
    if (!countOf(at, n) || !fits(at, n, refSize_)) return false;
    Value::Array items;
    items.reserve(std::min<std::uint64_t>(n, 1024));
    for (std::uint64_t k = 0; k < n; ++k) {
      Value item;
      if (!object(number(at + k * refSize_, refSize_), depth + 1, item)) return false;
      items.push_back(std::move(item));
    }
    out = Value(std::move(items));
    return true;
  }

  bool dict(std::size_t at, int depth, Value& out) {
    std::uint64_t n = 0;
    if (depth > kMaxDepth) return refuse(kTooDeep);
    if (!countOf(at, n) || n > std::numeric_limits<std::uint64_t>::max() / 2 ||
        !fits(at, 2 * n, refSize_))
      return false;
    Value::Dict members;
    for (std::uint64_t k = 0; k < n; ++k) {
      std::string key;
      std::size_t keyAt = 0;
      if (!offsetOf(number(at + k * refSize_, refSize_), keyAt)) return false;
      const unsigned kind = static_cast<unsigned char>(b_[keyAt]) >> 4;
      std::uint64_t length = 0;
      if (kind != 0x5 && kind != 0x6) return fail("a key that is not a string");
      if (!countOf(keyAt, length) || !string(keyAt, length, kind == 0x6, key)) return false;
      if (members.count(key)) return refuse("the key \"" + key + "\" twice");
      Value item;
      if (!object(number(at + (n + k) * refSize_, refSize_), depth + 1, item)) return false;
      members.emplace(std::move(key), std::move(item));
    }
    out = Value(std::move(members));
    return true;
  }

  std::string_view b_;
  std::size_t offsetSize_ = 0, refSize_ = 0;
  std::uint64_t count_ = 0, top_ = 0, table_ = 0;
  std::size_t values_ = 0;
  std::uint64_t bytes_ = 0;
  std::string error_;
};

}  // namespace

Parsed parseBinary(std::string_view bytes) { return BinaryReader(bytes).read(); }

}  // namespace taviro::plist
