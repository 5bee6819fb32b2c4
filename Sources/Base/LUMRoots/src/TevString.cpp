#include "TevString.h"

#include <climits>
#include <cstdarg>
#include <cstring>
#include <cwchar>
#include <utility>

namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;

int unitCount(const char16_t* text) {
    int count = 0;
    while (text[count] != 0) {
        ++count;
    }
    return count;
}

bool isSeparator(char16_t unit) {
    return unit == u'\\' || unit == u'/';
}

bool isAsciiLetter(char16_t unit) {
    return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}

bool isBlank(char16_t unit) {
    return unit == u' ' || unit == u'\t' || unit == u'\n' || unit == u'\r' || unit == u'\v' ||
           unit == u'\f';
}

bool isHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Upper case of one code unit for the scripts whose letters the library folds:
// ASCII, Latin-1, Latin Extended-A, basic Greek and Cyrillic. Letters without a
// single upper-case unit of their own (the dotless i, the long s) are kept.
char16_t upperUnit(char16_t unit) {
    const unsigned c = unit;
    if (c < 0x80) {
        return (c >= 'a' && c <= 'z') ? static_cast<char16_t>(c - 0x20) : unit;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return static_cast<char16_t>(c - 0x20);
    }
    if (c == 0xFF) {
        return 0x178;
    }
    if (c >= 0x100 && c <= 0x17F) {
        const bool oddLower =
            (c >= 0x101 && c <= 0x12F) || (c >= 0x133 && c <= 0x137) || (c >= 0x14B && c <= 0x177);
        const bool evenLower = (c >= 0x13A && c <= 0x148) || (c >= 0x17A && c <= 0x17E);
        if ((oddLower && (c & 1U) == 1U) || (evenLower && (c & 1U) == 0U)) {
            return static_cast<char16_t>(c - 1);
        }
        return unit;
    }
    if (c == 0x3C2) {
        return 0x3A3; // final sigma
    }
    if (c >= 0x3B1 && c <= 0x3C9) {
        return static_cast<char16_t>(c - 0x20);
    }
    if (c >= 0x430 && c <= 0x44F) {
        return static_cast<char16_t>(c - 0x20);
    }
    if (c >= 0x450 && c <= 0x45F) {
        return static_cast<char16_t>(c - 0x50);
    }
    return unit;
}

// Lower case of an upper-case unit that upperUnit produces; every other unit is kept.
// The pairs are exactly those of upperUnit (the capital sigma pairs with the medial
// sigma), so lowerUnit(upperUnit(c)) is the lower-case form compareNoCase compares in,
// and two units have the same lower-case form exactly when they have the same upper
// case.
char16_t lowerUnit(char16_t unit) {
    const unsigned c = unit;
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char16_t>(c + 0x20) : unit;
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c == 0x178) {
        return 0xFF;
    }
    if (c >= 0x100 && c < 0x17F) {
        // In Latin Extended-A a lower-case letter follows its capital.
        const auto next = static_cast<char16_t>(c + 1);
        return upperUnit(next) == unit ? next : unit;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= 0x410 && c <= 0x42F) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= 0x400 && c <= 0x40F) {
        return static_cast<char16_t>(c + 0x50);
    }
    return unit;
}

// Appends the UTF-16 form of `codePoint` to `out`; `out` has room for two units.
int encodeUtf16(std::uint32_t codePoint, char16_t* out) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        out[0] = kReplacementCharacter;
        return 1;
    }
    if (codePoint < 0x10000) {
        out[0] = static_cast<char16_t>(codePoint);
        return 1;
    }
    const std::uint32_t offset = codePoint - 0x10000;
    out[0] = static_cast<char16_t>(0xD800 + (offset >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
    return 2;
}

// Decodes one UTF-8 sequence starting at `text[index]`. A malformed sequence yields
// U+FFFD and consumes its maximal valid prefix (at least one byte), the usual
// replacement practice, so decoding always advances and never reads past `length`.
std::uint32_t decodeUtf8(const unsigned char* text, std::size_t length, std::size_t& index) {
    const unsigned lead = text[index++];
    if (lead < 0x80) {
        return lead;
    }
    int continuations = 0;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    std::uint32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuations = 1;
        codePoint = lead & 0x1FU;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuations = 2;
        codePoint = lead & 0x0FU;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuations = 3;
        codePoint = lead & 0x07U;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return kReplacementCharacter;
    }
    for (int i = 0; i < continuations; ++i) {
        if (index >= length || text[index] < low || text[index] > high) {
            return kReplacementCharacter;
        }
        codePoint = (codePoint << 6) | (text[index++] & 0x3FU);
        low = 0x80;
        high = 0xBF;
    }
    return codePoint;
}

void appendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// The low 32 bits of `value`, read as a signed 32-bit number.
std::int64_t low32Signed(long value) {
    const std::uint32_t low = static_cast<std::uint32_t>(static_cast<unsigned long>(value));
    return low >= 0x80000000U ? static_cast<std::int64_t>(low) - 0x100000000LL
                              : static_cast<std::int64_t>(low);
}

} // namespace

