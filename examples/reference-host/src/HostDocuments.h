// The host's documents and objects: the library's three document kinds and three
// object kinds, completed with what only the host knows. Each document keeps the
// manifest record it was registered from; its descriptive data comes from there.
//
// A document requires an update while its ".upd" file exists beside it
// (getFullUpdFileName). Regenerating a document rewrites its file and removes that
// update file.
#ifndef LUM_REFERENCE_HOST_HOST_DOCUMENTS_H
#define LUM_REFERENCE_HOST_HOST_DOCUMENTS_H

#include "Manifest.h"

#include "LumDerivedDocumentsBase.h"

#include <cstdint>
#include <utility>

class HostFactory;

// The part every document of this host has, whatever its kind: its manifest record,
// which recordOf finds through this base.
class ManifestDocument {
public:
    explicit ManifestDocument(const DocumentRecord& record)
        : m_record(record) {}
    ManifestDocument(const ManifestDocument&) = delete;
    ManifestDocument& operator=(const ManifestDocument&) = delete;
    virtual ~ManifestDocument() = default;

    const DocumentRecord& record() const { return m_record; }

private:
    const DocumentRecord& m_record; // Held by the model's manifest, which outlives its documents.
};

// The manifest record of `doc`; null for a document this host did not make.
const DocumentRecord* recordOf(const TevDerivedDocument* doc);

// Sets the update requirement of `doc`: whether its ".upd" file exists.
void readUpdateRequirement(TevDerivedDocument& doc);
// Writes the file of `doc` anew and removes its update file.
TevDerDocEnums::ErrorStatus regenerate(TevDerivedDocument& doc);

// Infos from the manifest record of their document: a document's drawing number,
// approval and revisions; an object's title, detail handle or model extract.
void describeDocument(const TevDerivedDocument& doc, TevDerivedDocumentInfo& info);
void refreshDocument(const TevDerivedDocument& doc, TevDerivedDocumentInfo& info,
                     TevDerDocEnums::eDerivedDocInfo what);
// False, with `info` untouched, when the object's document has no record.
bool describeObject(const TevDerivedObject& obj, TevDerivedObjectInfo& info);

// A document of this host: the library's kind `Kind`, built from the arguments that
// follow the record, completed with its manifest record, its regeneration and its info.
template <class Kind>
class HostDocument : public Kind, public ManifestDocument {
public:
    template <class... KindArguments>
    explicit HostDocument(const DocumentRecord& record, KindArguments&&... arguments)
        : Kind(std::forward<KindArguments>(arguments)...)
        , ManifestDocument(record) {}

    TevDerDocEnums::ErrorStatus updateDerivedObject(int&, const TevString&,
                                                    TevDerDocEnums::ObjectModification, bool, bool,
                                                    bool) override {
        return regenerate(*this);
    }
    void fillOldInfo(TevDerivedDocumentInfo* info) override { describeDocument(*this, *info); }
    void refreshOldInfo(TevDerivedDocumentInfo* info,
                        TevDerDocEnums::eDerivedDocInfo what) override {
        refreshDocument(*this, *info, what);
    }
};

class HostDetailDocument final : public HostDocument<TevDerivedDocumentDetail> {
public:
    HostDetailDocument(const DocumentRecord& record, HostFactory& factory,
                       TevDerivedDocumentsModel* model, std::int64_t id, const TevString& path)
        : HostDocument(record, model, id, path)
        , m_factory(factory) {}

    // Adds the object of the detail, reads the update requirement (which lets the
    // model add the pending objects) and updates or checks the objects.
    int addAllDerivedObjects(bool update, bool alreadyRegistered, bool checkFile,
                             bool resetStatus) override;

    // While the drawing requires an update, adds the pending objects of its record
    // that it does not hold yet, as update-only objects.
    void addPendingObjects();
    // The object that shows the detail itself; null before it is added.
    TevDerivedObject* mainObject() const;

private:
    TevString mainHandle() const;
    void adopt(TevDerivedObject* obj);

    HostFactory& m_factory;
};

// A BOM list, DSTV list or NC file: the library's kind adds the document's one object.
template <class Kind>
class HostSingleObjectDocument final : public HostDocument<Kind> {
public:
    using HostDocument<Kind>::HostDocument;

    // Reads the update requirement, then lets the library add the document's object.
    int addAllDerivedObjects(bool update, bool alreadyRegistered, bool checkFile,
                             bool resetStatus) override {
        readUpdateRequirement(*this);
        return Kind::addAllDerivedObjects(update, alreadyRegistered, checkFile, resetStatus);
    }
};

using HostBomDocument = HostSingleObjectDocument<TevDerivedDocumentBom>;
using HostNCDocument = HostSingleObjectDocument<TevDerivedDocumentNC>;

// An object of this host: the library's kind `Kind`, filling its info from its
// document's record.
template <class Kind>
class HostObject final : public Kind {
public:
    using Kind::Kind;
    void fillOldInfo(TevDerivedObjectInfo* info) override { describeObject(*this, *info); }
};

using HostDetailObject = HostObject<TevDerivedObjectDetail>;
using HostBomObject = HostObject<TevDerivedObjectBom>;
using HostNCObject = HostObject<TevDerivedObjectNC>;

#endif // LUM_REFERENCE_HOST_HOST_DOCUMENTS_H
