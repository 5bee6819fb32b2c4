// Test support: a host as the library sees it — factory, report manager, model
// subclass, and concrete documents and objects of the three kinds. Every call the
// library makes into the host is recorded in one CallLog, creations and disposals are
// counted, and tests script the answers. Disposing of something the factory did not
// create or already disposed of fails the running test.
#ifndef LUM_TEST_FAKE_HOST_H
#define LUM_TEST_FAKE_HOST_H

#include "LumDerivedDocumentsBase.h"
#include "TestSupport.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace lumtest {

using E = TevDerDocEnums;

inline std::string text(const TevString& value) {
    return value.toUtf8();
}
// The texts as a list.
TevArray<TevString> listOf(std::initializer_list<TevString> texts);
// Flags as a row of digits: "1" for each set, "0" for each clear one.
std::string flags(std::initializer_list<bool> values);
// The items, separated by `separator`.
std::string joined(const std::vector<std::string>& items, const char* separator = " ");
// A document is named by its file name in the log, an object by its label (FakeObject).
std::string nameOf(const TevDerivedDocument* doc);
std::string nameOf(const TevDerivedObject* obj);

// Calls into the host, in order, as readable lines such as "checkDerivedObjects(A1.dwg,11)".
class CallLog {
public:
    // Records `call`, then runs the action of when() if the call is its trigger.
    void add(std::string call);
    // Records "name(a,b,...)": texts as they are, numbers and flags as digits, documents
    // and objects by name.
    template <class First, class... Rest>
    void add(const char* name, const First& first, const Rest&... rest) {
        add(std::string(name) + "(" + (piece(first) + ... + ("," + piece(rest))) + ")");
    }
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
    // One argument of a logged call, as text.
    static std::string piece(const std::string& value) { return value; }
    static std::string piece(const char* value) { return value; }
    static std::string piece(const TevString& value) { return text(value); }
    static std::string piece(long long value) { return std::to_string(value); }
    static std::string piece(const TevDerivedDocument* doc) { return nameOf(doc); }
    static std::string piece(const TevDerivedObject* obj) { return nameOf(obj); }

    std::vector<std::string> m_calls;
    std::string m_trigger;
    std::function<void()> m_action;
};

class FakeFactory;

// What every fake object adds to its kind: a label for the log, and the host's
// fillOldInfo, which writes "old:<label>" as title.
struct Labelled {
    virtual ~Labelled() = default;
    std::string label;
};

template <class Kind>
class FakeObject : public Kind, public Labelled {
public:
    template <class... Args>
    FakeObject(CallLog& log, std::string name, Args&&... args)
        : Kind(std::forward<Args>(args)...)
        , m_log(log) {
        label = std::move(name);
    }
    void fillOldInfo(TevDerivedObjectInfo* info) override {
        m_log.add("fillOldInfo", label);
        info->setTitle(TevString(("old:" + label).c_str()));
    }

private:
    CallLog& m_log;
};

using FakeBomObject = FakeObject<TevDerivedObjectBom>;
using FakeDetailObject = FakeObject<TevDerivedObjectDetail>;
using FakeNCObject = FakeObject<TevDerivedObjectNC>;