TevString::TevString(const char16_t* text) {
    *this = text;
}

TevString::TevString(const wchar_t* text) {
    *this = text;
}

TevString::TevString(const char* text) {
    *this = text;
}

TevString::TevString(const TevString& other) {
    assignUnits(other.units(), other.m_length);
}

TevString::TevString(TevString&& other) noexcept {
    takeFrom(other);
}

TevString::~TevString() {
    if (!isSmall()) {
        delete[] m_heap;
    }
}

void TevString::takeFrom(TevString& other) noexcept {
    if (other.isSmall()) {
        std::memcpy(m_small, other.m_small, sizeof m_small);
    } else {
        m_heap = other.m_heap;
    }
    m_length = std::exchange(other.m_length, 0);
    m_capacity = std::exchange(other.m_capacity, kSmallUnits);
    other.m_small[0] = 0;
}

TevString& TevString::operator=(const TevString& other) {
    if (this != &other) {
        assignUnits(other.units(), other.m_length);
    }
    return *this;
}

TevString& TevString::operator=(TevString&& other) noexcept {
    if (this != &other) {
        if (!isSmall()) {
            delete[] m_heap;
            m_capacity = kSmallUnits;
        }
        takeFrom(other);
    }
    return *this;
}

TevString& TevString::operator=(const char16_t* text) {
    if (text == nullptr) {
        m_length = 0;
        units()[0] = 0;
        return *this;
    }
    if (text >= units() && text <= units() + m_length) {
        // Assigning a tail of our own text: copy it out before our storage changes.
        const TevString copy(text);
        return *this = copy;
    }
    assignUnits(text, unitCount(text));
    return *this;
}

TevString& TevString::operator=(const wchar_t* text) {
    if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
        // Windows: wchar_t text already is UTF-16.
        return *this = reinterpret_cast<const char16_t*>(text);
    } else {
        TevString converted;
        if (text != nullptr) {
            converted.reserve(static_cast<int>(std::wcslen(text)) * 2);
            for (const wchar_t* cursor = text; *cursor != 0; ++cursor) {
                char16_t units[2];
                const int count = encodeUtf16(static_cast<std::uint32_t>(*cursor), units);
                converted.appendUnits(units, count);
            }
        }
        return *this = std::move(converted);
    }
}

TevString& TevString::operator=(const char* text) {
    TevString converted;
    if (text != nullptr) {
        const std::size_t length = std::strlen(text);
        const auto* bytes = reinterpret_cast<const unsigned char*>(text);
        converted.reserve(static_cast<int>(length));
        std::size_t index = 0;
        while (index < length) {
            char16_t units[2];
            const int count = encodeUtf16(decodeUtf8(bytes, length, index), units);
            converted.appendUnits(units, count);
        }
    }
    return *this = std::move(converted);
}

bool TevString::operator==(const TevString& other) const {
    return m_length == other.m_length &&
           (m_length == 0 ||
            std::memcmp(units(), other.units(), static_cast<std::size_t>(m_length) * 2) == 0);
}

TevString TevString::operator+(const TevString& other) const {
    TevString sum;
    sum.reserve(m_length + other.m_length);
    sum.appendUnits(units(), m_length);
    sum.appendUnits(other.units(), other.m_length);
    return sum;
}

TevString& TevString::operator+=(const TevString& other) {
    appendUnits(other.units(), other.m_length);
    return *this;
}

TevString TevString::right(int count) const {
    if (count <= 0) {
        return TevString();
    }
    if (count >= m_length) {
        return *this;
    }
    TevString tail;
    tail.assignUnits(units() + (m_length - count), count);
    return tail;
}

int TevString::find(const TevString& text, int start) const {
    if (start < 0) {
        start = 0;
    }
    const int last = m_length - text.m_length;
    for (int index = start; index <= last; ++index) {
        if (text.m_length == 0 || std::memcmp(units() + index, text.units(),
                                              static_cast<std::size_t>(text.m_length) * 2) == 0) {
            return index;
        }
    }
    return -1;
}

int TevString::compareNoCase(const TevString& first, const TevString& second) {
    const char16_t* a = first.getStringW();
    const char16_t* b = second.getStringW();
    for (;; ++a, ++b) {
        // Compared in lower case, as documented: a character that lies between the
        // capitals and the small letters of its block ('[', '\\', '_', the
        // multiplication sign) sorts before those letters in either case.
        const int difference =
            static_cast<int>(lowerUnit(upperUnit(*a))) - static_cast<int>(lowerUnit(upperUnit(*b)));
        if (difference != 0 || *a == 0) {
            return difference;
        }
    }
}

