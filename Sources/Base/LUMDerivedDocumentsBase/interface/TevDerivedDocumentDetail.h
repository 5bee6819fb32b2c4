/// \file
/// A detail drawing: one drawing file with a drawing number. It adds the detail's id in
/// the host, the rule that turns a creation path into folder and file name, the file
/// name of the drawing's model extract, the enable-update-BOM setting, access to the
/// drawing number and prototype name of the info cache, and the hand-over of update-only
/// objects to the model. Hosts derive their detail documents from it and implement
/// addAllDerivedObjects: the factory has no operation for detail objects, so the host's
/// document creates them (from TevDerivedObjectDetail) and honours the four flags as
/// TevDerivedDocument::addAllDerivedObjects describes.
#ifndef TEV_DERIVED_DOCUMENT_DETAIL_H
#define TEV_DERIVED_DOCUMENT_DETAIL_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevDerivedDocument.h"

#include <cstdint>

/// A detail drawing; hosts derive their detail documents from it (see
/// TevDerivedDocumentDetail.h).
class LUMDERDOC_EXPORT TevDerivedDocumentDetail : public TevDerivedDocument {
public:
    /// The key: kind eDocTypeDetail, sub-kind eDocSubTypeNone, id `id`, folder and file
    /// name from `path`, given as `..\Details\A1.dwg` (see Paths in
    /// TevDerivedDocumentsModel).
    TevDerivedDocumentDetail(TevDerivedDocumentsModel* model, std::int64_t id,
                             const TevString& path);
    /// Destroys the document as TevDerivedDocument does.
    ~TevDerivedDocumentDetail() override;

    /// While the document requires an update, asks the model to add its update-only
    /// objects; otherwise does nothing. The flags are passed on as they came.
    /// \par Calls the host:
    /// the model's addUpdOnlyDerivedObjects(this, flag1, flag2).
    void addUpdOnlyDerivedObjects(bool flag1, bool flag2) override;

    /// Kept for the host; 0 at first, never read by the library.
    void setEnableUpdateBOM(int value);
    /// The value last given to setEnableUpdateBOM; 0 at first.
    int getEnableUpdateBOM();
    /// Kept for the host; the library clears it after an updateObject with `flag`.
    TevString getModelExtractFileName() const;
    /// Sets the file name getModelExtractFileName answers.
    void setModelExtractFileName(const TevString& fileName);

    /// The drawing number and prefix of the info cache (built first when there is none);
    /// both outputs keep their values when there is no cache.
    /// \par Calls the host:
    /// the info build when there is no info.
    void getDwgNo(TevString& dwgNo, TevString& prefix);
    /// Records the base name of `path` as prototype name unless one is recorded already.
    /// \par Calls the host:
    /// the info build when there is no info.
    void setPrototypeName(const TevString& path);

    /// Splits a detail path: `fileName` is name and extension, with ".dwg" appended
    /// unless the extension is ".dwg" in any case; `relPath` the folder without its
    /// first two characters when it contains "..", else `\Details\` after reporting
    /// "0".
    static void getRelPathAndFileNameFromPath(const TevString& path, TevString& relPath,
                                              TevString& fileName);

protected:
    int m_enableUpdateBOM;            ///< Kept for the host (setEnableUpdateBOM).
    TevString m_modelExtractFileName; ///< Kept for the host (setModelExtractFileName).
};

#endif // TEV_DERIVED_DOCUMENT_DETAIL_H
