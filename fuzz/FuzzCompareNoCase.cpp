// TevString::compareNoCase and TevString::toUpper on three fuzzed texts: the first line
// of the input, the second line, and the rest, each read as UTF-8.
//
// Properties, from the two operations' contracts:
// - compareNoCase is 0 exactly when the two strings are equal ignoring case, which is
//   when their toUpper forms are equal (toUpper converts the letters compareNoCase
//   covers);
// - it is reflexive, antisymmetric (the sign of (a, b) is minus the sign of (b, a))
//   and transitive;
// - otherwise its sign is that of the first differing character compared in lower
//   case: the lower-case forms below are those of the scripts it covers (ASCII,
//   Latin-1, Latin Extended-A, basic Greek and Cyrillic), applied to the toUpper forms;
//   the end of the shorter string compares as a character below every other;
// - toUpper keeps the length, is idempotent, and a string compares equal to its upper-
//   and lower-case forms.
#include "FuzzSupport.h"

#include "TevString.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// The lower-case letter of an upper-case letter of the covered scripts; any other unit
// is its own lower case. Only letters whose upper case is one code unit of its own
// have a pair here: the dotted capital I (U+0130) has none, and the Greek capital
// sigma pairs with the medial sigma.
char16_t lowerCase(char16_t c) {
    const unsigned u = c;
    if (u >= 'A' && u <= 'Z') {
        return static_cast<char16_t>(u + 0x20);
    }
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) {
        return static_cast<char16_t>(u + 0x20);
    }
    if (u == 0x178) {
        return 0xFF;
    }
    const bool evenUpper =
        (u >= 0x100 && u <= 0x12F) || (u >= 0x132 && u <= 0x137) || (u >= 0x14A && u <= 0x177);
    const bool oddUpper = (u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E);
    if ((evenUpper && u % 2 == 0) || (oddUpper && u % 2 == 1)) {
        return static_cast<char16_t>(u + 1);
    }
    if (u >= 0x391 && u <= 0x3A9 && u != 0x3A2) {
        return static_cast<char16_t>(u + 0x20);
    }
    if (u >= 0x410 && u <= 0x42F) {
        return static_cast<char16_t>(u + 0x20);
    }
    if (u >= 0x400 && u <= 0x40F) {
        return static_cast<char16_t>(u + 0x50);
    }
    return c;
}

std::u16string upperOf(const TevString& text) {
    TevString upper(text);
    upper.toUpper();
    return lumfuzz::unitsOf(upper);
}

std::u16string lowerOf(const std::u16string& units) {
    std::u16string lower;
    for (const char16_t c : units) {
        lower += lowerCase(c);
    }
    return lower;
}

// The sign the contract gives for two strings, from their toUpper forms.
int expectedSign(const std::u16string& upperA, const std::u16string& upperB) {
    for (std::size_t index = 0;; ++index) {
        const char16_t a = index < upperA.size() ? upperA[index] : u'\0';
        const char16_t b = index < upperB.size() ? upperB[index] : u'\0';
        if (a != b || a == u'\0') {
            return lumfuzz::sign(static_cast<long long>(lowerCase(a)) -
                                 static_cast<long long>(lowerCase(b)));
        }
    }
}

void checkAlone(const TevString& text) {
    const std::u16string units = lumfuzz::unitsOf(text);
    const std::u16string upper = upperOf(text);
    LUM_FUZZ_CHECK(upper.size() == units.size(), "toUpper changed the length of " +
                                                     lumfuzz::show(units) + ": " +
                                                     lumfuzz::show(upper));
    LUM_FUZZ_CHECK(upperOf(lumfuzz::stringOf(upper)) == upper,
                   "toUpper is not idempotent on " + lumfuzz::show(upper));
    LUM_FUZZ_CHECK(TevString::compareNoCase(text, text) == 0,
                   "compareNoCase is not reflexive on " + lumfuzz::show(units));
    LUM_FUZZ_CHECK(TevString::compareNoCase(text, TevString(text)) == 0,
                   "compareNoCase(a, copy of a) is not 0 for " + lumfuzz::show(units));
    const TevString upperText = lumfuzz::stringOf(upper);
    LUM_FUZZ_CHECK(TevString::compareNoCase(text, upperText) == 0 &&
                       TevString::compareNoCase(upperText, text) == 0,
                   lumfuzz::show(units) + " does not compare equal to its upper case " +
                       lumfuzz::show(upper));
    const std::u16string lower = lowerOf(upper);
    const TevString lowerText = lumfuzz::stringOf(lower);
    LUM_FUZZ_CHECK(TevString::compareNoCase(text, lowerText) == 0,
                   lumfuzz::show(units) + " does not compare equal to its lower case " +
                       lumfuzz::show(lower));
}

int checkPair(const TevString& a, const TevString& b) {
    const int ab = TevString::compareNoCase(a, b);
    const int ba = TevString::compareNoCase(b, a);
    const std::string pair = "(" + lumfuzz::show(a) + ", " + lumfuzz::show(b) + ")";
    LUM_FUZZ_CHECK(lumfuzz::sign(ab) == -lumfuzz::sign(ba),
                   "compareNoCase is not antisymmetric on " + pair + ": " + std::to_string(ab) +
                       " and " + std::to_string(ba));
    const std::u16string upperA = upperOf(a);
    const std::u16string upperB = upperOf(b);
    LUM_FUZZ_CHECK((ab == 0) == (upperA == upperB),
                   "compareNoCase" + pair + " is " + std::to_string(ab) +
                       " but the upper-case forms are " + lumfuzz::show(upperA) + " and " +
                       lumfuzz::show(upperB));
    const int expected = expectedSign(upperA, upperB);
    LUM_FUZZ_CHECK(lumfuzz::sign(ab) == expected,
                   "compareNoCase" + pair + " is " + std::to_string(ab) + ", expected the sign " +
                       std::to_string(expected) + " of the first difference in lower case");
    return lumfuzz::sign(ab);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumfuzz::ByteReader reader(data, size);
    const TevString a(lumfuzz::untilNul(reader.line()).c_str());
    const TevString b(lumfuzz::untilNul(reader.line()).c_str());
    const TevString c(lumfuzz::untilNul(reader.rest()).c_str());

    checkAlone(a);
    checkAlone(b);
    checkAlone(c);
    const int ab = checkPair(a, b);
    const int bc = checkPair(b, c);
    const int ac = checkPair(a, c);
    const std::string triple = lumfuzz::show(a) + ", " + lumfuzz::show(b) + ", " +
                               lumfuzz::show(c) + ": signs " + std::to_string(ab) + " " +
                               std::to_string(bc) + " " + std::to_string(ac);
    if (ab <= 0 && bc <= 0) {
        LUM_FUZZ_CHECK(ac <= 0, "compareNoCase is not transitive on " + triple);
        LUM_FUZZ_CHECK(ac < 0 || (ab == 0 && bc == 0),
                       "compareNoCase is not transitive on " + triple);
    }
    if (ab >= 0 && bc >= 0) {
        LUM_FUZZ_CHECK(ac >= 0, "compareNoCase is not transitive on " + triple);
        LUM_FUZZ_CHECK(ac > 0 || (ab == 0 && bc == 0),
                       "compareNoCase is not transitive on " + triple);
    }
    return 0;
}
