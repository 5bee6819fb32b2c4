/// \file
/// A bill of material: one report file produced from a report definition of the host,
/// an ordinary BOM list or a DSTV list. It keeps its copy of the definition, holds one
/// derived object for the whole report and withdraws the report through the model's
/// report manager when it becomes obsolete or leaves the model.
#ifndef TEV_DERIVED_DOCUMENT_BOM_H
#define TEV_DERIVED_DOCUMENT_BOM_H

#include "LumDerivedDocumentsBaseExport.h"
#include "QXNativeDataObjects/StructProjReport.h"
#include "TevDerivedDocument.h"

/// A bill of material: an ordinary BOM list or a DSTV list (see
/// TevDerivedDocumentBom.h).
class LUMDERDOC_EXPORT TevDerivedDocumentBom : public TevDerivedDocument {
public:
    /// The key: kind eDocTypeBom, sub-kind eDocSubTypeDstv when `dstv` is nonzero (else
    /// eDocSubTypeNone), id the report number, folder and file name from the report's
    /// file path, given as `..\BOM\Parts.txt` (see Paths in TevDerivedDocumentsModel).
    TevDerivedDocumentBom(TevDerivedDocumentsModel* model, const StructProjReport& report,
                          int dstv);
    /// Destroys the document as TevDerivedDocument does.
    ~TevDerivedDocumentBom() override;

    /// Without a file check failure or a missing factory: creates the one BOM object
    /// when there is none, updates or checks the objects, answers their number.
    /// `alreadyRegistered` is not used by this kind. With `checkFile` and no file, the
    /// document is made obsolete, which withdraws its report.
    /// \par Calls the host:
    /// as TevDerivedDocument::addSingleDerivedObject, the object made by the factory's
    /// createBomObject(this, empty handle).
    int addAllDerivedObjects(bool update, bool alreadyRegistered, bool checkFile,
                             bool resetStatus) override;
    /// Announces the obsolete state, withdraws the report, then resets the document.
    /// \par Calls the host, in order:
    /// the model's derivedDocModified(eModificationObsolete), deregistFromModel's calls, reset (the
    /// factory's disposeObject per object).
    void setObsolete() override;
    /// Hands the report (number and `..\folder\file` path) to the report manager's
    /// withdrawReport; 1 when it was withdrawn.
    /// \par Calls the host:
    /// the model's getReportManager, then withdrawReport.
    int deregistFromModel() override;

    /// The document's copy of the report definition it was built from.
    const StructProjReport& getReport() const;

    /// Splits a report file path: `fileName` is name and extension; `relPath` the folder
    /// without its first two characters when it contains "..", else `\DSTV\` or
    /// `\BOM\`.
    static void getRelPathAndFileNameFromPath(bool dstv, const TevString& path, TevString& relPath,
                                              TevString& fileName);

protected:
    StructProjReport m_report; ///< The copy of the report definition; getReport answers it.
};

#endif // TEV_DERIVED_DOCUMENT_BOM_H