void TevString::SplitPath(TevString& drive, TevString& dir, TevString& name, TevString& ext) const {
    const char16_t* units = getStringW();
    int dirStart = 0;
    if (m_length >= 2 && units[1] == u':' && isAsciiLetter(units[0])) {
        dirStart = 2;
    }
    int nameStart = dirStart;
    for (int index = dirStart; index < m_length; ++index) {
        if (isSeparator(units[index])) {
            nameStart = index + 1;
        }
    }
    int extStart = m_length;
    for (int index = m_length - 1; index >= nameStart; --index) {
        if (units[index] == u'.') {
            extStart = index;
            break;
        }
    }
    // Build every part before assigning any: an out-string may be this string.
    TevString parts[4];
    parts[0].assignUnits(units, dirStart);
    parts[1].assignUnits(units + dirStart, nameStart - dirStart);
    parts[2].assignUnits(units + nameStart, extStart - nameStart);
    parts[3].assignUnits(units + extStart, m_length - extStart);
    drive = std::move(parts[0]);
    dir = std::move(parts[1]);
    name = std::move(parts[2]);
    ext = std::move(parts[3]);
}

void TevString::format(const char16_t* pattern, ...) {
    TevString result;
    if (pattern == nullptr) {
        *this = std::move(result);
        return;
    }
    va_list arguments;
    va_start(arguments, pattern);
    const char16_t* cursor = pattern;
    while (*cursor != 0) {
        const char16_t* literalEnd = cursor;
        while (*literalEnd != 0 && *literalEnd != u'%') {
            ++literalEnd;
        }
        result.appendUnits(cursor, static_cast<int>(literalEnd - cursor));
        cursor = literalEnd;
        if (*cursor == 0) {
            break;
        }
        char16_t digits[kTevDecimalUnitsMax];
        if (cursor[1] == u'd') {
            result.appendUnits(digits, tevDecimalUnits(va_arg(arguments, int), digits));
            cursor += 2;
        } else if (cursor[1] == u'l' && cursor[2] == u'd') {
            result.appendUnits(digits,
                               tevDecimalUnits(low32Signed(va_arg(arguments, long)), digits));
            cursor += 3;
        } else if (cursor[1] == u's') {
            const char16_t* text = va_arg(arguments, const char16_t*);
            if (text != nullptr) {
                result.appendUnits(text, unitCount(text));
            }
            cursor += 2;
        } else if (cursor[1] == u'%') {
            result.appendUnits(cursor, 1);
            cursor += 2;
        } else {
            // Unknown conversion: the percent sign is copied and what follows it is
            // read as ordinary text.
            result.appendUnits(cursor, 1);
            cursor += 1;
        }
    }
    va_end(arguments);
    *this = std::move(result);
}

int TevString::toInteger() const {
    const char16_t* cursor = getStringW();
    while (isBlank(*cursor)) {
        ++cursor;
    }
    const bool negative = *cursor == u'-';
    if (*cursor == u'-' || *cursor == u'+') {
        ++cursor;
    }
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    std::int64_t magnitude = 0;
    for (; *cursor >= u'0' && *cursor <= u'9'; ++cursor) {
        magnitude = magnitude * 10 + (*cursor - u'0');
        if (magnitude > limit) {
            magnitude = limit;
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

void TevString::toUpper() {
    for (int index = 0; index < m_length; ++index) {
        units()[index] = upperUnit(units()[index]);
    }
}

std::string TevString::toUtf8() const {
    std::string out;
    out.reserve(static_cast<std::size_t>(m_length));
    for (int index = 0; index < m_length; ++index) {
        const std::uint32_t unit = units()[index];
        if (isHighSurrogate(unit) && index + 1 < m_length && isLowSurrogate(units()[index + 1])) {
            const std::uint32_t low = units()[++index];
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(out, kReplacementCharacter);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

void TevString::assignUnits(const char16_t* units, int count) {
    m_length = 0;
    this->units()[0] = 0; // the text ends here also when nothing is appended
    appendUnits(units, count);
}

void TevString::appendUnits(const char16_t* units, int count) {
    if (count <= 0) {
        return;
    }
    if (m_length + count > m_capacity) {
        const char16_t* own = this->units();
        if (units >= own && units < own + m_length) {
            // Appending part of our own text: keep it alive across the reallocation.
            const TevString copy(*this);
            appendUnits(copy.units() + (units - own), count);
            return;
        }
        const int doubled = m_capacity > INT_MAX / 2 ? INT_MAX : m_capacity * 2;
        reserve(m_length + count > doubled ? m_length + count : doubled);
    }
    char16_t* text = this->units();
    std::memcpy(text + m_length, units, static_cast<std::size_t>(count) * 2);
    m_length += count;
    text[m_length] = 0;
}

void TevString::reserve(int capacity) {
    if (capacity <= m_capacity) {
        return;
    }
    auto* grown = new char16_t[static_cast<std::size_t>(capacity) + 1];
    if (m_length > 0) {
        std::memcpy(grown, units(), static_cast<std::size_t>(m_length) * 2);
    }
    grown[m_length] = 0;
    if (!isSmall()) {
        delete[] m_heap;
    }
    m_heap = grown;
    m_capacity = capacity;
}
