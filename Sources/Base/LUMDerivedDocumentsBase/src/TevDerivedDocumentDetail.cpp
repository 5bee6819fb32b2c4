#include "TevDerivedDocumentDetail.h"

#include "DocPaths.h"
#include "TevAssert.h"
#include "TevDerivedDocumentInfo.h"
#include "TevDerivedDocumentsModel.h"

#include <utility>

TevDerivedDocumentDetail::TevDerivedDocumentDetail(TevDerivedDocumentsModel* model, std::int64_t id,
                                                   const TevString& path)
    : TevDerivedDocument(model, TevDerDocEnums::eDocTypeDetail, TevDerDocEnums::eDocSubTypeNone)
    , m_enableUpdateBOM(0) {
    m_key.m_id = id;
    getRelPathAndFileNameFromPath(path, m_key.m_relPath, m_key.m_fileName);
}

TevDerivedDocumentDetail::~TevDerivedDocumentDetail() = default;

void TevDerivedDocumentDetail::addUpdOnlyDerivedObjects(bool flag1, bool flag2) {
    if (m_hasUpdReq && m_model != nullptr) {
        m_model->addUpdOnlyDerivedObjects(this, flag1, flag2);
    }
}

void TevDerivedDocumentDetail::setEnableUpdateBOM(int value) {
    m_enableUpdateBOM = value;
}

int TevDerivedDocumentDetail::getEnableUpdateBOM() {
    return m_enableUpdateBOM;
}

TevString TevDerivedDocumentDetail::getModelExtractFileName() const {
    return m_modelExtractFileName;
}

void TevDerivedDocumentDetail::setModelExtractFileName(const TevString& fileName) {
    m_modelExtractFileName = fileName;
}

void TevDerivedDocumentDetail::getDwgNo(TevString& dwgNo, TevString& prefix) {
    if (const TevDerivedDocumentInfo* info = getInfo()) {
        info->getDwgNo(dwgNo, prefix);
    }
}

void TevDerivedDocumentDetail::setPrototypeName(const TevString& path) {
    if (getInfo() != nullptr && m_info->getPrototypeName().isEmpty()) {
        m_info->setPrototypeName(path);
    }
}

void TevDerivedDocumentDetail::getRelPathAndFileNameFromPath(const TevString& path,
                                                             TevString& relPath,
                                                             TevString& fileName) {
    TevString drive, dir, name, ext;
    path.SplitPath(drive, dir, name, ext);
    TevString splitName = name + ext;
    if (TevString::compareNoCase(ext, u".DWG") != 0) {
        splitName += u".dwg";
    }
    if (!lumdd::stripDerDocsFolder(dir, relPath)) {
        TEV_ASSERT(false, "0");
        relPath = u"\\Details\\";
    }
    fileName = std::move(splitName);
}
