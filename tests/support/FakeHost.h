// Test support: a host as the library sees it — factory, report manager, model
// subclass, and concrete documents and objects of the three kinds. Every call the
// library makes into the host is recorded in one CallLog, creations and disposals are
// counted, and tests script the answers. Disposing of something the factory did not
// create or already disposed of fails the running test.
#ifndef LUM_TEST_FAKE_HOST_H
#define LUM_TEST_FAKE_HOST_H

#include "TestSupport.h"
#include "TevDerivedDocumentBom.h"
#include "TevDerivedDocumentDetail.h"
#include "TevDerivedDocumentInfo.h"
#include "TevDerivedDocumentNC.h"
#include "TevDerivedDocumentsModel.h"
#include "TevDerivedObjectBom.h"
#include "TevDerivedObjectDetail.h"
#include "TevDerivedObjectNC.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace lumtest {

// Calls into the host, in order, as readable lines such as "checkDerivedObjects(A1.dwg)".
class CallLog {
public:
    // Records `call`, then runs the action of when() if the call is its trigger.
    void add(std::string call);
    // Runs `action` once, from inside the first host call recorded after this whose text
    // starts with `trigger`: the host calls back into the library from its callback.
    void when(std::string trigger, std::function<void()> action) {
        m_trigger = std::move(trigger);
        m_action = std::move(action);
    }
    void clear() { m_calls.clear(); }
    // The calls, without those whose name starts with one of `ignored`.
    std::vector<std::string> calls(std::initializer_list<const char*> ignored = {}) const;
    // The calls whose name starts with `prefix`.
    std::vector<std::string> only(const std::string& prefix) const;
    // calls(ignored), after which the log starts again.
    std::vector<std::string> take(std::initializer_list<const char*> ignored = {}) {
        std::vector<std::string> kept = calls(ignored);
        clear();
        return kept;
    }

private:
    std::vector<std::string> m_calls;
    std::string m_trigger;
    std::function<void()> m_action;
};

std::string text(const TevString& value);
// Flags as a row of digits: "1" for each set, "0" for each clear one.
std::string flags(std::initializer_list<bool> values);
// The items, separated by `separator`.
std::string joined(const std::vector<std::string>& items, const char* separator = " ");
// A document is named by its file name in the log.
std::string nameOf(const TevDerivedDocument* doc);
// An object is named by its label (see FakeObject).
std::string nameOf(const TevDerivedObject* obj);

class FakeFactory;
class FakeModel;

// What every fake object adds to its kind: a label for the log, and the host's
// fillOldInfo, which writes "old:<label>" as title.
class FakeObjectMixin {
public:
    FakeObjectMixin(CallLog& log, std::string label)
        : m_log(log)
        , m_label(std::move(label)) {}
    virtual ~FakeObjectMixin() = default;
    const std::string& label() const { return m_label; }

protected:
    void fillOld(TevDerivedObjectInfo* info);

    CallLog& m_log;
    std::string m_label;
};

template <class Kind>
class FakeObject : public Kind, public FakeObjectMixin {
public:
    template <class... Args>
    FakeObject(CallLog& log, std::string label, Args&&... args)
        : Kind(std::forward<Args>(args)...)
        , FakeObjectMixin(log, std::move(label)) {}

    void fillOldInfo(TevDerivedObjectInfo* info) override { fillOld(info); }
};

using FakeBomObject = FakeObject<TevDerivedObjectBom>;
using FakeDetailObject = FakeObject<TevDerivedObjectDetail>;
using FakeNCObject = FakeObject<TevDerivedObjectNC>;

// Scripted behaviour shared by the fake documents.
struct DocumentScript {
    // addAllDerivedObjects of a detail: when set, answers instead of the default (add
    // one detail object with the document's id when there is none, answer the count).
    std::function<int(TevDerivedDocument&, bool update, bool already, bool checkFile,
                      bool resetStatus)>
        addAll;
    TevDerDocEnums::ErrorStatus updateResult = TevDerDocEnums::eStatusOk;
    bool checkDocumentStatus = true;
};

// What every fake document adds to its kind: the host's update, info fill and hooks,
// all recorded.
template <class Kind>
class FakeDocument : public Kind {
public:
    template <class... Args>
    FakeDocument(CallLog& log, FakeFactory& factory, Args&&... args)
        : Kind(std::forward<Args>(args)...)
        , m_log(log)
        , m_factory(factory) {}

