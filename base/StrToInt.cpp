#include "StrToInt.h"

#include "Errors.h"

#include <cstdint>
#include <string>

namespace kwizmar {

std::optional<int> TryStrToInt(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<int>(value);
}

int StrToInt(std::string_view text) {
    if (auto value = TryStrToInt(text))
        return *value;
    throw EConvertError::NotAnInteger(std::string(text));
}

} // namespace kwizmar
