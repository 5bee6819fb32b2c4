/// \file
/// A derived object: one drawing, report entry or NC output inside a derived document.
/// It records its identity, its update status, whether it requires an update, the
/// host's update-only and dummy flags, its duplicate group and a lazily built info.
/// The status and info of an object that requires an update come from the host through
/// the model; otherwise the host's own subclass fills the info (fillOldInfo). The
/// document owns the object and hands it to the factory for disposal.
///
/// The order of the virtual operations is part of the interface hosts compile against.
///
/// Who sets the update requirement and when the status is re-read (the values of
/// ErrorStatus included): see Update states in TevDerivedDocumentsModel. The readers of
/// the info (getInfo, getTitle and the other getters below it) build the document's infos
/// first when this object has none, and so call the host.
#ifndef TEV_DERIVED_OBJECT_H
#define TEV_DERIVED_OBJECT_H

#include "LumDerivedDocumentsBaseExport.h"
#include "LumTable/TevDocManObject.h"
#include "QXNativeDataObjects/TevDocumentApproval.h"
#include "TevArray.h"
#include "TevDerDocEnums.h"
#include "TevString.h"

#include <cstdint>

class TevDerivedDocument;
class TevDerivedObjectDuplicateInfo;
class TevDerivedObjectInfo;

/// A derived object: one drawing, report entry or NC output inside a derived document
/// (see TevDerivedObject.h). The library's kinds TevDerivedObjectDetail,
/// TevDerivedObjectBom and TevDerivedObjectNC derive from it; hosts derive from those.
class LUMDERDOC_EXPORT TevDerivedObject {
public:
    /// A detail object with id 0 is a dummy object. The status starts as
    /// eStatusUndetermined; the command-active value is the document's.
    /// \pre doc != nullptr.
    /// \par Calls the host:
    /// the model's isCommandActive (through the document).
    TevDerivedObject(TevDerivedDocument* doc, std::int64_t id, const TevString& handle,
                     TevDerDocEnums::eDocType type, TevDerDocEnums::eDocSubType subType);
    /// An object owns its info; copying would leave two owners.
    TevDerivedObject(const TevDerivedObject&) = delete;
    TevDerivedObject& operator=(const TevDerivedObject&) = delete;
    /// Leaves its duplicate group and deletes its info.
    /// \pre the object left the document-manager table ("!m_alreadyInTable").
    virtual ~TevDerivedObject();

    /// Appends one filled row to `table` and answers 1; answers 0 with the table
    /// unchanged for an object without a document, an object already in the table, a
    /// `subType` filter that is neither eDocSubTypeAll nor the document's sub-kind, a
    /// null table, or a table that cannot grow for want of memory.
    /// \par Calls the host:
    /// fillDocManObjectData's calls.
    virtual int appendDocManObject(TevArray<TevDocManObject>* table,
                                   TevDerDocEnums::eDocSubType subType);
    /// Fills a row: the document's part, then the display status (15 for a duplicate),
    /// the command-active value and the object itself. The kinds add their own fields.
    /// Fill a row of your own, not one of a table your callbacks may grow;
    /// updateDocManObject does so.
    /// \par Calls the host:
    /// the document's fillDocManObjectData (the info build when it has no info); the kinds: the
    /// info build when this object has none, and for a BOM object getReportManager and the report
    /// manager's getModelExtract.
    virtual void fillDocManObjectData(TevDocManObject& row);
    /// Carries out the document-manager `message` for `row`; 1 when it succeeded and the
    /// row was refilled, 0 (row unchanged) when the operation failed. `flag` and `out`
    /// go to updateObject; `approvalStatus` is used by eDlgDocManMsgSetApprovalStatus.
    /// \par Calls the host, by message:
    /// Update and UpdateAlt: updateObject, then, for an object that is not update-only, the
    /// document's addUpdOnlyDerivedObjects(false, true) when it required and still requires an
    /// update, and each update-only object's getUpdate inside the model's check bracket;
    /// UpdateSpecial and UpdateObject: updateObject; Refresh, RefreshAlt, and Recheck in
    /// eStatusRecheck: getUpdate; SetApprovalStatus, CheckOn, CheckOff and SetApprovalComment: the
    /// document's setDocumentApprovalStatus, setCheckDocumentStatus or setDocumentApprovalComment,
    /// then its refreshInfo; RefreshRevisions: the document's refreshInfo; Rename: its renameDoc;
    /// any other: nothing. Then fillDocManObjectData refills the row, except after an operation
    /// that did not answer eStatusOk.
    virtual int updateDocManObject(TevDocManObject& row, int message, bool flag, int& out,
                                   int approvalStatus);
    /// Refreshes the first row of `table` that shows this object, when it is in the table.
    /// \par Calls the host:
    /// updateDocManObject with the Recheck message (getUpdate only in eStatusRecheck, then the
    /// refill).
    virtual void updateDocManInformations(TevArray<TevDocManObject>* table);
    /// Reserved for the host; never called by the library. Does nothing.
    virtual void reserved5();

protected:
    /// A new, empty info of the object's own kind; the caller owns it.
    virtual TevDerivedObjectInfo* createInfoInstance() = 0;

public:
    /// Fills `info` of an object that requires no update.
    virtual void fillOldInfo(TevDerivedObjectInfo* info) = 0;

protected:
    /// Default: fillOldInfo(info); `what` is not used.
    /// \par Calls the host:
    /// fillOldInfo.
    virtual void refreshOldInfo(TevDerivedObjectInfo* info, TevDerDocEnums::eDerivedDocInfo what);

public:
    /// Reserved for the host; never called by the library. Does nothing.
    virtual void reserved9();

