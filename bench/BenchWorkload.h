// The documents of one benchmark model, the same for the library and for its
// standard-library baseline: 45% detail drawings, 10% BOM and DSTV lists and 45% NC
// files, interleaved in blocks of twenty (nine details, two lists, nine NC files) so
// that every prefix of the list has the same mix. Texts are UTF-16, as the library
// keeps them; each side converts them once, before anything is measured.
#ifndef LUM_BENCH_WORKLOAD_H
#define LUM_BENCH_WORKLOAD_H

#include <cstdint>
#include <string>
#include <vector>

namespace lumbench {

enum class Kind { Detail, List, NC };

// The sub-kinds of the library's vocabulary, by value (TevDerDocEnums::eDocSubType).
constexpr int kSubTypeDstv = 0;
constexpr int kSubTypeNCNamed = 1;
constexpr int kSubTypeNCDxf = 2;
constexpr int kSubTypeNone = 3;

struct DocumentRecord {
    Kind kind = Kind::Detail;
    // 1-based within its kind: the detail id, the report number, the NC file's number.
    std::int64_t ordinal = 0;
    // "..\Details\D<i>.dwg", "..\BOM\L<i>.txt" or "NC\P<i>.nc1".
    std::u16string path;
    // Lists: every second report is a DSTV list (the report manager says so by number).
    bool dstv = false;
    // NC files: eDocSubTypeNCNamed or eDocSubTypeNCDxf, and the NC or DXF name.
    int ncSubType = kSubTypeNone;
    std::u16string ncName;
    // Details: every tenth requires an update and then holds an update-only object.
    bool requiresUpdate = false;
};

std::vector<DocumentRecord> makeWorkload(int documents);

// Whether detail `ordinal` requires an update: every tenth does.
bool detailRequiresUpdate(std::int64_t ordinal);

// The drawing number and prefix the host gives detail `ordinal`.
std::u16string drawingNumberOf(std::int64_t ordinal);
std::u16string drawingPrefixOf(std::int64_t ordinal);

// Decimal digits of `value`, as UTF-16.
std::u16string decimal(std::int64_t value);

} // namespace lumbench

#endif // LUM_BENCH_WORKLOAD_H
