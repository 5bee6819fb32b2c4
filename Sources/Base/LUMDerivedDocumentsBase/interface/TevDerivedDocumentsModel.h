// The registry of the documents derived from one structural model, and the three
// things a host plugs into it: the process-wide factory that creates and disposes of
// documents and objects, the report manager, and the host's own model subclass, which
// implements the abstract operations through which the library asks the host for
// update states, descriptive data and the registration of documents.
//
// The order of every virtual operation below is part of the interface hosts compile
// against; reserved slots keep the positions of operations the library never calls.
//
// The host may call back into the library from any callback. What is disposed of leaves
// the registry, its document's list and the table first; a document or object asked to
// go during one of its own operations goes when that operation returns, which then
// answers failure (0 or eStatusFailed); a walk over the registry survives the loss of
// the document it visits. What the library cannot allow is reported through TevAssert:
//   "registry changed during a walk beyond the visited document"  another document came
//       or went during a walk; the walk ends (a reset of all goes on from the front).
//   "not disposed of already"       a second disposal of something on its way out.
//   "doc not registered yet"        the factory handed back a registered document.
//   "doc->getModel() == this"       the factory handed back another model's document.
//   "obj->getDerivedDoc() == this"  deleteDerivedObject was given another document's object.
//   "infos not asked for while they are built"  a callback of an info build asked for the
//       infos again; that request builds nothing, instead of recursing without end.
// The host's own duties: a model subclass resets its documents in its own destructor,
// while its overrides still exist; an attached table stays alive until it is detached.
#ifndef TEV_DERIVED_DOCUMENTS_MODEL_H
#define TEV_DERIVED_DOCUMENTS_MODEL_H

#include "LumDerivedDocumentsBaseExport.h"
#include "LumTable/TevDocManObject.h"
#include "QXNativeDataObjects/StructProjModelExtract.h"
#include "QXNativeDataObjects/StructProjReport.h"
#include "TevArray.h"
#include "TevDerDocEnums.h"
#include "TevDerivedDocKey.h"
#include "TevDerivedDwgNo.h"
#include "TevString.h"

#include <cstdint>

class TevDerivedDocument;
class TevDerivedDocumentInfo;
class TevDerivedDocumentsModel;
class TevDerivedObject;
class TevDerivedObjectDuplicateInfo;
class TevDerivedObjectInfo;

// Creates and disposes of the host's documents and objects. One factory is installed
// for the whole process with TevDerivedDocumentsModel::setFactory; the library never
// deletes it.
class LUMDERDOC_EXPORT TevDerivedDocumentsFactory {
public:
    // Deletes `obj`, whose rows are already out of the document-manager table.
    virtual void disposeObject(TevDerivedObject*& obj, TevDerivedDocumentsModel* model) = 0;
    // Deletes `doc`; its destructor disposes of its objects.
    virtual void disposeDocument(TevDerivedDocument*& doc, TevDerivedDocumentsModel* model) = 0;
    // A new BOM document built like TevDerivedDocumentBom(model, report, dstv).
    virtual TevDerivedDocument* createBomDocument(TevDerivedDocumentsModel* model,
                                                  const StructProjReport& report, int dstv) = 0;
    // A new NC document built like TevDerivedDocumentNC from the same arguments.
    virtual TevDerivedDocument* createNCDocument(TevDerivedDocumentsModel* model,
                                                 const TevString& path,
                                                 TevDerDocEnums::eDocSubType subType,
                                                 const TevString& ncName, bool ncFlag) = 0;
    // A new detail document built like TevDerivedDocumentDetail(model, id, path).
    virtual TevDerivedDocument* createDetailDocument(TevDerivedDocumentsModel* model,
                                                     std::int64_t id, const TevString& path) = 0;
    // Reserved slot; never called by the library. Does nothing.
    virtual void reserved5();
    // The one object of a BOM document, or null. Called with an empty handle while the
    // document has no object.
    virtual TevDerivedObject* createBomObject(TevDerivedDocument* doc, const TevString& handle) = 0;
    // The one object of an NC document, or null.
    virtual TevDerivedObject* createNCObject(TevDerivedDocument* doc) = 0;

protected:
    TevDerivedDocumentsFactory() = default;
    TevDerivedDocumentsFactory(const TevDerivedDocumentsFactory&) = default;
    TevDerivedDocumentsFactory& operator=(const TevDerivedDocumentsFactory&) = default;
    // Not virtual: the library never deletes a factory.
    ~TevDerivedDocumentsFactory() = default;
};

