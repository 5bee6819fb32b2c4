/// \file
/// An NC fabrication output: one NC program or DXF file. Its key carries the NC
/// sub-kind, the NC or DXF name and a flag; it holds one derived object for the whole
/// file and falls back to its file name when no initial file name was recorded.
#ifndef TEV_DERIVED_DOCUMENT_NC_H
#define TEV_DERIVED_DOCUMENT_NC_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevDerivedDocument.h"

/// An NC fabrication output: one NC program or DXF file (see TevDerivedDocumentNC.h).
class LUMDERDOC_EXPORT TevDerivedDocumentNC : public TevDerivedDocument {
public:
    /// The key: kind eDocTypeNC, sub-kind `subType`, id 0 when `ncFlag` is set and 1
    /// otherwise, folder and file name from `path`, NC name `ncName`, the flag itself.
    /// `path` is below the derived-documents folder, without "..": `NC\Plates\P1.nc`
    /// (see Paths in TevDerivedDocumentsModel).
    TevDerivedDocumentNC(TevDerivedDocumentsModel* model, const TevString& path,
                         TevDerDocEnums::eDocSubType subType, const TevString& ncName, bool ncFlag);
    /// Destroys the document as TevDerivedDocument does.
    ~TevDerivedDocumentNC() override;

    /// As for a BOM document, with the one object made by the factory's createNCObject.
    /// \par Calls the host:
    /// as TevDerivedDocument::addSingleDerivedObject, the object made by the factory's
    /// createNCObject(this).
    int addAllDerivedObjects(bool update, bool alreadyRegistered, bool checkFile,
                             bool resetStatus) override;
    /// The recorded initial file name, or else the file name without its extension.
    /// \par Calls the host:
    /// the info build when there is no info.
    TevString getInitialFilename() override;

    /// Splits an NC path: `relPath` is a backslash followed by the whole folder part,
    /// `fileName` the name and extension.
    static void getRelPathAndFileNameFromPath(const TevString& path, TevString& relPath,
                                              TevString& fileName);
};

#endif // TEV_DERIVED_DOCUMENT_NC_H
