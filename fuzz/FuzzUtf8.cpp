// TevString's conversions: the input read as UTF-8, as UTF-16 code units and as wchar_t
// text, each converted to a TevString and back to UTF-8 with toUtf8.
//
// Properties:
// - UTF-8 in: well-formed input round-trips exactly; malformed input becomes U+FFFD,
//   one per maximal ill-formed subpart (what the conversion promises and the usual
//   replacement practice), everything else is kept.
// - UTF-16 in: the code units are stored unchanged; toUtf8 turns each lone surrogate
//   into U+FFFD and keeps everything else.
// - wchar_t in: UTF-16 where wchar_t has 16 bits; UTF-32 elsewhere, where every value
//   that is not a Unicode scalar value becomes U+FFFD.
// - toUtf8 always answers well-formed UTF-8, and converting that again is stable.
// - Assignment gives what construction gives, also from a tail of the string's own text.
#include "FuzzSupport.h"

#include "TevString.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isScalarValue(std::uint32_t value) {
    return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

// Decodes UTF-8 after the table of well-formed byte sequences: for each lead byte, the
// range its second byte must lie in (later bytes are always 80..BF). A lead byte
// outside the table is one ill-formed subpart; so is a valid lead followed by fewer
// fitting bytes than it needs, together with those bytes.
std::u32string decodeUtf8(const std::string& bytes, bool& wellFormed) {
    std::u32string out;
    wellFormed = true;
    std::size_t index = 0;
    while (index < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[index]);
        int needed = 0;
        unsigned secondLow = 0x80;
        unsigned secondHigh = 0xBF;
        char32_t value = 0;
        if (lead <= 0x7F) {
            out += static_cast<char32_t>(lead);
            ++index;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            needed = 1;
            value = lead & 0x1FU;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            needed = 2;
            value = lead & 0x0FU;
            if (lead == 0xE0) {
                secondLow = 0xA0;
            } else if (lead == 0xED) {
                secondHigh = 0x9F;
            }
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            needed = 3;
            value = lead & 0x07U;
            if (lead == 0xF0) {
                secondLow = 0x90;
            } else if (lead == 0xF4) {
                secondHigh = 0x8F;
            }
        } else {
            out += kReplacement;
            wellFormed = false;
            ++index;
            continue;
        }
        std::size_t next = index + 1;
        int taken = 0;
        while (taken < needed && next < bytes.size()) {
            const auto c = static_cast<unsigned char>(bytes[next]);
            const unsigned low = taken == 0 ? secondLow : 0x80;
            const unsigned high = taken == 0 ? secondHigh : 0xBF;
            if (c < low || c > high) {
                break;
            }
            value = (value << 6) | (c & 0x3FU);
            ++taken;
            ++next;
        }
        if (taken == needed) {
            out += value;
        } else {
            out += kReplacement;
            wellFormed = false;
        }
        index = next;
    }
    return out;
}

