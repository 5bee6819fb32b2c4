// TevString::format with a fuzzed pattern and arguments of exactly the types the
// pattern's conversions consume.
//
// Input, line by line: the pattern (UTF-8), then one line per argument in the order
// the pattern consumes them: a number for %d and %ld (see lumfuzz::wrappingNumber), a
// text for %s, where "~" stands for a null pointer and "@" for the target string's own
// text. The last line also gives the target's text before the call.
//
// The harness reads the pattern by the conversions format documents (%d an int, %ld a
// long printed by its low 32 bits as a signed 32-bit number, %s a const char16_t*
// printed up to its terminator or nothing for null, %% a percent sign, any other '%'
// copied literally and consuming nothing) and builds the call with exactly those
// argument types, so it never passes mismatched arguments itself. A pattern with more
// consuming conversions than kMaxArguments is cut before the first one beyond. The
// result must be the harness's own formatting of the same pattern and arguments.
#include "FuzzSupport.h"

#include "TevString.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMaxArguments = 6;

enum class Conversion { Int, Long, Text };

struct Arguments {
    std::vector<int> ints;
    std::vector<long> longs;
    std::vector<const char16_t*> texts;
};

// Calls format with the arguments of `conversions`, in order and of their types: each
// level of the recursion adds the argument of one conversion. `extra` adds one int
// argument that no conversion consumes, which a variadic call allows.
template <class... Passed>
void callFormat(TevString& target, const char16_t* pattern,
                const std::vector<Conversion>& conversions, const Arguments& arguments, bool extra,
                Passed... passed) {
    constexpr std::size_t index = sizeof...(Passed);
    if constexpr (index >= kMaxArguments) {
        if (extra) {
            target.format(pattern, passed..., 12345);
        } else {
            target.format(pattern, passed...);
        }
    } else {
        if (index == conversions.size()) {
            if (extra) {
                target.format(pattern, passed..., 12345);
            } else {
                target.format(pattern, passed...);
            }
            return;
        }
        switch (conversions[index]) {
        case Conversion::Int:
            callFormat(target, pattern, conversions, arguments, extra, passed...,
                       arguments.ints[index]);
            break;
        case Conversion::Long:
            callFormat(target, pattern, conversions, arguments, extra, passed...,
                       arguments.longs[index]);
            break;
        case Conversion::Text:
            callFormat(target, pattern, conversions, arguments, extra, passed...,
                       arguments.texts[index]);
            break;
        }
    }
}

std::u16string decimal(std::int64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::int64_t low32Signed(long value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<unsigned long>(value)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumfuzz::ByteReader reader(data, size);
    const TevString patternText(lumfuzz::untilNul(reader.line()).c_str());
    std::vector<std::string> lines;
    while (!reader.atEnd()) {
        lines.push_back(lumfuzz::untilNul(reader.line()));
    }
    const bool extra = size % 2 == 1;

    TevString target(lines.empty() ? "" : lines.back().c_str());
    const std::u16string targetBefore = lumfuzz::unitsOf(target);

    // Reads the pattern as format documents it, cutting it before a conversion beyond
    // kMaxArguments, and forms the expected text.
    std::u16string pattern = lumfuzz::unitsOf(patternText);
    std::vector<Conversion> conversions;
    Arguments arguments;
    std::vector<TevString> texts; // owns the texts passed to %s
    texts.reserve(kMaxArguments);
    std::u16string expected;
    for (std::size_t index = 0; index < pattern.size();) {
        if (pattern[index] != u'%') {
            expected += pattern[index++];
            continue;
        }
        const char16_t next = index + 1 < pattern.size() ? pattern[index + 1] : u'\0';
        const char16_t after = index + 2 < pattern.size() ? pattern[index + 2] : u'\0';
        const bool isInt = next == u'd';
        const bool isLong = next == u'l' && after == u'd';
        const bool isText = next == u's';
        if (next == u'%') {
            expected += u'%';
            index += 2;
            continue;
        }
        if (!isInt && !isLong && !isText) {
            expected += u'%';
            index += 1;
            continue;
        }
        if (conversions.size() == kMaxArguments) {
            pattern.resize(index);
            break;
        }
        const std::string line = conversions.size() < lines.size() ? lines[conversions.size()] : "";
        const std::uint64_t number = lumfuzz::wrappingNumber(line);
        arguments.ints.push_back(static_cast<int>(static_cast<std::uint32_t>(number)));
        arguments.longs.push_back(static_cast<long>(number));
        if (line == "~") {
            arguments.texts.push_back(nullptr);
        } else if (line == "@") {
            arguments.texts.push_back(target.getStringW());
        } else {
            texts.emplace_back(line.c_str());
            arguments.texts.push_back(texts.back().getStringW());
        }
        if (isInt) {
            conversions.push_back(Conversion::Int);
            expected += decimal(arguments.ints.back());
            index += 2;
        } else if (isLong) {
            conversions.push_back(Conversion::Long);
            expected += decimal(low32Signed(arguments.longs.back()));
            index += 3;
        } else {
            conversions.push_back(Conversion::Text);
            const char16_t* text = arguments.texts.back();
            if (text != nullptr) {
                expected += text;
            }
            index += 2;
        }
    }

    callFormat(target, pattern.c_str(), conversions, arguments, extra);
    LUM_FUZZ_CHECK(lumfuzz::unitsOf(target) == expected,
                   "format(" + lumfuzz::show(pattern) + ") with " +
                       std::to_string(conversions.size()) + " arguments on " +
                       lumfuzz::show(targetBefore) + " gives " + lumfuzz::show(target) +
                       ", expected " + lumfuzz::show(expected));
    return 0;
}
