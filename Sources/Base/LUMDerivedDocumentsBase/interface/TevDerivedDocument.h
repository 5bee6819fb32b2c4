/// \file
/// A derived document: one file produced from the structural model (a detail drawing, a
/// BOM report, an NC file). It knows its key and its model, owns its derived objects and
/// a lazily built info cache, and keeps its objects consistent with the host's
/// document-manager table: an object's rows leave the table before the object goes back
/// to the factory. The library's kinds derive from it; hosts derive from those.
///
/// The order of the virtual operations is part of the interface hosts compile against.
///
/// What "Calls the host" means, who sets the update requirement and the statuses, the
/// path conventions and the shutdown order: see TevDerivedDocumentsModel. Getters that read
/// the info (getInfo, getInitialFilename, getLastRevIdx, fillDocManObjectData) build it
/// first when there is none, and so call the host (the info build, fillInfoAllDerObjs).
#ifndef TEV_DERIVED_DOCUMENT_H
#define TEV_DERIVED_DOCUMENT_H

#include "LumDerivedDocumentsBaseExport.h"
#include "LumTable/TevDocManObject.h"
#include "QXNativeDataObjects/TevDocumentApproval.h"
#include "TevArray.h"
#include "TevDerDocEnums.h"
#include "TevDerivedDocKey.h"
#include "TevString.h"

#include <cstdint>

class TevDerivedDocumentInfo;
class TevDerivedDocumentsFactory;
class TevDerivedDocumentsModel;
class TevDerivedObject;

/// A derived document: one file produced from the structural model, with its key, its
/// derived objects and its info cache (see TevDerivedDocument.h). The library's kinds
/// TevDerivedDocumentDetail, TevDerivedDocumentBom and TevDerivedDocumentNC derive from
/// it; hosts derive from those.
class LUMDERDOC_EXPORT TevDerivedDocument {
public:
    /// The key starts with `type` and `subType`, id -1 and empty texts; the kinds fill
    /// in the rest.
    /// \pre model != nullptr ("m_model").
    TevDerivedDocument(TevDerivedDocumentsModel* model, TevDerDocEnums::eDocType type,
                       TevDerDocEnums::eDocSubType subType);
    /// A document owns its objects and info; copying would dispose of them twice.
    TevDerivedDocument(const TevDerivedDocument&) = delete;
    TevDerivedDocument& operator=(const TevDerivedDocument&) = delete;
    /// Runs this class's reset(): every object's rows leave the table and the object goes
    /// back to the factory.
    /// \par Calls the host:
    /// the factory's disposeObject per object.
    virtual ~TevDerivedDocument();

