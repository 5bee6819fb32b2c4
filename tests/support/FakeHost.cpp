#include "FakeHost.h"

#include <algorithm>
#include <iterator>

namespace lumtest {

TevArray<TevString> listOf(std::initializer_list<TevString> texts) {
    TevArray<TevString> list;
    for (const TevString& text : texts) {
        list.append(text);
    }
    return list;
}

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
        if (std::none_of(ignored.begin(), ignored.end(),
                         [&call](const char* prefix) { return call.rfind(prefix, 0) == 0; })) {
            kept.push_back(call);
        }
    }
    return kept;
}

std::vector<std::string> CallLog::only(const std::string& prefix) const {
    std::vector<std::string> kept;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(kept),
                 [&prefix](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    return kept;
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
    const auto* fake = dynamic_cast<const Labelled*>(obj);
    return fake != nullptr ? fake->label : "null";
}

template <class Kind>
int FakeDocument<Kind>::addAllDerivedObjects(bool update, bool already, bool checkFile,
                                             bool resetStatus) {
    m_log.add("addAllDerivedObjects", this, flags({update, already, checkFile, resetStatus}));
    if (script.addAll != nullptr) {
        return *script.addAll;
    }
    if constexpr (std::is_same_v<Kind, TevDerivedDocumentDetail>) {
        if (this->m_derivedObjects.isEmpty()) {
            const std::int64_t id = this->m_key.m_id;
            TevDerivedObject* obj =
                m_factory.makeDetailObject(this, id, TevString(("H" + std::to_string(id)).c_str()));
            if (!this->addDerivedObject(obj, false)) {
                m_factory.disposeObject(obj, this->getModel()); // refused: still ours
            }
        }
        return this->m_derivedObjects.length();
    } else {
        return Kind::addAllDerivedObjects(update, already, checkFile, resetStatus);
    }
}

template class FakeDocument<TevDerivedDocumentBom>;
template class FakeDocument<TevDerivedDocumentDetail>;
template class FakeDocument<TevDerivedDocumentNC>;

int FakeReportManager::getModelExtract(StructProjModelExtract& extract) {
    m_log.add("getModelExtract", extract.m_number);
    for (const StructProjModelExtract& known : extracts) {
        if (known.m_number == extract.m_number) {
            extract.m_name = known.m_name;
            return foundExtractAnswer;
        }
    }
    return 0;
}

void FakeFactory::disposeObject(TevDerivedObject*& obj, TevDerivedDocumentsModel*) {
    m_log.add("disposeObject", obj);
    if (m_objects.erase(obj) == 0) {
        ADD_FAILURE() << ("disposeObject of an object the factory does not hold: " + nameOf(obj));
        return;
    }
    delete obj;
    obj = leaveReferences ? obj : nullptr;
}

void FakeFactory::disposeDocument(TevDerivedDocument*& doc, TevDerivedDocumentsModel*) {
    m_log.add("disposeDocument", doc);
    if (m_documents.erase(doc) == 0) {
        ADD_FAILURE() << ("disposeDocument of a document the factory does not hold");
        return;
    }
    delete doc;
    doc = leaveReferences ? doc : nullptr;
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

FakeDetailObject* FakeHost::addObject(TevDerivedDocument* doc, std::int64_t id,
                                      const char16_t* handle, bool updOnly, bool check,
                                      const char* label) {
    const TevString given =
        handle != nullptr ? TevString(handle) : TevString(("H" + std::to_string(id)).c_str());
    FakeDetailObject* obj = factory.makeDetailObject(doc, id, given, label);
    if (updOnly) {
        obj->setUpdOnlyObject();
    }
    doc->addDerivedObject(obj, check);
    return obj;
}

} // namespace lumtest
