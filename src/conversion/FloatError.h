// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <stdexcept>
#include <string>
#include "text/Windows1252.h"

namespace torvane {

// C++ does not trap on floating-point faults, so the conversion checks its
// values where a fault can arise and raises these with the messages users
// know from the controller world.
class FloatError : public std::runtime_error {
 public:
  enum class Kind { DivisionByZero, InvalidOperation, Overflow };

  explicit FloatError(Kind kind) : std::runtime_error(MessageOf(kind)), kind_(kind) {}
  Kind kind() const { return kind_; }

  static std::string MessageOf(Kind kind) {
    switch (kind) {
      case Kind::DivisionByZero: return "Gleitkommadivision durch Null";
      case Kind::InvalidOperation: return Cp1252("Ungültige Gleitkommaoperation");
      case Kind::Overflow: return Cp1252("Gleitkommaüberlauf");
    }
    return "";
  }

 private:
  Kind kind_;
};

// Raises the fault that produced a non-finite value.
inline long double CheckReal(long double value) {
  if (std::isnan(value)) throw FloatError(FloatError::Kind::InvalidOperation);
  if (std::isinf(value)) throw FloatError(FloatError::Kind::Overflow);
  return value;
}

// Division that reports a zero divisor the way the x87 would have.
inline long double CheckedDivide(long double numerator, long double denominator) {
  if (denominator == 0) {
    throw FloatError(numerator == 0 || std::isnan(numerator)
                         ? FloatError::Kind::InvalidOperation
                         : FloatError::Kind::DivisionByZero);
  }
  return CheckReal(numerator / denominator);
}

}  // namespace torvane
