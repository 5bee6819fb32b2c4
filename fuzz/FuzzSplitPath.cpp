// TevString::SplitPath on fuzzed text: the input read as UTF-8 and, separately, as
// UTF-16 code units.
//
// Properties, from SplitPath's contract:
// - drive + dir + name + ext is the path again;
// - the drive is a letter (A-Z, a-z) and a colon at the start, or empty;
// - dir runs from behind the drive up to and including the last separator (`\` or
//   `/`), or is empty when there is none;
// - ext starts at the last dot behind the dir, or is empty when there is none; the
//   name is what lies between;
// - the path itself is not changed, and any one of the four out-strings may be the
//   path itself: the parts are the same.
#include "FuzzSupport.h"

#include "TevString.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

struct Parts {
    std::u16string drive, dir, name, ext;
    bool operator==(const Parts& other) const {
        return drive == other.drive && dir == other.dir && name == other.name && ext == other.ext;
    }
};

std::string show(const Parts& parts) {
    return "[" + lumfuzz::show(parts.drive) + " " + lumfuzz::show(parts.dir) + " " +
           lumfuzz::show(parts.name) + " " + lumfuzz::show(parts.ext) + "]";
}

bool isLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

Parts expectedParts(const std::u16string& path) {
    Parts parts;
    std::size_t dirStart = 0;
    if (path.size() >= 2 && path[1] == u':' && isLetter(path[0])) {
        dirStart = 2;
    }
    const std::size_t lastSeparator = path.find_last_of(u"\\/");
    const std::size_t nameStart = lastSeparator != std::u16string::npos && lastSeparator >= dirStart
                                      ? lastSeparator + 1
                                      : dirStart;
    const std::size_t lastDot = path.rfind(u'.');
    const std::size_t extStart =
        lastDot != std::u16string::npos && lastDot >= nameStart ? lastDot : path.size();
    parts.drive = path.substr(0, dirStart);
    parts.dir = path.substr(dirStart, nameStart - dirStart);
    parts.name = path.substr(nameStart, extStart - nameStart);
    parts.ext = path.substr(extStart);
    return parts;
}

Parts partsOf(const TevString& drive, const TevString& dir, const TevString& name,
              const TevString& ext) {
    return {lumfuzz::unitsOf(drive), lumfuzz::unitsOf(dir), lumfuzz::unitsOf(name),
            lumfuzz::unitsOf(ext)};
}

void checkSplit(const std::u16string& units) {
    const TevString path = lumfuzz::stringOf(units);
    const Parts expected = expectedParts(units);

    // Out-strings holding text before the call: every part is replaced.
    TevString drive(u"old drive"), dir(u"old\\dir\\"), name(u"old name"), ext(u".old");
    path.SplitPath(drive, dir, name, ext);
    const Parts actual = partsOf(drive, dir, name, ext);
    LUM_FUZZ_CHECK(actual == expected, "SplitPath(" + lumfuzz::show(units) + ") gives " +
                                           show(actual) + ", expected " + show(expected));
    LUM_FUZZ_CHECK(drive + dir + name + ext == path,
                   "the parts of " + lumfuzz::show(units) + " do not join back to it");
    LUM_FUZZ_CHECK(lumfuzz::unitsOf(path) == units, "SplitPath changed the path");

    // The path itself as each one of the out-strings.
    for (int position = 0; position < 4; ++position) {
        TevString self(path);
        TevString parts[4];
        TevString* out[4] = {&parts[0], &parts[1], &parts[2], &parts[3]};
        out[position] = &self;
        self.SplitPath(*out[0], *out[1], *out[2], *out[3]);
        const Parts aliased = partsOf(*out[0], *out[1], *out[2], *out[3]);
        LUM_FUZZ_CHECK(aliased == expected, "SplitPath(" + lumfuzz::show(units) +
                                                ") into itself as part " +
                                                std::to_string(position) + " gives " +
                                                show(aliased) + ", expected " + show(expected));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    checkSplit(lumfuzz::unitsOf(TevString(lumfuzz::untilNul(input).c_str())));
    checkSplit(lumfuzz::untilNul(lumfuzz::unitsFromBytes(input)));
    return 0;
}
