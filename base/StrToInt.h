#pragma once

#include <optional>
#include <string_view>

namespace kwizmar {

// The program's text-to-number conversion: an optional sign followed by one or
// more decimal digits, nothing else (no blanks), within the 32-bit range.
std::optional<int> TryStrToInt(std::string_view text);

// As TryStrToInt; throws EConvertError ("'%s' is not a valid integer value").
int StrToInt(std::string_view text);

} // namespace kwizmar
