#include "TevDerivedDwgNo.h"

TevDerivedDwgNo::TevDerivedDwgNo() = default;

TevDerivedDwgNo::TevDerivedDwgNo(const TevString& fileName, const TevString& fullFileName,
                                 const TevString& dwgNo, const TevString& dwgNoPrefix)
    : m_fileName(fileName)
    , m_fullFileName(fullFileName)
    , m_dwgNo(dwgNo)
    , m_dwgNoPrefix(dwgNoPrefix) {}

TevDerivedDwgNo::TevDerivedDwgNo(const TevDerivedDwgNo& other) = default;

TevDerivedDwgNo& TevDerivedDwgNo::operator=(const TevDerivedDwgNo& other) = default;

TevDerivedDwgNo::~TevDerivedDwgNo() = default;

void TevDerivedDwgNo::getDwgNo(TevString& out) const {
    out = m_dwgNo;
}

void TevDerivedDwgNo::getDwgNoPrefix(TevString& out) const {
    out = m_dwgNoPrefix;
}

void TevDerivedDwgNo::getFileName(TevString& out) const {
    out = m_fileName;
}

void TevDerivedDwgNo::getFullFileName(TevString& out) const {
    out = m_fullFileName;
}
