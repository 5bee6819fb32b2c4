// The benchmark's host, on the public interface only and all in memory: documents and
// objects of the three kinds, a factory, a report manager and a model subclass, doing
// the least work a host can and never touching the disk. Documents come in blocks of
// twenty: nine details, a BOM and a DSTV list, nine NC files; every tenth detail
// requires an update and holds an update-only object too, the rest hold one object.
#ifndef LUM_BENCH_BENCH_HOST_H
#define LUM_BENCH_BENCH_HOST_H

#include "LumDerivedDocumentsBase.h"

#include <cstdint>
#include <vector>

namespace lumbench {

// The host's part of every document: it regenerates nothing and refreshes nothing. A
// list or an NC file describes nothing either; the library's kind adds its one object.
template <class Kind>
class BenchDocument : public Kind {
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

// A detail drawing: adds its detail object (handle "D<id>") when it has none, then
// takes its update requirement, which lets the model add the update-only object. Its
// info holds a drawing number and prefix.
class BenchDetailDocument final : public BenchDocument<TevDerivedDocumentDetail> {
public:
    using BenchDocument::BenchDocument;

    int addAllDerivedObjects(bool update, bool alreadyRegistered, bool checkFile,
                             bool resetStatus) override;
    void fillOldInfo(TevDerivedDocumentInfo* info) override;
    // While the drawing requires an update: its update-only object, added once.
    void addUpdateOnlyObject();
};

// Every object's info holds a title: its handle, or its document's file name.
template <class Kind>
class BenchObject final : public Kind {
public:
    using Kind::Kind;

    void fillOldInfo(TevDerivedObjectInfo* info) override {
        info->setTitle(this->getHandle().isEmpty() ? this->getDerivedDoc()->getFileName()
                                                   : this->getHandle());
    }
};

class BenchFactory final : public TevDerivedDocumentsFactory {
public:
    using Model = TevDerivedDocumentsModel;

    void disposeObject(TevDerivedObject*& obj, Model*) override { release(obj); }
    void disposeDocument(TevDerivedDocument*& doc, Model*) override { release(doc); }
    TevDerivedDocument* createBomDocument(Model* model, const StructProjReport& report,
                                          int dstv) override {
        return new BenchDocument<TevDerivedDocumentBom>(model, report, dstv);
    }
    TevDerivedDocument* createNCDocument(Model* model, const TevString& path,
                                         TevDerDocEnums::eDocSubType subType,
                                         const TevString& ncName, bool ncFlag) override {
        return new BenchDocument<TevDerivedDocumentNC>(model, path, subType, ncName, ncFlag);
    }
    TevDerivedDocument* createDetailDocument(Model* model, std::int64_t id,
                                             const TevString& path) override {
        return new BenchDetailDocument(model, id, path);
    }
    TevDerivedObject* createBomObject(TevDerivedDocument* doc, const TevString& handle) override {
        return new BenchObject<TevDerivedObjectBom>(doc, handle);
    }
    TevDerivedObject* createNCObject(TevDerivedDocument* doc) override {
        return new BenchObject<TevDerivedObjectNC>(doc);
    }
    // Detail objects are the host's own: its detail documents create them.
    TevDerivedObject* createDetailObject(TevDerivedDocument* doc, std::int64_t id,
                                         const TevString& handle) {
        return new BenchObject<TevDerivedObjectDetail>(doc, id, handle);
    }

private:
    template <class Disposed>
    static void release(Disposed*& disposed) {
        delete disposed;
        disposed = nullptr;
    }
};

// The factory of the process, installed by main.
BenchFactory& factory();

// Knows every report: none is ever withdrawn for good, even-numbered reports are DSTV
// lists, and every model extract exists.
class BenchReportManager final : public TevReportManager {
public:
    int withdrawReport(const StructProjReport&) override { return 1; }
    int isDstvReport(const StructProjReport& report) override { return report.m_number % 2 == 0; }
    int getModelExtract(StructProjModelExtract& extract) override {
        extract.m_name = u"Extract";
        return 1;
    }
};

// The benchmarks register the documents themselves through addDetailDoc, addBomDoc and
// addNCDoc, so the host's own registration operations add nothing. Objects that
// require an update describe themselves all the same (fillOldInfo).
class BenchModel final : public TevDerivedDocumentsModel {
public:
    using Info = TevDerDocEnums::eDerivedDocInfo;

    BenchModel();
    // Resets the documents while this subclass's overrides still exist.
    ~BenchModel() override;

    TevReportManager* getReportManager() override { return &m_reportManager; }
    void addUpdOnlyDerivedObjects(TevDerivedDocument* doc, bool, bool) override;
    void checkDerivedObjects(TevDerivedDocument*, bool, bool) override {}
    TevDerDocEnums::ErrorStatus getNewUpdate(TevDerivedObject*, bool) override {
        return TevDerDocEnums::eStatusOk;
    }
    int fillNewInfo(TevDerivedObject*, TevDerivedObjectInfo*) override { return 0; }
    void fillNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo* info) override;
    void refreshNewInfo(TevDerivedObject*, TevDerivedObjectInfo*, Info) override {}
    void refreshNewInfo(TevDerivedDocument*, TevDerivedDocumentInfo*, Info) override {}
    void derivedDocModified(TevDerDocEnums::ModificationState) override {}
    int isCommandActive(const TevString&) override { return 0; }
    void prepareCheckHasUpdReq(TevDerDocEnums::eDocType) override {}
    void derivedDocRefreshed(TevDerivedDocument*) override {}
    void addDerivedBomDocs(bool, TevArray<TevDerivedDocument*>&) override {}
    void addDerivedNCDocs(bool, TevArray<TevDerivedDocument*>&) override {}
    void addDerivedDetailDocs(bool, TevArray<TevDerivedDocument*>&) override {}

private:
    BenchReportManager m_reportManager;
};

// One document of the workload, its texts made beforehand.
struct Record {
    TevDerDocEnums::eDocType type = TevDerDocEnums::eDocTypeDetail;
    std::int64_t id = 0; // details: the detail id; lists: the report number
    TevString path;
    TevDerDocEnums::eDocSubType subType = TevDerDocEnums::eDocSubTypeNone; // NC files
    TevString ncName;
    StructProjReport report; // lists
};

// The records of a model of `documents` documents, made once per size.
const std::vector<Record>& records(int documents);
// Registers `record` as a host does: no update, no file check, statuses reset.
TevDerivedDocument* registerRecord(TevDerivedDocumentsModel& model, const Record& record);
// The document the factory makes for `record`, as registering it does.
TevDerivedDocument* createDocument(TevDerivedDocumentsModel& model, const Record& record);

} // namespace lumbench

#endif // LUM_BENCH_BENCH_HOST_H
