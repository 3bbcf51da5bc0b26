#pragma once
// The program's texts are UTF-8; Windows takes UTF-16. They meet here, at the
// edge of each call into the system.

#include <optional>
#include <string>
#include <string_view>

namespace qv::win {

// nullopt for text that is not valid UTF-8: it is refused, not mangled.
std::optional<std::wstring> wide(std::string_view utf8);
// Lone surrogates, which UTF-8 cannot carry, become U+FFFD.
std::string narrow(std::wstring_view utf16);
// As wide(), with U+FFFD for what is not valid UTF-8: for texts that are
// only shown.
std::wstring shown(std::string_view utf8);

}  // namespace qv::win