    /// Adds the document's objects; 0 refuses the document at its registration (the model
    /// then disposes of it). The library calls it with the four flags below.
    /// Callers: registration (add*Doc, the flags as given), addDerivedDocs (check, false,
    /// false, false), checkHasUpdReqForDerivedDocs (false, true, false, false). The host's
    /// override is where it re-reads the document's update requirement (setHasUpdReq);
    /// a detail document's also creates its objects (there is no factory operation for
    /// them).
    /// \param update             re-read the statuses now (the BOM and NC kinds run
    ///                           getUpdateAllDerObjs; without it only the model's
    ///                           checkDerivedObjects);
    /// \param alreadyRegistered  the model held the key before: a repeated registration,
    ///                           and every call from checkHasUpdReqForDerivedDocs; false
    ///                           for a new document and from addDerivedDocs for one
    ///                           without objects;
    /// \param checkFile          a document whose file is missing is made obsolete
    ///                           (setObsolete) and refused;
    /// \param resetStatus        a new object starts as eStatusOk, not eStatusUndetermined.
    virtual int addAllDerivedObjects(bool update, bool alreadyRegistered, bool checkFile,
                                     bool resetStatus) = 0;
    /// Default: does nothing. Detail documents hand this over to the model. Called with
    /// (false, false) when setHasUpdReq changed the requirement and with (false, true)
    /// after the document manager updated one of the document's objects while it still
    /// requires an update; the library never sets `flag1`.
    virtual void addUpdOnlyDerivedObjects(bool flag1, bool flag2);
    /// Fills the document's part of a row of one of its objects: file name, folder
    /// (without a model the folder is left as it was) and, when the info can be built,
    /// prototype name, drawing number, approval, check status and revisions. Fill a row
    /// of your own, not one of a table your callbacks may grow.
    /// \par Calls the host:
    /// the info build (fillInfoAllDerObjs) when there is no info.
    virtual void fillDocManObjectData(TevDocManObject& row);
    /// Re-reads the status of every object, then refreshes the row of each object that
    /// has one in `table`.
    /// \par Calls the host:
    /// getUpdateAllDerObjs(false), then each object's updateDocManInformations(table).
    virtual void updateDocManInformations(TevArray<TevDocManObject>* table);
    /// Takes the rows of every object out of `table` (erased, or marked while the
    /// document manager is open). A null table changes nothing.
    virtual void removeDocManInformations(TevArray<TevDocManObject>* table);
    /// Empties the document: objects disposed of (rows first), modification state and
    /// closed-without-save marker 0, info dropped, update requirement cleared.
    /// \par Calls the host:
    /// the factory's disposeObject per object.
    virtual void reset();
    /// Clears the old-object reference of every object.
    virtual void resetOldDocRef();
    /// The document's file was renamed: the key's file name becomes the name and
    /// extension of `newPath` and the info is dropped. `other` is not used here.
    virtual void fileNameChanged(const TevString& newPath, const TevString& other);
    /// Hook before the status re-reads of getUpdateAllDerObjs and before every info
    /// build. Default: do nothing.
    virtual void beginGetUpdateAllDerObjs();
    /// Hook after the status re-reads of getUpdateAllDerObjs and after every info build.
    /// Default: do nothing.
    virtual void endGetUpdateAllDerObjs();
    /// Reserved for the host; never called by the library. Does nothing.
    virtual void reservedHostOperation1();
    /// The host's update of the object with `handle` (a copy of it); called by the
    /// object's updateObject only. `out` and `flag` are those given to updateObject (by
    /// updateDocManObject, its own); the library never reads `out`, and after an update
    /// with `flag` it clears a detail document's model extract file name. `mod` is
    /// eObjectModified from every document-manager message; `msgWas4` and `msgWas13`
    /// tell the messages eDlgDocManMsgUpdateSpecial and eDlgDocManMsgUpdateAlt. eStatusOk
    /// is success: only then is the status re-read and the row refilled.
    virtual TevDerDocEnums::ErrorStatus updateDerivedObject(int& out, const TevString& handle,
                                                            TevDerDocEnums::ObjectModification mod,
                                                            bool msgWas4, bool flag,
                                                            bool msgWas13) = 0;
    /// Reserved for the host; never called by the library. Does nothing.
    virtual void reservedHostOperation2();
    /// The initial file name of the info cache (built first when there is none); empty
    /// without a cache.
    /// \par Calls the host:
    /// the info build when there is no info.
    virtual TevString getInitialFilename();
    /// Default: 0 (no approval record). Reached through the object's getDocumentApproval.
    virtual int getDocumentApproval(TevDocumentApproval& approval);
    /// Default: eStatusOk. The document manager's SetApprovalStatus message passes its
    /// approval status, then refreshes the info's approval.
    virtual TevDerDocEnums::ErrorStatus setDocumentApprovalStatus(int status);
    /// Default: eStatusNotSupported. The SetApprovalComment message passes the row's
    /// m_newApprovalComment.
    virtual TevDerDocEnums::ErrorStatus setDocumentApprovalComment(const TevString& comment);
    /// Default: eStatusOk. Never called by the library.
    virtual TevDerDocEnums::ErrorStatus changePrototype(int& prototype);
    /// Default: eStatusNotSupported. The Rename message passes the row's m_newName and
    /// ignores the answer; the info is dropped.
    virtual TevDerDocEnums::ErrorStatus renameDoc(const TevString& newName);
    /// Default: eStatusOk. The CheckOn message passes 1, CheckOff 0; then the info's
    /// check status is refreshed.
    virtual TevDerDocEnums::ErrorStatus setCheckDocumentStatus(int status);
    /// Default: true. False stops getUpdateAllDerObjs from updating: every object becomes
    /// eStatusUndetermined.
    virtual bool checkDocumentStatus();
    /// Default: reset(). Called by deleteMissingFileDocs, removeIfFileNotExists and the
    /// library kinds' addAllDerivedObjects with `checkFile` when the file is missing.
    /// \par Calls the host:
    /// reset (default: the factory's disposeObject per object).
    virtual void setObsolete();
    /// Default: 0 (the document does not leave any list of the host). Called by
    /// unregistDoc.
    virtual int deregistFromModel();
    /// Lets the host add values only the model knows, before the model's fillNewInfo.
    /// Default: does nothing.
    virtual void fillModelOnlyInfo(TevDerivedDocumentInfo* info);
    /// Fills the info of a document that requires no update (in the info build).
    virtual void fillOldInfo(TevDerivedDocumentInfo* info) = 0;
    /// Before the model's refreshNewInfo. Default: does nothing.
    virtual void refreshModelOnlyInfo(TevDerivedDocumentInfo* info,
                                      TevDerDocEnums::eDerivedDocInfo what);
    /// Refreshes parts of the info of a document that requires no update.
    virtual void refreshOldInfo(TevDerivedDocumentInfo* info,
                                TevDerDocEnums::eDerivedDocInfo what) = 0;

