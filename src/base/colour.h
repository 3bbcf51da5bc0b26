#pragma once
#include <cstdint>

namespace qv {

// A 24-bit colour stored as the program's settings and behaviour give it:
// red in the low byte, then green, then blue.
struct Colour {
  std::uint32_t value = 0;

  static constexpr Colour rgb(int r, int g, int b) {
    return Colour{static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
                  static_cast<std::uint32_t>(b) << 16};
  }
  constexpr int red() const { return static_cast<int>(value & 0xFF); }
  constexpr int green() const { return static_cast<int>((value >> 8) & 0xFF); }
  constexpr int blue() const { return static_cast<int>((value >> 16) & 0xFF); }
  friend constexpr bool operator==(Colour, Colour) = default;
};

namespace colours {
inline constexpr Colour black = Colour::rgb(0, 0, 0);
inline constexpr Colour white = Colour::rgb(255, 255, 255);
inline constexpr Colour buttonFace = Colour::rgb(240, 240, 240);
inline constexpr Colour windowBackground = Colour::rgb(255, 255, 255);
// Readout text: normal and over its limit.
inline constexpr Colour readout = Colour::rgb(0, 192, 192);
inline constexpr Colour warning = Colour::rgb(255, 128, 0);
}  // namespace colours

}  // namespace qv
