#include "json/JSONKit.h"

#include <stdexcept>

#include "json/JSONReader.h"
#include "json/JSONWriter.h"

namespace taviro {
namespace {

constexpr JKParseOptionFlags kValidParseOptions = 0x0F;

std::string_view asText(JSONBytes data) {
  return {reinterpret_cast<const char*>(data.data()), data.size()};
}

std::shared_ptr<const Value> immutable(std::optional<Value> value) {
  if (!value) return nullptr;
  return std::make_shared<const Value>(std::move(*value));
}

std::optional<Value> parseText(std::string_view text, JKParseOptionFlags options, JKError* error) {
  // Every call gets its own decoder state, so calls from different threads
  // never share anything.
  auto decoder = JSONDecoder::decoderWithParseOptions(options);
  return decoder.mutableObjectWithUTF8String(text.data(), text.size(), error);
}

template <typename Container>
std::optional<std::string> serialise(const Container& container, JKSerializeOptionFlags options,
                                     JKError* error) {
  std::string out;
  if (auto message = json::writeJSON(container, options, out)) {
    if (error) {
      *error = JKError{};
      error->localizedDescription = std::move(*message);
    }
    return std::nullopt;
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> asBytes(std::optional<std::string> text) {
  if (!text) return std::nullopt;
  return std::vector<std::uint8_t>(text->begin(), text->end());
}

}  // namespace

// --- decoder ----------------------------------------------------------------

JSONDecoder JSONDecoder::decoderWithParseOptions(JKParseOptionFlags options) {
  if (options & ~kValidParseOptions) throw std::invalid_argument("Invalid parse options.");
  return JSONDecoder(options);
}

std::optional<Value> JSONDecoder::parse(std::string_view text, JKError* error) {
  json::ParseFailure failure;
  std::optional<Value> value = json::readJSON(text, options_, failure);
  if (!value && error)
    *error = JKError{.localizedDescription = std::move(failure.message),
                     .atIndex = failure.index,
                     .lineNumber = failure.line};
  return value;
}

std::shared_ptr<const Value> JSONDecoder::objectWithUTF8String(const char* bytes,
                                                               std::size_t length,
                                                               JKError* error) {
  return immutable(parse({bytes, length}, error));
}

std::optional<Value> JSONDecoder::mutableObjectWithUTF8String(const char* bytes,
                                                              std::size_t length,
                                                              JKError* error) {
  return parse({bytes, length}, error);
}

std::shared_ptr<const Value> JSONDecoder::objectWithData(JSONBytes data, JKError* error) {
  return immutable(parse(asText(data), error));
}

std::optional<Value> JSONDecoder::mutableObjectWithData(JSONBytes data, JKError* error) {
  return parse(asText(data), error);
}

// --- strings ----------------------------------------------------------------

std::shared_ptr<const Value> objectFromJSONString(std::string_view text) {
  return objectFromJSONStringWithParseOptions(text, JKParseOptionStrict, nullptr);
}

std::shared_ptr<const Value> objectFromJSONStringWithParseOptions(std::string_view text,
                                                                  JKParseOptionFlags options) {
  return objectFromJSONStringWithParseOptions(text, options, nullptr);
}

std::shared_ptr<const Value> objectFromJSONStringWithParseOptions(std::string_view text,
                                                                  JKParseOptionFlags options,
                                                                  JKError* error) {
  return immutable(parseText(text, options, error));
}

std::optional<Value> mutableObjectFromJSONString(std::string_view text) {
  return parseText(text, JKParseOptionStrict, nullptr);
}

std::optional<Value> mutableObjectFromJSONStringWithParseOptions(std::string_view text,
                                                                 JKParseOptionFlags options) {
  return parseText(text, options, nullptr);
}

std::optional<Value> mutableObjectFromJSONStringWithParseOptions(std::string_view text,
                                                                 JKParseOptionFlags options,
                                                                 JKError* error) {
  return parseText(text, options, error);
}

// --- byte buffers -----------------------------------------------------------

std::shared_ptr<const Value> objectFromJSONData(JSONBytes data) {
  return objectFromJSONString(asText(data));
}

std::shared_ptr<const Value> objectFromJSONDataWithParseOptions(JSONBytes data,
                                                                JKParseOptionFlags options) {
  return objectFromJSONStringWithParseOptions(asText(data), options, nullptr);
}

std::shared_ptr<const Value> objectFromJSONDataWithParseOptions(JSONBytes data,
                                                                JKParseOptionFlags options,
                                                                JKError* error) {
  return objectFromJSONStringWithParseOptions(asText(data), options, error);
}

std::optional<Value> mutableObjectFromJSONData(JSONBytes data) {
  return mutableObjectFromJSONString(asText(data));
}

std::optional<Value> mutableObjectFromJSONDataWithParseOptions(JSONBytes data,
                                                               JKParseOptionFlags options) {
  return parseText(asText(data), options, nullptr);
}

std::optional<Value> mutableObjectFromJSONDataWithParseOptions(JSONBytes data,
                                                               JKParseOptionFlags options,
                                                               JKError* error) {
  return parseText(asText(data), options, error);
}

// --- writing ----------------------------------------------------------------

std::optional<std::string> JSONString(const Value::Dict& dict) {
  return serialise(dict, JKSerializeOptionNone, nullptr);
}

std::optional<std::string> JSONString(const Value::Array& array) {
  return serialise(array, JKSerializeOptionNone, nullptr);
}

std::optional<std::vector<std::uint8_t>> JSONData(const Value::Dict& dict) {
  return asBytes(JSONString(dict));
}

std::optional<std::vector<std::uint8_t>> JSONData(const Value::Array& array) {
  return asBytes(JSONString(array));
}

std::optional<std::string> JSONStringWithOptions(const Value::Dict& dict,
                                                 JKSerializeOptionFlags options, JKError* error) {
  return serialise(dict, options, error);
}

std::optional<std::string> JSONStringWithOptions(const Value::Array& array,
                                                 JKSerializeOptionFlags options, JKError* error) {
  return serialise(array, options, error);
}

std::optional<std::vector<std::uint8_t>> JSONDataWithOptions(const Value::Dict& dict,
                                                             JKSerializeOptionFlags options,
                                                             JKError* error) {
  return asBytes(serialise(dict, options, error));
}

std::optional<std::vector<std::uint8_t>> JSONDataWithOptions(const Value::Array& array,
                                                             JKSerializeOptionFlags options,
                                                             JKError* error) {
  return asBytes(serialise(array, options, error));
}

}  // namespace taviro
