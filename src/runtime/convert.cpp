#include "runtime/convert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "runtime/failure.h"

namespace qv {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Whether a number out of the range of doubles is too small (rather than
// too large): the decimal exponent of its leading digit is negative.
bool tooSmall(const std::string& number) {
  std::size_t e = number.find_first_of("eE");
  std::string mantissa = number.substr(0, e);
  long long exponent = 0;
  if (e != std::string::npos) {
    std::size_t i = e + 1;
    bool negative = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
    for (; i < number.size() && exponent < 1'000'000'000; ++i)
      exponent = exponent * 10 + (number[i] - '0');
    if (negative) exponent = -exponent;
  }
  std::size_t dot = std::min(mantissa.find('.'), mantissa.size());
  std::size_t first = mantissa.find_first_not_of("0.");
  if (first == std::string::npos) return true;
  long long lead =
      first < dot ? static_cast<long long>(dot - first) - 1 : -static_cast<long long>(first - dot);
  return lead + exponent < 0;
}

double parse(const std::string& cleaned) {
  double result = 0;
  auto [end, error] = std::from_chars(cleaned.data(), cleaned.data() + cleaned.size(), result);
  if (error == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow is a failed conversion.
    if (tooSmall(cleaned)) return 0;
    fail("number out of range");
  }
  if (error != std::errc() || end != cleaned.data() + cleaned.size()) fail("not a number");
  return result;
}

// Scans a number at the front of `in` and returns it in the form from_chars
// reads: digits, an optional fraction and an optional exponent, with the sign
// kept apart. `used` tells how many characters of `in` it took.
struct Scan {
  bool negative = false;
  std::string body;
  std::size_t used = 0;
  bool digits = false;
};

Scan scanNumber(std::string_view in, bool skipInnerBlanks) {
  Scan s;
  std::size_t i = 0;
  auto skip = [&] {
    while (i < in.size() && isBlank(in[i])) ++i;
  };
  skip();
  if (i < in.size() && (in[i] == '+' || in[i] == '-')) {
    s.negative = in[i] == '-';
    ++i;
    if (skipInnerBlanks) skip();
  }
  auto digitsRun = [&] {
    bool any = false;
    while (i < in.size()) {
      if (isDigit(in[i])) {
        s.body += in[i++];
        any = true;
      } else if (skipInnerBlanks && isBlank(in[i])) {
        ++i;
      } else {
        break;
      }
    }
    return any;
  };
  s.digits = digitsRun();
  if (i < in.size() && in[i] == '.') {
    std::size_t before = s.body.size();
    s.body += '.';
    ++i;
    if (digitsRun()) s.digits = true;
    if (s.body.size() == before + 1) s.body.pop_back();
  }
  s.used = i;
  if (!s.digits) return s;
  if (i < in.size() && (in[i] == 'e' || in[i] == 'E' || in[i] == 'd' || in[i] == 'D')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < in.size() && (in[j] == '+' || in[j] == '-')) exponent += in[j++];
    std::size_t start = j;
    while (j < in.size() && isDigit(in[j])) exponent += in[j++];
    if (j > start) {
      s.body += exponent;
      i = j;
    }
  }
  s.used = i;
  return s;
}

// Digits and decimal exponent of a number rounded to `precision` significant
// digits, trailing zeros removed.
std::string general(double number, int precision) {
  if (std::isnan(number) || std::isinf(number)) fail("not a finite number");
  if (number == 0) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, number);
  std::string s(buffer);
  bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  std::size_t ePos = s.find('e');
  int exponent = std::atoi(s.c_str() + ePos + 1);
  std::string digits;
  for (std::size_t k = 0; k < ePos; ++k)
    if (isDigit(s[k])) digits += s[k];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent < -4 || exponent >= precision) {
    out += digits[0];
    if (digits.size() > 1) out += "." + digits.substr(1);
    char e[16];
    std::snprintf(e, sizeof e, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return out + e;
  }
  if (exponent < 0) {
    out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else if (static_cast<std::size_t>(exponent) + 1 >= digits.size()) {
    out += digits + std::string(static_cast<std::size_t>(exponent) + 1 - digits.size(), '0');
  } else {
    out += digits.substr(0, static_cast<std::size_t>(exponent) + 1) + "." +
           digits.substr(static_cast<std::size_t>(exponent) + 1);
  }
  return out;
}

}  // namespace

double value(std::string_view textIn) {
  Scan s = scanNumber(textIn, false);
  std::size_t i = s.used;
  while (i < textIn.size() && isBlank(textIn[i])) ++i;
  if (!s.digits || i != textIn.size()) fail("not a number");
  double v = parse(s.body);
  return s.negative ? -v : v;
}

double lead(std::string_view textIn) {
  Scan s = scanNumber(textIn, true);
  if (!s.digits) return 0;
  double v = 0;
  try {
    v = parse(s.body);
  } catch (const Failed&) {
    // Too large for a double: the leading number never fails, so it reads
    // as the largest one.
    v = std::numeric_limits<double>::max();
  }
  return s.negative ? -v : v;
}

std::int64_t whole(double number) {
  if (std::isnan(number) || number >= 9.2233720368547758e18 || number < -9.2233720368547758e18)
    fail("number out of range");
  // nearbyint rounds halves to even in the default rounding mode.
  return static_cast<std::int64_t>(std::nearbyint(number));
}

double divide(double dividend, double divisor) {
  if (divisor == 0) fail("division by zero");
  double q = dividend / divisor;
  if (std::isinf(q) || std::isnan(q)) fail("overflow");
  return q;
}

std::string text(double number) {
  return general(number, 15);
}
std::string textSingle(float number) {
  return general(static_cast<double>(number), 7);
}
std::string text(std::int64_t number) {
  return std::to_string(number);
}

std::string thousands(double number) {
  if (std::isnan(number) || std::isinf(number)) fail("not a finite number");
  double rounded = std::round(number);  // halves away from zero
  if (rounded == 0) return "0";
  std::string digits = general(std::fabs(rounded), 17);
  if (digits.find_first_of(".E") != std::string::npos) fail("number out of range");
  std::string out;
  int count = 0;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (count > 0 && count % 3 == 0) out.insert(out.begin(), ',');
    out.insert(out.begin(), *it);
    ++count;
  }
  return rounded < 0 ? "-" + out : out;
}

bool truth(std::string_view t) {
  std::string lower;
  for (char c : t) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  std::size_t a = lower.find_first_not_of(" \t");
  std::size_t b = lower.find_last_not_of(" \t");
  std::string trimmed = a == std::string::npos ? "" : lower.substr(a, b - a + 1);
  if (trimmed == "true") return true;
  if (trimmed == "false") return false;
  return value(t) != 0;
}

std::size_t length(std::string_view t) {
  std::size_t n = 0;
  for (unsigned char c : t)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

std::string left(std::string_view t, std::size_t count) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if ((static_cast<unsigned char>(t[i]) & 0xC0) != 0x80) {
      if (n == count) return std::string(t.substr(0, i));
      ++n;
    }
  }
  return std::string(t);
}

bool isNumber(std::string_view text) {
  try {
    value(text);
    return true;
  } catch (const Failed&) {
    return false;
  }
}

}  // namespace qv
