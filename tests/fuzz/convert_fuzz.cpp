// The text and number rules against arbitrary text and arbitrary doubles:
// value() agrees with the C library wherever the text is a plain decimal and
// fails otherwise, lead() never fails and ignores what follows the number,
// text() and thousands() give texts that read back as the number.

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "runtime/convert.h"
#include "runtime/failure.h"

namespace {

using qv::Failed;

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

template <typename F>
auto attempt(F f) -> std::optional<decltype(f())> {
  try {
    return f();
  } catch (const Failed&) {
    return std::nullopt;
  }
}

// The text if it is a plain decimal (blanks, a sign, digits with at most one
// point, an exponent with e or d), rewritten for strtod; nullopt otherwise.
std::optional<std::string> plainDecimal(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && isBlank(s[i])) ++i;
  std::string out;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) out += s[i++];
  std::size_t digits = 0;
  while (i < s.size() && isDigit(s[i])) out += s[i++], ++digits;
  if (i < s.size() && s[i] == '.') {
    out += s[i++];
    while (i < s.size() && isDigit(s[i])) out += s[i++], ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < s.size() && std::strchr("eEdD", s[i]) != nullptr && s[i] != '\0') {
    std::string exponent = "e";
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
    std::size_t start = j;
    while (j < s.size() && isDigit(s[j])) exponent += s[j++];
    if (j == start) return std::nullopt;  // "1e" is not a number
    out += exponent;
    i = j;
  }
  while (i < s.size() && isBlank(s[i])) ++i;
  if (i != s.size()) return std::nullopt;
  return out;
}

void checkValue(std::string_view s) {
  const auto got = attempt([&] { return qv::value(s); });
  const auto plain = plainDecimal(s);
  if (!plain) {
    FUZZ_CHECK(!got);
    return;
  }
  errno = 0;
  char* end = nullptr;
  const double want = std::strtod(plain->c_str(), &end);
  const bool range = errno == ERANGE;
  FUZZ_CHECK(end == plain->c_str() + plain->size());
  if (range && std::isinf(want)) {
    FUZZ_CHECK(!got);  // too large: fails
  } else if (range) {
    FUZZ_CHECK(got && (*got == 0 || *got == want));  // too small: reads as zero
  } else {
    FUZZ_CHECK(got && *got == want);
  }
  if (got) FUZZ_CHECK(std::isfinite(*got));
}

// The leading number as lead() should find it, rewritten for strtod: blanks
// skipped before and inside the digits, an exponent right after them; "0"
// when there is no digit.
std::string leadingNumber(std::string_view s) {
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < s.size() && isBlank(s[i])) ++i;
  };
  std::string out;
  skipBlanks();
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) out += s[i++];
  std::size_t digits = 0;
  auto digitRun = [&] {
    for (; i < s.size() && (isDigit(s[i]) || isBlank(s[i])); ++i)
      if (isDigit(s[i])) out += s[i], ++digits;
  };
  skipBlanks();
  digitRun();
  if (i < s.size() && s[i] == '.') {
    out += s[i++];
    digitRun();
  }
  if (digits == 0) return "0";
  if (i < s.size() && std::strchr("eEdD", s[i]) != nullptr && s[i] != '\0') {
    std::string exponent = "e";
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
    std::size_t start = j;
    while (j < s.size() && isDigit(s[j])) exponent += s[j++];
    if (j > start) out += exponent;
  }
  return out;
}

void checkLead(std::string_view s) {
  const auto got = attempt([&] { return qv::lead(s); });
  FUZZ_CHECK(got.has_value());  // never fails
  FUZZ_CHECK(std::isfinite(*got));
  // Reading stops at a character that cannot continue a number.
  const std::string longer = std::string(s) + "x" + std::string(s);
  FUZZ_CHECK(qv::lead(longer) == *got);
  if (const auto exact = attempt([&] { return qv::value(s); })) FUZZ_CHECK(*exact == *got);

  const std::string number = leadingNumber(s);
  errno = 0;
  const double want = std::strtod(number.c_str(), nullptr);
  const bool range = errno == ERANGE;
  if (range && std::isinf(want)) {  // too large: the largest number
    FUZZ_CHECK(std::fabs(*got) == DBL_MAX);
  } else if (range) {  // too small: zero
    FUZZ_CHECK(*got == 0 || *got == want);
  } else {
    FUZZ_CHECK(*got == want);
  }
}

