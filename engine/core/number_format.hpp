#pragma once
#include <string>
#include <string_view>

namespace qnet {

// Shortest general form with at most 15 significant digits; whole numbers
// carry no decimal point ("1", "0.589767187395701", "1102.81872558594").
std::string FormatGeneral(double value);

// The same forms for an interval's upper bound: the nearest text that does
// not lie below the value, so that an input equal to the bound stays in its
// interval once the bound has been written and read back.
std::string FormatGeneralNotBelow(double value);
std::string FormatFixedNotBelow(double value, int decimals);

// Fixed number of decimals ("%.8f" for tables, "%.4f" for exports).
std::string FormatFixed(double value, int decimals);

// The largest magnitude the engine reads.
inline constexpr double kLargestNumber = 1e300;

// Parses a whole field as a decimal number (optional sign, digits, point,
// exponent). Returns false when the text is not exactly one number or its
// magnitude exceeds kLargestNumber.
bool ParseNumber(std::string_view text, double& value);

}  // namespace qnet
