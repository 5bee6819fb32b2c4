/// \file
/// The application's string: a value type holding UTF-16 text (char16_t code units).
/// Narrow text entering or leaving it is UTF-8; malformed input becomes U+FFFD, so no
/// character outside ASCII is lost and no input can make it read past its storage.
///
/// Text of up to kSmallUnits code units is held inside the string itself, without an
/// allocation: file names, folders and most texts of a document are that short.
#ifndef TEV_STRING_H
#define TEV_STRING_H

#include "TevExport.h"

#include <cstdint>
#include <string>

/// The application's string of UTF-16 text (see TevString.h).
class LUMROOTS_EXPORT TevString {
public:
    /// The empty string.
    TevString() noexcept = default;
    /// The pointer constructors and assignments accept null as the empty string.
    TevString(const char16_t* text);
    /// wchar_t text is UTF-16 where wchar_t has 16 bits and UTF-32 elsewhere.
    TevString(const wchar_t* text);
    /// Narrow text is UTF-8.
    TevString(const char* text);
    /// A copy of the text of `other`.
    TevString(const TevString& other);
    /// Takes the text of `other` over and leaves `other` empty.
    TevString(TevString&& other) noexcept;
    /// Releases the text's storage.
    ~TevString();

    /// Copies the text of `other`.
    TevString& operator=(const TevString& other);
    /// Takes the text of `other` over and leaves `other` empty.
    TevString& operator=(TevString&& other) noexcept;
    /// Copies the UTF-16 `text`; null gives the empty string.
    TevString& operator=(const char16_t* text);
    /// Converts the wide `text`; null gives the empty string.
    TevString& operator=(const wchar_t* text);
    /// Converts the UTF-8 `text`; null gives the empty string.
    TevString& operator=(const char* text);

    /// Exact, case-sensitive comparison of the UTF-16 code units.
    bool operator==(const TevString& other) const;
    /// The negation of operator==.
    bool operator!=(const TevString& other) const { return !(*this == other); }

    /// This text followed by the text of `other`.
    TevString operator+(const TevString& other) const;
    /// Appends the text of `other`.
    TevString& operator+=(const TevString& other);

    /// Nonzero when the string holds no characters.
    int isEmpty() const { return m_length == 0; }
    /// Number of UTF-16 code units.
    int length() const { return m_length; }

    /// The last `count` characters; the whole string when `count` exceeds the length,
    /// empty when it is not positive.
    TevString right(int count) const;

    /// Index of the first occurrence of `text` at or after `start`, or -1. A negative
    /// start counts as 0; an empty `text` is found at `start` when that lies within the
    /// string or at its end.
    int find(const TevString& text, int start = 0) const;

    /// 0 when the two strings are equal ignoring letter case (ASCII, Latin-1, Latin
    /// Extended-A, basic Greek and Cyrillic); otherwise negative or positive after the
    /// first differing character, compared in lower case.
    static int compareNoCase(const TevString& first, const TevString& second);

    /// Splits a path like the platform's classic path splitter: `drive` is a letter
    /// and a colon at the start, `dir` runs up to and including the last separator
    /// (`\` or `/`), `ext` starts at the last dot after that and `name` is what lies
    /// between. Joining the four parts in that order gives the path back.
    void SplitPath(TevString& drive, TevString& dir, TevString& name, TevString& ext) const;

    /// Replaces the contents with `pattern` formatted printf-style. Conversions:
    /// `%d` an int, `%ld` a long of which the low 32 bits are printed as a signed
    /// 32-bit number (a long has 32 bits on the application's main platform), `%s` a
    /// const char16_t* (null prints nothing), `%%` a percent sign. Any other
    /// conversion is copied literally and consumes no argument.
    void format(const char16_t* pattern, ...);

    /// Zero-terminated UTF-16 text, valid while the string is unchanged; never null.
    const char16_t* getStringW() const { return units(); }

    /// The decimal value of the text: leading blanks are skipped, one sign is read,
    /// then digits up to the first non-digit. No digits give 0; a value beyond the
    /// 32-bit range gives the nearest 32-bit limit.
    int toInteger() const;

    /// Converts the letters covered by compareNoCase to upper case, in place.
    void toUpper();

    /// The text as UTF-8; a lone surrogate becomes U+FFFD.
    std::string toUtf8() const;

    /// Code units held without an allocation.
    static constexpr int kSmallUnits = 11;

private:
    bool isSmall() const { return m_capacity <= kSmallUnits; }
    char16_t* units() { return isSmall() ? m_small : m_heap; }
    const char16_t* units() const { return isSmall() ? m_small : m_heap; }
    void assignUnits(const char16_t* units, int count);
    void appendUnits(const char16_t* units, int count);
    void reserve(int capacity);
    // Takes over the text of `other` and leaves it empty. REQUIRES: this holds no heap
    // storage.
    void takeFrom(TevString& other) noexcept;

    // Zero-terminated text: in m_small while it fits, else in m_heap (Owned).
    union {
        char16_t* m_heap;
        char16_t m_small[kSmallUnits + 1] = {};
    };
    int m_length = 0;
    int m_capacity = kSmallUnits; // Code units the text can hold before its terminator.
};

/// Code units of the longest decimal text tevDecimalUnits writes: "-9223372036854775808".
inline constexpr int kTevDecimalUnitsMax = 20;

/// Writes the decimal text of `value` into `units`, most significant digit first, with a
/// minus sign when negative, no leading zeros and no terminator; answers the count of
/// units written. The one printer of numbers: format's `"%d"` and `"%ld"` and the key
/// hash, which folds the text a key would print without building it, both use it.
/// \pre `units` has room for kTevDecimalUnitsMax units.
inline int tevDecimalUnits(std::int64_t value, char16_t* units) {
    char16_t reversed[kTevDecimalUnitsMax];
    int count = 0;
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        reversed[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    int written = 0;
    if (value < 0) {
        units[written++] = u'-';
    }
    while (count > 0) {
        units[written++] = reversed[--count];
    }
    return written;
}

#endif // TEV_STRING_H
