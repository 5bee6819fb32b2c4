#include "BenchHost.h"

#include <map>

namespace lumbench {

namespace {

constexpr char16_t kModelFolder[] = u"lum-bench-no-such-folder";
constexpr int kBlock = 20; // of which the first nine are details and the next two lists
constexpr int kDetailsPerBlock = 9;
constexpr int kListsPerBlock = 2;
constexpr std::int64_t kUpdateEvery = 10;
constexpr std::int64_t kFirstDrawingNumber = 1000;

TevString decimal(std::int64_t value) {
    char16_t units[kTevDecimalUnitsMax + 1] = {}; // zero-terminated
    tevDecimalUnits(value, units);
    return TevString(units);
}

void describe(const TevDerivedDocument& doc, TevDerivedDocumentInfo& info) {
    const TevDerivedDocKey key = doc.getKey();
    if (key.m_type == TevDerDocEnums::eDocTypeDetail) {
        info.setDwgNo(decimal(kFirstDrawingNumber + key.m_id),
                      TevString(key.m_id % 2 == 0 ? u"A-" : u"B-"));
    }
}

// Document `ordinal` (from 1) of kind `type`.
Record makeRecord(TevDerDocEnums::eDocType type, std::int64_t ordinal) {
    Record record;
    record.type = type;
    record.id = type == TevDerDocEnums::eDocTypeNC ? 0 : ordinal;
    const TevString number = decimal(ordinal);
    if (type == TevDerDocEnums::eDocTypeDetail) {
        record.path = TevString(u"..\\Details\\D") + number + TevString(u".dwg");
    } else if (type == TevDerDocEnums::eDocTypeBom) {
        record.path = TevString(u"..\\BOM\\L") + number + TevString(u".txt");
        record.report.m_number = static_cast<int>(ordinal);
        record.report.m_name = u"List";
        record.report.m_filePath = record.path;
    } else {
        const bool dxf = ordinal % 2 == 0;
        record.path = TevString(u"NC\\P") + number + TevString(u".nc1");
        record.subType =
            dxf ? TevDerDocEnums::eDocSubTypeNCDxf : TevDerDocEnums::eDocSubTypeNCNamed;
        record.ncName = TevString(u"P") + number + TevString(dxf ? u"-DXF" : u"");
    }
    return record;
}

} // namespace

BenchFactory& factory() {
    static BenchFactory instance;
    return instance;
}

const std::vector<Record>& records(int documents) {
    static std::map<int, std::vector<Record>> made;
    std::vector<Record>& list = made[documents];
    if (list.empty()) {
        std::int64_t counts[TevDerDocEnums::eDocTypeAll] = {};
        for (int index = 0; index < documents; ++index) {
            const int slot = index % kBlock;
            const auto type = slot < kDetailsPerBlock ? TevDerDocEnums::eDocTypeDetail
                              : slot < kDetailsPerBlock + kListsPerBlock
                                  ? TevDerDocEnums::eDocTypeBom
                                  : TevDerDocEnums::eDocTypeNC;
            list.push_back(makeRecord(type, ++counts[type]));
        }
    }
    return list;
}

TevDerivedDocument* registerRecord(TevDerivedDocumentsModel& model, const Record& record) {
    switch (record.type) {
    case TevDerDocEnums::eDocTypeDetail:
        return model.addDetailDoc(record.id, record.path, false, false, true);
    case TevDerDocEnums::eDocTypeBom:
        return model.addBomDoc(record.report, false, false, true);
    default:
        return model.addNCDoc(record.path, record.subType, record.ncName, false, false, false,
                              true);
    }
}

TevDerivedDocument* createDocument(TevDerivedDocumentsModel& model, const Record& record) {
    switch (record.type) {
    case TevDerDocEnums::eDocTypeDetail:
        return factory().createDetailDocument(&model, record.id, record.path);
    case TevDerDocEnums::eDocTypeBom:
        return factory().createBomDocument(&model, record.report, record.id % 2 == 0);
    default:
        return factory().createNCDocument(&model, record.path, record.subType, record.ncName,
                                          false);
    }
}

BenchModel::BenchModel()
    : TevDerivedDocumentsModel(TevString(kModelFolder)) {}

BenchModel::~BenchModel() {
    resetDerivedDocs(TevDerDocEnums::eDocTypeAll);
}

void BenchModel::addUpdOnlyDerivedObjects(TevDerivedDocument* doc, bool, bool) {
    if (auto* detail = dynamic_cast<BenchDetailDocument*>(doc)) {
        detail->addUpdateOnlyObject();
    }
}

void BenchModel::fillNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo* info) {
    describe(*doc, *info);
}

// The benchmarks register without an update or a file check: neither is offered.
int BenchDetailDocument::addAllDerivedObjects(bool, bool, bool, bool resetStatus) {
    if (m_derivedObjects.isEmpty()) {
        TevDerivedObject* obj =
            factory().createDetailObject(this, m_key.m_id, TevString(u"D") + decimal(m_key.m_id));
        if (resetStatus) {
            obj->setStatus(TevDerDocEnums::eStatusOk);
        }
        if (!addDerivedObject(obj, false)) {
            factory().disposeObject(obj, m_model);
        }
    }
    setHasUpdReq(m_key.m_id % kUpdateEvery == 0);
    m_model->checkDerivedObjects(this, true, true);
    return m_derivedObjects.length();
}

void BenchDetailDocument::fillOldInfo(TevDerivedDocumentInfo* info) {
    describe(*this, *info);
}

void BenchDetailDocument::addUpdateOnlyObject() {
    if (!hasUpdReq()) {
        return;
    }
    const TevString handle = TevString(u"U") + decimal(m_key.m_id);
    int index = 0;
    if (getIndexOf(handle, index) != 0) {
        return;
    }
    TevDerivedObject* obj = factory().createDetailObject(this, m_key.m_id, handle);
    obj->setUpdOnlyObject();
    obj->setHasUpdReq(true);
    if (!addDerivedObject(obj, false)) {
        factory().disposeObject(obj, m_model);
    }
}

} // namespace lumbench
