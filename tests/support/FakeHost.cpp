#include "FakeHost.h"

#include "TevDerivedObjectInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace lumtest {
std::string flags(std::initializer_list<bool> values) {
    std::string out;
    for (const bool value : values) {
        out += value ? '1' : '0';
    }
    return out;
}

void CallLog::add(std::string call) {
    m_calls.push_back(std::move(call));
    if (m_action && m_calls.back().rfind(m_trigger, 0) == 0) {
        const std::function<void()> action = std::move(m_action);
        m_action = nullptr;
        action();
    }
}

std::vector<std::string> CallLog::calls(std::initializer_list<const char*> ignored) const {
    std::vector<std::string> kept;
    for (const std::string& call : m_calls) {
        bool skip = false;
        for (const char* prefix : ignored) {
            skip = skip || call.rfind(prefix, 0) == 0;
        }
        if (!skip) {
            kept.push_back(call);
        }
    }
    return kept;
}

std::vector<std::string> CallLog::only(const std::string& prefix) const {
    std::vector<std::string> kept;
    for (const std::string& call : m_calls) {
        if (call.rfind(prefix, 0) == 0) {
            kept.push_back(call);
        }
    }
    return kept;
}

std::string text(const TevString& value) {
    return value.toUtf8();
}

std::string joined(const std::vector<std::string>& items, const char* separator) {
    std::string out;
    for (const std::string& item : items) {
        out += (&item == &items[0] ? "" : separator) + item;
    }
    return out;
}

std::string nameOf(const TevDerivedDocument* doc) {
    return doc != nullptr ? text(doc->getFileName()) : "null";
}

std::string nameOf(const TevDerivedObject* obj) {
    const auto* fake = dynamic_cast<const FakeObjectMixin*>(obj);
    return fake != nullptr ? fake->label() : "null";
}

void FakeObjectMixin::fillOld(TevDerivedObjectInfo* info) {
    m_log.add("fillOldInfo(" + m_label + ")");
    info->setTitle(TevString(("old:" + m_label).c_str()));
}

template class FakeObject<TevDerivedObjectBom>;
template class FakeObject<TevDerivedObjectDetail>;
template class FakeObject<TevDerivedObjectNC>;

template <class Kind>
int FakeDocument<Kind>::addAllDerivedObjects(bool update, bool already, bool checkFile,
                                             bool resetStatus) {
    m_log.add("addAllDerivedObjects(" + nameOf(this) + "," +
              flags({update, already, checkFile, resetStatus}) + ")");
    if (script.addAll) {
        return script.addAll(*this, update, already, checkFile, resetStatus);
    }
    if constexpr (std::is_same_v<Kind, TevDerivedDocumentDetail>) {
        if (this->m_derivedObjects.isEmpty()) {
            const std::int64_t id = this->m_key.m_id;
            TevString handle;
            handle.format(u"H%d", static_cast<int>(id));
            TevDerivedObject* obj = m_factory.makeDetailObject(this, id, handle);
            if (!this->addDerivedObject(obj, false)) {
                m_factory.disposeObject(obj, this->getModel()); // refused: still ours
            }
        }
        return this->m_derivedObjects.length();
    } else {
        return Kind::addAllDerivedObjects(update, already, checkFile, resetStatus);
    }
}

template <class Kind>
TevDerDocEnums::ErrorStatus
FakeDocument<Kind>::updateDerivedObject(int& out, const TevString& handle,
                                        TevDerDocEnums::ObjectModification mod, bool msgWas4,
                                        bool flag, bool msgWas13) {
    m_log.add("updateDerivedObject(" + nameOf(this) + "," + text(handle) + "," +
              std::to_string(mod) + "," + flags({msgWas4, flag, msgWas13}) + ")");
    ++out;
    return script.updateResult;
}

template class FakeDocument<TevDerivedDocumentBom>;
template class FakeDocument<TevDerivedDocumentDetail>;
template class FakeDocument<TevDerivedDocumentNC>;

int FakeReportManager::getModelExtract(StructProjModelExtract& extract) {
    m_log.add("getModelExtract(" + std::to_string(extract.m_number) + ")");
    for (const StructProjModelExtract& known : extracts) {
        if (known.m_number == extract.m_number) {
            extract.m_name = known.m_name;
            return foundExtractAnswer;
        }
    }
    return 0;
}

void FakeFactory::disposeObject(TevDerivedObject*& obj, TevDerivedDocumentsModel*) {
    m_log.add("disposeObject(" + nameOf(obj) + ")");
    if (m_objects.erase(obj) == 0) {
        ADD_FAILURE() << ("disposeObject of an object the factory does not hold: " + nameOf(obj));
        return;
    }
    delete obj;
    obj = leaveReferences ? obj : nullptr;
}

void FakeFactory::disposeDocument(TevDerivedDocument*& doc, TevDerivedDocumentsModel*) {
    m_log.add("disposeDocument(" + nameOf(doc) + ")");
    if (m_documents.erase(doc) == 0) {
        ADD_FAILURE() << ("disposeDocument of a document the factory does not hold");
        return;
    }
    delete doc;
    doc = leaveReferences ? doc : nullptr;
}

