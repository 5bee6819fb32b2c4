#include "HostModel.h"

#include "HostDocuments.h"
#include "HostText.h"

#include <map>

namespace {

// The manifest record of the document listed under `kind` and `path` in the manifest
// of `model`; a document the manifest does not list gets an empty record.
const DocumentRecord& recordFor(TevDerivedDocumentsModel* model, RecordKind kind,
                                const TevString& path) {
    static const DocumentRecord kUnlisted;
    const auto* host = dynamic_cast<const HostModel*>(model);
    const DocumentRecord* record =
        host != nullptr ? host->manifest().find(kind, path.toUtf8()) : nullptr;
    return record != nullptr ? *record : kUnlisted;
}

} // namespace

void HostFactory::disposeObject(TevDerivedObject*& obj, TevDerivedDocumentsModel* model) {
    if (auto* host = dynamic_cast<HostModel*>(model)) {
        host->objectDisposed(obj);
    }
    delete obj;
    obj = nullptr;
}

void HostFactory::disposeDocument(TevDerivedDocument*& doc, TevDerivedDocumentsModel*) {
    delete doc;
    doc = nullptr;
}

TevDerivedDocument* HostFactory::createBomDocument(TevDerivedDocumentsModel* model,
                                                   const StructProjReport& report, int dstv) {
    const RecordKind kind = dstv != 0 ? RecordKind::Dstv : RecordKind::Bom;
    return new HostBomDocument(recordFor(model, kind, report.m_filePath), model, report, dstv);
}

TevDerivedDocument* HostFactory::createNCDocument(TevDerivedDocumentsModel* model,
                                                  const TevString& path,
                                                  TevDerDocEnums::eDocSubType subType,
                                                  const TevString& ncName, bool ncFlag) {
    return new HostNCDocument(recordFor(model, RecordKind::NC, path), model, path, subType, ncName,
                              ncFlag);
}

TevDerivedDocument* HostFactory::createDetailDocument(TevDerivedDocumentsModel* model,
                                                      std::int64_t id, const TevString& path) {
    return new HostDetailDocument(recordFor(model, RecordKind::Detail, path), *this, model, id,
                                  path);
}

TevDerivedObject* HostFactory::createBomObject(TevDerivedDocument* doc, const TevString& handle) {
    return new HostBomObject(doc, handle);
}

TevDerivedObject* HostFactory::createNCObject(TevDerivedDocument* doc) {
    return new HostNCObject(doc);
}

TevDerivedObject* HostFactory::createDetailObject(TevDerivedDocument* doc, std::int64_t id,
                                                  const TevString& handle) {
    return new HostDetailObject(doc, id, handle);
}

HostReportManager::HostReportManager(const Manifest& manifest)
    : m_manifest(manifest) {
    for (const DocumentRecord& record : manifest.documents()) {
        if (record.kind != RecordKind::Bom && record.kind != RecordKind::Dstv) {
            continue;
        }
        StructProjReport report;
        report.m_number = static_cast<int>(record.id);
        report.m_name = text(record.title);
        report.m_filePath = text(record.path);
        m_reports.push_back(report);
    }
}

// Report numbers are unique, so the number alone names the report.
int HostReportManager::withdrawReport(const StructProjReport& report) {
    for (auto it = m_reports.begin(); it != m_reports.end(); ++it) {
        if (it->m_number == report.m_number) {
            m_reports.erase(it);
            return 1;
        }
    }
    return 0;
}

int HostReportManager::isDstvReport(const StructProjReport& report) {
    const DocumentRecord* record = m_manifest.findReport(report.m_number);
    return record != nullptr && record->kind == RecordKind::Dstv ? 1 : 0;
}

int HostReportManager::getModelExtract(StructProjModelExtract& extract) {
    const ExtractRecord* known = m_manifest.findExtract(extract.m_number);
    if (known == nullptr) {
        return 0;
    }
    extract.m_name = text(known->name);
    return 1;
}

HostModel::HostModel(const std::string& folder, std::ostream& errors)
    : TevDerivedDocumentsModel(text(folder))
    , m_manifest(folder, errors)
    , m_reportManager(m_manifest) {}

HostModel::~HostModel() {
    resetDerivedDocs(TevDerDocEnums::eDocTypeAll);
}

void HostModel::objectDisposed(TevDerivedObject* obj) {
    derivedObjectDeleted(obj);
}

bool HostModel::recordNewFileName(const TevDerivedDocument& doc, const std::string& newFileName,
                                  std::ostream& errors) {
    const DocumentRecord* record = recordOf(&doc);
    if (record == nullptr || record->line == 0) {
        errors << m_manifest.fileName() << ": does not list " << doc.getFileName().toUtf8() << "\n";
        return false;
    }
    const std::size_t folderEnd = record->path.find_last_of('\\');
    const std::string folder =
        folderEnd == std::string::npos ? std::string() : record->path.substr(0, folderEnd + 1);
    return m_manifest.changePath(*record, folder + newFileName, errors);
}

TevReportManager* HostModel::getReportManager() {
    return &m_reportManager;
}