    int addAllDerivedObjects(bool update, bool already, bool checkFile, bool resetStatus) override;
    TevDerDocEnums::ErrorStatus updateDerivedObject(int& out, const TevString& handle,
                                                    TevDerDocEnums::ObjectModification mod,
                                                    bool msgWas4, bool flag,
                                                    bool msgWas13) override;
    void fillOldInfo(TevDerivedDocumentInfo* info) override {
        m_log.add("fillOldInfo(" + nameOf(this) + ")");
        info->setDwgNo(u"old", u"");
    }
    void refreshOldInfo(TevDerivedDocumentInfo* info,
                        TevDerDocEnums::eDerivedDocInfo what) override {
        m_log.add("refreshOldInfo(" + nameOf(this) + "," + std::to_string(what) + ")");
        info->setDwgNo(u"refreshed", u"");
    }
    void beginGetUpdateAllDerObjs() override {
        m_log.add("beginGetUpdateAllDerObjs(" + nameOf(this) + ")");
    }
    void endGetUpdateAllDerObjs() override {
        m_log.add("endGetUpdateAllDerObjs(" + nameOf(this) + ")");
    }
    bool checkDocumentStatus() override { return script.checkDocumentStatus; }
    int deregistFromModel() override {
        m_log.add("deregistFromModel(" + nameOf(this) + ")");
        return Kind::deregistFromModel();
    }

    DocumentScript script;

    // The list and protected operations, for tests.
    const TevArray<TevDerivedObject*>& objects() const { return this->m_derivedObjects; }
    const TevDerivedDocumentInfo* cachedInfo() const { return this->m_info; }

private:
    CallLog& m_log;
    FakeFactory& m_factory;
};

using FakeBomDocument = FakeDocument<TevDerivedDocumentBom>;
using FakeDetailDocument = FakeDocument<TevDerivedDocumentDetail>;
using FakeNCDocument = FakeDocument<TevDerivedDocumentNC>;

class FakeReportManager final : public TevReportManager {
public:
    explicit FakeReportManager(CallLog& log)
        : m_log(log) {}
    ~FakeReportManager() = default;

    int withdrawReport(const StructProjReport& report) override {
        m_log.add("withdrawReport(" + std::to_string(report.m_number) + "," +
                  text(report.m_filePath) + ")");
        return withdrawResult;
    }
    int isDstvReport(const StructProjReport& report) override {
        m_log.add("isDstvReport(" + std::to_string(report.m_number) + ")");
        return dstvReports.count(report.m_number) != 0 ? 1 : 0;
    }
    int getModelExtract(StructProjModelExtract& extract) override;

    int withdrawResult = 1;
    int foundExtractAnswer = 1; // answer of getModelExtract for a known number
    std::set<int> dstvReports;  // report numbers answered as DSTV lists
    std::vector<StructProjModelExtract> extracts;

private:
    CallLog& m_log;
};

class FakeFactory final : public TevDerivedDocumentsFactory {
public:
    explicit FakeFactory(CallLog& log)
        : m_log(log) {}
    ~FakeFactory() = default;

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

    // A detail object that the host makes itself, counted like the factory's own.
    FakeDetailObject* makeDetailObject(TevDerivedDocument* doc, std::int64_t id,
                                       const TevString& handle, std::string label = "");

    // Script: create operations answer null; the script given to every new document.
    bool nullDocuments = false;
    TevDerivedDocument* handBack = nullptr; // the next detail document created, if set
    bool nullObjects = false;
    bool leaveReferences = false; // disposals leave the caller's pointer as it was
    DocumentScript documentScript;

    std::size_t liveDocuments() const { return m_documents.size(); }
    std::size_t liveObjects() const { return m_objects.size(); }
    bool isLive(const TevDerivedObject* obj) const { return m_objects.count(obj) != 0; }
    bool isLive(const TevDerivedDocument* doc) const { return m_documents.count(doc) != 0; }

private:
    // Logs `call`, then answers handBack, null or a new Document of `args`.
    template <class Document, class... Args>
    TevDerivedDocument* makeDocument(const std::string& call, Args&&... args);
    template <class Object, class... Args>
    Object* makeObject(std::string label, Args&&... args);

    CallLog& m_log;
    std::set<const TevDerivedDocument*> m_documents;
    std::set<const TevDerivedObject*> m_objects;
};

class FakeModel : public TevDerivedDocumentsModel {
public:
    FakeModel(CallLog& log, const TevString& path, TevReportManager* reportManager);
    ~FakeModel() override = default;

