// The smallest host, built with nothing but pkg-config's flags against a release archive
// (tests/package/check-package.sh): it installs a factory, registers one NC document in
// a model of its own without touching the disk, prints the document's row and shuts
// down in the documented order. Its output is tests/package/pkgconfig-host.expected.
#include "LumDerivedDocumentsBase.h"

#include <cstdint>
#include <iostream>
#include <memory>

namespace {

using Model = TevDerivedDocumentsModel;
using Info = TevDerDocEnums::eDerivedDocInfo;

// An NC file that regenerates nothing and describes nothing; its kind adds the object.
class NcFile final : public TevDerivedDocumentNC {
public:
    using TevDerivedDocumentNC::TevDerivedDocumentNC;

    TevDerDocEnums::ErrorStatus updateDerivedObject(int&, const TevString&,
                                                    TevDerDocEnums::ObjectModification, bool, bool,
                                                    bool) override {
        return TevDerDocEnums::eStatusOk;
    }
    void fillOldInfo(TevDerivedDocumentInfo*) override {}
    void refreshOldInfo(TevDerivedDocumentInfo*, Info) override {}
};

// The NC file's object; its info's title is what the row shows.
class NcOutput final : public TevDerivedObjectNC {
public:
    using TevDerivedObjectNC::TevDerivedObjectNC;

    void fillOldInfo(TevDerivedObjectInfo* info) override { info->setTitle(u"Plate P1"); }
};

// Makes NC files only; every document and object comes back here to be deleted.
class Factory final : public TevDerivedDocumentsFactory {
public:
    void disposeObject(TevDerivedObject*& obj, Model*) override { dispose(obj); }
    void disposeDocument(TevDerivedDocument*& doc, Model*) override { dispose(doc); }
    TevDerivedDocument* createBomDocument(Model*, const StructProjReport&, int) override {
        return nullptr;
    }
    TevDerivedDocument* createNCDocument(Model* model, const TevString& path,
                                         TevDerDocEnums::eDocSubType subType,
                                         const TevString& ncName, bool ncFlag) override {
        return std::make_unique<NcFile>(model, path, subType, ncName, ncFlag).release();
    }
    TevDerivedDocument* createDetailDocument(Model*, std::int64_t, const TevString&) override {
        return nullptr;
    }
    TevDerivedObject* createBomObject(TevDerivedDocument*, const TevString&) override {
        return nullptr;
    }
    TevDerivedObject* createNCObject(TevDerivedDocument* doc) override {
        return std::make_unique<NcOutput>(doc).release();
    }

private:
    template <class Disposed>
    static void dispose(Disposed*& disposed) {
        std::unique_ptr<Disposed> owner(disposed);
        disposed = nullptr;
    }
};

// A model whose documents are registered by main, not by the library's queries.
class HostModel final : public Model {
public:
    HostModel()
        : Model(u"C:\\Model\\DerivedDocs") {}
    // The documents go while this subclass's overrides still exist.
    ~HostModel() override { resetDerivedDocs(TevDerDocEnums::eDocTypeAll); }

    TevReportManager* getReportManager() override { return nullptr; }
    void addUpdOnlyDerivedObjects(TevDerivedDocument*, bool, bool) override {}
    void checkDerivedObjects(TevDerivedDocument*, bool, bool) override {}
    TevDerDocEnums::ErrorStatus getNewUpdate(TevDerivedObject*, bool) override {
        return TevDerDocEnums::eStatusOk;
    }
    int fillNewInfo(TevDerivedObject*, TevDerivedObjectInfo*) override { return 0; }
    void fillNewInfo(TevDerivedDocument*, TevDerivedDocumentInfo*) override {}
    void refreshNewInfo(TevDerivedObject*, TevDerivedObjectInfo*, Info) override {}
    void refreshNewInfo(TevDerivedDocument*, TevDerivedDocumentInfo*, Info) override {}
    void derivedDocModified(TevDerDocEnums::ModificationState) override {}
    int isCommandActive(const TevString&) override { return 0; }
    void prepareCheckHasUpdReq(TevDerDocEnums::eDocType) override {}
    void derivedDocRefreshed(TevDerivedDocument*) override {}
    void addDerivedBomDocs(bool, TevArray<TevDerivedDocument*>&) override {}
    void addDerivedNCDocs(bool, TevArray<TevDerivedDocument*>&) override {}
    void addDerivedDetailDocs(bool, TevArray<TevDerivedDocument*>&) override {}
};

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;

// Registers NC\Plates\P1.nc (no update, no file check, status reset) and prints the
// registry's size and the document's row.
int showOneDocument(HostModel& model) {
    TevDerivedDocument* doc = model.addNCDoc(
        u"NC\\Plates\\P1.nc", TevDerDocEnums::eDocSubTypeNCNamed, u"P1", false, false, false, true);
    if (doc == nullptr) {
        std::cout << "pkgconfig-host: the document was refused\n";
        return kExitFailed;
    }
    TevArray<TevDerivedDocument*> docs;
    model.getDerivedDocs(docs);
    TevArray<TevDocManObject> rows;
    model.setDocManObjects(&rows);
    doc->addDocManObjects(&rows);
    std::cout << "documents: " << docs.length() << "\nrows: " << rows.length() << '\n';
    for (const TevDocManObject& row : rows) {
        std::cout << "row: " << (row.m_path + row.m_fileName).toUtf8() << " | "
                  << row.m_ncName.toUtf8() << " | " << row.m_title.toUtf8() << '\n';
    }
    model.setDocManObjects(nullptr); // Detach the table before it goes.
    return kExitOk;
}

} // namespace

int main() {
    Factory factory;
    Model::setFactory(&factory);
    int status = kExitOk;
    {
        HostModel model;
        status = showOneDocument(model);
    } // The model resets its documents through the still-installed factory...
    Model::setFactory(nullptr); // ...which is uninstalled only then.
    std::cout << "shut down\n";
    return status;
}