// Only detail drawings have pending objects: those the model will add at their next
// update.
void HostModel::addUpdOnlyDerivedObjects(TevDerivedDocument* doc, bool, bool) {
    if (auto* detail = dynamic_cast<HostDetailDocument*>(doc)) {
        detail->addPendingObjects();
    }
}

// Before the library updates objects or reads their info, every object follows its
// document: it requires an update exactly while the document does. Objects the
// library created since (the one object of a BOM or NC document) start without.
void HostModel::checkDerivedObjects(TevDerivedDocument* doc, bool, bool) {
    TevArray<TevDerivedObject*> objects;
    doc->getDerivedObjects(objects, TevDerDocEnums::eDocTypeAll);
    for (TevDerivedObject* obj : objects) {
        obj->setHasUpdReq(doc->hasUpdReq());
    }
}

TevDerDocEnums::ErrorStatus HostModel::getNewUpdate(TevDerivedObject* obj, bool) {
    const bool updateFileExists = tevFileExists(obj->getDerivedDoc()->getFullUpdFileName()) != 0;
    return updateFileExists ? kStatusNeedsUpdate : TevDerDocEnums::eStatusOk;
}

// The manifest is this host's model: the new info of a document that requires an
// update comes from its record, as does the info the documents fill themselves.
int HostModel::fillNewInfo(TevDerivedObject* obj, TevDerivedObjectInfo* info) {
    return describeObject(*obj, *info) ? 1 : 0;
}

void HostModel::fillNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo* info) {
    describeDocument(*doc, *info);
}

// An object's info is small: all of it is refreshed, whatever `what` asks for.
void HostModel::refreshNewInfo(TevDerivedObject* obj, TevDerivedObjectInfo* info,
                               TevDerDocEnums::eDerivedDocInfo) {
    info->reset();
    describeObject(*obj, *info);
}

void HostModel::refreshNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo* info,
                               TevDerDocEnums::eDerivedDocInfo what) {
    refreshDocument(*doc, *info, what);
}

void HostModel::derivedDocModified(TevDerDocEnums::ModificationState state) {
    if (state == TevDerDocEnums::eModificationObsolete) {
        m_documentsChanged = true;
    }
}

// This host runs no command of its own on a document file while the library works.
int HostModel::isCommandActive(const TevString&) {
    return 0;
}

// The check covers every document the manifest lists, registered or not yet.
void HostModel::prepareCheckHasUpdReq(TevDerDocEnums::eDocType type) {
    addDerivedDocs(type, false);
}

// This host shows documents only when a command prints them, after the library is
// done, so a refreshed document needs nothing redrawn here.
void HostModel::derivedDocRefreshed(TevDerivedDocument*) {}

bool HostModel::startRegistering(TevDerDocEnums::eDocType type) {
    if (m_derDocsCachedA[type]) {
        return false;
    }
    m_derDocsCachedA[type] = true;
    return true;
}

// BOM and DSTV lists come from the report manager's list, which the manifest filled.
void HostModel::addDerivedBomDocs(bool check, TevArray<TevDerivedDocument*>& docs) {
    if (!startRegistering(TevDerDocEnums::eDocTypeBom)) {
        return;
    }
    // A copy: a registration that checks files may withdraw reports from the list.
    const std::vector<StructProjReport> reports = m_reportManager.reports();
    for (const StructProjReport& report : reports) {
        if (TevDerivedDocument* doc = addBomDoc(report, check, false, true)) {
            docs.append(doc);
        }
    }
}

// The NC flag is not used by this host: every NC file is registered with it false.
void HostModel::addDerivedNCDocs(bool check, TevArray<TevDerivedDocument*>& docs) {
    if (!startRegistering(TevDerDocEnums::eDocTypeNC)) {
        return;
    }
    for (const DocumentRecord& record : m_manifest.documents()) {
        if (record.kind != RecordKind::NC) {
            continue;
        }
        TevDerivedDocument* doc = addNCDoc(text(record.path), record.ncSubType, text(record.ncName),
                                           false, check, false, true);
        if (doc != nullptr) {
            docs.append(doc);
        }
    }
}

// Details sharing a duplicate group in the manifest show equal parts: their objects
// form one duplicate group once all details are registered.
void HostModel::addDerivedDetailDocs(bool check, TevArray<TevDerivedDocument*>& docs) {
    if (!startRegistering(TevDerDocEnums::eDocTypeDetail)) {
        return;
    }
    std::map<std::string, TevArray<TevDerivedObject*>> groups;
    for (const DocumentRecord& record : m_manifest.documents()) {
        if (record.kind != RecordKind::Detail) {
            continue;
        }
        auto* doc = dynamic_cast<HostDetailDocument*>(
            addDetailDoc(record.id, text(record.path), check, false, true));
        if (doc == nullptr) {
            continue;
        }
        docs.append(doc);
        if (!record.group.empty() && doc->mainObject() != nullptr) {
            groups[record.group].append(doc->mainObject());
        }
    }
    for (const auto& group : groups) {
        appendDuplicateObjects(group.second);
    }
}
