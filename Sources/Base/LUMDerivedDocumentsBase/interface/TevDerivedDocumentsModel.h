/// \file
/// The registry of the documents derived from one structural model, and the three
/// things a host plugs into it: the process-wide factory that creates and disposes of
/// documents and objects, the report manager, and the host's own model subclass, which
/// implements the abstract operations through which the library asks the host for
/// update states, descriptive data and the registration of documents.
///
/// The order of every virtual operation below is part of the interface hosts compile
/// against; reserved slots keep the positions of operations the library never calls.
///
/// The host may call back into the library from any callback. What is disposed of leaves
/// the registry, its document's list and the table first; a document or object asked to
/// go during one of its own operations goes when that operation returns, which then
/// answers failure (0 or eStatusFailed); a walk over the registry survives the loss of
/// the document it visits. What the library cannot allow is reported through TevAssert:
/// - "registry changed during a walk beyond the visited document": another document came
///   or went during a walk; the walk ends (a reset of all goes on from the front).
/// - "not disposed of already": a second disposal of something on its way out.
/// - "doc not registered yet": the factory handed back a registered document.
/// - "doc->getModel() == this": the factory handed back another model's document.
/// - "obj->getDerivedDoc() == this": deleteDerivedObject was given another document's
///   object.
/// - "infos not asked for while they are built": a callback of an info build asked for
///   the infos again; that request builds nothing, instead of recursing without end.
///
/// The host's own duties: a model subclass resets its documents in its own destructor,
/// while its overrides still exist; an attached table stays alive until it is detached
/// (see Shutdown below).
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

/// Creates and disposes of the host's documents and objects. One factory is installed
/// for the whole process with TevDerivedDocumentsModel::setFactory; the library never
/// deletes it. It stays installed until every model has disposed of its documents (see
/// Shutdown in TevDerivedDocumentsModel). Detail objects have no operation here: the
/// host's detail documents create them; every object, detail ones included, goes back
/// through disposeObject.
class LUMDERDOC_EXPORT TevDerivedDocumentsFactory {
public:
    /// Deletes `obj`, whose rows are already out of the document-manager table. `model` is
    /// the object's model; while ~TevDerivedDocumentsModel runs it is no longer the host's
    /// subclass.
    virtual void disposeObject(TevDerivedObject*& obj, TevDerivedDocumentsModel* model) = 0;
    /// Deletes `doc`; its destructor disposes of its objects (disposeObject).
    virtual void disposeDocument(TevDerivedDocument*& doc, TevDerivedDocumentsModel* model) = 0;
    /// A new BOM document built like TevDerivedDocumentBom(model, report, dstv); `dstv`
    /// is the report manager's isDstvReport answer.
    virtual TevDerivedDocument* createBomDocument(TevDerivedDocumentsModel* model,
                                                  const StructProjReport& report, int dstv) = 0;
    /// A new NC document built like TevDerivedDocumentNC from the same arguments.
    virtual TevDerivedDocument* createNCDocument(TevDerivedDocumentsModel* model,
                                                 const TevString& path,
                                                 TevDerDocEnums::eDocSubType subType,
                                                 const TevString& ncName, bool ncFlag) = 0;
    /// A new detail document built like TevDerivedDocumentDetail(model, id, path).
    virtual TevDerivedDocument* createDetailDocument(TevDerivedDocumentsModel* model,
                                                     std::int64_t id, const TevString& path) = 0;
    /// Reserved slot; never called by the library. Does nothing.
    virtual void reserved5();
    /// The one object of a BOM document, or null. Called with an empty handle while the
    /// document has no object.
    virtual TevDerivedObject* createBomObject(TevDerivedDocument* doc, const TevString& handle) = 0;
    /// The one object of an NC document, or null.
    virtual TevDerivedObject* createNCObject(TevDerivedDocument* doc) = 0;

protected:
    /// For the host's factory class.
    TevDerivedDocumentsFactory() = default;
    /// For the host's factory class; a factory holds no state of its own.
    TevDerivedDocumentsFactory(const TevDerivedDocumentsFactory&) = default;
    /// For the host's factory class; a factory holds no state of its own.
    TevDerivedDocumentsFactory& operator=(const TevDerivedDocumentsFactory&) = default;
    /// Not virtual: the library never deletes a factory.
    ~TevDerivedDocumentsFactory() = default;
};

