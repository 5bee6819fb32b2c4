/// \file
/// The drawing number of one detail drawing as the model hands it to the host: the
/// document's file name and full file name, the number proper and its prefix.
#ifndef TEV_DERIVED_DWG_NO_H
#define TEV_DERIVED_DWG_NO_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevString.h"

/// The drawing number of one detail drawing (see TevDerivedDwgNo.h).
class LUMDERDOC_EXPORT TevDerivedDwgNo {
public:
    /// Four empty texts.
    TevDerivedDwgNo();
    /// Keeps the four texts as given.
    TevDerivedDwgNo(const TevString& fileName, const TevString& fullFileName,
                    const TevString& dwgNo, const TevString& dwgNoPrefix);
    /// Copies the four texts.
    TevDerivedDwgNo(const TevDerivedDwgNo& other);
    /// Copies the four texts.
    TevDerivedDwgNo& operator=(const TevDerivedDwgNo& other);
    /// Destroys the texts.
    ~TevDerivedDwgNo();

    /// Copies the drawing number into `out`.
    void getDwgNo(TevString& out) const;
    /// Copies the drawing number's prefix into `out`.
    void getDwgNoPrefix(TevString& out) const;
    /// Copies the document's file name into `out`.
    void getFileName(TevString& out) const;
    /// Copies the document's full file name into `out`.
    void getFullFileName(TevString& out) const;

private:
    TevString m_fileName;
    TevString m_fullFileName;
    TevString m_dwgNo;
    TevString m_dwgNoPrefix;
};

#endif // TEV_DERIVED_DWG_NO_H