    TevReportManager* getReportManager() override {
        m_log.add("getReportManager");
        return reportManager;
    }
    void addUpdOnlyDerivedObjects(TevDerivedDocument* doc, bool flag1, bool flag2) override;
    void checkDerivedObjects(TevDerivedDocument* doc, bool flag1, bool flag2) override {
        m_log.add("checkDerivedObjects(" + nameOf(doc) + "," + flags({flag1, flag2}) + ")");
    }
    TevDerDocEnums::ErrorStatus getNewUpdate(TevDerivedObject* obj, bool flag) override {
        m_log.add("getNewUpdate(" + nameOf(obj) + "," + flags({flag}) + ")");
        return newUpdate;
    }
    int fillNewInfo(TevDerivedObject* obj, TevDerivedObjectInfo* info) override;
    void fillNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo* info) override {
        m_log.add("fillNewInfo(doc " + nameOf(doc) + ")");
        info->setDwgNo(u"new", u"");
    }
    void refreshNewInfo(TevDerivedObject* obj, TevDerivedObjectInfo*,
                        TevDerDocEnums::eDerivedDocInfo what) override {
        m_log.add("refreshNewInfo(" + nameOf(obj) + "," + std::to_string(what) + ")");
    }
    void refreshNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo*,
                        TevDerDocEnums::eDerivedDocInfo what) override {
        m_log.add("refreshNewInfo(doc " + nameOf(doc) + "," + std::to_string(what) + ")");
    }
    void derivedDocModified(TevDerDocEnums::ModificationState state) override {
        m_log.add("derivedDocModified(" + std::to_string(state) + ")");
    }
    int isCommandActive(const TevString& fullFileName) override {
        m_log.add("isCommandActive(" + text(fullFileName) + ")");
        return commandActive;
    }
    void beginCheckDerivedObjects() override { m_log.add("beginCheckDerivedObjects"); }
    void endCheckDerivedObjects() override { m_log.add("endCheckDerivedObjects"); }
    void prepareCheckHasUpdReq(TevDerDocEnums::eDocType type) override {
        m_log.add("prepareCheckHasUpdReq(" + std::to_string(type) + ")");
    }
    void derivedDocRefreshed(TevDerivedDocument* doc) override {
        m_log.add("derivedDocRefreshed(" + nameOf(doc) + ")");
    }
    void disableAndDeleteCache() override {
        m_log.add("disableAndDeleteCache");
        TevDerivedDocumentsModel::disableAndDeleteCache();
    }
    void addDerivedBomDocs(bool check, TevArray<TevDerivedDocument*>&) override {
        m_log.add("addDerivedBomDocs(" + flags({check}) + ")");
    }
    void addDerivedNCDocs(bool check, TevArray<TevDerivedDocument*>&) override {
        m_log.add("addDerivedNCDocs(" + flags({check}) + ")");
    }
    void addDerivedDetailDocs(bool check, TevArray<TevDerivedDocument*>&) override {
        m_log.add("addDerivedDetailDocs(" + flags({check}) + ")");
    }

    // Script.
    TevReportManager* reportManager;
    TevDerDocEnums::ErrorStatus newUpdate = TevDerDocEnums::eStatusOk;
    int objectFillAnswer = 1; // fillNewInfo for objects; nonzero writes "new:<label>"
    int commandActive = 0;
    std::function<void(TevDerivedDocument*)> addUpdOnly;

    // Protected members and operations made reachable for tests.
    using TevDerivedDocumentsModel::derivedObjectDeleted;
    using TevDerivedDocumentsModel::m_derDocsCachedA;
    using TevDerivedDocumentsModel::m_derDocsCachedB;
    using TevDerivedDocumentsModel::m_detailsCacheList;
    using TevDerivedDocumentsModel::m_detailsCacheTable1;
    using TevDerivedDocumentsModel::m_detailsCacheTable2;
    using TevDerivedDocumentsModel::m_detailsCacheTable3;
    using TevDerivedDocumentsModel::m_detailsCacheValid;

private:
    CallLog& m_log;
};

// One host: installs its factory for the test and, when it ends, destroys the model
// and checks that every document and object created was disposed of exactly once.
class FakeHost {
public:
    explicit FakeHost(const TevString& pathToDerDocs = u"C:\\Model\\DerDocs");
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;
    ~FakeHost();

    FakeModel& model() { return *m_model; }
    // The registered documents' names, in registry order.
    std::string registered() const;
    // Destroys the model now (the balance is still checked at the end).
    void destroyModel() { m_model.reset(); }

    FakeDetailDocument* addDetail(std::int64_t id, const char* path, bool update = false,
                                  bool checkFile = false, bool resetStatus = false);
    FakeBomDocument* addBom(int number, const char* path, bool update = false,
                            bool checkFile = false, bool resetStatus = false);
    FakeNCDocument* addNC(const char* path, TevDerDocEnums::eDocSubType subType, const char* ncName,
                          bool ncFlag, bool update = false, bool checkFile = false,
                          bool resetStatus = false);

    CallLog log;
    FakeReportManager reportManager{log};
    FakeFactory factory{log};

private:
    std::unique_ptr<FakeModel> m_model;
};

// A test of the detail document "..\\Details\\A1.dwg" (id 11) in a scratch folder where its
// file exists, holding its one object "H11"; the log starts empty. Every assertion the
// library reports is recorded, and the test fails on one it did not take.
class DetailDocumentTest : public testing::Test {
protected:
    DetailDocumentTest();
    ~DetailDocumentTest() override;
    // Adds the detail object the host made itself, with the handle "H<id>" unless one is
    // given (an empty one labels it "detail<id>").
    FakeDetailObject* add(std::int64_t id, const char16_t* handle = nullptr, bool updOnly = false,
                          bool check = false, const char* label = "");

    ScopedAssertionRecorder recorder;
    TempFolder folder;
    FakeHost host{folder.appPath()};
    FakeDetailDocument* doc = host.addDetail(11, "..\\Details\\A1.dwg");
    FakeDetailObject* obj = dynamic_cast<FakeDetailObject*>(doc->objects()[0]);
};

} // namespace lumtest

#endif // LUM_TEST_FAKE_HOST_H