    /// A copy of the document's key.
    TevDerivedDocKey getKey() const;
    /// The model that holds the document.
    TevDerivedDocumentsModel* getModel() const;

    /// Appends `obj` and takes ownership. False, and `obj` stays the caller's, when
    /// `checkExisting` is set and hasObject is true for it, or when the list cannot
    /// grow for want of memory.
    bool addDerivedObject(TevDerivedObject* obj, bool checkExisting);
    /// Empties `out`, then fills it with all objects (eDocTypeAll) or those of `type`.
    void getDerivedObjects(TevArray<TevDerivedObject*>& out, TevDerDocEnums::eDocType type) const;
    /// Empties the list without touching the objects; the caller disposed of them.
    void derivedObjectsDeleted();
    /// True when an object with the handle of `obj` is listed; objects without a
    /// handle are told apart by id.
    bool hasObject(TevDerivedObject* obj);
    /// 1 and the position of the first object whose handle is `handle`; 0 otherwise
    /// (`index` untouched).
    int getIndexOf(const TevString& handle, int& index) const;
    /// Removes the entry and disposes of the object; 1 on success.
    /// \pre 0 <= index < number of objects.
    /// \par Calls the host:
    /// the factory's disposeObject.
    int deleteDerivedObject(int index);
    /// Removes the first entry equal to `obj` and disposes of `obj` whether or not it
    /// was listed; 1 when it was.
    /// \par Calls the host:
    /// the factory's disposeObject.
    int deleteDerivedObject(TevDerivedObject* obj);
    /// Sets the status of every object to `status`.
    void setStatusOfDerObjects(TevDerDocEnums::ErrorStatus status);
    /// While the document requires an update, deletes its update-only objects.
    /// \par Calls the host:
    /// the factory's disposeObject per update-only object.
    void resetUpdOnlyDerivedObjects();
    /// Re-reads the status of every object (only the update-only ones with
    /// `onlyUpdOnly`), then fills the infos and tells the model.
    /// \par Calls the host, in order:
    /// checkDocumentStatus (false: the statuses become eStatusUndetermined, nothing more); the
    /// model's checkDerivedObjects(this, true, true); beginGetUpdateAllDerObjs; each object's
    /// getUpdate (the model's isCommandActive and getNewUpdate); endGetUpdateAllDerObjs; the info
    /// build without notice; the model's derivedDocRefreshed.
    void getUpdateAllDerObjs(bool onlyUpdOnly);

    /// True while the document requires an update (setHasUpdReq).
    bool hasUpdReq() const;
    /// The host's to set, usually in addAllDerivedObjects (see Update states in
    /// TevDerivedDocumentsModel). A change drops the info and the update-only objects,
    /// then lets the kind add update-only objects for the new state.
    /// \par Calls the host on a change:
    /// the factory's disposeObject per update-only object (when it required an update), then
    /// addUpdOnlyDerivedObjects(false, false).
    void setHasUpdReq(bool value);
    /// Kept for the host; the library never reads it.
    bool getHasDerObjWithNoUpd() const;
    /// Sets the flag getHasDerObjWithNoUpd answers; false at first.
    void setHasDerObjWithNoUpd(bool value);
    /// The modification state; eModificationNone at first and after reset().
    TevDerDocEnums::ModificationState getModificationState();
    /// Stores `state`; eModificationObsolete is announced to the model every time.
    /// \par Calls the host:
    /// the model's derivedDocModified for eModificationObsolete.
    void setModificationState(TevDerDocEnums::ModificationState state);
    /// Kept for the host; reset() sets it to 0.
    int getClosedWithoutSave() const;
    /// Sets the value getClosedWithoutSave answers.
    void setClosedWithoutSave(int value);
    /// True at first; cleared by the first getUpdate that asks the model for a status.
    /// The library gives it no other meaning.
    bool getCheckDocFile() const;
    /// Sets the flag getCheckDocFile answers.
    void setCheckDocFile(bool value);
    /// The code the document-manager table shows for `status`.
    int getGuiStatus(TevDerDocEnums::ErrorStatus status);
    /// The model's isCommandActive for this document's full file name.
    /// \par Calls the host:
    /// the model's isCommandActive.
    int isCommandActive();

    /// The key's file name: name and extension.
    TevString getFileName() const;
    /// Derived-documents folder, relative path and file name joined; empty when the file
    /// name is empty.
    TevString getFullFileName() const;
    /// The full file name with its extension replaced by ".upd".
    TevString getFullUpdFileName() const;
    /// True when the file of getFullFileName exists.
    bool hasDocFile() const;
    /// Makes the document obsolete when its file is gone; true in that case.
    /// \par Calls the host:
    /// setObsolete when the file is gone.
    bool removeIfFileNotExists();

