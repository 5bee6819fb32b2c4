// A derived document: one file produced from the structural model (a detail drawing, a
// BOM report, an NC file). It knows its key and its model, owns its derived objects and
// a lazily built info cache, and keeps its objects consistent with the host's
// document-manager table: an object's rows leave the table before the object goes back
// to the factory. The library's kinds derive from it; hosts derive from those.
//
// The order of the virtual operations is part of the interface hosts compile against.
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

class LUMDERDOC_EXPORT TevDerivedDocument {
public:
    // REQUIRES: model != nullptr ("m_model"). The key starts with `type` and `subType`,
    // id -1 and empty texts; the kinds fill in the rest.
    TevDerivedDocument(TevDerivedDocumentsModel* model, TevDerDocEnums::eDocType type,
                       TevDerDocEnums::eDocSubType subType);
    // A document owns its objects and info; copying would dispose of them twice.
    TevDerivedDocument(const TevDerivedDocument&) = delete;
    TevDerivedDocument& operator=(const TevDerivedDocument&) = delete;
    // Runs reset(): every object's rows leave the table and the object goes back to
    // the factory.
    virtual ~TevDerivedDocument();

    // Adds the document's objects when it is registered (`alreadyRegistered` when the
    // model held the key before). 0 refuses the document.
    virtual int addAllDerivedObjects(bool update, bool alreadyRegistered, bool checkFile,
                                     bool resetStatus) = 0;
    // Default: does nothing. Detail documents hand this over to the model.
    virtual void addUpdOnlyDerivedObjects(bool flag1, bool flag2);
    // Fills the document's part of a row of one of its objects: file name, folder
    // (without a model the folder is left as it was) and, when the info can be built,
    // prototype name, drawing number, approval, check status and revisions. Calls the
    // host when the info is built: fill a row of your own, not one of a table your
    // callbacks may grow.
    virtual void fillDocManObjectData(TevDocManObject& row);
    // Re-reads the status of every object, then refreshes the row of each object that
    // has one in `table`.
    virtual void updateDocManInformations(TevArray<TevDocManObject>* table);
    // Takes the rows of every object out of `table` (erased, or marked while the
    // document manager is open). A null table changes nothing.
    virtual void removeDocManInformations(TevArray<TevDocManObject>* table);
    // Empties the document: objects disposed of (rows first), modification state and
    // closed-without-save marker 0, info dropped, update requirement cleared.
    virtual void reset();
    // Clears the old-object reference of every object.
    virtual void resetOldDocRef();
    // The document's file was renamed: the key's file name becomes the name and
    // extension of `newPath` and the info is dropped. `other` is not used here.
    virtual void fileNameChanged(const TevString& newPath, const TevString& other);
    // Hooks around the update of all objects. Default: do nothing.
    virtual void beginGetUpdateAllDerObjs();
    virtual void endGetUpdateAllDerObjs();
    // Reserved for the host; never called by the library. Does nothing.
    virtual void reservedHostOperation1();
    // The host's update of the object with `handle`; called by the object's
    // updateObject only.
    virtual TevDerDocEnums::ErrorStatus updateDerivedObject(int& out, const TevString& handle,
                                                            TevDerDocEnums::ObjectModification mod,
                                                            bool msgWas4, bool flag,
                                                            bool msgWas13) = 0;
    // Reserved for the host; never called by the library. Does nothing.
    virtual void reservedHostOperation2();
    // The initial file name of the info cache (built first when there is none); empty
    // without a cache.
    virtual TevString getInitialFilename();
    // Default: 0 (no approval record).
    virtual int getDocumentApproval(TevDocumentApproval& approval);
    // Default: eStatusOk.
    virtual TevDerDocEnums::ErrorStatus setDocumentApprovalStatus(int status);
    // Default: eStatusNotSupported.
    virtual TevDerDocEnums::ErrorStatus setDocumentApprovalComment(const TevString& comment);
    // Default: eStatusOk.
    virtual TevDerDocEnums::ErrorStatus changePrototype(int& prototype);
    // Default: eStatusNotSupported.
    virtual TevDerDocEnums::ErrorStatus renameDoc(const TevString& newName);
    // Default: eStatusOk.
    virtual TevDerDocEnums::ErrorStatus setCheckDocumentStatus(int status);
    // Default: true. False stops getUpdateAllDerObjs from updating.
    virtual bool checkDocumentStatus();
    // Default: reset().
    virtual void setObsolete();
    // Default: 0 (the document does not leave any list of the host).
    virtual int deregistFromModel();
    // Lets the host add values only the model knows. Default: does nothing.
    virtual void fillModelOnlyInfo(TevDerivedDocumentInfo* info);
    // Fills the info of a document that requires no update.
    virtual void fillOldInfo(TevDerivedDocumentInfo* info) = 0;
    // Default: does nothing.
    virtual void refreshModelOnlyInfo(TevDerivedDocumentInfo* info,
                                      TevDerDocEnums::eDerivedDocInfo what);
    // Refreshes parts of the info of a document that requires no update.
    virtual void refreshOldInfo(TevDerivedDocumentInfo* info,
                                TevDerDocEnums::eDerivedDocInfo what) = 0;

    TevDerivedDocKey getKey() const;
    TevDerivedDocumentsModel* getModel() const;