// The host's list of report definitions and model extracts, reached through the
// model's getReportManager.
class LUMDERDOC_EXPORT TevReportManager {
public:
    // Reserved slots; never called by the library. They do nothing.
    virtual void reserved0();
    virtual void reserved1();
    virtual void reserved2();
    virtual void reserved3();
    // Nonzero when `report` (its number and file path set) left the host's list.
    virtual int withdrawReport(const StructProjReport& report) = 0;
    // Nonzero when `report` is a DSTV list.
    virtual int isDstvReport(const StructProjReport& report) = 0;
    // Reserved slot; never called by the library. Does nothing.
    virtual void reserved6();
    // The caller presets the number; exactly 1 means found, with the name filled in.
    virtual int getModelExtract(StructProjModelExtract& extract) = 0;

protected:
    TevReportManager() = default;
    TevReportManager(const TevReportManager&) = default;
    TevReportManager& operator=(const TevReportManager&) = default;
    // Not virtual: the library never deletes a report manager.
    ~TevReportManager() = default;
};

class LUMDERDOC_EXPORT TevDerivedDocumentsModel {
public:
    using DocumentTable = TevHashTable<TevDerivedDocKey, TevDerivedDocument*>;
    // Entries of the details cache: a pointer or a 64-bit number, as the host decides.
    using DetailsCacheEntries = TevArray<std::int64_t>;

    TevDerivedDocumentsModel();
    explicit TevDerivedDocumentsModel(const TevString& pathToDerDocs);
    // A model owns its documents and groups; copying would dispose of them twice.
    TevDerivedDocumentsModel(const TevDerivedDocumentsModel&) = delete;
    TevDerivedDocumentsModel& operator=(const TevDerivedDocumentsModel&) = delete;
    // Disposes of every registered document through the factory and deletes the
    // duplicate groups. The attached document-manager table is not touched.
    virtual ~TevDerivedDocumentsModel();

