#include "foundation/Value.h"

namespace taviro {

bool Value::isNumber() const {
  switch (type()) {
    case Type::Bool:
    case Type::Int:
    case Type::UInt:
    case Type::Real:
      return true;
    default:
      return false;
  }
}

double Value::doubleValue() const {
  switch (type()) {
    case Type::Bool: return *asBool() ? 1.0 : 0.0;
    case Type::Int: return static_cast<double>(*asInt());
    case Type::UInt: return static_cast<double>(*asUInt());
    case Type::Real: return *asReal();
    default: return 0.0;
  }
}

std::int64_t Value::int64Value() const {
  switch (type()) {
    case Type::Bool: return *asBool() ? 1 : 0;
    case Type::Int: return *asInt();
    case Type::UInt: return static_cast<std::int64_t>(*asUInt());
    case Type::Real: {
      // Truncate toward zero; out-of-range reals saturate instead of being UB.
      const double d = *asReal();
      if (!(d == d)) return 0;
      if (d >= 9.2233720368547758e18) return INT64_MAX;
      if (d <= -9.2233720368547758e18) return INT64_MIN;
      return static_cast<std::int64_t>(d);
    }
    default: return 0;
  }
}

const Value* Value::find(std::string_view key) const {
  const Dict* d = asDict();
  if (!d) return nullptr;
  auto it = d->find(key);
  return it == d->end() ? nullptr : &it->second;
}

}  // namespace taviro
