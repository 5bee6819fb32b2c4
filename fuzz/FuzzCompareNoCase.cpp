// TevString::compareNoCase and toUpper on three texts, the input's first three lines
// (UTF-8), checked against each other instead of against a second case table:
// - compareNoCase is antisymmetric in sign and transitive, and strings equal ignoring
//   case compare alike with any third;
// - it answers 0 exactly when the toUpper forms are equal, and a string compares equal to
//   its toUpper form;
// - toUpper keeps the length and changes nothing the second time.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto upper = [](TevString text) {
        text.toUpper();
        return text;
    };
    const std::vector<std::string> lines = lumfuzz::lines(data, size, 3);
    const TevString texts[3] = {lines[0].c_str(), lines[1].c_str(), lines[2].c_str()};
    int signs[3][3];
    for (int a = 0; a < 3; ++a) {
        const TevString upperA = upper(texts[a]);
        LUM_FUZZ_CHECK(upperA.length() == texts[a].length() && upper(upperA) == upperA);
        LUM_FUZZ_CHECK(TevString::compareNoCase(texts[a], upperA) == 0);
        LUM_FUZZ_CHECK(TevString::compareNoCase(upperA, texts[a]) == 0);
        for (int b = 0; b < 3; ++b) {
            const int compared = TevString::compareNoCase(texts[a], texts[b]);
            signs[a][b] = (compared > 0) - (compared < 0);
            LUM_FUZZ_CHECK((signs[a][b] == 0) == (upperA == upper(texts[b])));
        }
    }
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 3; ++b) {
            LUM_FUZZ_CHECK(signs[a][b] == -signs[b][a]);
            for (int c = 0; c < 3; ++c) {
                LUM_FUZZ_CHECK(signs[a][b] != signs[b][c] || signs[a][c] == signs[a][b]);
                LUM_FUZZ_CHECK(signs[a][b] != 0 || signs[a][c] == signs[b][c]);
            }
        }
    }
    return 0;
}
