#pragma once
#include <string>
#include <string_view>

namespace qnet {

// Shortest general form with at most 15 significant digits; whole numbers
// carry no decimal point ("1", "0.589767187395701", "1102.81872558594").
std::string FormatGeneral(double value);

// Fixed number of decimals ("%.8f" for tables, "%.4f" for exports).
std::string FormatFixed(double value, int decimals);

// Parses a whole field as a decimal number (optional sign, digits, point,
// exponent). Returns false when the text is not exactly one number.
bool ParseNumber(std::string_view text, double& value);

}  // namespace qnet
