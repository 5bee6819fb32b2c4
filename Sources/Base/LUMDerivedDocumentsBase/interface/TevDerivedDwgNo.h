// The drawing number of one detail drawing as the model hands it to the host: the
// document's file name and full file name, the number proper and its prefix.
#ifndef TEV_DERIVED_DWG_NO_H
#define TEV_DERIVED_DWG_NO_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevString.h"

class LUMDERDOC_EXPORT TevDerivedDwgNo {
public:
    TevDerivedDwgNo();
    TevDerivedDwgNo(const TevString& fileName, const TevString& fullFileName,
                    const TevString& dwgNo, const TevString& dwgNoPrefix);
    TevDerivedDwgNo(const TevDerivedDwgNo& other);
    TevDerivedDwgNo& operator=(const TevDerivedDwgNo& other);
    ~TevDerivedDwgNo();

    // Each copies its member into `out`.
    void getDwgNo(TevString& out) const;
    void getDwgNoPrefix(TevString& out) const;
    void getFileName(TevString& out) const;
    void getFullFileName(TevString& out) const;

private:
    TevString m_fileName;
    TevString m_fullFileName;
    TevString m_dwgNo;
    TevString m_dwgNoPrefix;
};

#endif // TEV_DERIVED_DWG_NO_H
