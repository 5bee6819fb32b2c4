// Helpers shared by the fuzz targets: a reader that turns the fuzzer's bytes into texts
// and numbers, readable renderings of texts for failure messages, a recorder of the
// root library's assertions, and LUM_FUZZ_CHECK, which names a broken property on
// stderr and aborts, so that libFuzzer stops and keeps the input as a crash file.
//
// The seed corpora are text files, so most targets read their input line by line: a
// line is one field (a path, a pattern, a number), and a mutation that adds or removes
// a line break moves the following fields, which is as good an input as any other.
#ifndef LUM_FUZZ_SUPPORT_H
#define LUM_FUZZ_SUPPORT_H

#include "TevAssert.h"
#include "TevString.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Checks a property of the code under test; when it does not hold, prints `what` (a
// std::string or a literal, evaluated only then), the condition's text and the place,
// and aborts.
#define LUM_FUZZ_CHECK(condition, what)                                                            \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::lumfuzz::fail(#condition, (what), __FILE__, __LINE__);                               \
        }                                                                                          \
    } while (false)

namespace lumfuzz {

[[noreturn]] inline void fail(const char* condition, const std::string& what, const char* file,
                              int line) {
    std::fprintf(stderr, "\n%s:%d: property broken: %s\n    check: %s\n", file, line, what.c_str(),
                 condition);
    std::fflush(stderr);
    std::abort();
}

// Reads the fuzzer's input front to back. Reading past the end answers zeros and empty
// texts, so a target never has to check the length itself.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size) {}

    bool atEnd() const { return m_position >= m_size; }
    std::size_t remaining() const { return m_size - m_position; }

    std::uint8_t byte() { return atEnd() ? 0 : m_data[m_position++]; }

    bool flag() { return (byte() & 1U) != 0; }

    // An unsigned number from up to `count` bytes, least significant first.
    std::uint64_t bits(int count) {
        std::uint64_t value = 0;
        for (int index = 0; index < count; ++index) {
            value |= static_cast<std::uint64_t>(byte()) << (8 * index);
        }
        return value;
    }

    // The bytes up to the next line break (which is consumed, not returned) or the end.
    std::string line() {
        std::string text;
        while (!atEnd()) {
            const char c = static_cast<char>(m_data[m_position++]);
            if (c == '\n') {
                break;
            }
            text += c;
        }
        return text;
    }

    // Every byte not read yet.
    std::string rest() {
        std::string text(reinterpret_cast<const char*>(m_data + m_position), remaining());
        m_position = m_size;
        return text;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// The decimal number in `text`: an optional '-' before the first digit, then every
// digit of the text in order, other characters skipped; the value wraps around modulo
// 2^64. A text without digits gives `fallback`. Lets a text line feed a numeric field.
inline std::uint64_t wrappingNumber(const std::string& text, std::uint64_t fallback = 0) {
    std::uint64_t value = 0;
    bool negative = false;
    bool digits = false;
    for (const char c : text) {
        if (c == '-' && !digits) {
            negative = true;
        } else if (c >= '0' && c <= '9') {
            value = value * 10U + static_cast<std::uint64_t>(c - '0');
            digits = true;
        }
    }
    if (!digits) {
        return fallback;
    }
    return negative ? 0U - value : value;
}

// Bytes up to the first NUL: what a constructor reading zero-terminated text sees.
inline std::string untilNul(const std::string& bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

// Code units up to the first zero unit.
inline std::u16string untilNul(const std::u16string& units) {
    return units.substr(0, units.find(u'\0'));
}

// The string's code units.
inline std::u16string unitsOf(const TevString& text) {
    return std::u16string(text.getStringW(), static_cast<std::size_t>(text.length()));
}

// A TevString holding `units` (up to the first zero unit).
inline TevString stringOf(const std::u16string& units) {
    return TevString(units.c_str());
}

// Code units pairwise from bytes, least significant byte first; an odd last byte is
// dropped.
inline std::u16string unitsFromBytes(const std::string& bytes) {
    std::u16string units;
    for (std::size_t index = 0; index + 1 < bytes.size(); index += 2) {
        const auto low = static_cast<unsigned char>(bytes[index]);
        const auto high = static_cast<unsigned char>(bytes[index + 1]);
        units += static_cast<char16_t>(low | (high << 8));
    }
    return units;
}

// Printable ASCII as is, everything else as \xHH, for failure messages.
inline std::string show(const std::string& bytes) {
    std::string out = "\"";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '"' && c != '\\') {
            out += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
            out += escaped;
        }
    }
    return out + "\"";
}

// Printable ASCII as is, every other code unit as \uHHHH, for failure messages.
inline std::string show(const std::u16string& units) {
    std::string out = "u\"";
    for (const char16_t c : units) {
        if (c >= 0x20 && c < 0x7F && c != u'"' && c != u'\\') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out + "\"";
}

inline std::string show(const TevString& text) {
    return show(unitsOf(text));
}

inline int sign(long long value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

// Counts the root library's assertion reports while it lives (they would otherwise
// flood stderr) and keeps the last expression text; restores the previous handler.
class AssertionRecorder {
public:
    AssertionRecorder()
        : m_previous(TevAssert::setHandler(&AssertionRecorder::record)) {
        count() = 0;
        lastExpression() = std::string();
    }
    ~AssertionRecorder() { TevAssert::setHandler(m_previous); }
    AssertionRecorder(const AssertionRecorder&) = delete;
    AssertionRecorder& operator=(const AssertionRecorder&) = delete;

    int reports() const { return count(); }
    const std::string& last() const { return lastExpression(); }
    void clear() {
        count() = 0;
        lastExpression().clear();
    }

private:
    static void record(const char* expression, const char*, int) {
        ++count();
        lastExpression() = expression != nullptr ? expression : "";
    }
    static int& count() {
        static int reports = 0;
        return reports;
    }
    static std::string& lastExpression() {
        static std::string text;
        return text;
    }

    TevAssert::Handler m_previous;
};

} // namespace lumfuzz

#endif // LUM_FUZZ_SUPPORT_H
