#include "number_format.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qnet {

std::string FormatGeneral(double value) {
  if (value == 0.0) return "0";  // never "-0"
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

std::string FormatFixed(double value, int decimals) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

std::string FormatGeneralNotBelow(double value) {
  std::string text = FormatGeneral(value);
  double back = 0.0;
  if (!std::isfinite(value) || (ParseNumber(text, back) && back >= value)) return text;
  // One step up in the fifteenth significant digit.
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  std::string mantissa(buffer, std::strchr(buffer, 'e'));
  mantissa.erase(mantissa.find('.'), 1);
  const long long digits = std::stoll(mantissa) + 1;
  const int exponent = std::atoi(std::strchr(buffer, 'e') + 1) - 14;
  std::snprintf(buffer, sizeof buffer, "%llde%d", digits, exponent);
  ParseNumber(buffer, back);
  return FormatGeneral(back);
}

std::string FormatFixedNotBelow(double value, int decimals) {
  std::string text = FormatFixed(value, decimals);
  double back = 0.0;
  if (decimals <= 0 || !std::isfinite(value) || std::fabs(value) >= 1e14 || (ParseNumber(text, back) && back >= value))
    return text;
  // One step up in the last decimal.
  std::string digits = text;
  digits.erase(digits.find('.'), 1);
  const long long scaled = std::stoll(digits) + 1;
  const long long unit = static_cast<long long>(std::pow(10, decimals));
  const long long magnitude = scaled < 0 ? -scaled : scaled;
  std::string fraction = std::to_string(magnitude % unit);
  fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
  return (scaled < 0 ? "-" : "") + std::to_string(magnitude / unit) + "." + fraction;
}

bool ParseNumber(std::string_view text, double& value) {
  if (text.empty()) return false;
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (*begin == '+') ++begin;  // spreadsheets write an explicit plus sign now and then
  // from_chars also reads "nan" and "inf"; only digits may start a number here.
  const char* first_digit = (begin != end && *begin == '-') ? begin + 1 : begin;
  if (first_digit == end || !((*first_digit >= '0' && *first_digit <= '9') || *first_digit == '.')) return false;
  auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
  // Beyond 1e300 a number written with 15 digits may no longer read back.
  return ec == std::errc() && ptr == end && std::fabs(value) <= kLargestNumber;
}

}  // namespace qnet
