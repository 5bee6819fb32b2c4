#include "BenchWorkload.h"

namespace lumbench {

std::u16string decimal(std::int64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

bool detailRequiresUpdate(std::int64_t ordinal) {
    return ordinal % 10 == 0;
}

std::u16string drawingNumberOf(std::int64_t ordinal) {
    return decimal(1000 + ordinal);
}

std::u16string drawingPrefixOf(std::int64_t ordinal) {
    return ordinal % 2 == 0 ? u"A-" : u"B-";
}

std::vector<DocumentRecord> makeWorkload(int documents) {
    std::vector<DocumentRecord> records;
    records.reserve(static_cast<std::size_t>(documents));
    std::int64_t details = 0;
    std::int64_t lists = 0;
    std::int64_t ncFiles = 0;
    for (int index = 0; index < documents; ++index) {
        DocumentRecord record;
        const int slot = index % 20;
        if (slot < 9) {
            record.kind = Kind::Detail;
            record.ordinal = ++details;
            record.path = u"..\\Details\\D" + decimal(record.ordinal) + u".dwg";
            record.requiresUpdate = detailRequiresUpdate(record.ordinal);
        } else if (slot < 11) {
            record.kind = Kind::List;
            record.ordinal = ++lists;
            record.path = u"..\\BOM\\L" + decimal(record.ordinal) + u".txt";
            record.dstv = record.ordinal % 2 == 0;
        } else {
            record.kind = Kind::NC;
            record.ordinal = ++ncFiles;
            record.path = u"NC\\P" + decimal(record.ordinal) + u".nc1";
            const bool dxf = record.ordinal % 2 == 0;
            record.ncSubType = dxf ? kSubTypeNCDxf : kSubTypeNCNamed;
            record.ncName = u"P" + decimal(record.ordinal) + (dxf ? u"-DXF" : u"");
        }
        records.push_back(std::move(record));
    }
    return records;
}

} // namespace lumbench
