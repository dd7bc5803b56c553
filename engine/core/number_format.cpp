#include "number_format.hpp"

#include <charconv>
#include <cstdio>

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

bool ParseNumber(std::string_view text, double& value) {
  if (text.empty()) return false;
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (*begin == '+') ++begin;  // spreadsheets write an explicit plus sign now and then
  // from_chars also reads "nan" and "inf"; only digits may start a number here.
  const char* first_digit = (begin != end && *begin == '-') ? begin + 1 : begin;
  if (first_digit == end || !((*first_digit >= '0' && *first_digit <= '9') || *first_digit == '.')) return false;
  auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
  return ec == std::errc() && ptr == end;
}

}  // namespace qnet
