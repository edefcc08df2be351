// Feeds arbitrary bytes to the settings-file reader (XML and binary property
// lists). A dictionary it accepts must be writable, the written text must
// read back to the very same values, and writing those again must give the
// same text: the store never saves what it could not read back, nor alters
// what it read. A refusal must say why.
#include <bit>
#include <cmath>

#include "../FuzzCheck.h"
#include "platform/plist/PlistFile.h"

namespace {

using taviro::Value;

[[noreturn]] void fault(const std::string& what) { taviro::fuzz::fault("fuzz_settings", what); }

// Equal values, reals and dates bit for bit (every NaN written is "nan").
bool same(const Value& a, const Value& b) {
  if (a.type() != b.type()) return false;
  const auto bits = [](double d) { return std::isnan(d) ? 0 : std::bit_cast<std::uint64_t>(d); };
  if (a.asReal()) return std::isnan(*a.asReal()) == std::isnan(*b.asReal()) && bits(*a.asReal()) == bits(*b.asReal());
  if (a.asDate()) return bits(a.asDate()->secondsSince1970) == bits(b.asDate()->secondsSince1970);
  if (const auto* array = a.asArray()) {
    if (array->size() != b.asArray()->size()) return false;
    for (std::size_t i = 0; i < array->size(); ++i)
      if (!same((*array)[i], (*b.asArray())[i])) return false;
    return true;
  }
  if (const auto* dict = a.asDict()) {
    if (dict->size() != b.asDict()->size()) return false;
    for (auto i = dict->begin(), j = b.asDict()->begin(); i != dict->end(); ++i, ++j)
      if (i->first != j->first || !same(i->second, j->second)) return false;
    return true;
  }
  return a == b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const taviro::plist::Parsed parsed = taviro::parsePlist(bytes);
  if (!parsed.value) {
    if (parsed.error.empty()) fault("refused without a reason");
    return 0;
  }
  const Value::Dict* dict = parsed.value->asDict();
  if (!dict) return 0;  // the store takes dictionaries only
  const taviro::plist::Written written = taviro::plist::writeXml(*dict);
  if (!written.text) fault("read, but refused for writing: " + written.error);
  const taviro::plist::Parsed again = taviro::parsePlist(*written.text);
  if (!again.value) fault("the written text does not read back: " + again.error);
  if (!same(*parsed.value, *again.value)) fault("the written text reads back to other values");
  if (taviro::plist::writeXml(*again.value->asDict()).text != written.text)
    fault("writing what was read back gives another text");
  return 0;
}
