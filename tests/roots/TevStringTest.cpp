// TevString: conversions, assignment, comparison, formatting, numbers, paths and case.
#include "TestSupport.h"

#include <algorithm>

namespace {

// The items as a vector: a call keeps long case tables compact.
template <class... Items>
std::vector<std::common_type_t<Items...>> table(Items... items) {
    return {items...};
}

// The text with every '?' replaced by U+FFFD.
TevString replaced(std::u16string text) {
    std::replace(text.begin(), text.end(), u'?', u'\uFFFD');
    return TevString(text.c_str());
}

TEST(TevString, ConvertsUtf8BothWaysAndReplacesMalformedInput) {
    // Well-formed UTF-8 comes back unchanged: the code points at every length bound, and more.
    const char* const utf8 =
        "St\xC3\xBCtze \xCF\x83 \xE5\x9B\xB3 \xE2\x82\xAC\xF0\x9F\x94\xA9 \x7F\xC2\x80\xC2"
        "\xA9\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4"
        "\x8F\xBF\xBF\xF1\xBF\xBF\xBF\xF4\x80\x80\x80";
    EXPECT_EQ(TevString(utf8),
              TevString(u"Stütze σ 図 €\U0001F529 \x7F\u0080\u00A9\u07FF\u0800\uD7FF\uE000"
                        u"\uFFFF\U00010000\U0010FFFF\U0007FFFF\U00100000"));
    EXPECT_EQ(TevString(utf8).toUtf8(), utf8);
    // Malformed: one U+FFFD per maximal prefix of a valid sequence, else one per byte.
    EXPECT_EQ(
        TevString(
            "\xC1\xBF_\xE0\x9F\xBF_\xF0\x8F\xBF_\xED\xA0\x80_\xF4\x90_\xC2\x7F\xC2\xC0_ab\xE2\x82 "
            "\x80\xE1\xC0\xE1\x80\x7F\xC2_\xE1\x7F\xF5\x80\x80\x80\xF1\xC0\xE1\x80\xC0\xF1\x7F"),
        replaced(u"??_???_???_???_??_?\x7F??_ab? ????\x7F?_?\x7F?????????\x7F"));
    // UTF-16 out: a lone surrogate becomes U+FFFD.
    const TevString units(
        u"\xD800\xDC00\xDBFF\xDFFF\xD83D\xDD29_\xD800_\xDC00_\xDBFF\xE000\xD7FF\xDBFF_"
        u"\xDC00\xDC00\xDBFF\xDBFF");
    EXPECT_EQ(TevString(units.toUtf8().c_str()),
              replaced(u"\xD800\xDC00\xDBFF\xDFFF\xD83D\xDD29_?_?_?\xE000\xD7FF?_????"));
#if WCHAR_MAX > 0xFFFF // wchar_t text is UTF-32: what is no scalar value becomes U+FFFD
    EXPECT_EQ(TevString(L"\x110000\xD800\xDFFF\xD7FF\xE000\x10FFFF"),
              replaced(u"???\uD7FF\uE000\U0010FFFF"));
#endif
}

TEST(TevString, AssignsComparesConcatenatesAndSearches) {
    TevString text(u"Detail"), empty(static_cast<const char*>(nullptr));
    EXPECT_TRUE(text != u"detail" && text != u"Detaim" && text != u"Detai" &&
                TevString(u"a") != u"b");
    EXPECT_EQ(text + TevString(u"s"), TevString(u"Details"));
    text += text;
    text = text.getStringW();
    EXPECT_EQ(text, TevString(u"DetailDetail")) << "appending itself, assigning its own text";
    text = text.getStringW() + 6;
    EXPECT_EQ(text, TevString(u"Detail")) << "assigning a tail of its own text";
    TevString cleared(u"12"), nulled(u"34");
    cleared = empty, nulled = static_cast<const char16_t*>(nullptr);
    // Assigning empty text leaves none behind.
    EXPECT_EQ(cleared.getStringW()[0] + nulled.getStringW()[0] + nulled.length(), 0);
    TevString moved(std::move(text)), assigned(u"old");
    assigned = std::move(moved);
    text += TevString(u"!"), moved += TevString(u"?"); // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(assigned + text + moved, TevString(u"Detail!?")) << "moved-from strings are empty";

    text = u"..\\Details\\A1.dwg";
    EXPECT_EQ(text.right(4) + text.right(1), TevString(u".dwgg"));
    EXPECT_EQ(text.right(0) + text.right(-3) + text.right(100), text);
    std::string found;
    for (const auto& [part, start] :
         table(std::pair(u"..", 0), std::pair(u".", 0), std::pair(u"dwg", 0),
               std::pair(u"A1.dwx", 0), std::pair(u".", 1), std::pair(u".", 3),
               std::pair(u"..", -5), std::pair(u"g", 100), std::pair(u"", 17))) {
        found += std::to_string(start == 0 ? text.find(part) : text.find(part, start)) + " ";
    }
    EXPECT_EQ(found, "0 0 14 -1 1 13 0 -1 17 ");
}

TEST(TevString, FormatsAndReadsNumbers) {
    TevString text(u"previous text");
    text.format(u"[%s][%s]", static_cast<const char16_t*>(nullptr), text.getStringW());
    EXPECT_EQ(text, TevString(u"[][previous text]")) << "its own text as an argument";
    text.format(u"%d %d %ld|%ld|%ld|%ld|%ld %s%s%s %d", 0, INT_MIN, 5L,
                static_cast<long>(0xFFFFFFFFLL), static_cast<long>(0x100000001LL),
                static_cast<long>(0x80000000LL), static_cast<long>(-2147483649LL), u"A1.dwg", u"",
                u"Σ€", INT_MAX);
    EXPECT_EQ(text, TevString(u"0 -2147483648 5|-1|1|-2147483648|2147483647 A1.dwgΣ€ 2147483647"))
        << "a long prints its low 32 bits";
    text.format(u"100%% of %s %x %5d %q%s\x01 %l %ls%", u"parts", u"s");
    EXPECT_EQ(text, TevString(u"100% of parts %x %5d %qs\x01 %l %ls%"))
        << "unknown ones consume nothing";
    text.format(static_cast<const char16_t*>(nullptr));
    EXPECT_TRUE(text.isEmpty());

    // Text, then its value.
    const auto rows = table("42", "42", "007", "7", "  -17mm", "-17", "\t\n\v\f\r 12", "12", "+5",
                            "5", "1:2", "1", "9/2", "9", "0x1F", "0", "A-12", "0", "", "0", "-",
                            "0", "+-3", "0", "\xD9\xA1\xD9\xA2", "0", "2147483647", "2147483647",
                            "2147483648", "2147483647", "-2147483647", "-2147483647", "-2147483648",
                            "-2147483648", "-2147483649", "-2147483648", "99999999999999999999999",
                            "2147483647", "-99999999999999999999999", "-2147483648");
    for (std::size_t row = 0; row < rows.size(); row += 2) {
        EXPECT_EQ(std::to_string(TevString(rows[row]).toInteger()), rows[row + 1]) << rows[row];
    }
}

TEST(TevString, SplitsPathsLikeTheClassicSplitter) {
    // Path, then drive|dir|name|ext.
    const auto rows =
        table("C:\\Model\\Details\\A1.dwg", "C:|\\Model\\Details\\|A1|.dwg", "..\\Details\\A1.dwg",
              "|..\\Details\\|A1|.dwg", "d:/mixed\\seps/b.1.nc", "d:|/mixed\\seps/|b.1|.nc",
              "D:folder/sub\\name.tar.gz", "D:|folder/sub\\|name.tar|.gz", "dotted.dir\\name",
              "|dotted.dir\\|name|", "\\dir.d\\.hidden", "|\\dir.d\\||.hidden", ".upd", "|||.upd",
              "C:name.", "C:||name|.", "NoFolder", "||NoFolder|", "C:", "C:|||", "C", "||C|", "",
              "|||", "/\\/", "|/\\/||", "a:x", "a:||x|", "z:x", "z:||x|", "A:x", "A:||x|", "Z:x",
              "Z:||x|", "@:x", "||@:x|", "[:x", "||[:x|", "`:x", "||`:x|", "{:x", "||{:x|");
    for (std::size_t row = 0; row < rows.size(); row += 2) {
        TevString drive(u"old"), dir(u"old\\"), name(u"old"), ext(u".old");
        // A text stored where a longer one with a dot was: nothing past its end counts.
        TevString path(u"....................................................");
        path = static_cast<const TevString&>(TevString(rows[row]));
        path.SplitPath(drive, dir, name, ext);
        EXPECT_EQ(drive.toUtf8() + "|" + dir.toUtf8() + "|" + name.toUtf8() + "|" + ext.toUtf8(),
                  rows[row + 1]);
    }
}

TEST(TevString, ComparesAndUpperCasesTheFoldedScripts) {
    // Triples: first, second and how the first compares ignoring case. Characters between
    // the cases of their block sort as against the lower case; letters without an
    // upper-case unit of their own (dotted capital I, dotless i, long s) are not folded.
    const auto rows = table(
        u"a1.DWG", u"A1.dwg", u"=", u"ΣΊΣΥΦΟΣ", u"σΊσυφος", u"=", u"ς", u"Σ", u"=", u"", u"", u"=",
        u"ab", u"abc", u"<", u"b", u"A", u">", u"a1.DWG", u"a1.dwf", u">", u"\\", u"O", u"<", u"[",
        u"\\", u"<", u"[", u"a", u"<", u"A_1", u"ab", u"<", u"A_1", u"AB", u"<", u"×", u"É", u"<",
        u"À", u"×", u">", u"Þ", u"ß", u">", u"ß", u"×÷", u">", u"÷", u"×", u">", u"Ÿ", u"ž", u"<",
        u"ı", u"Ĳ", u"<", u"Ω", u"α", u">", u"Α", u"Ϊ", u">", u"Я", u"а", u">", u"Ѐ", u"я", u">",
        u"Џ", u"я", u">", u"ЀЏ", u"Ё", u"<", u"A", u"[", u">", u"Z", u"[", u">", u"Ö", u"÷", u"<",
        u"Ø", u"÷", u">", u"Ÿ", u"Ā", u"<", u"¿", u"ß", u"<", u"Ω", u"ϊ", u"<", u"Α", u"ΰ", u">",
        u"Џ", u"Ѡ", u"<", u"Z", u"{", u"<", u"A", u"`", u">", u"Ÿ", u"þ", u">", u"Ρ", u"Ϊ", u">",
        u"ΐ", u"ΰ", u"<", u"Σ", u"Ϊ", u">", u"А", u"ϰ", u">", u"Ͽ", u"я", u"<", u"İ", u"i", u">",
        u"ı", u"i", u">", u"ſ", u"s", u">");
    for (std::size_t row = 0; row < rows.size(); row += 3) {
        const int forth = TevString::compareNoCase(rows[row], rows[row + 1]);
        const int back = TevString::compareNoCase(rows[row + 1], rows[row]);
        EXPECT_EQ(u"<=>"[(forth > 0) - (forth < 0) + 1], rows[row + 2][0]) << "row " << row / 3;
        EXPECT_EQ(u">=<"[(back > 0) - (back < 0) + 1], rows[row + 2][0]) << "row " << row / 3;
    }

    const auto upper = table(
        u"a1-äöü ÿ ß ×÷ žš ж", u"A1-ÄÖÜ Ÿ ß ×÷ ŽŠ Ж", u"`az{@AZ[", u"`AZ{@AZ[",
        u"\u00DF\u00E0\u00FE\u00F7\u00FF\u00C0", u"\u00DF\u00C0\u00DE\u00F7\u0178\u00C0",
        u"\u0101\u012F\u0131\u0133\u0137\u0138\u013A\u0148\u0149\u014B\u0177\u017A\u017E\u017F"
        u"\u0100\u012E\u0130\u0132\u0139\u0147\u014A\u0178\u0179\u017D",
        u"\u0100\u012E\u0131\u0132\u0136\u0138\u0139\u0147\u0149\u014A\u0176\u0179\u017D\u017F"
        u"\u0100\u012E\u0130\u0132\u0139\u0147\u014A\u0178\u0179\u017D",
        u"αωςΰϊΑ аяѐџѠЯЀ", u"ΑΩΣΰϊΑ АЯЀЏѠЯЀ");
    for (std::size_t row = 0; row < upper.size(); row += 2) {
        TevString text(upper[row]);
        text.toUpper();
        EXPECT_EQ(text, TevString(upper[row + 1]));
        EXPECT_EQ(TevString::compareNoCase(upper[row], upper[row + 1]), 0) << text.toUtf8();
    }
}

} // namespace
