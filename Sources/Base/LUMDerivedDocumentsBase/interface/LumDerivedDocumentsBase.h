/// \file
/// The one header a host includes: every exported header of the derived-documents
/// library, the root library and the host interfaces it compiles against.
#ifndef LUM_DERIVED_DOCUMENTS_BASE_H
#define LUM_DERIVED_DOCUMENTS_BASE_H

#include "TevArray.h"
#include "TevAssert.h"
#include "TevFiles.h"
#include "TevHashTable.h"
#include "TevMemoryControllerController.h"
#include "TevProcessEvolutionManager.h"
#include "TevString.h"

#include "LumTable/TevDocManObject.h"
#include "LumTable/TevTableObject.h"
#include "QXNativeDataObjects/StructProjModelExtract.h"
#include "QXNativeDataObjects/StructProjReport.h"
#include "QXNativeDataObjects/TevDocumentApproval.h"
#include "QXRepositoryProxy/Prompts.h"

#include "LumDerivedDocumentsBaseExport.h"
#include "TevDerDocEnums.h"
#include "TevDerivedDocKey.h"
#include "TevDerivedDocument.h"
#include "TevDerivedDocumentBom.h"
#include "TevDerivedDocumentDetail.h"
#include "TevDerivedDocumentInfo.h"
#include "TevDerivedDocumentNC.h"
#include "TevDerivedDocumentsModel.h"
#include "TevDerivedObject.h"
#include "TevDerivedObjectBom.h"
#include "TevDerivedObjectDetail.h"
#include "TevDerivedObjectDuplicateInfo.h"
#include "TevDerivedObjectInfo.h"
#include "TevDerivedObjectNC.h"
#include "TevModelState.h"

#endif // LUM_DERIVED_DOCUMENTS_BASE_H