    // Reserved slots 1 to 10; never called by the library. They do nothing.
    virtual void reserved1();
    virtual void reserved2();
    virtual void reserved3();
    virtual void reserved4();
    virtual void reserved5();
    virtual void reserved6();
    virtual void reserved7();
    virtual void reserved8();
    virtual void reserved9();
    virtual void reserved10();
    // The host's report manager, or null (then no BOM document can be registered).
    virtual TevReportManager* getReportManager() = 0;
    virtual void reserved12();
    // Adds the update-only objects of `doc`, which requires an update.
    virtual void addUpdOnlyDerivedObjects(TevDerivedDocument* doc, bool flag1, bool flag2) = 0;
    // Called before the objects of `doc` are updated or their infos filled.
    virtual void checkDerivedObjects(TevDerivedDocument* doc, bool flag1, bool flag2) = 0;
    virtual void reserved15();
    virtual void reserved16();
    // The new status of `obj`, which requires an update.
    virtual TevDerDocEnums::ErrorStatus getNewUpdate(TevDerivedObject* obj, bool flag) = 0;
    // Nonzero when the model filled `info` of `obj`; 0 lets the object fill it itself.
    virtual int fillNewInfo(TevDerivedObject* obj, TevDerivedObjectInfo* info) = 0;
    // Fills `info` of `doc`, which requires an update.
    virtual void fillNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo* info) = 0;
    virtual void refreshNewInfo(TevDerivedObject* obj, TevDerivedObjectInfo* info,
                                TevDerDocEnums::eDerivedDocInfo what) = 0;
    virtual void refreshNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo* info,
                                TevDerDocEnums::eDerivedDocInfo what) = 0;
    virtual void reserved22();
    // A document's modification state became `state` (always eModificationObsolete).
    virtual void derivedDocModified(TevDerDocEnums::ModificationState state) = 0;
    virtual void reserved24();
    // Nonzero while a command of the host works on the file `fullFileName`.
    virtual int isCommandActive(const TevString& fullFileName) = 0;
    virtual void reserved26();
    virtual void reserved27();
    virtual void reserved28();
    virtual void reserved29();
    virtual void reserved30();
    virtual void reserved31();
    virtual void reserved32();
    virtual void reserved33();
    virtual void reserved34();
    virtual void reserved35();
    virtual void reserved36();
    virtual void reserved37();
    // Open and close a bracket of object status checks. Default: do nothing.
    virtual void beginCheckDerivedObjects();
    virtual void endCheckDerivedObjects();
    virtual void reserved40();
    virtual void reserved41();
    // Called once before checkHasUpdReqForDerivedDocs scans the registry.
    virtual void prepareCheckHasUpdReq(TevDerDocEnums::eDocType type) = 0;
    // Called after the objects of `doc` were updated, and around info refreshes.
    virtual void derivedDocRefreshed(TevDerivedDocument* doc) = 0;
    virtual void reserved44();
    virtual void reserved45();
    virtual void reserved46();
    virtual void reserved47();
    // Default: runs disableAndDeleteCache, then switches the cache on.
    virtual void enableCache();
    // Default: switches the cache off; the library holds no cache of its own.
    virtual void disableAndDeleteCache();
    // Register the host's documents of one kind through the add operations below;
    // `docs` is the caller's scratch list.
    virtual void addDerivedBomDocs(bool check, TevArray<TevDerivedDocument*>& docs) = 0;
    virtual void addDerivedNCDocs(bool check, TevArray<TevDerivedDocument*>& docs) = 0;
    virtual void addDerivedDetailDocs(bool check, TevArray<TevDerivedDocument*>& docs) = 0;

    // Installs the factory of the process, shared by all models; not owned, valid
    // while any model holds documents. Null uninstalls it.
    static void setFactory(TevDerivedDocumentsFactory* factory);
    static TevDerivedDocumentsFactory* getFactory();

    TevString getPathToDerDocs() const;

    // A copy of the registry with the same bucket count and node order; the documents
    // are shared, not copied.
    DocumentTable getDerivedDocs();
    // Empties `docs`, then appends every registered document in registry order.
    void getDerivedDocs(TevArray<TevDerivedDocument*>& docs);

    // Registration. Each creates the document through the factory and files it under
    // its key; when the key is registered already, the new document is disposed of
    // and the earlier one is answered. A document whose addAllDerivedObjects answers 0
    // is refused (and removed, when it was registered before): the answer is null.
    TevDerivedDocument* addBomDoc(const StructProjReport& report, bool update, bool checkFile,
                                  bool resetStatus);
    TevDerivedDocument* addNCDoc(const TevString& path, TevDerDocEnums::eDocSubType subType,
                                 const TevString& ncName, bool ncFlag, bool update, bool checkFile,
                                 bool resetStatus);
    TevDerivedDocument* addDetailDoc(std::int64_t id, const TevString& path, bool update,
                                     bool checkFile, bool resetStatus);

    // The first document in registry order of kind `type` (any for eDocTypeAll) whose
    // key id is `id`; null when none.
    TevDerivedDocument* getAt(std::int64_t id, TevDerDocEnums::eDocType type);
    // The first document in registry order of kind `type` whose file name, or else
    // whose full file name, equals `name` ignoring case; null when none.
    TevDerivedDocument* getAt(const TevString& name, TevDerDocEnums::eDocType type);

    // Disposes of the document registered under `key` and forgets it. An unregistered
    // key is reported as "0" and answers false.
    bool removeDoc(const TevDerivedDocKey& key);
    // Asks the document to leave the host's lists (deregistFromModel), then removes it
    // whatever it answered. eStatusFailed for an unregistered key or a refusal.
    TevDerDocEnums::ErrorStatus unregistDoc(const TevDerivedDocKey& key);
    // Re-files the document registered under `oldKey` after its file got `newPath`,
    // and takes its objects' rows out of the attached table.
    void derivedDocFileNameChanged(const TevDerivedDocKey& oldKey, const TevString& newPath,
                                   const TevString& other);

    // Empties `docs`, lets the host register its documents of kind `type` (all for
    // eDocTypeAll), then appends the registered documents of that kind in registry order.
    void getDerivedDocsOfType(TevArray<TevDerivedDocument*>& docs, TevDerDocEnums::eDocType type);
    // Empties `objects`, then appends the objects of kind `type` of every document that
    // getDerivedDocsOfType gives, document by document.
    void getDerivedObjectsOfType(TevArray<TevDerivedObject*>& objects,
                                 TevDerDocEnums::eDocType type);
    // Lets the host register its documents of kind `type`, then lets every document of
    // that kind without objects add them (inside the check bracket when `check`).
    void addDerivedDocs(TevDerDocEnums::eDocType type, bool check);
    // Disposes of the documents of kind `type` (all for eDocTypeAll) and clears that
    // kind's cache flags; eDocTypeAll also empties the details cache. The rows of their
    // objects leave the attached table first, in one pass (only marked while the
    // manager is open), also those of documents the reset reaches later.
    void resetDerivedDocs(TevDerDocEnums::eDocType type);
    // Lets every registered document of kind `type` re-read its update requirements;
    // with `withProgress`, passes the installed progress manager the level reached out
    // of 10 after each document (10 * documents visited / documents registered), for the
    // action of prompt 45033 of "GUI"; the last call passes 10.
    void checkHasUpdReqForDerivedDocs(TevDerDocEnums::eDocType type, bool withProgress);
    // Makes every document of kind `type` whose file is gone obsolete and disposes of it.
    void deleteMissingFileDocs(TevDerDocEnums::eDocType type);
    // The file of the document with `id` changed outside: the document is reset.
    void modifiedExternallyAt(std::int64_t id);

    // The drawing numbers of all detail documents with an info and a number or prefix,
    // as four parallel lists (emptied first).
    void getAllDerivedDetailDrawingNumbers(TevArray<TevString>& prefixes,
                                           TevArray<TevString>& numbers,
                                           TevArray<TevString>& fileNames,
                                           TevArray<TevString>& fullFileNames);
    // The same drawings filed by number (toInteger of the number) and by text (the
    // upper-case prefix followed by that integer), their full file names in a set, and
    // three parallel lists (emptied first). The tables and the set are not emptied, and
    // an entry already there for a key is kept.
    void getAllDerivedDetailDrawingNumbers(TevHashTable<int, TevDerivedDwgNo>& byNumber,
                                           TevHashTable<TevString, TevDerivedDwgNo>& byText,
                                           TevHashSet<TevString>& fullFileNames,
                                           TevArray<TevString>& prefixes,
                                           TevArray<TevString>& numbers,
                                           TevArray<TevString>& fileNames);

    void resetDetailsCache();
    bool isCacheOn();

    // The host's document-manager table; not owned, valid while attached. 1 when a
    // table was attached, 0 when detached (which clears every object's in-table mark).
    // The model finds an object's rows through an index it trusts only while the
    // table's modificationCount() stands: rows written through a reference taken
    // before a library call must be taken again after it.
    int setDocManObjects(TevArray<TevDocManObject>* table);
    TevArray<TevDocManObject>* getDocManObjects();
    // Closing the manager erases the rows marked as removed while it was open.
    void setDocumentsManagerOpen(bool open);
    bool isDocumentsManagerOpen() const;

    // Keeps `objects` as one duplicate group (nothing for fewer than two): the group of
    // the first object, or a new one. Every object of the set becomes a member of that
    // group, leaving any other group it was in first.
    void appendDuplicateObjects(const TevArray<TevDerivedObject*>& objects);
    // Takes `obj` out of its group; a group left with fewer than two objects dissolves.
    void removeObjectFromDuplicate(TevDerivedObject* obj);
    // The groups of the model, in the order they were formed. Owned by the model.
    const TevArray<TevDerivedObjectDuplicateInfo*>& getDuplicates() const;