    /// The info cache, built on first use; may be null when it cannot be built.
    /// \par Calls the host:
    /// the info build when there is no info.
    const TevDerivedDocumentInfo* getInfo();
    /// Builds the cache when there is none: from the model when the document requires
    /// an update, through fillOldInfo otherwise.
    /// \par Calls the host:
    /// fillModelOnlyInfo and the model's fillNewInfo, or fillOldInfo.
    void fillInfo();
    /// The info build: builds the document's cache and those of all its objects that
    /// have none; `notify` tells the model afterwards.
    /// \par Calls the host, in order:
    /// the model's checkDerivedObjects(this, true, true); beginGetUpdateAllDerObjs; fillInfo's
    /// calls; per object without info createInfoInstance, then the model's fillNewInfo when it
    /// requires an update and fillOldInfo when that answered 0 or none is required (a dummy asks
    /// neither); the model's derivedDocRefreshed with `notify`; endGetUpdateAllDerObjs.
    void fillInfoAllDerObjs(bool notify);
    /// Drops the info cache; the next reader builds it anew.
    void resetInfo();
    /// Refreshes the parts `what` of the cache (builds it when there is none).
    /// \par Calls the host:
    /// the info build when there is no info; refreshOldInfo when no update is required; otherwise
    /// the model's derivedDocRefreshed, refreshModelOnlyInfo, the model's refreshNewInfo,
    /// derivedDocRefreshed.
    void refreshInfo(TevDerDocEnums::eDerivedDocInfo what);
    /// The last revision index of the info cache; empty without a cache.
    /// \par Calls the host:
    /// the info build when there is no info.
    TevString getLastRevIdx();

    /// Appends a row for every object not in `table` yet. A null table changes nothing.
    /// Pass the attached table: the library takes rows out of that one only, and an
    /// object destroyed while marked as in a table is reported ("!m_alreadyInTable").
    /// \par Calls the host:
    /// each object's appendDocManObject (its fillDocManObjectData).
    void addDocManObjects(TevArray<TevDocManObject>* table);
    /// Every object forgets that it is in the table; no row is touched.
    void removeFromTable();

protected:
    /// Takes the rows of `obj` out of `rows` (the model's table when null) and hands it
    /// to `factory` (the installed one when null). The list is not touched.
    /// \par Calls the host:
    /// `factory`'s disposeObject.
    void reset(TevDerivedObject* obj, TevArray<TevDocManObject>* rows,
               TevDerivedDocumentsFactory* factory);
    /// Resets `info`, then lets the host and the model fill it.
    /// \par Calls the host:
    /// fillModelOnlyInfo, then the model's fillNewInfo.
    void fillNewInfo(TevDerivedDocumentInfo* info);
    /// Refreshes the parts `what` of `info` through the host and the model.
    /// \par Calls the host:
    /// refreshModelOnlyInfo, then the model's refreshNewInfo.
    void refreshNewInfo(TevDerivedDocumentInfo* info, TevDerDocEnums::eDerivedDocInfo what);

    /// The BOM and NC documents hold one object, made by `create` when the list is
    /// empty; shared steps of their addAllDerivedObjects.
    using CreateObject = TevDerivedObject* (*)(TevDerivedDocumentsFactory& factory,
                                               TevDerivedDocument* doc);
    /// The shared steps of the BOM and NC kinds' addAllDerivedObjects; answers the number
    /// of objects, 0 for a refused document or without a factory.
    /// \par Calls the host, in order:
    /// with `checkFile` and no file, setObsolete (and answers 0); `create` (the factory) when there
    /// is no object; getUpdateAllDerObjs with `update`, else the model's checkDerivedObjects(this,
    /// true, true).
    int addSingleDerivedObject(bool update, bool checkFile, bool resetStatus, CreateObject create);

    TevArray<TevDerivedObject*> m_derivedObjects; ///< Owned; disposed of through the factory.
    TevDerivedDocKey m_key;                       ///< The document's identity.
    TevDerivedDocumentsModel* m_model; ///< Not owned; valid while the model holds the document.
    bool m_hasDerObjWithNoUpd;         ///< Kept for the host (setHasDerObjWithNoUpd).
    TevDerDocEnums::ModificationState m_modificationState; ///< See getModificationState.
    int m_closedWithoutSave;        ///< Kept for the host (setClosedWithoutSave).
    TevDerivedDocumentInfo* m_info; ///< Owned; null until built.
    bool m_hasUpdReq;               ///< True while the document requires an update.
    bool m_checkDocFile;            ///< See getCheckDocFile.
    std::uintptr_t m_reserved;      ///< Reserved; 0, never used by the library.

private:
    friend class TevDerivedDocumentsModel; // Files a new document under its key without a copy.
    friend class TevDerivedObject; // A full update walks the live list, which callbacks change.

    void disposeObject(TevDerivedObject* obj);
};

#endif // TEV_DERIVED_DOCUMENT_H
