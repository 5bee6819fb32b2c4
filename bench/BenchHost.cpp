#include "BenchHost.h"

#include "BenchWorkload.h"

namespace lumbench {

const char16_t kModelFolder[] = u"lum-bench-no-such-folder";

namespace {

TevString text(const std::u16string& units) {
    return TevString(units.c_str());
}

// Detail drawings carry a drawing number and prefix; the other kinds' infos stay empty.
void describe(const TevDerivedDocument& doc, TevDerivedDocumentInfo& info) {
    const TevDerivedDocKey key = doc.getKey();
    if (key.m_type == TevDerDocEnums::eDocTypeDetail) {
        info.setDwgNo(text(drawingNumberOf(key.m_id)), text(drawingPrefixOf(key.m_id)));
    }
}

} // namespace

void BenchFactory::disposeObject(TevDerivedObject*& obj, TevDerivedDocumentsModel*) {
    delete obj;
    obj = nullptr;
}

void BenchFactory::disposeDocument(TevDerivedDocument*& doc, TevDerivedDocumentsModel*) {
    delete doc;
    doc = nullptr;
}

TevDerivedDocument* BenchFactory::createBomDocument(TevDerivedDocumentsModel* model,
                                                    const StructProjReport& report, int dstv) {
    return new BenchBomDocument(model, report, dstv);
}

TevDerivedDocument* BenchFactory::createNCDocument(TevDerivedDocumentsModel* model,
                                                   const TevString& path,
                                                   TevDerDocEnums::eDocSubType subType,
                                                   const TevString& ncName, bool ncFlag) {
    return new BenchNCDocument(model, path, subType, ncName, ncFlag);
}

TevDerivedDocument* BenchFactory::createDetailDocument(TevDerivedDocumentsModel* model,
                                                       std::int64_t id, const TevString& path) {
    return new BenchDetailDocument(model, id, path, *this);
}

TevDerivedObject* BenchFactory::createBomObject(TevDerivedDocument* doc, const TevString& handle) {
    return new BenchBomObject(doc, handle);
}

TevDerivedObject* BenchFactory::createNCObject(TevDerivedDocument* doc) {
    return new BenchNCObject(doc);
}

TevDerivedObject* BenchFactory::createDetailObject(TevDerivedDocument* doc, std::int64_t id,
                                                   const TevString& handle) {
    return new BenchDetailObject(doc, id, handle);
}

int BenchReportManager::withdrawReport(const StructProjReport&) {
    return 1;
}

int BenchReportManager::isDstvReport(const StructProjReport& report) {
    return report.m_number % 2 == 0 ? 1 : 0;
}

int BenchReportManager::getModelExtract(StructProjModelExtract& extract) {
    extract.m_name = u"Extract";
    return 1;
}

BenchModel::BenchModel(BenchFactory& factory)
    : TevDerivedDocumentsModel(TevString(kModelFolder))
    , m_factory(factory) {}

TevReportManager* BenchModel::getReportManager() {
    return &m_reportManager;
}

void BenchModel::addUpdOnlyDerivedObjects(TevDerivedDocument* doc, bool, bool) {
    if (auto* detail = dynamic_cast<BenchDetailDocument*>(doc)) {
        detail->addUpdateOnlyObject();
    }
}

void BenchModel::checkDerivedObjects(TevDerivedDocument*, bool, bool) {}

TevDerDocEnums::ErrorStatus BenchModel::getNewUpdate(TevDerivedObject*, bool) {
    return TevDerDocEnums::eStatusOk;
}

// Objects that require an update describe themselves all the same (fillOldInfo).
int BenchModel::fillNewInfo(TevDerivedObject*, TevDerivedObjectInfo*) {
    return 0;
}

void BenchModel::fillNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo* info) {
    describe(*doc, *info);
}

void BenchModel::refreshNewInfo(TevDerivedObject*, TevDerivedObjectInfo*,
                                TevDerDocEnums::eDerivedDocInfo) {}

void BenchModel::refreshNewInfo(TevDerivedDocument*, TevDerivedDocumentInfo*,
                                TevDerDocEnums::eDerivedDocInfo) {}

void BenchModel::derivedDocModified(TevDerDocEnums::ModificationState) {}

int BenchModel::isCommandActive(const TevString&) {
    return 0;
}

void BenchModel::prepareCheckHasUpdReq(TevDerDocEnums::eDocType) {}

void BenchModel::derivedDocRefreshed(TevDerivedDocument*) {}

void BenchModel::addDerivedBomDocs(bool, TevArray<TevDerivedDocument*>&) {}

void BenchModel::addDerivedNCDocs(bool, TevArray<TevDerivedDocument*>&) {}

void BenchModel::addDerivedDetailDocs(bool, TevArray<TevDerivedDocument*>&) {}

BenchDetailDocument::BenchDetailDocument(TevDerivedDocumentsModel* model, std::int64_t id,
                                         const TevString& path, BenchFactory& factory)
    : TevDerivedDocumentDetail(model, id, path)
    , m_factory(factory) {}

int BenchDetailDocument::addAllDerivedObjects(bool update, bool, bool checkFile, bool resetStatus) {
    if (checkFile && !hasDocFile()) {
        setObsolete();
        return 0;
    }
    if (m_derivedObjects.isEmpty()) {
        TevDerivedObject* obj =
            m_factory.createDetailObject(this, m_key.m_id, text(u"D" + decimal(m_key.m_id)));
        if (resetStatus) {
            obj->setStatus(TevDerDocEnums::eStatusOk);
        }
        adopt(obj);
    }
    setHasUpdReq(detailRequiresUpdate(m_key.m_id));
    if (update) {
        getUpdateAllDerObjs(false);
    } else {
        m_model->checkDerivedObjects(this, true, true);
    }
    return m_derivedObjects.length();
}

TevDerDocEnums::ErrorStatus
BenchDetailDocument::updateDerivedObject(int&, const TevString&, TevDerDocEnums::ObjectModification,
                                         bool, bool, bool) {
    return TevDerDocEnums::eStatusOk;
}

void BenchDetailDocument::fillOldInfo(TevDerivedDocumentInfo* info) {
    describe(*this, *info);
}

void BenchDetailDocument::refreshOldInfo(TevDerivedDocumentInfo*, TevDerDocEnums::eDerivedDocInfo) {
}

void BenchDetailDocument::addUpdateOnlyObject() {
    if (!hasUpdReq()) {
        return;
    }
    const TevString handle = text(u"U" + decimal(m_key.m_id));
    int index = 0;
    if (getIndexOf(handle, index) != 0) {
        return;
    }
    TevDerivedObject* obj = m_factory.createDetailObject(this, m_key.m_id, handle);
    obj->setUpdOnlyObject();
    obj->setHasUpdReq(true);
    adopt(obj);
}

void BenchDetailDocument::adopt(TevDerivedObject* obj) {
    if (!addDerivedObject(obj, false)) {
        m_factory.disposeObject(obj, m_model);
    }
}

void BenchDetailObject::fillOldInfo(TevDerivedObjectInfo* info) {
    info->setTitle(getHandle());
}

void BenchBomObject::fillOldInfo(TevDerivedObjectInfo* info) {
    info->setTitle(getDerivedDoc()->getFileName());
}

void BenchNCObject::fillOldInfo(TevDerivedObjectInfo* info) {
    info->setTitle(getDerivedDoc()->getFileName());
}

} // namespace lumbench