template <class Document, class... Args>
TevDerivedDocument* FakeFactory::makeDocument(const std::string& call, Args&&... args) {
    m_log.add(call);
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

template <class Object, class... Args>
Object* FakeFactory::makeObject(std::string label, Args&&... args) {
    auto* obj = new Object(m_log, std::move(label), std::forward<Args>(args)...);
    m_objects.insert(obj);
    return obj;
}

TevDerivedDocument* FakeFactory::createBomDocument(TevDerivedDocumentsModel* model,
                                                   const StructProjReport& report, int dstv) {
    return makeDocument<FakeBomDocument>("createBomDocument(" + std::to_string(report.m_number) +
                                             "," + text(report.m_filePath) + "," +
                                             std::to_string(dstv) + ")",
                                         model, report, dstv);
}

TevDerivedDocument* FakeFactory::createNCDocument(TevDerivedDocumentsModel* model,
                                                  const TevString& path,
                                                  TevDerDocEnums::eDocSubType subType,
                                                  const TevString& ncName, bool ncFlag) {
    return makeDocument<FakeNCDocument>("createNCDocument(" + text(path) + "," +
                                            std::to_string(subType) + "," + text(ncName) + "," +
                                            flags({ncFlag}) + ")",
                                        model, path, subType, ncName, ncFlag);
}

TevDerivedDocument* FakeFactory::createDetailDocument(TevDerivedDocumentsModel* model,
                                                      std::int64_t id, const TevString& path) {
    return makeDocument<FakeDetailDocument>(
        "createDetailDocument(" + std::to_string(id) + "," + text(path) + ")", model, id, path);
}

TevDerivedObject* FakeFactory::createBomObject(TevDerivedDocument* doc, const TevString& handle) {
    m_log.add("createBomObject(" + nameOf(doc) + "," + text(handle) + ")");
    return nullObjects ? nullptr : makeObject<FakeBomObject>(nameOf(doc) + ":bom", doc, handle);
}

TevDerivedObject* FakeFactory::createNCObject(TevDerivedDocument* doc) {
    m_log.add("createNCObject(" + nameOf(doc) + ")");
    return nullObjects ? nullptr : makeObject<FakeNCObject>(nameOf(doc) + ":nc", doc);
}

FakeDetailObject* FakeFactory::makeDetailObject(TevDerivedDocument* doc, std::int64_t id,
                                                const TevString& handle, std::string label) {
    if (label.empty()) {
        label = handle.isEmpty() ? "detail" + std::to_string(id) : text(handle);
    }
    return makeObject<FakeDetailObject>(label, doc, id, handle);
}

FakeModel::FakeModel(CallLog& log, const TevString& path, TevReportManager* manager)
    : TevDerivedDocumentsModel(path)
    , reportManager(manager)
    , m_log(log) {}

void FakeModel::addUpdOnlyDerivedObjects(TevDerivedDocument* doc, bool flag1, bool flag2) {
    m_log.add("model.addUpdOnlyDerivedObjects(" + nameOf(doc) + "," + flags({flag1, flag2}) + ")");
    if (addUpdOnly) {
        addUpdOnly(doc);
    }
}

int FakeModel::fillNewInfo(TevDerivedObject* obj, TevDerivedObjectInfo* info) {
    m_log.add("fillNewInfo(" + nameOf(obj) + ")");
    if (objectFillAnswer != 0) {
        info->setTitle(TevString(("new:" + nameOf(obj)).c_str()));
    }
    return objectFillAnswer;
}

FakeHost::FakeHost(const TevString& pathToDerDocs)
    : m_model(std::make_unique<FakeModel>(log, pathToDerDocs, &reportManager)) {
    TevDerivedDocumentsModel::setFactory(&factory);
}

FakeHost::~FakeHost() {
    m_model.reset();
    TevDerivedDocumentsModel::setFactory(nullptr);
    EXPECT_EQ(factory.liveDocuments(), 0U) << "documents created but never disposed of";
    EXPECT_EQ(factory.liveObjects(), 0U) << "objects created but never disposed of";
}

std::string FakeHost::registered() const {
    TevArray<TevDerivedDocument*> docs;
    m_model->getDerivedDocs(docs);
    std::vector<std::string> names;
    for (const TevDerivedDocument* doc : docs) {
        names.push_back(nameOf(doc));
    }
    return joined(names);
}

FakeDetailDocument* FakeHost::addDetail(std::int64_t id, const char* path, bool update,
                                        bool checkFile, bool resetStatus) {
    return dynamic_cast<FakeDetailDocument*>(
        m_model->addDetailDoc(id, path, update, checkFile, resetStatus));
}

FakeBomDocument* FakeHost::addBom(int number, const char* path, bool update, bool checkFile,
                                  bool resetStatus) {
    StructProjReport report;
    report.m_number = number;
    report.m_filePath = path;
    return dynamic_cast<FakeBomDocument*>(
        m_model->addBomDoc(report, update, checkFile, resetStatus));
}

FakeNCDocument* FakeHost::addNC(const char* path, TevDerDocEnums::eDocSubType subType,
                                const char* ncName, bool ncFlag, bool update, bool checkFile,
                                bool resetStatus) {
    return dynamic_cast<FakeNCDocument*>(
        m_model->addNCDoc(path, subType, ncName, ncFlag, update, checkFile, resetStatus));
}

DetailDocumentTest::DetailDocumentTest() {
    folder.createFile("Details/A1.dwg");
    host.log.clear();
}

DetailDocumentTest::~DetailDocumentTest() {
    EXPECT_EQ(recorder.texts(), std::vector<std::string>{});
}

FakeDetailObject* DetailDocumentTest::add(std::int64_t id, const char16_t* handle, bool updOnly,
                                          bool check, const char* label) {
    const TevString given =
        handle != nullptr ? TevString(handle) : TevString(("H" + std::to_string(id)).c_str());
    FakeDetailObject* obj = host.factory.makeDetailObject(doc, id, given, label);
    if (updOnly) {
        obj->setUpdOnlyObject();
    }
    doc->addDerivedObject(obj, check);
    return obj;
}

} // namespace lumtest
