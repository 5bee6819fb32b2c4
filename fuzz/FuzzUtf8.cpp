// TevString's conversions, checked by round trips instead of a second decoder. The input
// is read as UTF-8 text and as UTF-16 code units (byte pairs, low byte first).
// - UTF-8 -> TevString -> UTF-8 gives the input again unless a U+FFFD came in for
//   malformed input; what toUtf8 answers is valid UTF-8, so it round-trips exactly.
// - UTF-16 -> UTF-8 -> UTF-16 keeps every unit but lone surrogates, which become U+FFFD,
//   one unit each; a surrogate pair is kept.
// - Assigning a tail of a string's own text, and appending a string to itself, work.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string bytes = input.substr(0, input.find('\0'));
    const TevString text(bytes.c_str());
    const std::string utf8 = text.toUtf8();
    LUM_FUZZ_CHECK(utf8 == bytes || lumfuzz::unitsOf(text).find(u'\uFFFD') != std::u16string::npos);
    LUM_FUZZ_CHECK(text.length() <= static_cast<int>(bytes.size()));
    LUM_FUZZ_CHECK(TevString(utf8.c_str()) == text && TevString(utf8.c_str()).toUtf8() == utf8);

    std::u16string units;
    for (std::size_t index = 0; index + 1 < size && (data[index] | data[index + 1]) != 0;
         index += 2) {
        units += static_cast<char16_t>(data[index] | data[index + 1] << 8);
    }
    const std::u16string back =
        lumfuzz::unitsOf(TevString(TevString(units.c_str()).toUtf8().c_str()));
    LUM_FUZZ_CHECK(back.size() == units.size());
    for (std::size_t i = 0; i < units.size() && i < back.size(); ++i) {
        const bool pair = (units[i] & 0xFC00) == 0xD800 && i + 1 < units.size() &&
                          (units[i + 1] & 0xFC00) == 0xDC00;
        LUM_FUZZ_CHECK(back[i] == units[i] || ((units[i] & 0xF800) == 0xD800 && back[i] == 0xFFFD));
        LUM_FUZZ_CHECK(!pair || back.substr(i, 2) == units.substr(i, 2));
    }

    TevString self(units.c_str()), doubled(units.c_str());
    const std::size_t cut = size % (units.size() + 1);
    self = self.getStringW() + cut;
    doubled += doubled;
    LUM_FUZZ_CHECK(lumfuzz::unitsOf(self) == units.substr(cut));
    LUM_FUZZ_CHECK(lumfuzz::unitsOf(doubled) == units + units);
    return 0;
}
