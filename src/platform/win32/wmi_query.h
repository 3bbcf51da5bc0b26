#pragma once
// One query of the management interface's root\WMI namespace, on a connection
// of its own that is dropped before it returns: the sensors are read every
// few seconds and hold nothing between reads.

#include <wbemidl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qv::win {

// Calls `each` for every instance of the class, in the order returned.
// False when the namespace cannot be reached, the class is missing, the
// enumeration breaks off, or `each` returns false (a property it needs is
// missing or has the wrong type).
bool queryWmi(const wchar_t* wmiClass, const std::function<bool(IWbemClassObject&)>& each);

// A whole-number property; nullopt when it is missing or not a number.
std::optional<std::int64_t> integerProperty(IWbemClassObject& object, const wchar_t* name);
// A text property as UTF-8; nullopt when it is missing or not a text.
std::optional<std::string> textProperty(IWbemClassObject& object, const wchar_t* name);
// A byte-array property; nullopt when it is missing or of another type.
std::optional<std::vector<std::uint8_t>> bytesProperty(IWbemClassObject& object,
                                                       const wchar_t* name);

}  // namespace qv::win