/// The host's list of report definitions and model extracts, reached through the
/// model's getReportManager.
class LUMDERDOC_EXPORT TevReportManager {
public:
    virtual void reserved0(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved1(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved2(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved3(); ///< Reserved slot; never called by the library. Does nothing.
    /// Nonzero when `report` (its number and file path `..\folder\file` set) left the
    /// host's list. Called by a BOM document's deregistFromModel: from unregistDoc and from
    /// its setObsolete (deleteMissingFileDocs, or a registration with `checkFile` that
    /// finds its file missing).
    virtual int withdrawReport(const StructProjReport& report) = 0;
    /// Nonzero when `report` is a DSTV list. Called by addBomDoc.
    virtual int isDstvReport(const StructProjReport& report) = 0;
    /// Reserved slot; never called by the library. Does nothing.
    virtual void reserved6();
    /// The caller presets the number; exactly 1 means found, with the name filled in.
    /// Called when the row of a BOM object with an info is filled.
    virtual int getModelExtract(StructProjModelExtract& extract) = 0;

protected:
    /// For the host's report manager class.
    TevReportManager() = default;
    /// For the host's report manager class; this class holds no state of its own.
    TevReportManager(const TevReportManager&) = default;
    /// For the host's report manager class; this class holds no state of its own.
    TevReportManager& operator=(const TevReportManager&) = default;
    /// Not virtual: the library never deletes a report manager.
    ~TevReportManager() = default;
};

/// The registry of one model's derived documents. The host derives its model from it.
///
/// Host calls. An operation marked "Calls the host" may reach the overridable operations
/// it names (the host's model, document and object subclasses, the factory, the report
/// manager, the progress manager), and so whatever those do. Getters are no exception:
/// getDerivedDocsOfType, getDerivedObjectsOfType and the drawing-number queries register
/// documents, and a document's or object's getInfo, getTitle and other info readers build
/// the info cache (TevDerivedDocument::fillInfoAllDerObjs). getDerivedDocs, getAt, and a
/// document's or object's flags and getUpdateFast never call the host.
///
/// Registration. getDerivedDocsOfType, getDerivedObjectsOfType, addDerivedDocs and the
/// drawing-number queries call addDerived*Docs every time, and each add*Doc of a key that
/// is registered already costs a document created by the factory, the earlier document's
/// addAllDerivedObjects with `alreadyRegistered`, and the new one's disposal. To register
/// a kind once, the host sets m_derDocsCachedA[kind] once it registered that kind and
/// returns at once while it is set; m_derDocsCachedB is a second flag for its own use.
/// The library never sets or reads them: resetDerivedDocs clears both for the kinds it
/// resets, so that the next query registers them anew.
///
/// Update states. The library never decides whether something requires an update. The
/// host sets TevDerivedDocument::setHasUpdReq (usually in its addAllDerivedObjects) and
/// TevDerivedObject::setHasUpdReq (usually in checkDerivedObjects, which the library
/// calls before it re-reads statuses or builds infos). An object's status changes only:
///   - at creation: eStatusUndetermined; eStatusOk for a BOM or NC object registered with
///     `resetStatus` (a host's detail document does this itself);
///   - in TevDerivedObject::getUpdate, for an object that is not a dummy:
///     eStatusFileMissing while the document's file is missing; otherwise, when it
///     requires an update, getNewUpdate's answer. An object that requires none keeps the
///     status it has, also eStatusFileMissing after its file came back: the host sets it;
///   - in getUpdateAllDerObjs, when the document's checkDocumentStatus answers false: all
///     its objects become eStatusUndetermined;
///   - through the host's setStatus or setStatusOfDerObjects.
///
/// getUpdate runs from getUpdateAllDerObjs (also run by a BOM or NC document's
/// addAllDerivedObjects with `update`), a document's updateDocManInformations,
/// updatePerformed and a successful updateObject (both with eObjectModified), and the
/// document-manager messages Update, UpdateAlt, Refresh, RefreshAlt, UpdateSpecial,
/// UpdateObject and, for an object in eStatusRecheck, Recheck.
/// checkHasUpdReqForDerivedDocs re-reads no status: it lets each document re-read its
/// requirement (addAllDerivedObjects with `update` false); run getUpdateAllDerObjs
/// afterwards for current statuses. getNewUpdate answers eStatusOk for a current object.
/// The library has no "needs update" value: answer one of the host's own from 1 to 1000
/// other than 3, 6, 9 and 15 (it shows as itself; the reference host answers 1),
/// eStatusRecheck to be asked again by Recheck, or an error state above 1000. The values
/// of TevDerDocEnums::ErrorStatus, as the library uses them:
/// - eStatusOk: current; as a result, success (no other value is success)
/// - eStatusRecheck: to be asked again by the Recheck message; shown as 3
/// - eStatusUndetermined: not known: new objects, dummies, unchecked documents; shown as 3
/// - eStatusFileMissing: the document's file is missing (set by getUpdate); shown as -2
/// - eStatusError6, eStatusError1002, eStatusError1008: the host's error states, with no
///   meaning in the library; shown as -1, -4 and -3
/// - eStatusNotSupported: result: not available (the default renameDoc, an object
///   without document); shown as -5
/// - eStatusFailed: result: failed, or what it worked on was let go of meanwhile;
///   shown as -5
///
/// Paths. The folder given to the constructor is the derived-documents folder, without a
/// trailing separator: a full file name is that folder, the key's relative path and its
/// file name joined as they are. Separators are backslashes (tevFileExists reads them as
/// slashes on POSIX systems); a relative path starts and ends with one (`\Details\`).
/// Detail and report paths are given as `..\Details\A1.dwg`, the ".." standing for the
/// folder; NC paths are given below the folder without it (`NC\Plates\P1.nc`; a leading
/// `..\` would be kept). Key ids overlap across kinds: a detail's id is the host's, a BOM
/// document's its report number, an NC document's 0 when registered with `ncFlag` and 1
/// otherwise.
///
/// Shutdown, in this order: close the document manager (setDocumentsManagerOpen(false)
/// erases the marked rows); detach the table (setDocManObjects(nullptr); its rows still
/// point at the objects, so the host drops them); destroy the model; then uninstall the
/// factory and the progress manager. The host's model destructor runs
/// resetDerivedDocs(eDocTypeAll) itself: this class's destructor runs after the
/// subclass's overrides and members are gone, so a disposal reached from it hands the
/// factory a model that is no longer the host's, and a callback that calls an operation
/// the host overrides reaches this class's (a pure virtual aborts). Without a factory the
/// documents are never disposed of. A table still attached when the documents go must be
/// alive: the rows of every object are taken out of it.
class LUMDERDOC_EXPORT TevDerivedDocumentsModel {
public:
    /// The registry's table: each document under its key.
    using DocumentTable = TevHashTable<TevDerivedDocKey, TevDerivedDocument*>;
    /// Entries of the details cache: a pointer or a 64-bit number, as the host decides.
    using DetailsCacheEntries = TevArray<std::int64_t>;

    /// A model with an empty derived-documents folder.
    TevDerivedDocumentsModel();
    /// `pathToDerDocs`: the derived-documents folder, without a trailing separator (see
    /// Paths above).
    explicit TevDerivedDocumentsModel(const TevString& pathToDerDocs);
    /// A model owns its documents and groups; copying would dispose of them twice.
    TevDerivedDocumentsModel(const TevDerivedDocumentsModel&) = delete;
    TevDerivedDocumentsModel& operator=(const TevDerivedDocumentsModel&) = delete;
    /// Runs resetDerivedDocs(eDocTypeAll): the rows of every object leave the attached table
    /// (marked while the manager is open, erased otherwise), then each document goes to the
    /// factory; then deletes the duplicate groups left. The host's destructor must have reset
    /// the documents already (see Shutdown above).
    /// \pre the factory is installed while documents are registered; an attached table is
    /// alive.
    /// \par Calls the host:
    /// the factory's disposeDocument per document left, and so disposeObject per object, with a
    /// model that is no longer the host's subclass.
    virtual ~TevDerivedDocumentsModel();

    virtual void reserved1();  ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved2();  ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved3();  ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved4();  ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved5();  ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved6();  ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved7();  ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved8();  ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved9();  ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved10(); ///< Reserved slot; never called by the library. Does nothing.
    /// The host's report manager, or null (then no BOM document can be registered).
    /// Asked by addBomDoc, a BOM document's deregistFromModel and a BOM object's row fill.
    virtual TevReportManager* getReportManager() = 0;
    virtual void reserved12(); ///< Reserved slot; never called by the library. Does nothing.
    /// Adds the update-only objects of `doc`, a detail document that requires an update;
    /// reached only through TevDerivedDocumentDetail::addUpdOnlyDerivedObjects. The library
    /// never sets `flag1`; `flag2` is true after the document manager updated one of the
    /// document's objects (Update, UpdateAlt) and false when setHasUpdReq changed the
    /// document's requirement.
    virtual void addUpdOnlyDerivedObjects(TevDerivedDocument* doc, bool flag1, bool flag2) = 0;
    /// Called before the statuses of the objects of `doc` are re-read by
    /// getUpdateAllDerObjs, before every info build, after every updateObject, and by the
    /// BOM and NC kinds' addAllDerivedObjects without `update`; the library always passes
    /// true for both flags. The place to set each object's update requirement (see Update
    /// states above).
    virtual void checkDerivedObjects(TevDerivedDocument* doc, bool flag1, bool flag2) = 0;
    virtual void reserved15(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved16(); ///< Reserved slot; never called by the library. Does nothing.
    /// The status of `obj`, which requires an update, is not a dummy and whose document's
    /// file exists; asked by getUpdate only, which stores it. The library always passes
    /// false for `flag`. The values: see Update states above.
    virtual TevDerDocEnums::ErrorStatus getNewUpdate(TevDerivedObject* obj, bool flag) = 0;
    /// Nonzero when the model filled `info` of `obj`, which requires an update; 0 lets the
    /// object fill it itself (fillOldInfo). `info` comes from createInfoInstance, reset.
    virtual int fillNewInfo(TevDerivedObject* obj, TevDerivedObjectInfo* info) = 0;
    /// Fills `info` of `doc`, which requires an update, after its fillModelOnlyInfo.
    virtual void fillNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo* info) = 0;
    /// Refresh the parts `what` of the info of `obj` or `doc`, which requires an update;
    /// called between two derivedDocRefreshed calls (a document's refreshModelOnlyInfo
    /// runs first). This form refreshes an object's info.
    virtual void refreshNewInfo(TevDerivedObject* obj, TevDerivedObjectInfo* info,
                                TevDerDocEnums::eDerivedDocInfo what) = 0;
    /// Refreshes the parts `what` of the info of `doc`, which requires an update, as the
    /// object form above describes; the document's refreshModelOnlyInfo runs first.
    virtual void refreshNewInfo(TevDerivedDocument* doc, TevDerivedDocumentInfo* info,
                                TevDerDocEnums::eDerivedDocInfo what) = 0;
    virtual void reserved22(); ///< Reserved slot; never called by the library. Does nothing.
    /// A document's modification state became `state` (always eModificationObsolete), by
    /// its setModificationState, which a BOM document's setObsolete runs.
    virtual void derivedDocModified(TevDerDocEnums::ModificationState state) = 0;
    virtual void reserved24(); ///< Reserved slot; never called by the library. Does nothing.
    /// Nonzero while a command of the host works on the file `fullFileName`. Asked when an
    /// object is constructed and by every getUpdate; rows show the answer.
    virtual int isCommandActive(const TevString& fullFileName) = 0;
    virtual void reserved26(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved27(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved28(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved29(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved30(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved31(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved32(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved33(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved34(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved35(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved36(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved37(); ///< Reserved slot; never called by the library. Does nothing.
    /// Opens a bracket of object status checks: around addDerivedDocs with
    /// `check`, and around each getUpdate after an update (updateObject, updatePerformed,
    /// the update-only objects after a document-manager update). Default: do nothing.
    virtual void beginCheckDerivedObjects();
    /// Closes the bracket beginCheckDerivedObjects opened. Default: do nothing.
    virtual void endCheckDerivedObjects();
    virtual void reserved40(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved41(); ///< Reserved slot; never called by the library. Does nothing.
    /// Called once before checkHasUpdReqForDerivedDocs scans the registry, which it does
    /// as it stands when this returns: register here (addDerivedDocs(type, false)) to have
    /// documents not registered yet checked too.
    virtual void prepareCheckHasUpdReq(TevDerDocEnums::eDocType type) = 0;
    /// Called after the statuses of the objects of `doc` were re-read
    /// (getUpdateAllDerObjs), after an info build that notifies, and before and after
    /// every refresh of an info the model fills.
    virtual void derivedDocRefreshed(TevDerivedDocument* doc) = 0;
    virtual void reserved44(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved45(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved46(); ///< Reserved slot; never called by the library. Does nothing.
    virtual void reserved47(); ///< Reserved slot; never called by the library. Does nothing.
    /// Default: runs disableAndDeleteCache, then switches the cache on. The library never
    /// calls this, disableAndDeleteCache or isCacheOn itself.
    /// \par Calls the host:
    /// disableAndDeleteCache.
    virtual void enableCache();
    /// Default: switches the cache off; the library holds no cache of its own.
    virtual void disableAndDeleteCache();
    /// Register the host's BOM documents through the add operations below (addBomDoc);
    /// `docs` is the caller's scratch list. Each of the three is called by addDerivedDocs
    /// (detail, then BOM, then NC) with its `check`, which getDerivedDocsOfType,
    /// getDerivedObjectsOfType and the drawing-number queries pass false; on every such
    /// call (see Registration above).
    virtual void addDerivedBomDocs(bool check, TevArray<TevDerivedDocument*>& docs) = 0;
    /// Register the host's NC documents (addNCDoc), as addDerivedBomDocs describes.
    virtual void addDerivedNCDocs(bool check, TevArray<TevDerivedDocument*>& docs) = 0;
    /// Register the host's detail documents (addDetailDoc), as addDerivedBomDocs
    /// describes.
    virtual void addDerivedDetailDocs(bool check, TevArray<TevDerivedDocument*>& docs) = 0;

    /// Installs the factory of the process, shared by all models; not owned, valid
    /// while any model holds documents. Null uninstalls it, after the last model is gone.
    static void setFactory(TevDerivedDocumentsFactory* factory);
    /// The installed factory; null when none is installed.
    static TevDerivedDocumentsFactory* getFactory();

    /// The derived-documents folder, as given to the constructor.
    TevString getPathToDerDocs() const;

    /// A copy of the registry with the same bucket count and node order; the documents
    /// are shared, not copied.
    DocumentTable getDerivedDocs();
    /// Empties `docs`, then appends every registered document in registry order.
    void getDerivedDocs(TevArray<TevDerivedDocument*>& docs);

    /// Registers the BOM document of `report`.
    ///
    /// Registration (addBomDoc, addNCDoc, addDetailDoc). Each creates the document through the
    /// factory and files it under its key; when the key is registered already, the new document is
    /// disposed of and the earlier one is answered. A document whose addAllDerivedObjects answers 0
    /// is refused (and removed, when it was registered before): the answer is null. `update`,
    /// `checkFile` and `resetStatus` go to addAllDerivedObjects (see TevDerivedDocument), except
    /// that a detail registered before gets `resetStatus` false and keeps its statuses. With
    /// `checkFile`, the BOM and NC kinds make a document whose file is missing obsolete
    /// (setObsolete), which withdraws a BOM document's report.
    /// \par Calls the host (each), in order:
    /// the factory's create*Document; for a new key its addAllDerivedObjects(update, false,
    /// checkFile, resetStatus); for a registered key the factory's disposeDocument of the new
    /// document, then the earlier one's addAllDerivedObjects(update, true, checkFile, ...);
    /// disposeDocument of a refused document.
    ///
    /// `report.m_filePath` is `..\BOM\Parts.txt` (see Paths above); empty answers null.
    /// \par Calls the host:
    /// first getReportManager and the report manager's isDstvReport.
    TevDerivedDocument* addBomDoc(const StructProjReport& report, bool update, bool checkFile,
                                  bool resetStatus);
    /// `path` is `NC\Plates\P1.nc`, below the folder (see Paths above); `ncFlag` makes the
    /// key's id 0 instead of 1. Registers as addBomDoc describes.
    /// \par Calls the host:
    /// as described above.
    TevDerivedDocument* addNCDoc(const TevString& path, TevDerDocEnums::eDocSubType subType,
                                 const TevString& ncName, bool ncFlag, bool update, bool checkFile,
                                 bool resetStatus);
    /// `path` is `..\Details\A1.dwg` (see Paths above); ".dwg" is appended to another
    /// extension. Registers as addBomDoc describes.
    /// \par Calls the host:
    /// as described above.
    TevDerivedDocument* addDetailDoc(std::int64_t id, const TevString& path, bool update,
                                     bool checkFile, bool resetStatus);

    /// The first document in registry order of kind `type` (any for eDocTypeAll) whose
    /// key id is `id`; null when none.
    TevDerivedDocument* getAt(std::int64_t id, TevDerDocEnums::eDocType type);
    /// The first document in registry order of kind `type` whose file name, or else
    /// whose full file name, equals `name` ignoring case; null when none.
    TevDerivedDocument* getAt(const TevString& name, TevDerDocEnums::eDocType type);

    /// Disposes of the document registered under `key` and forgets it. An unregistered
    /// key is reported as "0" and answers false.
    /// \par Calls the host:
    /// the factory's disposeDocument (its destructor: disposeObject per object).
    bool removeDoc(const TevDerivedDocKey& key);
    /// Asks the document to leave the host's lists (deregistFromModel), then removes it
    /// whatever it answered. eStatusFailed for an unregistered key or a refusal.
    /// \par Calls the host:
    /// the document's deregistFromModel (a BOM document's: getReportManager, withdrawReport), then
    /// as removeDoc.
    TevDerDocEnums::ErrorStatus unregistDoc(const TevDerivedDocKey& key);
    /// Re-files the document registered under `oldKey` after its file got `newPath`,
    /// and takes its objects' rows out of the attached table; a document whose new key
    /// another document holds is disposed of. `other` goes to fileNameChanged.
    /// \par Calls the host:
    /// the document's fileNameChanged and removeDocManInformations, then the factory's
    /// disposeDocument when the new key was taken.
    void derivedDocFileNameChanged(const TevDerivedDocKey& oldKey, const TevString& newPath,
                                   const TevString& other);

    /// Empties `docs`, lets the host register its documents of kind `type` (all for
    /// eDocTypeAll), then appends the registered documents of that kind in registry order.
    /// \par Calls the host:
    /// as addDerivedDocs(type, false).
    void getDerivedDocsOfType(TevArray<TevDerivedDocument*>& docs, TevDerDocEnums::eDocType type);
    /// Empties `objects`, then appends the objects of kind `type` of every document that
    /// getDerivedDocsOfType gives, document by document.
    /// \par Calls the host:
    /// as getDerivedDocsOfType.
    void getDerivedObjectsOfType(TevArray<TevDerivedObject*>& objects,
                                 TevDerDocEnums::eDocType type);
    /// Lets the host register its documents of kind `type`, then lets every document of
    /// that kind without objects add them (inside the check bracket when `check`).
    /// \par Calls the host, in order:
    /// beginCheckDerivedObjects (with `check`); addDerivedDetailDocs, addDerivedBomDocs,
    /// addDerivedNCDocs (those of `type`, each with `check`); addAllDerivedObjects(check, false,
    /// false, false) of each registered document of `type` without objects (its answer is ignored:
    /// it stays registered); endCheckDerivedObjects (with `check`).
    void addDerivedDocs(TevDerDocEnums::eDocType type, bool check);
    /// Disposes of the documents of kind `type` (all for eDocTypeAll) and clears that
    /// kind's cache flags; eDocTypeAll also empties the details cache. The rows of their
    /// objects leave the attached table first, in one pass (only marked while the
    /// manager is open), also those of documents the reset reaches later. Without a
    /// factory nothing is disposed of.
    /// \par Calls the host:
    /// the factory's disposeDocument per document (its destructor: disposeObject per object).
    void resetDerivedDocs(TevDerDocEnums::eDocType type);
    /// Lets every registered document of kind `type` re-read its update requirements;
    /// with `withProgress`, passes the installed progress manager the level reached out
    /// of 10 after each document (10 * documents visited / documents registered), for the
    /// action of prompt 45033 of "GUI"; the last call passes 10. No status is re-read
    /// (see Update states above).
    /// \par Calls the host, in order:
    /// with `withProgress` the progress manager's getKeyForAction; prepareCheckHasUpdReq(type);
    /// then per registered document, its addAllDerivedObjects(false, true, false, false) when of
    /// kind `type` (the answer is ignored) and, with `withProgress`, increaseProgress.
    void checkHasUpdReqForDerivedDocs(TevDerDocEnums::eDocType type, bool withProgress);
    /// Makes every document of kind `type` whose file is gone obsolete and disposes of it.
    /// \par Calls the host:
    /// per such document its setObsolete (default: reset; a BOM document's also derivedDocModified
    /// and withdrawReport), then the factory's disposeDocument unless the host let it go meanwhile.
    void deleteMissingFileDocs(TevDerDocEnums::eDocType type);
    /// The file of the document with `id` changed outside: the first document in registry
    /// order whose key id is `id`, of any kind (ids overlap across kinds), is reset.
    /// \par Calls the host:
    /// that document's reset (default: disposeObject per object).
    void modifiedExternallyAt(std::int64_t id);

    /// The drawing numbers of all detail documents with an info and a number or prefix,
    /// as four parallel lists (emptied first).
    /// \par Calls the host:
    /// as getDerivedDocsOfType(eDocTypeDetail), then the info build
    /// (TevDerivedDocument::fillInfoAllDerObjs) of each detail without an info.
    void getAllDerivedDetailDrawingNumbers(TevArray<TevString>& prefixes,
                                           TevArray<TevString>& numbers,
                                           TevArray<TevString>& fileNames,
                                           TevArray<TevString>& fullFileNames);
    /// The same drawings filed by number (toInteger of the number) and by text (the
    /// upper-case prefix followed by that integer), their full file names in a set, and
    /// three parallel lists (emptied first). The tables and the set are not emptied, and
    /// an entry already there for a key is kept.
    /// \par Calls the host:
    /// as the operation above.
    void getAllDerivedDetailDrawingNumbers(TevHashTable<int, TevDerivedDwgNo>& byNumber,
                                           TevHashTable<TevString, TevDerivedDwgNo>& byText,
                                           TevHashSet<TevString>& fullFileNames,
                                           TevArray<TevString>& prefixes,
                                           TevArray<TevString>& numbers,
                                           TevArray<TevString>& fileNames);

    /// Empties the details cache; also run by resetDerivedDocs(eDocTypeAll) and before
    /// every document-manager message on an object of a detail document.
    void resetDetailsCache();
    /// True after enableCache, false at first and after disableAndDeleteCache.
    bool isCacheOn();

    /// The host's document-manager table; not owned, valid while attached. 1 when a
    /// table was attached, 0 when detached (which clears every object's in-table mark;
    /// the rows stay, pointing at their objects). The library takes rows out of the
    /// attached table only: add rows to that one (TevDerivedDocument::addDocManObjects).
    /// The model finds an object's rows through an index it trusts only while the
    /// table's modificationCount() stands: rows written through a reference taken
    /// before a library call must be taken again after it.
    int setDocManObjects(TevArray<TevDocManObject>* table);
    /// The attached document-manager table; null when none is attached.
    TevArray<TevDocManObject>* getDocManObjects();
    /// Closing the manager erases the rows marked as removed while it was open.
    void setDocumentsManagerOpen(bool open);
    /// True while the document manager is open (setDocumentsManagerOpen).
    bool isDocumentsManagerOpen() const;

    /// Keeps `objects` as one duplicate group (nothing for fewer than two): the group of
    /// the first object, or a new one. Every object of the set becomes a member of that
    /// group, leaving any other group it was in first.
    void appendDuplicateObjects(const TevArray<TevDerivedObject*>& objects);
    /// Takes `obj` out of its group; a group left with fewer than two objects dissolves.
    void removeObjectFromDuplicate(TevDerivedObject* obj);
    /// The groups of the model, in the order they were formed. Owned by the model.
    const TevArray<TevDerivedObjectDuplicateInfo*>& getDuplicates() const;

protected:
    /// Lets the host register its documents of kind `type` into its scratch list `docs`,
    /// then lets every such document without objects add them.
    /// \par Calls the host:
    /// as addDerivedDocs(type, check).
    void addDerivedDocs(TevDerDocEnums::eDocType type, bool check,
                        TevArray<TevDerivedDocument*>& docs);
    /// Clears the registration flags of every kind.
    void resetDerDocsCache();
    /// For the host's subclass: `obj` is about to be destroyed; it leaves its group.
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
    /// Registration flags: the host's (see Registration above); the library only clears
    /// them. Indexed by eDocType 0 to 2.
    bool m_derDocsCachedA[3];
    /// The host's second registration flag per kind, for its own use; the library only
    /// clears it. Indexed by eDocType 0 to 2.
    bool m_derDocsCachedB[3];

private:
    bool m_documentsManagerOpen;

protected:
    /// The host's; false at first, never used by the library.
    bool m_hostFlag;

private:
    TevArray<TevDerivedObjectDuplicateInfo*> m_duplicates; // Owned.
    bool m_cacheOn;

protected:
    /// The host's details cache (its list, three tables and mark); the library only empties
    /// it (resetDetailsCache). This is its list.
    DetailsCacheEntries m_detailsCacheList;
    /// A table of the host's details cache; the library only empties it.
    TevHashTable<TevString, DetailsCacheEntries> m_detailsCacheTable1;
    /// A table of the host's details cache; the library only empties it.
    TevHashTable<TevString, DetailsCacheEntries> m_detailsCacheTable2;
    /// A table of the host's details cache; the library only empties it.
    TevHashTable<TevString, DetailsCacheEntries> m_detailsCacheTable3;
    /// The host's mark that its details cache is valid; the library only sets it false.
    bool m_detailsCacheValid;
};

#endif // TEV_DERIVED_DOCUMENTS_MODEL_H