// Scripted behaviour shared by the fake documents.
struct DocumentScript {
    // addAllDerivedObjects of every kind: when set, answers *addAll instead of the default
    // (a detail adds one detail object with its id when it has none and answers the count).
    const int* addAll = nullptr;
    E::ErrorStatus updateResult = E::eStatusOk;
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
    E::ErrorStatus updateDerivedObject(int& out, const TevString& handle, E::ObjectModification mod,
                                       bool msgWas4, bool flag, bool msgWas13) override {
        m_log.add("updateDerivedObject", this, handle, mod, flags({msgWas4, flag, msgWas13}));
        ++out;
        return script.updateResult;
    }
    void fillOldInfo(TevDerivedDocumentInfo* info) override {
        m_log.add("fillOldInfo", this);
        info->setDwgNo(u"old", u"");
    }
    void refreshOldInfo(TevDerivedDocumentInfo* info, E::eDerivedDocInfo what) override {
        m_log.add("refreshOldInfo", this, what);
        info->setDwgNo(u"refreshed", u"");
    }
    bool checkDocumentStatus() override { return script.checkDocumentStatus; }
    void beginGetUpdateAllDerObjs() override { m_log.add("beginGetUpdateAllDerObjs", this); }
    void endGetUpdateAllDerObjs() override { m_log.add("endGetUpdateAllDerObjs", this); }
    int deregistFromModel() override {
        m_log.add("deregistFromModel", this);
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

    int withdrawReport(const StructProjReport& report) override {
        m_log.add("withdrawReport", report.m_number, report.m_filePath);
        return withdrawResult;
    }
    int isDstvReport(const StructProjReport& report) override {
        m_log.add("isDstvReport", report.m_number);
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

    void disposeObject(TevDerivedObject*& obj, TevDerivedDocumentsModel* model) override;
    void disposeDocument(TevDerivedDocument*& doc, TevDerivedDocumentsModel* model) override;
    TevDerivedDocument* createBomDocument(TevDerivedDocumentsModel* model,
                                          const StructProjReport& report, int dstv) override {
        m_log.add("createBomDocument", report.m_number, report.m_filePath, dstv);
        return makeDocument<FakeBomDocument>(model, report, dstv);
    }
    TevDerivedDocument* createNCDocument(TevDerivedDocumentsModel* model, const TevString& path,
                                         E::eDocSubType subType, const TevString& ncName,
                                         bool ncFlag) override {
        m_log.add("createNCDocument", path, subType, ncName, ncFlag);
        return makeDocument<FakeNCDocument>(model, path, subType, ncName, ncFlag);
    }
    TevDerivedDocument* createDetailDocument(TevDerivedDocumentsModel* model, std::int64_t id,
                                             const TevString& path) override {
        m_log.add("createDetailDocument", id, path);
        return makeDocument<FakeDetailDocument>(model, id, path);
    }
    TevDerivedObject* createBomObject(TevDerivedDocument* doc, const TevString& handle) override {
        m_log.add("createBomObject", doc, handle);
        return nullObjects ? nullptr : makeObject<FakeBomObject>(nameOf(doc) + ":bom", doc, handle);
    }
    TevDerivedObject* createNCObject(TevDerivedDocument* doc) override {
        m_log.add("createNCObject", doc);
        return nullObjects ? nullptr : makeObject<FakeNCObject>(nameOf(doc) + ":nc", doc);
    }

    // A detail object that the host makes itself, counted like the factory's own; labelled
    // by its handle, or "detail<id>" without one.
    FakeDetailObject* makeDetailObject(TevDerivedDocument* doc, std::int64_t id,
                                       const TevString& handle, std::string label = "") {
        if (label.empty()) {
            label = handle.isEmpty() ? "detail" + std::to_string(id) : text(handle);
        }
        return makeObject<FakeDetailObject>(label, doc, id, handle);
    }

    // Script: create operations answer null; the script given to every new document.
    bool nullDocuments = false;
    TevDerivedDocument* handBack = nullptr; // the next detail document created, if set
    bool nullObjects = false;
    bool leaveReferences = false; // disposals leave the caller's pointer as it was
    DocumentScript documentScript;

    std::size_t liveDocuments() const { return m_documents.size(); }
    std::size_t liveObjects() const { return m_objects.size(); }
    bool isLive(const TevDerivedObject* obj) const { return m_objects.count(obj) != 0; }

private:
    // Answers handBack, null or a new Document of `args`.
    template <class Document, class... Args>
    TevDerivedDocument* makeDocument(Args&&... args);
    template <class Object, class... Args>
    Object* makeObject(std::string label, Args&&... args) {
        auto* obj = new Object(m_log, std::move(label), std::forward<Args>(args)...);
        m_objects.insert(obj);
        return obj;
    }

    CallLog& m_log;
    std::set<const TevDerivedDocument*> m_documents;
    std::set<const TevDerivedObject*> m_objects;
};

class FakeModel : public TevDerivedDocumentsModel {
    using Docs = TevArray<TevDerivedDocument*>;
    using Info = E::eDerivedDocInfo;

public:
    FakeModel(CallLog& log, const TevString& path, TevReportManager* manager)
        : TevDerivedDocumentsModel(path)
        , reportManager(manager)
        , m_log(log) {}

    TevReportManager* getReportManager() override {
        m_log.add("getReportManager");
        return reportManager;
    }
    void addUpdOnlyDerivedObjects(TevDerivedDocument* doc, bool flag1, bool flag2) override {
        m_log.add("model.addUpdOnlyDerivedObjects", doc, flags({flag1, flag2}));
        if (addUpdOnly) {
            addUpdOnly(doc);
        }
    }
    void checkDerivedObjects(TevDerivedDocument* d, bool f1, bool f2) override {
        m_log.add("checkDerivedObjects", d, flags({f1, f2}));
    }
    E::ErrorStatus getNewUpdate(TevDerivedObject* obj, bool flag) override {
        m_log.add("getNewUpdate", obj, flag);
        return newUpdate;
    }
    E::ErrorStatus newUpdate = E::eStatusOk;
    int fillNewInfo(TevDerivedObject* obj, TevDerivedObjectInfo* info) override {
        m_log.add("fillNewInfo", obj);
        if (objectFillAnswer != 0) {
            info->setTitle(TevString(("new:" + nameOf(obj)).c_str()));
        }
        return objectFillAnswer;
    }
    int objectFillAnswer = 1; // nonzero: the object's new info is filled, "new:<label>"
    void fillNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo* info) override {
        m_log.add("fillNewInfo", "doc " + nameOf(doc));
        info->setDwgNo(u"new", u"");
    }
    void refreshNewInfo(TevDerivedObject* o, TevDerivedObjectInfo*, Info what) override {
        m_log.add("refreshNewInfo", o, what);
    }
    void refreshNewInfo(TevDerivedDocument* d, TevDerivedDocumentInfo*, Info what) override {
        m_log.add("refreshNewInfo", "doc " + nameOf(d), what);
    }
    void derivedDocModified(E::ModificationState s) override { m_log.add("derivedDocModified", s); }
    int isCommandActive(const TevString& fullFileName) override {
        m_log.add("isCommandActive", fullFileName);
        return commandActive;
    }
    void beginCheckDerivedObjects() override { m_log.add("beginCheckDerivedObjects"); }
    void endCheckDerivedObjects() override { m_log.add("endCheckDerivedObjects"); }
    void prepareCheckHasUpdReq(E::eDocType t) override { m_log.add("prepareCheckHasUpdReq", t); }
    void derivedDocRefreshed(TevDerivedDocument* d) override {
        m_log.add("derivedDocRefreshed", d);
    }
    void disableAndDeleteCache() override {
        m_log.add("disableAndDeleteCache");
        TevDerivedDocumentsModel::disableAndDeleteCache();
    }
    void addDerivedBomDocs(bool check, Docs&) override { m_log.add("addDerivedBomDocs", check); }
    void addDerivedNCDocs(bool check, Docs&) override { m_log.add("addDerivedNCDocs", check); }
    void addDerivedDetailDocs(bool check, Docs&) override {
        m_log.add("addDerivedDetailDocs", check);
    }

    // Script.
    TevReportManager* reportManager;
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
    ~FakeHost();

    FakeModel& model() { return *m_model; }
    // The registered documents' names, in registry order.
    std::string registered() const;
    // Destroys the model now (the balance is still checked at the end).
    void destroyModel() { m_model.reset(); }

    FakeDetailDocument* addDetail(std::int64_t id, const char* path, bool update = false,
                                  bool checkFile = false, bool resetStatus = false) {
        return dynamic_cast<FakeDetailDocument*>(
            m_model->addDetailDoc(id, path, update, checkFile, resetStatus));
    }
    FakeBomDocument* addBom(int number, const char* path, bool update = false,
                            bool checkFile = false, bool resetStatus = false) {
        return dynamic_cast<FakeBomDocument*>(
            m_model->addBomDoc({number, u"", path}, update, checkFile, resetStatus));
    }
    FakeNCDocument* addNC(const char* path, E::eDocSubType subType, const char* ncName, bool ncFlag,
                          bool update = false, bool checkFile = false, bool resetStatus = false) {
        return dynamic_cast<FakeNCDocument*>(
            m_model->addNCDoc(path, subType, ncName, ncFlag, update, checkFile, resetStatus));
    }
    // Adds to `doc` a detail object the host made itself, with the handle "H<id>" unless
    // one is given (an empty one labels it "detail<id>").
    FakeDetailObject* addObject(TevDerivedDocument* doc, std::int64_t id,
                                const char16_t* handle = nullptr, bool updOnly = false,
                                bool check = false, const char* label = "");

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
    DetailDocumentTest() {
        folder.createFile("Details/A1.dwg");
        host.log.clear();
    }
    ~DetailDocumentTest() override { EXPECT_EQ(recorder.texts(), std::vector<std::string>{}); }

    ScopedAssertionRecorder recorder;
    TempFolder folder;
    FakeHost host{folder.appPath()};
    FakeDetailDocument* doc = host.addDetail(11, "..\\Details\\A1.dwg");
    FakeDetailObject* obj = dynamic_cast<FakeDetailObject*>(doc->objects()[0]);
};

template <class Document, class... Args>
TevDerivedDocument* FakeFactory::makeDocument(Args&&... args) {
    if (handBack != nullptr) {
        return std::exchange(handBack, nullptr);
    }
    if (nullDocuments) {
        return nullptr;
    }
    auto* doc = new Document(m_log, *this, std::forward<Args>(args)...);
    doc->script = documentScript;
    m_documents.insert(doc);
    return doc;
}

} // namespace lumtest

#endif // LUM_TEST_FAKE_HOST_H