std::string encodeUtf8(const std::u32string& codePoints) {
    std::string out;
    for (const char32_t c : codePoints) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string encodeUtf16(const std::u32string& codePoints) {
    std::u16string out;
    for (const char32_t c : codePoints) {
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

// The code points of UTF-16 units, a lone surrogate read as U+FFFD.
std::u32string decodeUtf16(const std::u16string& units) {
    std::u32string out;
    for (std::size_t index = 0; index < units.size(); ++index) {
        const char32_t unit = units[index];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && index + 1 < units.size() && units[index + 1] >= 0xDC00 &&
            units[index + 1] <= 0xDFFF) {
            out += 0x10000 + ((unit - 0xD800) << 10) + (units[index + 1] - 0xDC00U);
            ++index;
        } else if (high || low) {
            out += kReplacement;
        } else {
            out += unit;
        }
    }
    return out;
}

// toUtf8 of `text`: well-formed, equal to `expected`, and stable when read again.
void checkUtf8Out(const TevString& text, const std::u32string& expected, const char* source) {
    const std::string out = text.toUtf8();
    const std::string wanted = encodeUtf8(expected);
    LUM_FUZZ_CHECK(out == wanted, std::string(source) + ": toUtf8 of " + lumfuzz::show(text) +
                                      " is " + lumfuzz::show(out) + ", expected " +
                                      lumfuzz::show(wanted));
    bool wellFormed = false;
    decodeUtf8(out, wellFormed);
    LUM_FUZZ_CHECK(wellFormed,
                   std::string(source) + ": toUtf8 answered malformed UTF-8 " + lumfuzz::show(out));
    const TevString again(out.c_str());
    LUM_FUZZ_CHECK(lumfuzz::unitsOf(again) == encodeUtf16(expected),
                   std::string(source) + ": reading toUtf8's " + lumfuzz::show(out) +
                       " again gives " + lumfuzz::show(again));
    LUM_FUZZ_CHECK(again.toUtf8() == out,
                   std::string(source) + ": toUtf8 is not stable on " + lumfuzz::show(out));
}

void checkFromUtf8(const std::string& input) {
    const std::string bytes = lumfuzz::untilNul(input);
    bool wellFormed = false;
    const std::u32string codePoints = decodeUtf8(bytes, wellFormed);
    const std::u16string units = encodeUtf16(codePoints);

    const TevString text(bytes.c_str());
    LUM_FUZZ_CHECK(lumfuzz::unitsOf(text) == units, "UTF-8 " + lumfuzz::show(bytes) +
                                                        " converts to " + lumfuzz::show(text) +
                                                        ", expected " + lumfuzz::show(units));
    LUM_FUZZ_CHECK(text.length() == static_cast<int>(units.size()), "length of the converted text");
    if (wellFormed) {
        LUM_FUZZ_CHECK(text.toUtf8() == bytes,
                       "well-formed UTF-8 " + lumfuzz::show(bytes) + " does not round-trip");
    }
    checkUtf8Out(text, codePoints, "from UTF-8");

    TevString assigned(u"previous contents, longer than most inputs");
    assigned = bytes.c_str();
    LUM_FUZZ_CHECK(assigned == text, "UTF-8 assignment differs from construction");
}

void checkFromUtf16(const std::string& input) {
    const std::u16string units = lumfuzz::untilNul(lumfuzz::unitsFromBytes(input));
    const TevString text(units.c_str());
    LUM_FUZZ_CHECK(lumfuzz::unitsOf(text) == units,
                   "UTF-16 " + lumfuzz::show(units) + " is stored as " + lumfuzz::show(text));
    checkUtf8Out(text, decodeUtf16(units), "from UTF-16");

    TevString assigned(u"x");
    assigned = units.c_str();
    LUM_FUZZ_CHECK(assigned == text, "UTF-16 assignment differs from construction");

    // A tail of the string's own text, assigned to it, and the string appended to itself.
    const std::size_t cut = units.empty() ? 0 : input.size() % (units.size() + 1);
    TevString self(text);
    self = self.getStringW() + cut;
    LUM_FUZZ_CHECK(lumfuzz::unitsOf(self) == units.substr(cut),
                   "assigning the tail from " + std::to_string(cut) + " of its own text " +
                       lumfuzz::show(units) + " gives " + lumfuzz::show(self));
    TevString doubled(text);
    doubled += doubled;
    LUM_FUZZ_CHECK(lumfuzz::unitsOf(doubled) == units + units, "appending " + lumfuzz::show(units) +
                                                                   " to itself gives " +
                                                                   lumfuzz::show(doubled));
}

void checkFromWide(const std::string& input) {
    std::wstring wide;
    std::u16string expected;
    if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
        // wchar_t text is UTF-16 here, stored unchanged.
        for (const char16_t unit : lumfuzz::unitsFromBytes(input)) {
            if (unit == 0) {
                break;
            }
            wide += static_cast<wchar_t>(unit);
            expected += unit;
        }
    } else {
        // wchar_t text is UTF-32: a scalar value is kept, every other value is U+FFFD.
        for (std::size_t index = 0; index + 4 <= input.size(); index += 4) {
            std::uint32_t value = 0;
            for (std::size_t byte = 0; byte < 4; ++byte) {
                value |= static_cast<std::uint32_t>(static_cast<unsigned char>(input[index + byte]))
                         << (8 * byte);
            }
            if (value == 0) {
                break;
            }
            wide += static_cast<wchar_t>(value);
            expected += encodeUtf16(std::u32string(1, isScalarValue(value) ? value : kReplacement));
        }
    }
    const TevString text(wide.c_str());
    LUM_FUZZ_CHECK(lumfuzz::unitsOf(text) == expected, "wchar_t text converts to " +
                                                           lumfuzz::show(text) + ", expected " +
                                                           lumfuzz::show(expected));
    checkUtf8Out(text, decodeUtf16(expected), "from wchar_t");

    TevString assigned(u"y");
    assigned = wide.c_str();
    LUM_FUZZ_CHECK(assigned == text, "wchar_t assignment differs from construction");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    checkFromUtf8(input);
    checkFromUtf16(input);
    checkFromWide(input);
    return 0;
}