    // Appends `obj` and takes ownership. False, and `obj` stays the caller's, when
    // `checkExisting` is set and hasObject is true for it, or when the list cannot
    // grow for want of memory.
    bool addDerivedObject(TevDerivedObject* obj, bool checkExisting);
    // Empties `out`, then fills it with all objects (eDocTypeAll) or those of `type`.
    void getDerivedObjects(TevArray<TevDerivedObject*>& out, TevDerDocEnums::eDocType type) const;
    // Empties the list without touching the objects; the caller disposed of them.
    void derivedObjectsDeleted();
    // True when an object with the handle of `obj` is listed; objects without a
    // handle are told apart by id.
    bool hasObject(TevDerivedObject* obj);
    // 1 and the position of the first object whose handle is `handle`; 0 otherwise
    // (`index` untouched).
    int getIndexOf(const TevString& handle, int& index) const;
    // REQUIRES: 0 <= index < number of objects. Removes the entry and disposes of the
    // object; 1 on success.
    int deleteDerivedObject(int index);
    // Removes the first entry equal to `obj` and disposes of `obj` whether or not it
    // was listed; 1 when it was.
    int deleteDerivedObject(TevDerivedObject* obj);
    void setStatusOfDerObjects(TevDerDocEnums::ErrorStatus status);
    // While the document requires an update, deletes its update-only objects.
    void resetUpdOnlyDerivedObjects();
    // Re-reads the status of every object (only the update-only ones with
    // `onlyUpdOnly`), then fills the infos and tells the model.
    void getUpdateAllDerObjs(bool onlyUpdOnly);

    bool hasUpdReq() const;
    // A change drops the info and the update-only objects, then lets the kind add
    // update-only objects for the new state.
    void setHasUpdReq(bool value);
    bool getHasDerObjWithNoUpd() const;
    void setHasDerObjWithNoUpd(bool value);
    TevDerDocEnums::ModificationState getModificationState();
    // Stores `state`; eModificationObsolete is announced to the model every time.
    void setModificationState(TevDerDocEnums::ModificationState state);
    int getClosedWithoutSave() const;
    void setClosedWithoutSave(int value);
    bool getCheckDocFile() const;
    void setCheckDocFile(bool value);
    // The code the document-manager table shows for `status`.
    int getGuiStatus(TevDerDocEnums::ErrorStatus status);
    // The model's isCommandActive for this document's full file name.
    int isCommandActive();

    TevString getFileName() const;
    // Derived-documents folder, relative path and file name joined; empty when the file
    // name is empty.
    TevString getFullFileName() const;
    // The full file name with its extension replaced by ".upd".
    TevString getFullUpdFileName() const;
    bool hasDocFile() const;
    // Makes the document obsolete when its file is gone; true in that case.
    bool removeIfFileNotExists();

    // The info cache, built on first use; may be null when it cannot be built.
    const TevDerivedDocumentInfo* getInfo();
    // Builds the cache when there is none: from the model when the document requires
    // an update, through fillOldInfo otherwise.
    void fillInfo();
    // Builds the document's cache and those of all its objects; `notify` tells the
    // model afterwards.
    void fillInfoAllDerObjs(bool notify);
    void resetInfo();
    // Refreshes the parts `what` of the cache (builds it when there is none).
    void refreshInfo(TevDerDocEnums::eDerivedDocInfo what);
    TevString getLastRevIdx();

    // Appends a row for every object not in `table` yet. A null table changes nothing.
    void addDocManObjects(TevArray<TevDocManObject>* table);
    // Every object forgets that it is in the table; no row is touched.
    void removeFromTable();

protected:
    // Takes the rows of `obj` out of `rows` (the model's table when null) and hands it
    // to `factory` (the installed one when null). The list is not touched.
    void reset(TevDerivedObject* obj, TevArray<TevDocManObject>* rows,
               TevDerivedDocumentsFactory* factory);
    void fillNewInfo(TevDerivedDocumentInfo* info);
    void refreshNewInfo(TevDerivedDocumentInfo* info, TevDerDocEnums::eDerivedDocInfo what);

    // The BOM and NC documents hold one object, made by `create` when the list is
    // empty; shared steps of their addAllDerivedObjects.
    using CreateObject = TevDerivedObject* (*)(TevDerivedDocumentsFactory& factory,
                                               TevDerivedDocument* doc);
    int addSingleDerivedObject(bool update, bool checkFile, bool resetStatus, CreateObject create);

    TevArray<TevDerivedObject*> m_derivedObjects; // Owned; disposed of through the factory.
    TevDerivedDocKey m_key;
    TevDerivedDocumentsModel* m_model; // Not owned; valid while the model holds the document.
    bool m_hasDerObjWithNoUpd;
    TevDerDocEnums::ModificationState m_modificationState;
    int m_closedWithoutSave;
    TevDerivedDocumentInfo* m_info; // Owned; null until built.
    bool m_hasUpdReq;
    bool m_checkDocFile;
    std::uintptr_t m_reserved;

private:
    friend class TevDerivedDocumentsModel; // Files a new document under its key without a copy.
    friend class TevDerivedObject; // A full update walks the live list, which callbacks change.

    void disposeObject(TevDerivedObject* obj);
};

#endif // TEV_DERIVED_DOCUMENT_H
