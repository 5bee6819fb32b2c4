// The three things this host plugs into the library: the factory that creates and
// deletes its documents and objects, its report manager, and its model subclass,
// which reads the folder's manifest and answers the library's questions from it.
#ifndef LUM_REFERENCE_HOST_HOST_MODEL_H
#define LUM_REFERENCE_HOST_HOST_MODEL_H

#include "Manifest.h"

#include "LumDerivedDocumentsBase.h"

#include <ostream>
#include <string>
#include <vector>

// The status this host gives an object whose document still has its ".upd" file:
// the document must be regenerated. A host may define statuses beyond the library's;
// the document manager shows this one as 1.
constexpr TevDerDocEnums::ErrorStatus kStatusNeedsUpdate =
    static_cast<TevDerDocEnums::ErrorStatus>(1);

// Creates every document and object of this host and deletes what the library hands
// back; nothing else in the host creates or deletes them.
class HostFactory final : public TevDerivedDocumentsFactory {
public:
    HostFactory() = default;
    HostFactory(const HostFactory&) = delete;
    HostFactory& operator=(const HostFactory&) = delete;

    void disposeObject(TevDerivedObject*& obj, TevDerivedDocumentsModel* model) override;
    void disposeDocument(TevDerivedDocument*& doc, TevDerivedDocumentsModel* model) override;
    TevDerivedDocument* createBomDocument(TevDerivedDocumentsModel* model,
                                          const StructProjReport& report, int dstv) override;
    TevDerivedDocument* createNCDocument(TevDerivedDocumentsModel* model, const TevString& path,
                                         TevDerDocEnums::eDocSubType subType,
                                         const TevString& ncName, bool ncFlag) override;
    TevDerivedDocument* createDetailDocument(TevDerivedDocumentsModel* model, std::int64_t id,
                                             const TevString& path) override;
    TevDerivedObject* createBomObject(TevDerivedDocument* doc, const TevString& handle) override;
    TevDerivedObject* createNCObject(TevDerivedDocument* doc) override;

    // Detail objects are the host's own: its detail documents create them here.
    TevDerivedObject* createDetailObject(TevDerivedDocument* doc, std::int64_t id,
                                         const TevString& handle);
};

// The host's list of report definitions, made from the manifest's BOM and DSTV lists,
// and its model extracts.
class HostReportManager final : public TevReportManager {
public:
    explicit HostReportManager(const Manifest& manifest);
    HostReportManager(const HostReportManager&) = delete;
    HostReportManager& operator=(const HostReportManager&) = delete;

    // The reports still in the list.
    const std::vector<StructProjReport>& reports() const { return m_reports; }

    int withdrawReport(const StructProjReport& report) override;
    int isDstvReport(const StructProjReport& report) override;
    int getModelExtract(StructProjModelExtract& extract) override;

private:
    const Manifest& m_manifest;
    std::vector<StructProjReport> m_reports;
};

class HostModel final : public TevDerivedDocumentsModel {
public:
    // The model of the derived-documents folder `folder`: reads its manifest, whose
    // problems are reported on `errors`. No document is registered yet.
    HostModel(const std::string& folder, std::ostream& errors);
    // Resets the documents while this subclass still exists: disposing of them calls
    // back into it (the factory reports every deleted object to objectDisposed), which
    // the library's destructor, running after this one, could no longer do.
    ~HostModel() override;

    const Manifest& manifest() const { return m_manifest; }
    // True once a document announced that it became obsolete (a BOM or DSTV list
    // does, before it withdraws its report).
    bool documentsChanged() const { return m_documentsChanged; }
    // Called by the factory before `obj` is deleted.
    void objectDisposed(TevDerivedObject* obj);
    // Records the renamed file of `doc` in the manifest; false, with the reason on
    // `errors`, when that fails.
    bool recordNewFileName(const TevDerivedDocument& doc, const std::string& newFileName,
                           std::ostream& errors);

    TevReportManager* getReportManager() override;
    void addUpdOnlyDerivedObjects(TevDerivedDocument* doc, bool flag1, bool flag2) override;
    void checkDerivedObjects(TevDerivedDocument* doc, bool flag1, bool flag2) override;
    TevDerDocEnums::ErrorStatus getNewUpdate(TevDerivedObject* obj, bool flag) override;
    int fillNewInfo(TevDerivedObject* obj, TevDerivedObjectInfo* info) override;
    void fillNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo* info) override;
    void refreshNewInfo(TevDerivedObject* obj, TevDerivedObjectInfo* info,
                        TevDerDocEnums::eDerivedDocInfo what) override;
    void refreshNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo* info,
                        TevDerDocEnums::eDerivedDocInfo what) override;
    void derivedDocModified(TevDerDocEnums::ModificationState state) override;
    int isCommandActive(const TevString& fullFileName) override;
    void prepareCheckHasUpdReq(TevDerDocEnums::eDocType type) override;
    void derivedDocRefreshed(TevDerivedDocument* doc) override;
    // Every kind is registered the same way: its objects updated when the caller asks
    // (`check`), no file check, so that a document whose file is gone stays registered
    // and shows as missing, and the statuses of new objects reset.
    void addDerivedBomDocs(bool check, TevArray<TevDerivedDocument*>& docs) override;
    void addDerivedNCDocs(bool check, TevArray<TevDerivedDocument*>& docs) override;
    void addDerivedDetailDocs(bool check, TevArray<TevDerivedDocument*>& docs) override;

private:
    // True the first time for `type`: its documents are then registered once, until
    // the library drops them (resetDerivedDocs clears the flag).
    bool startRegistering(TevDerDocEnums::eDocType type);

    Manifest m_manifest;
    HostReportManager m_reportManager;
    bool m_documentsChanged = false;
};

#endif // LUM_REFERENCE_HOST_HOST_MODEL_H