    std::int64_t getId() const;                     ///< The object's id in its document's kind.
    TevDerDocEnums::eDocType getType() const;       ///< The object's kind.
    TevDerDocEnums::eDocSubType getSubType() const; ///< The object's sub-kind.
    TevDerivedDocument* getDerivedDoc() const;      ///< The document that holds the object.
    TevString getHandle() const;                    ///< The object's handle.
    void setHandle(const TevString& handle);        ///< Sets the object's handle.
    /// True while the object requires an update (setHasUpdReq).
    bool hasUpdReq() const;
    /// The host's to set, usually in the model's checkDerivedObjects; the library never
    /// does. While set, getUpdate asks the model's getNewUpdate for the status and the
    /// info comes from the model. A change drops the info: it was built from the other
    /// source.
    void setHasUpdReq(bool value);
    /// The last known status; nothing is recomputed.
    TevDerDocEnums::ErrorStatus getUpdateFast();
    /// Sets the status; for the host. The statuses the library sets itself: see Update states in
    /// TevDerivedDocumentsModel.
    void setStatus(TevDerDocEnums::ErrorStatus status);
    /// Marks the object as update-only; there is no way back.
    void setUpdOnlyObject();
    /// True once setUpdOnlyObject has run.
    bool isUpdOnlyObject() const;
    /// True for a detail object with id 0: its status and info are never asked from the
    /// host.
    bool isDummyObject() const;
    /// Not owned; the model owns the groups.
    void setDuplicateInfo(TevDerivedObjectDuplicateInfo* group);
    /// The object's duplicate group; null when it is in none. Not owned.
    TevDerivedObjectDuplicateInfo* getDuplicateInfo() const;
    /// True when the object's group holds two or more objects.
    bool isDuplicate() const;
    /// Clears the old-object reference kept for the host.
    void resetOldObjProxy();

    /// Re-reads and stores the status: a dummy keeps its status, a missing document
    /// file gives eStatusFileMissing, an object that requires an update asks the model,
    /// any other keeps its status. Also re-reads the command-active value.
    /// \par Calls the host, in order:
    /// the model's isCommandActive, then its getNewUpdate(this, false) for an object that is not a
    /// dummy, whose file exists and that requires an update.
    TevDerDocEnums::ErrorStatus getUpdate();
    /// With eObjectModified, re-reads the status inside the model's check bracket.
    /// \par Calls the host:
    /// beginCheckDerivedObjects, getUpdate's calls, endCheckDerivedObjects.
    void updatePerformed(TevDerDocEnums::ObjectModification mod);
    /// Regenerates the object through its document and drops its info; the status is
    /// re-read when the update succeeded and `mod` is eObjectModified. `out` and `flag`
    /// go to updateDerivedObject; `msg` tells it eDlgDocManMsgUpdateSpecial and
    /// eDlgDocManMsgUpdateAlt apart; with `flag` a detail document's model extract file
    /// name is cleared afterwards.
    /// \par Calls the host, in order:
    /// the document's updateDerivedObject; the model's checkDerivedObjects(doc, true, true); on
    /// eStatusOk with eObjectModified, getUpdate inside beginCheckDerivedObjects and
    /// endCheckDerivedObjects.
    TevDerDocEnums::ErrorStatus updateObject(int& out, TevDerDocEnums::eDlgDocManMessage msg,
                                             TevDerDocEnums::ObjectModification mod, bool flag);

    /// The info, built with the infos of the whole document on first use; may be null.
    /// \par Calls the host:
    /// the document's info build (TevDerivedDocument::fillInfoAllDerObjs) when this object has no
    /// info.
    const TevDerivedObjectInfo* getInfo();
    /// Builds the info once: from the model for an object that requires an update,
    /// falling back to fillOldInfo when the model fills nothing. A dummy keeps an
    /// empty info.
    /// \par Calls the host:
    /// createInfoInstance, then the model's fillNewInfo when an update is required, fillOldInfo
    /// when that answered 0 or none is required; a dummy asks neither.
    void fillInfo();
    /// Drops the info; the next reader builds it anew.
    void resetInfo();
    /// Refreshes the info (builds the document's infos when this one has none).
    /// \par Calls the host:
    /// the document's info build when there is no info; for a dummy nothing more; refreshOldInfo
    /// when no update is required; otherwise the model's derivedDocRefreshed, refreshNewInfo and
    /// derivedDocRefreshed again.
    void refreshInfo(TevDerDocEnums::eDerivedDocInfo what);

