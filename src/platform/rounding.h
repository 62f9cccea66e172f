// Rounding as the program rounds scaled sizes: half to even ("banker's
// rounding"), done in integers wherever the ratio is one, so that no
// floating-point drift can move a result across the half.
#pragma once

#include <QString>
#include <cstdint>

namespace platform {

// value * num / den, rounded half to even; den must not be 0 (0 is returned).
std::int64_t mulDivRoundHalfEven(std::int64_t value, std::int64_t num, std::int64_t den);

// Rounds a double half to even, as the binary value stands.
std::int64_t roundHalfEven(double value);

// An exact ratio num/den (den > 0).
struct Ratio {
    std::int64_t num = 1;
    std::int64_t den = 1;
    std::int64_t apply(std::int64_t value) const { return mulDivRoundHalfEven(value, num, den); }
};

// Reads a decimal factor such as "0.833" or "1,25" exactly: 0.833 -> 833/1000.
// False for text that is no plain decimal number.
bool parseDecimalRatio(const QString &text, Ratio *out);

} // namespace platform
