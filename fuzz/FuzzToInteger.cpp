// TevString::toInteger against a reading of its contract written here: leading blanks
// (space, tab, line feed, vertical tab, form feed, carriage return, the blanks of the C
// library's number parsing) are skipped, one sign '+' or '-' is read, then the decimal
// digits 0-9 up to the first other character. No digits give 0; a value beyond the
// 32-bit range gives the nearest 32-bit limit.
//
// The input is read as UTF-8 and, separately, as UTF-16 code units; a third text puts
// a run of '0' digits, from the input's length, before the UTF-8 text's digits.
#include "FuzzSupport.h"

#include "TevString.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

int expectedInteger(const std::u16string& text) {
    std::size_t index = 0;
    while (index < text.size() && isBlank(text[index])) {
        ++index;
    }
    bool negative = false;
    if (index < text.size() && (text[index] == u'-' || text[index] == u'+')) {
        negative = text[index] == u'-';
        ++index;
    }
    // The digits without leading zeros: more than ten of them are beyond any 32-bit value.
    while (index < text.size() && text[index] == u'0') {
        ++index;
    }
    std::string digits;
    while (index < text.size() && text[index] >= u'0' && text[index] <= u'9') {
        digits += static_cast<char>(text[index]);
        ++index;
    }
    if (digits.size() > 10) {
        return negative ? INT_MIN : INT_MAX;
    }
    const long long magnitude = digits.empty() ? 0 : std::stoll(digits);
    const long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

void checkInteger(const std::u16string& units) {
    const TevString text = lumfuzz::stringOf(units);
    const int actual = text.toInteger();
    const int expected = expectedInteger(units);
    LUM_FUZZ_CHECK(actual == expected, "toInteger(" + lumfuzz::show(units) + ") is " +
                                           std::to_string(actual) + ", expected " +
                                           std::to_string(expected));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::u16string utf8Units = lumfuzz::unitsOf(TevString(lumfuzz::untilNul(input).c_str()));
    checkInteger(utf8Units);
    checkInteger(lumfuzz::untilNul(lumfuzz::unitsFromBytes(input)));

    // Leading zeros do not count towards the range.
    std::u16string padded = utf8Units;
    std::size_t firstDigit = 0;
    while (
        firstDigit < padded.size() &&
        (isBlank(padded[firstDigit]) || padded[firstDigit] == u'-' || padded[firstDigit] == u'+')) {
        ++firstDigit;
    }
    padded.insert(firstDigit, size % 32, u'0');
    checkInteger(padded);
    return 0;
}