    /// The info's title. Each reader of the info below builds the document's infos first
    /// when this object has none, and answers the empty value when there is still no info.
    /// \par Calls the host (each):
    /// the document's info build when this object has no info.
    TevString getTitle();
    /// The info's logical base object handle; empty without info.
    /// \par Calls the host:
    /// the document's info build when this object has no info.
    TevString getLogicalBaseObjectHandle();
    /// The info's logical base server handle; empty without info.
    /// \par Calls the host:
    /// the document's info build when this object has no info.
    TevString getLogicalBaseServerHandle();
    /// The info's equal-part model handle; empty without info.
    /// \par Calls the host:
    /// the document's info build when this object has no info.
    TevString getEqualPartModelHandle();
    /// The info's equal-part server handle; empty without info.
    /// \par Calls the host:
    /// the document's info build when this object has no info.
    TevString getEqualPartServerHandle();
    /// The info's model selection; 0 without info.
    /// \par Calls the host:
    /// the document's info build when this object has no info.
    long getModelSelection();
    /// Empty `out`, then copy the info's list into it.
    /// \par Calls the host:
    /// the document's info build when this object has no info.
    void getModelHandles(TevArray<TevString>& out);
    /// Empty `out`, then copy the info's server handles into it.
    /// \par Calls the host:
    /// the document's info build when this object has no info.
    void getServerHandles(TevArray<TevString>& out);

    /// Forwarded to the document; 0 or eStatusNotSupported without a document (each of
    /// the three below).
    /// \par Calls the host (each):
    /// the document's operation of the same name.
    int getDocumentApproval(TevDocumentApproval& approval);
    /// Forwarded to the document; eStatusNotSupported without a document.
    /// \par Calls the host:
    /// the document's setDocumentApprovalStatus.
    TevDerDocEnums::ErrorStatus setDocumentApprovalStatus(int status);
    /// Forwarded to the document; eStatusNotSupported without a document.
    /// \par Calls the host:
    /// the document's setCheckDocumentStatus.
    TevDerDocEnums::ErrorStatus setCheckDocumentStatus(int status);

    /// Takes the object's rows out of `table`: each row showing it is marked removed and
    /// erased, or only marked while the document manager is open. The object is then
    /// no longer in the table. A null table changes nothing.
    void removeDocManInformations(TevArray<TevDocManObject>* table);
    /// Forgets that the object is in the table; no row is touched.
    void removeFromTable();

protected:
    /// The model's answer for this object's status; eStatusNotSupported without a model.
    /// \par Calls the host:
    /// the model's getNewUpdate(this, false).
    TevDerDocEnums::ErrorStatus getNewUpdate();
    /// Resets `info` and lets the model fill it; the model's answer, 0 without a model.
    /// \par Calls the host:
    /// the model's fillNewInfo (after the info's reset).
    int fillNewInfo(TevDerivedObjectInfo* info);
    /// Lets the model refresh the parts `what` of `info`.
    /// \par Calls the host:
    /// the model's refreshNewInfo.
    void refreshNewInfo(TevDerivedObjectInfo* info, TevDerDocEnums::eDerivedDocInfo what);
    /// Builds the document's infos when this object has none.
    /// \par Calls the host:
    /// the document's info build when this object has no info.
    void ensureInfo();

    TevDerivedDocument* m_derivedDoc; ///< Not owned; valid while the document holds the object.
    bool m_alreadyInTable;            ///< True while a row of the attached table shows it.
    std::int64_t m_id;                ///< The object's id.
    TevString m_handle;               ///< The object's handle.
    TevDerDocEnums::eDocType m_type;  ///< The object's kind.
    TevDerDocEnums::eDocSubType m_subType; ///< The object's sub-kind.
    bool m_updOnly;                        ///< Set by setUpdOnlyObject.
    bool m_dummy;                          ///< A detail object with id 0.
    bool m_hasUpdReq;                      ///< True while the object requires an update.
    TevDerDocEnums::ErrorStatus m_status;  ///< The last known status.
    void* m_oldObjProxy;          ///< Not owned; kept for the host, only ever cleared here.
    TevDerivedObjectInfo* m_info; ///< Owned; null until built.
    int m_commandActive;          ///< The last command-active value read.
    TevDerivedObjectDuplicateInfo* m_duplicateInfo; ///< Not owned; the model owns groups.

private:
    // Fills `row` and answers 1.
    int refill(TevDocManObject& row);
    // 0 when `status` is a failure, otherwise refill(row).
    int refillUnlessFailed(TevDerDocEnums::ErrorStatus status, TevDocManObject& row);
    // Messages 0 and 13: the update, then the update-only objects of the document.
    int fullUpdate(TevDocManObject& row, TevDerDocEnums::eDlgDocManMessage message, bool flag,
                   int& out);
    // Leaves the duplicate group, as the model's removeObjectFromDuplicate does.
    void leaveDuplicateGroup();
    // updateDocManObject on `row`, a copy of the host's row that no host call can move.
    int carryOutDocManMessage(TevDocManObject& row, int message, bool flag, int& out,
                              int approvalStatus);
};

#endif // TEV_DERIVED_OBJECT_H
