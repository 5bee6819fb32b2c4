#include "TevDerivedDocumentBom.h"

#include "DocPaths.h"
#include "TevDerivedDocumentsModel.h"

#include <cstdint>

TevDerivedDocumentBom::TevDerivedDocumentBom(TevDerivedDocumentsModel* model,
                                             const StructProjReport& report, int dstv)
    : TevDerivedDocument(model, TevDerDocEnums::eDocTypeBom, TevDerDocEnums::eDocSubTypeNone)
    , m_report(report) {
    m_key.m_id = m_report.m_number;
    getRelPathAndFileNameFromPath(dstv != 0, m_report.m_filePath, m_key.m_relPath,
                                  m_key.m_fileName);
    if (dstv != 0) {
        m_key.m_subType = TevDerDocEnums::eDocSubTypeDstv;
    }
}

TevDerivedDocumentBom::~TevDerivedDocumentBom() = default;

int TevDerivedDocumentBom::addAllDerivedObjects(bool update, bool, bool checkFile,
                                                bool resetStatus) {
    return addSingleDerivedObject(update, checkFile, resetStatus,
                                  [](TevDerivedDocumentsFactory& factory, TevDerivedDocument* doc) {
                                      return factory.createBomObject(doc, TevString());
                                  });
}

void TevDerivedDocumentBom::setObsolete() {
    setModificationState(TevDerDocEnums::eModificationObsolete);
    deregistFromModel();
    reset();
}

int TevDerivedDocumentBom::deregistFromModel() {
    StructProjReport report;
    // The report number is the low 32 bits of the id, which was widened from it.
    report.m_number = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_key.m_id));
    report.m_filePath = TevString(u"..") + m_key.m_relPath + m_key.m_fileName;
    TevReportManager* reportManager = m_model != nullptr ? m_model->getReportManager() : nullptr;
    if (reportManager == nullptr) {
        return 0;
    }
    return reportManager->withdrawReport(report) != 0 ? 1 : 0;
}

const StructProjReport& TevDerivedDocumentBom::getReport() const {
    return m_report;
}

void TevDerivedDocumentBom::getRelPathAndFileNameFromPath(bool dstv, const TevString& path,
                                                          TevString& relPath, TevString& fileName) {
    TevString drive, dir, name, ext;
    path.SplitPath(drive, dir, name, ext);
    fileName = name + ext;
    if (!lumdd::stripDerDocsFolder(dir, relPath)) {
        relPath = dstv ? u"\\DSTV\\" : u"\\BOM\\";
    }
}
