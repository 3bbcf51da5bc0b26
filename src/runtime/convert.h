#pragma once
// Text and number rules shared by every feature. Texts are UTF-8; lengths and
// cuts count characters (code points), not bytes. The decimal point is ".".

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// The text as a decimal number: blanks around it are allowed, nothing else.
// Fails on empty or non-numeric text.
double value(std::string_view text);

// Whether value() reads the text as a number.
bool isNumber(std::string_view text);

// The leading number of the text: blanks are skipped, reading stops at the
// first character that cannot continue a number; 0 when there is none.
double lead(std::string_view text);

// Rounds to the nearest integer, halves to even. Fails when out of range.
std::int64_t whole(double number);

// A number of seconds given as text, in whole milliseconds (halves to even).
// Fails when the text is not a number or the result is out of range.
inline std::int64_t milliseconds(std::string_view seconds) {
  return whole(value(seconds) * 1000);
}

// Division that fails on a zero divisor instead of producing infinity.
double divide(double dividend, double divisor);

// Shortest general decimal form with at most 15 significant digits
// (for example "45.5", "100", "1E+15", "0.0001", "1E-05").
std::string text(double number);
// The same for single-precision values: at most 7 significant digits.
std::string textSingle(float number);
std::string text(std::int64_t number);
inline std::string text(int number) {
  return text(static_cast<std::int64_t>(number));
}

// The "#,##0" pattern: a whole number, halves away from zero, with a
// thousands separator.
std::string thousands(double number);

// A truth value as stored for option buttons: "True", "False" (any case) or a
// number, 0 being false. Fails on anything else, the empty text included.
bool truth(std::string_view text);
inline const char* truthText(bool on) {
  return on ? "True" : "False";
}

// Number of characters (code points) in a UTF-8 text.
std::size_t length(std::string_view text);
// The first `count` characters of a UTF-8 text.
std::string left(std::string_view text, std::size_t count);

}  // namespace qv
