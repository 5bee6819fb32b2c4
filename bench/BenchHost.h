// The benchmark's host: a factory, a report manager, a model subclass and documents and
// objects of the three kinds, all in memory. It answers every abstract operation with
// the least work a host can do, logs nothing and never touches the disk: documents are
// registered without file checks, and the model's folder does not exist, so the file
// checks the library makes on its own (refreshing rows) find nothing.
//
// What the host knows about its documents follows the workload's rules: every tenth
// detail drawing requires an update and then holds one update-only object besides its
// detail object; every second report is a DSTV list; a detail's drawing number and
// prefix come from its id.
#ifndef LUM_BENCH_BENCH_HOST_H
#define LUM_BENCH_BENCH_HOST_H

#include "LumDerivedDocumentsBase.h"

#include <cstdint>

namespace lumbench {

// The derived-documents folder of every benchmark model; it does not exist.
extern const char16_t kModelFolder[];

class BenchFactory final : public TevDerivedDocumentsFactory {
public:
    BenchFactory() = default;
    BenchFactory(const BenchFactory&) = delete;
    BenchFactory& operator=(const BenchFactory&) = delete;
    ~BenchFactory() = default;

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

    // Detail objects are the host's own: its detail documents and model create them.
    TevDerivedObject* createDetailObject(TevDerivedDocument* doc, std::int64_t id,
                                         const TevString& handle);
};

// Knows every report: none is ever withdrawn for good, even-numbered reports are DSTV
// lists, and every model extract exists.
class BenchReportManager final : public TevReportManager {
public:
    BenchReportManager() = default;
    BenchReportManager(const BenchReportManager&) = delete;
    BenchReportManager& operator=(const BenchReportManager&) = delete;
    ~BenchReportManager() = default;

    int withdrawReport(const StructProjReport& report) override;
    int isDstvReport(const StructProjReport& report) override;
    int getModelExtract(StructProjModelExtract& extract) override;
};

// The documents are registered by the workload itself through addDetailDoc, addBomDoc
// and addNCDoc, so the host's own registration operations have nothing left to add.
class BenchModel final : public TevDerivedDocumentsModel {
public:
    explicit BenchModel(BenchFactory& factory);

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
    void addDerivedBomDocs(bool check, TevArray<TevDerivedDocument*>& docs) override;
    void addDerivedNCDocs(bool check, TevArray<TevDerivedDocument*>& docs) override;
    void addDerivedDetailDocs(bool check, TevArray<TevDerivedDocument*>& docs) override;

private:
    BenchFactory& m_factory;
    BenchReportManager m_reportManager;
};

// A detail drawing: adds its detail object (handle "D<id>") when it has none, then
// takes its update requirement, which lets the model add the update-only object.
class BenchDetailDocument final : public TevDerivedDocumentDetail {
public:
    BenchDetailDocument(TevDerivedDocumentsModel* model, std::int64_t id, const TevString& path,
                        BenchFactory& factory);

    int addAllDerivedObjects(bool update, bool alreadyRegistered, bool checkFile,
                             bool resetStatus) override;
    TevDerDocEnums::ErrorStatus updateDerivedObject(int& out, const TevString& handle,
                                                    TevDerDocEnums::ObjectModification mod,
                                                    bool msgWas4, bool flag,
                                                    bool msgWas13) override;
    void fillOldInfo(TevDerivedDocumentInfo* info) override;
    void refreshOldInfo(TevDerivedDocumentInfo* info,
                        TevDerDocEnums::eDerivedDocInfo what) override;

    // While the drawing requires an update: its update-only object, added once.
    void addUpdateOnlyObject();

private:
    void adopt(TevDerivedObject* obj);

    BenchFactory& m_factory;
};

// A BOM or DSTV list, or an NC file: the library's kind adds the one object through
// the factory; the host regenerates nothing and describes nothing.
template <class Kind>
class BenchSingleObjectDocument final : public Kind {
public:
    using Kind::Kind;

    TevDerDocEnums::ErrorStatus updateDerivedObject(int&, const TevString&,
                                                    TevDerDocEnums::ObjectModification, bool, bool,
                                                    bool) override {
        return TevDerDocEnums::eStatusOk;
    }
    void fillOldInfo(TevDerivedDocumentInfo*) override {}
    void refreshOldInfo(TevDerivedDocumentInfo*, TevDerDocEnums::eDerivedDocInfo) override {}
};

using BenchBomDocument = BenchSingleObjectDocument<TevDerivedDocumentBom>;
using BenchNCDocument = BenchSingleObjectDocument<TevDerivedDocumentNC>;

// Every object's info holds a title: the handle of a detail object, the file name of
// the document otherwise.
class BenchDetailObject final : public TevDerivedObjectDetail {
public:
    BenchDetailObject(TevDerivedDocument* doc, std::int64_t id, const TevString& handle)
        : TevDerivedObjectDetail(doc, id, handle) {}
    void fillOldInfo(TevDerivedObjectInfo* info) override;
};

class BenchBomObject final : public TevDerivedObjectBom {
public:
    BenchBomObject(TevDerivedDocument* doc, const TevString& handle)
        : TevDerivedObjectBom(doc, handle) {}
    void fillOldInfo(TevDerivedObjectInfo* info) override;
};

class BenchNCObject final : public TevDerivedObjectNC {
public:
    explicit BenchNCObject(TevDerivedDocument* doc)
        : TevDerivedObjectNC(doc) {}
    void fillOldInfo(TevDerivedObjectInfo* info) override;
};

} // namespace lumbench

#endif // LUM_BENCH_BENCH_HOST_H
