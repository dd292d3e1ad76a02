#include "startup/NumberReader.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

std::size_t skipBlanks(std::string_view text, std::size_t at)
{
    while (at < text.size() && isBlank(text[at]))
        ++at;
    return at;
}

std::size_t skipDigits(std::string_view text, std::size_t at)
{
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

// Length of the longest number at the start of text (0 when none):
// [+-]? (digits [. digits?] | . digits) ([eE] [+-]? digits)?
std::size_t numberLength(std::string_view text)
{
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    const std::size_t integerEnd = skipDigits(text, at);
    std::size_t end = integerEnd;
    bool hasDigits = integerEnd > at;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fractionEnd = skipDigits(text, end + 1);
        if (hasDigits || fractionEnd > end + 1) {
            hasDigits = true;
            end = fractionEnd;
        }
    }
    if (!hasDigits)
        return 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        const std::size_t exponentEnd = skipDigits(text, exponent);
        if (exponentEnd > exponent)
            end = exponentEnd;
    }
    return end;
}

// Converts a complete number text; independent of the C locale.
double convert(std::string_view number)
{
    const bool negative = !number.empty() && number.front() == '-';
    if (!number.empty() && (number.front() == '+' || number.front() == '-'))
        number.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // from_chars leaves value alone on a range error: tell overflow from underflow.
        const std::string text(number);
        value = std::abs(std::strtod(text.c_str(), nullptr)) > 1.0
            ? std::numeric_limits<double>::infinity()
            : 0.0;
    }
    (void)end;
    return negative ? -value : value;
}

} // namespace

double rtcR8ValFromBstr(std::string_view text)
{
    text.remove_prefix(skipBlanks(text, 0));
    const std::size_t length = numberLength(text);
    return length == 0 ? 0.0 : convert(text.substr(0, length));
}

std::optional<double> wholeNumber(std::string_view text)
{
    text.remove_prefix(skipBlanks(text, 0));
    const std::size_t length = numberLength(text);
    if (length == 0 || skipBlanks(text, length) != text.size())
        return std::nullopt;
    return convert(text.substr(0, length));
}

std::int32_t toInt32OrZero(double value)
{
    const double rounded = std::nearbyint(value); // the default mode rounds halves to even
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<std::int32_t>::min()
        || rounded > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(rounded);
}