void checkText(double x) {
  const auto t = attempt([&] { return qv::text(x); });
  FUZZ_CHECK(t.has_value() == std::isfinite(x));
  if (!t) return;
  // Reads back within half a unit of the fifteenth digit, and is its own
  // text: the form is the shortest one for that number.
  const auto back = attempt([&] { return qv::value(*t); });
  // Near the largest double the fifteen digits round past it.
  if (std::fabs(x) > 1.79769313486231e308) return;
  FUZZ_CHECK(back.has_value());
  FUZZ_CHECK(std::fabs(*back - x) <= std::fabs(x) * 5.1e-15 + DBL_TRUE_MIN);
  FUZZ_CHECK(qv::text(*back) == *t);
  FUZZ_CHECK(t->find_first_of(" ,eD") == std::string::npos);
  std::size_t significant = 0;
  bool leading = true;
  for (char c : t->substr(0, t->find('E'))) {
    if (!isDigit(c)) continue;
    if (c != '0') leading = false;
    if (!leading) ++significant;
  }
  FUZZ_CHECK(significant <= 15);
  const std::string mantissa = t->substr(0, t->find('E'));
  if (mantissa.find('.') != std::string::npos) FUZZ_CHECK(mantissa.back() != '0');

  if (std::fabs(x) > FLT_MAX) return;  // no such float
  const auto f = static_cast<float>(x);
  const auto single = attempt([&] { return qv::textSingle(f); });
  FUZZ_CHECK(single.has_value());
  const auto s = attempt([&] { return qv::value(*single); });
  FUZZ_CHECK(s && std::fabs(*s - f) <= std::fabs(f) * 5.1e-7 + FLT_TRUE_MIN);
}

void checkWhole(double x) {
  const auto w = attempt([&] { return qv::whole(x); });
  const bool inRange = x >= -9223372036854775808.0 && x < 9223372036854775808.0;
  FUZZ_CHECK(w.has_value() == inRange);
  if (!w) return;
  const long double diff = static_cast<long double>(*w) - static_cast<long double>(x);
  FUZZ_CHECK(std::fabs(diff) <= 0.5L);
  if (std::fabs(diff) == 0.5L) FUZZ_CHECK(*w % 2 == 0);  // halves to even
}

void checkThousands(double x) {
  const auto t = attempt([&] { return qv::thousands(x); });
  if (!std::isfinite(x)) {
    FUZZ_CHECK(!t);
    return;
  }
  const double rounded = std::round(x);  // halves away from zero
  if (std::fabs(rounded) < 1e17) FUZZ_CHECK(t.has_value());
  if (!t) return;
  std::string_view s = *t;
  const bool negative = !s.empty() && s.front() == '-';
  if (negative) s.remove_prefix(1);
  std::string digits;
  for (char c : s)
    if (c != ',') digits += c;
  FUZZ_CHECK(!digits.empty() && digits.size() <= 17);
  FUZZ_CHECK(digits.find_first_not_of("0123456789") == std::string::npos);
  FUZZ_CHECK(digits == "0" || digits.front() != '0');
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  FUZZ_CHECK(grouped == s);
  const std::int64_t number = std::stoll(digits);
  FUZZ_CHECK(!(negative && number == 0));
  FUZZ_CHECK((negative ? -number : number) == static_cast<std::int64_t>(rounded));
}

void checkCharacters(std::string_view s, std::size_t count) {
  const std::size_t n = qv::length(s);
  const std::string cut = qv::left(s, count);
  FUZZ_CHECK(s.substr(0, cut.size()) == cut);
  FUZZ_CHECK(qv::length(cut) == std::min(count, n));
  FUZZ_CHECK(qv::left(s, n) == s);
  (void)attempt([&] { return qv::truth(s); });  // anything but Failed escapes
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view s(reinterpret_cast<const char*>(data), size);
  checkValue(s);
  checkLead(s);
  checkCharacters(s, size ? data[0] % 16 : 0);
  // The first eight bytes as a double as well, so that every bit pattern
  // (subnormals, NaNs, infinities) is tried.
  if (size >= sizeof(double)) {
    double x = 0;
    std::memcpy(&x, data, sizeof x);
    checkText(x);
    checkWhole(x);
    checkThousands(x);
  }
  // And the number the text stands for, which reaches the decimal corners
  // (halves, 15-digit edges) far more often than raw bits do.
  if (const auto v = attempt([&] { return qv::value(s); })) {
    checkText(*v);
    checkWhole(*v);
    checkThousands(*v);
  }
  return 0;
}