protected:
    // Lets the host register its documents of kind `type` into its scratch list `docs`,
    // then lets every such document without objects add them.
    void addDerivedDocs(TevDerDocEnums::eDocType type, bool check,
                        TevArray<TevDerivedDocument*>& docs);
    void resetDerDocsCache();
    // For the host's subclass: `obj` is about to be destroyed; it leaves its group.
    void derivedObjectDeleted(TevDerivedObject* obj);

private:
    friend class TevDerivedDocument; // Builds full file names on the folder, without a copy.

    TevDerivedDocument* registerDocument(TevDerivedDocument* doc, bool update, bool checkFile,
                                         bool resetStatus, bool resetStatusWhenRegistered);
    void disposeDocument(TevDerivedDocument*& doc);
    static bool matchesType(const DocumentTable::Node* node, TevDerDocEnums::eDocType type);
    int indexOfGroup(const TevDerivedObjectDuplicateInfo* group) const;
    // Erases `node`, then disposes of its document.
    void removeNode(DocumentTable::Node* node);
    // Takes the rows of every object of the documents of kind `type` (all kinds for
    // eDocTypeAll) out of the attached table in one pass.
    void takeOutRowsOf(TevDerDocEnums::eDocType type);
    // The drawing numbers of the detail documents, in the order of getDerivedDocsOfType.
    TevArray<TevDerivedDwgNo> collectDrawingNumbers();

    static TevDerivedDocumentsFactory* m_pFactory; // Not owned; valid while installed.

    // Data members keep their documented declaration order; the ones the host's
    // subclass maintains are protected, and the library only clears them.
    DocumentTable m_docs;                       // Owns the documents, through the factory.
    TevString m_pathToDerDocs;                  // Prefix of every full file name, as given.
    TevArray<TevDocManObject>* m_docManObjects; // Not owned; valid while attached.

protected:
    bool m_derDocsCachedA[3]; // Indexed by eDocType 0 to 2.
    bool m_derDocsCachedB[3];

private:
    bool m_documentsManagerOpen;

protected:
    bool m_hostFlag;

private:
    TevArray<TevDerivedObjectDuplicateInfo*> m_duplicates; // Owned.
    bool m_cacheOn;

protected:
    DetailsCacheEntries m_detailsCacheList;
    TevHashTable<TevString, DetailsCacheEntries> m_detailsCacheTable1;
    TevHashTable<TevString, DetailsCacheEntries> m_detailsCacheTable2;
    TevHashTable<TevString, DetailsCacheEntries> m_detailsCacheTable3;
    bool m_detailsCacheValid;
};

#endif // TEV_DERIVED_DOCUMENTS_MODEL_H
