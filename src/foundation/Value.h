#pragma once
// A property-list / JSON value: the one dynamic value type of the system. The
// user-defaults store, settings files and the JSON reader and writer all speak
// it. Numbers keep their kind (boolean, signed, unsigned, real) because the
// writers must reproduce it; readers convert like a number object would.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "foundation/KeyOrder.h"

namespace taviro {

class Value {
 public:
  using Array = std::vector<Value>;
  using Dict = std::map<std::string, Value, KeyOrder>;
  struct Data {
    std::vector<std::uint8_t> bytes;
    friend bool operator==(const Data&, const Data&) = default;
  };
  struct Date {
    double secondsSince1970 = 0;
    friend bool operator==(const Date&, const Date&) = default;
  };
  enum class Type { Null, Bool, Int, UInt, Real, String, Data, Date, Array, Dict };

  Value() = default;
  Value(std::nullptr_t) {}
  Value(bool b) : v_(b) {}
  Value(int i) : v_(std::int64_t{i}) {}
  Value(std::int64_t i) : v_(i) {}
  Value(std::uint64_t u) : v_(u) {}
  Value(double d) : v_(d) {}
  Value(float f) : v_(double{f}) {}
  Value(const char* s) : v_(std::string(s)) {}
  Value(std::string s) : v_(std::move(s)) {}
  Value(std::string_view s) : v_(std::string(s)) {}
  Value(Data d) : v_(std::move(d)) {}
  Value(Date d) : v_(d) {}
  Value(Array a) : v_(std::move(a)) {}
  Value(Dict d) : v_(std::move(d)) {}

  Type type() const { return static_cast<Type>(v_.index()); }
  bool isNull() const { return type() == Type::Null; }
  // Booleans, integers and reals are all numbers, as in a property list.
  bool isNumber() const;
  bool isString() const { return type() == Type::String; }
  bool isArray() const { return type() == Type::Array; }
  bool isDict() const { return type() == Type::Dict; }

  // Number conversions; anything that is not a number gives 0 / false.
  double doubleValue() const;
  float floatValue() const { return static_cast<float>(doubleValue()); }
  std::int64_t int64Value() const;
  int intValue() const { return static_cast<int>(int64Value()); }
  bool boolValue() const { return int64Value() != 0 || doubleValue() != 0.0; }

  // Typed access: null when the value is of another kind.
  const bool* asBool() const { return std::get_if<bool>(&v_); }
  const std::int64_t* asInt() const { return std::get_if<std::int64_t>(&v_); }
  const std::uint64_t* asUInt() const { return std::get_if<std::uint64_t>(&v_); }
  const double* asReal() const { return std::get_if<double>(&v_); }
  const std::string* asString() const { return std::get_if<std::string>(&v_); }
  const Data* asData() const { return std::get_if<Data>(&v_); }
  const Date* asDate() const { return std::get_if<Date>(&v_); }
  const Array* asArray() const { return std::get_if<Array>(&v_); }
  Array* asArray() { return std::get_if<Array>(&v_); }
  const Dict* asDict() const { return std::get_if<Dict>(&v_); }
  Dict* asDict() { return std::get_if<Dict>(&v_); }

  // Dictionary member lookup; null when this is not a dictionary or lacks it.
  const Value* find(std::string_view key) const;

  friend bool operator==(const Value&, const Value&) = default;

 private:
  std::variant<std::monostate, bool, std::int64_t, std::uint64_t, double, std::string, Data, Date,
               Array, Dict>
      v_;
};

}  // namespace taviro
