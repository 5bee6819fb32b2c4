// TevString::format, toInteger and SplitPath, checked by round trips and by agreeing with
// other operations instead of by a second implementation. Input: the first line is a
// text (UTF-8), the rest of the input's bytes give numbers.
// - format("%d", n) read back by toInteger is n; "%ld" gives the low 32 bits of a long;
// - toInteger skips leading blanks and stops at the first character that is no digit;
// - "%s" inserts the text, "%%" a percent sign, as concatenation does;
// - SplitPath's parts join back to the path: a drive is a letter and a colon, the folder
//   ends with a separator, name and extension hold none, the extension starts at its only
//   dot; splitting the path into itself gives the same parts.
#include "FuzzSupport.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto holdsSeparator = [](const TevString& text) {
        return lumfuzz::unitsOf(text).find_first_of(u"\\/") != std::u16string::npos;
    };
    const TevString text(lumfuzz::lines(data, size, 1)[0].c_str());
    std::int64_t number = 0;
    std::memcpy(&number, data + (size > 8 ? size - 8 : 0), size > 8 ? 8 : 0);
    TevString formatted;
    formatted.format(u"%d", static_cast<int>(number));
    LUM_FUZZ_CHECK(formatted.toInteger() == static_cast<int>(number));
    formatted.format(u"%ld", static_cast<long>(number));
    LUM_FUZZ_CHECK(formatted.toInteger() ==
                   static_cast<std::int32_t>(static_cast<std::uint32_t>(number)));

    const int value = text.toInteger();
    LUM_FUZZ_CHECK((TevString(u" \t\r\n") + text).toInteger() == value);
    LUM_FUZZ_CHECK((text + TevString(u"x9")).toInteger() == value);
    formatted.format(u"%%%s|", text.getStringW());
    LUM_FUZZ_CHECK(formatted == TevString(u"%") + text + TevString(u"|"));

    TevString drive, dir, name, ext, self(text);
    text.SplitPath(drive, dir, name, ext);
    LUM_FUZZ_CHECK(drive + dir + name + ext == text);
    LUM_FUZZ_CHECK(drive.isEmpty() || (drive.length() == 2 && drive.getStringW()[1] == u':'));
    LUM_FUZZ_CHECK(dir.isEmpty() || holdsSeparator(dir.right(1)));
    LUM_FUZZ_CHECK(!holdsSeparator(name) && !holdsSeparator(ext));
    LUM_FUZZ_CHECK(ext.isEmpty() ||
                   (ext.getStringW()[0] == u'.' && ext.right(ext.length() - 1).find(u".") < 0));
    LUM_FUZZ_CHECK(name.find(u".") < 0 || !ext.isEmpty());
    TevString selfDir, selfName, selfExt;
    self.SplitPath(self, selfDir, selfName, selfExt);
    LUM_FUZZ_CHECK(self == drive && selfDir == dir && selfName == name && selfExt == ext);
    return 0;
}
