#pragma once
// Double arithmetic that raises the run-time error instead of producing an infinity or a NaN.
// The engine uses these for every step whose operands come from user input, so that a
// degenerate loan ends in a reported error and never in a silently wrong figure.

#include "engine/RuntimeError.h"

#include <cmath>

namespace tallex::checked {

namespace detail {
inline void RequireFinite(double x) {
    if (!std::isfinite(x)) Raise(RuntimeErrorCode::Overflow);
}
inline double Result(double r) {
    if (std::isnan(r)) Raise(RuntimeErrorCode::InvalidCall);
    if (std::isinf(r)) Raise(RuntimeErrorCode::Overflow);
    return r;
}
}  // namespace detail

inline double Add(double a, double b) {
    detail::RequireFinite(a);
    detail::RequireFinite(b);
    return detail::Result(a + b);
}

inline double Sub(double a, double b) {
    detail::RequireFinite(a);
    detail::RequireFinite(b);
    return detail::Result(a - b);
}

inline double Mul(double a, double b) {
    detail::RequireFinite(a);
    detail::RequireFinite(b);
    return detail::Result(a * b);
}

inline double Div(double a, double b) {
    detail::RequireFinite(a);
    detail::RequireFinite(b);
    if (b == 0.0) Raise(RuntimeErrorCode::DivisionByZero);
    return detail::Result(a / b);
}

// base ^ exponent: a negative base with a fractional exponent is an invalid call,
// zero to a negative power a division by zero.
inline double Pow(double base, double exponent) {
    detail::RequireFinite(base);
    detail::RequireFinite(exponent);
    if (base < 0.0 && std::trunc(exponent) != exponent) Raise(RuntimeErrorCode::InvalidCall);
    if (base == 0.0 && exponent < 0.0) Raise(RuntimeErrorCode::DivisionByZero);
    return detail::Result(std::pow(base, exponent));
}

}  // namespace tallex::checked
