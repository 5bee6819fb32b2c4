// Shared by the fuzz targets. LUM_FUZZ_CHECK names a broken property on stderr and aborts,
// so that libFuzzer stops and keeps the input as a crash file. The seed corpora are text
// files, so targets read their input line by line: a line is one field.
#ifndef LUM_FUZZ_SUPPORT_H
#define LUM_FUZZ_SUPPORT_H

#include "TevString.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define LUM_FUZZ_CHECK(condition)                                                                  \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace lumfuzz {

// The first `count` lines of the input, missing ones empty; a text read from a line with
// c_str() ends at its first NUL.
inline std::vector<std::string> lines(const std::uint8_t* data, std::size_t size,
                                      std::size_t count) {
    std::vector<std::string> result(count);
    for (std::size_t index = 0, line = 0; index < size && line < count; ++index) {
        if (data[index] == '\n') {
            ++line;
        } else {
            result[line] += static_cast<char>(data[index]);
        }
    }
    return result;
}

inline std::u16string unitsOf(const TevString& text) {
    return std::u16string(text.getStringW(), static_cast<std::size_t>(text.length()));
}

} // namespace lumfuzz

#endif // LUM_FUZZ_SUPPORT_H
