#include "TevDerivedDocumentNC.h"

#include "TevDerivedDocumentsModel.h"

TevDerivedDocumentNC::TevDerivedDocumentNC(TevDerivedDocumentsModel* model, const TevString& path,
                                           TevDerDocEnums::eDocSubType subType,
                                           const TevString& ncName, bool ncFlag)
    : TevDerivedDocument(model, TevDerDocEnums::eDocTypeNC, subType) {
    getRelPathAndFileNameFromPath(path, m_key.m_relPath, m_key.m_fileName);
    m_key.m_id = ncFlag ? 0 : 1;
    m_key.m_ncFlag = ncFlag;
    m_key.m_ncName = ncName;
}

TevDerivedDocumentNC::~TevDerivedDocumentNC() = default;

int TevDerivedDocumentNC::addAllDerivedObjects(bool update, bool, bool checkFile,
                                               bool resetStatus) {
    return addSingleDerivedObject(update, checkFile, resetStatus,
                                  [](TevDerivedDocumentsFactory& factory, TevDerivedDocument* doc) {
                                      return factory.createNCObject(doc);
                                  });
}

TevString TevDerivedDocumentNC::getInitialFilename() {
    const TevString recorded = TevDerivedDocument::getInitialFilename();
    if (!recorded.isEmpty()) {
        return recorded;
    }
    TevString drive, dir, name, ext;
    m_key.m_fileName.SplitPath(drive, dir, name, ext);
    return name;
}

void TevDerivedDocumentNC::getRelPathAndFileNameFromPath(const TevString& path, TevString& relPath,
                                                         TevString& fileName) {
    TevString drive, dir, name, ext;
    path.SplitPath(drive, dir, name, ext);
    relPath.format(u"\\%s", dir.getStringW());
    fileName = name + ext;
}
