#include "TevDerivedObjectInfo.h"

#include "TevAssert.h"

#include <utility>

namespace {

// Empties a list and gives its storage back, as a reset info holds nothing.
void clearList(TevArray<TevString>& list) {
    list = TevArray<TevString>();
}

// Gives an empty server-handle list one empty entry per part, so that the parts and their
// server handles can be read side by side. A list that already has entries is the host's.
void padServerHandles(TevArray<TevString>& serverHandles, int partCount) {
    if (!serverHandles.isEmpty()) {
        return;
    }
    for (int index = 0; index < partCount; ++index) {
        serverHandles.append(TevString());
    }
}

} // namespace

// ---------------------------------------------------------------------------------------
// TevDerivedObjectInfo

TevDerivedObjectInfo::TevDerivedObjectInfo()
    : m_modelSelection(0) {}

TevDerivedObjectInfo::TevDerivedObjectInfo(const TevDerivedObjectInfo& other) = default;

// The moves of every info kind are written out rather than defaulted: they take the texts
// over but copy the lists, so that `other` keeps its lists, which a defaulted move would
// empty. A field added to an info class belongs in its moves and in the info field lists
// of the tests, which check that every copy and move takes every field.
TevDerivedObjectInfo::TevDerivedObjectInfo(TevDerivedObjectInfo&& other)
    : m_title(std::move(other.m_title))
    , m_date(std::move(other.m_date))
    , m_logicalBaseObjectHandle(std::move(other.m_logicalBaseObjectHandle))
    , m_logicalBaseServerHandle(std::move(other.m_logicalBaseServerHandle))
    , m_modelSelection(other.m_modelSelection)
    , m_modelHandles(other.m_modelHandles)
    , m_serverHandles(other.m_serverHandles)
    , m_equalPartModelHandle(std::move(other.m_equalPartModelHandle))
    , m_equalPartServerHandle(std::move(other.m_equalPartServerHandle)) {}

TevDerivedObjectInfo& TevDerivedObjectInfo::operator=(const TevDerivedObjectInfo& other) = default;

TevDerivedObjectInfo& TevDerivedObjectInfo::operator=(TevDerivedObjectInfo&& other) {
    if (this == &other) {
        return *this;
    }
    m_title = std::move(other.m_title);
    m_date = std::move(other.m_date);
    m_logicalBaseObjectHandle = std::move(other.m_logicalBaseObjectHandle);
    m_logicalBaseServerHandle = std::move(other.m_logicalBaseServerHandle);
    m_modelSelection = other.m_modelSelection;
    m_modelHandles = other.m_modelHandles;
    m_serverHandles = other.m_serverHandles;
    m_equalPartModelHandle = std::move(other.m_equalPartModelHandle);
    m_equalPartServerHandle = std::move(other.m_equalPartServerHandle);
    return *this;
}

TevDerivedObjectInfo::~TevDerivedObjectInfo() = default;

void TevDerivedObjectInfo::reset() {
    m_title = TevString();
    m_date = TevString();
    m_logicalBaseObjectHandle = TevString();
    m_modelSelection = 0;
    clearList(m_modelHandles);
    m_equalPartModelHandle = TevString();
    m_equalPartServerHandle = TevString();
}

void TevDerivedObjectInfo::setFrom(const TevDerivedObjectInfo* src) {
    if (!TEV_ASSERT(src != nullptr, "src")) {
        return;
    }
    m_title = src->m_title;
    m_date = src->m_date;
    m_logicalBaseObjectHandle = src->m_logicalBaseObjectHandle;
    m_modelSelection = src->m_modelSelection;
    m_modelHandles = src->m_modelHandles;
    m_equalPartModelHandle = src->m_equalPartModelHandle;
    m_equalPartServerHandle = src->m_equalPartServerHandle;
}

void TevDerivedObjectInfo::refreshInfo(const TevDerivedObjectInfo* src,
                                       TevDerDocEnums::eDerivedDocInfo /*what*/) {
    if (!TEV_ASSERT(src != nullptr, "src")) {
        return;
    }
    setFrom(src);
}

TevString TevDerivedObjectInfo::getTitle() const {
    return m_title;
}

void TevDerivedObjectInfo::setTitle(const TevString& title) {
    m_title = title;
}

TevString TevDerivedObjectInfo::getDate() const {
    return m_date;
}

void TevDerivedObjectInfo::setDate(const TevString& date) {
    m_date = date;
}

TevString TevDerivedObjectInfo::getLogicalBaseObjectHandle() const {
    return m_logicalBaseObjectHandle;
}

void TevDerivedObjectInfo::setLogicalBaseObjectHandle(const TevString& handle) {
    m_logicalBaseObjectHandle = handle;
}

TevString TevDerivedObjectInfo::getLogicalBaseServerHandle() const {
    return m_logicalBaseServerHandle;
}

void TevDerivedObjectInfo::setLogicalBaseServerHandle(const TevString& handle) {
    m_logicalBaseServerHandle = handle;
}

long TevDerivedObjectInfo::getModelSelection() const {
    return m_modelSelection;
}

void TevDerivedObjectInfo::setModelSelection(long selection) {
    m_modelSelection = selection;
}

const TevArray<TevString>& TevDerivedObjectInfo::getModelHandles() const {
    return m_modelHandles;
}

void TevDerivedObjectInfo::setModelHandles(const TevArray<TevString>& handles) {
    m_modelHandles = handles;
}

const TevArray<TevString>& TevDerivedObjectInfo::getServerHandles() const {
    return m_serverHandles;
}

void TevDerivedObjectInfo::setServerHandles(const TevArray<TevString>& handles) {
    m_serverHandles = handles;
}

TevString TevDerivedObjectInfo::getEqualPartModelHandle() const {
    return m_equalPartModelHandle;
}

void TevDerivedObjectInfo::setEqualPartModelHandle(TevString handle) {
    m_equalPartModelHandle = std::move(handle);
}

TevString TevDerivedObjectInfo::getEqualPartServerHandle() const {
    return m_equalPartServerHandle;
}

void TevDerivedObjectInfo::setEqualPartServerHandle(TevString handle) {
    m_equalPartServerHandle = std::move(handle);
}

// ---------------------------------------------------------------------------------------
// TevDerivedObjectBomInfo

TevDerivedObjectBomInfo::TevDerivedObjectBomInfo()
    : m_modelExtractKey(-1)
    , m_templateKey(-1)
    , m_templateLocation(3)
    , m_bomType(0) {}

TevDerivedObjectBomInfo::TevDerivedObjectBomInfo(const TevDerivedObjectBomInfo& other) = default;

TevDerivedObjectBomInfo::TevDerivedObjectBomInfo(TevDerivedObjectBomInfo&& other)
    : TevDerivedObjectInfo(std::move(other))
    , m_modelExtractKey(other.m_modelExtractKey)
    , m_templateKey(other.m_templateKey)
    , m_templateLocation(other.m_templateLocation)
    , m_bomType(other.m_bomType)
    , m_detailHandles(other.m_detailHandles) {}

TevDerivedObjectBomInfo&
TevDerivedObjectBomInfo::operator=(const TevDerivedObjectBomInfo& other) = default;

TevDerivedObjectBomInfo& TevDerivedObjectBomInfo::operator=(TevDerivedObjectBomInfo&& other) {
    if (this == &other) {
        return *this;
    }
    TevDerivedObjectInfo::operator=(std::move(other));
    m_modelExtractKey = other.m_modelExtractKey;
    m_templateKey = other.m_templateKey;
    m_templateLocation = other.m_templateLocation;
    m_bomType = other.m_bomType;
    m_detailHandles = other.m_detailHandles;
    return *this;
}

TevDerivedObjectBomInfo::~TevDerivedObjectBomInfo() = default;

void TevDerivedObjectBomInfo::reset() {
    TevDerivedObjectInfo::reset();
}

void TevDerivedObjectBomInfo::setFrom(const TevDerivedObjectInfo* src) {
    if (!TEV_ASSERT(src != nullptr, "src")) {
        return;
    }
    TevDerivedObjectInfo::setFrom(src);
    const auto* const bom = dynamic_cast<const TevDerivedObjectBomInfo*>(src);
    if (bom == nullptr) {
        return;
    }
    m_modelExtractKey = bom->m_modelExtractKey;
    m_templateKey = bom->m_templateKey;
    m_templateLocation = bom->m_templateLocation;
    m_bomType = bom->m_bomType;
    m_detailHandles = bom->m_detailHandles;
}

void TevDerivedObjectBomInfo::refreshInfo(const TevDerivedObjectInfo* src,
                                          TevDerDocEnums::eDerivedDocInfo what) {
    TevDerivedObjectInfo::refreshInfo(src, what);
}

int TevDerivedObjectBomInfo::getModelExtractKey() const {
    return m_modelExtractKey;
}

void TevDerivedObjectBomInfo::setModelExtractKey(int key) {
    m_modelExtractKey = key;
}

int TevDerivedObjectBomInfo::getTemplateKey() const {
    return m_templateKey;
}

void TevDerivedObjectBomInfo::setTemplateKey(int key) {
    m_templateKey = key;
}

int TevDerivedObjectBomInfo::getTemplateLocation() const {
    return m_templateLocation;
}

void TevDerivedObjectBomInfo::setTemplateLocation(int location) {
    m_templateLocation = location;
}

int TevDerivedObjectBomInfo::getBomType() const {
    return m_bomType;
}

void TevDerivedObjectBomInfo::setBomType(int bomType) {
    m_bomType = bomType;
}

void TevDerivedObjectBomInfo::getDetailHandles(TevArray<TevString>& out) const {
    out = m_detailHandles;
}

void TevDerivedObjectBomInfo::setDetailHandles(const TevArray<TevString>& handles) {
    m_detailHandles = handles;
}

void TevDerivedObjectBomInfo::setInfoForUpdate(int modelExtractKey, int templateKey,
                                               int templateLocation,
                                               const TevArray<TevString>& modelHandles) {
    m_modelExtractKey = modelExtractKey;
    m_templateKey = templateKey;
    m_templateLocation = templateLocation;
    setModelHandles(modelHandles);
}

// ---------------------------------------------------------------------------------------
// TevDerivedObjectDetailInfo

TevDerivedObjectDetailInfo::TevDerivedObjectDetailInfo()
    : m_detExternalObjectState(true)
    , m_logicalObjectSelection(0) {}

TevDerivedObjectDetailInfo::TevDerivedObjectDetailInfo(const TevDerivedObjectDetailInfo& other) =
    default;

TevDerivedObjectDetailInfo::TevDerivedObjectDetailInfo(TevDerivedObjectDetailInfo&& other)
    : TevDerivedObjectInfo(std::move(other))
    , m_styleName(std::move(other.m_styleName))
    , m_processDescription(std::move(other.m_processDescription))
    , m_scale(std::move(other.m_scale))
    , m_handle(std::move(other.m_handle))
    , m_prototypeName(std::move(other.m_prototypeName))
    , m_singlePartsDetailed(other.m_singlePartsDetailed)
    , m_mainPartsDetailed(other.m_mainPartsDetailed)
    , m_singlePartsDetailedServerHandles(other.m_singlePartsDetailedServerHandles)
    , m_mainPartsDetailedServerHandles(other.m_mainPartsDetailedServerHandles)
    , m_detExternalObjectState(other.m_detExternalObjectState)
    , m_logicalObjectSelection(other.m_logicalObjectSelection) {}

TevDerivedObjectDetailInfo&
TevDerivedObjectDetailInfo::operator=(const TevDerivedObjectDetailInfo& other) = default;

TevDerivedObjectDetailInfo&
TevDerivedObjectDetailInfo::operator=(TevDerivedObjectDetailInfo&& other) {
    if (this == &other) {
        return *this;
    }
    TevDerivedObjectInfo::operator=(std::move(other));
    m_styleName = std::move(other.m_styleName);
    m_processDescription = std::move(other.m_processDescription);
    m_scale = std::move(other.m_scale);
    m_handle = std::move(other.m_handle);
    m_prototypeName = std::move(other.m_prototypeName);
    m_singlePartsDetailed = other.m_singlePartsDetailed;
    m_mainPartsDetailed = other.m_mainPartsDetailed;
    m_singlePartsDetailedServerHandles = other.m_singlePartsDetailedServerHandles;
    m_mainPartsDetailedServerHandles = other.m_mainPartsDetailedServerHandles;
    m_detExternalObjectState = other.m_detExternalObjectState;
    m_logicalObjectSelection = other.m_logicalObjectSelection;
    return *this;
}

TevDerivedObjectDetailInfo::~TevDerivedObjectDetailInfo() = default;

void TevDerivedObjectDetailInfo::reset() {
    TevDerivedObjectInfo::reset();
    m_styleName = TevString();
    m_processDescription = TevString();
    m_scale = TevString();
    m_handle = TevString();
    m_prototypeName = TevString();
    clearList(m_singlePartsDetailed);
    clearList(m_mainPartsDetailed);
    clearList(m_singlePartsDetailedServerHandles);
    clearList(m_mainPartsDetailedServerHandles);
    m_detExternalObjectState = true;
    m_logicalObjectSelection = 0;
}

void TevDerivedObjectDetailInfo::setFrom(const TevDerivedObjectInfo* src) {
    if (!TEV_ASSERT(src != nullptr, "src")) {
        return;
    }
    TevDerivedObjectInfo::setFrom(src);
    const auto* const detail = dynamic_cast<const TevDerivedObjectDetailInfo*>(src);
    if (detail == nullptr) {
        return;
    }
    m_styleName = detail->m_styleName;
    m_processDescription = detail->m_processDescription;
    m_scale = detail->m_scale;
    m_handle = detail->m_handle;
    m_prototypeName = detail->m_prototypeName;
    m_singlePartsDetailed = detail->m_singlePartsDetailed;
    m_mainPartsDetailed = detail->m_mainPartsDetailed;
    m_singlePartsDetailedServerHandles = detail->m_singlePartsDetailedServerHandles;
    m_mainPartsDetailedServerHandles = detail->m_mainPartsDetailedServerHandles;
    m_detExternalObjectState = detail->m_detExternalObjectState;
    m_logicalObjectSelection = detail->m_logicalObjectSelection;
}

void TevDerivedObjectDetailInfo::refreshInfo(const TevDerivedObjectInfo* src,
                                             TevDerDocEnums::eDerivedDocInfo what) {
    TevDerivedObjectInfo::refreshInfo(src, what);
}

TevString TevDerivedObjectDetailInfo::getStyleName() const {
    return m_styleName;
}

void TevDerivedObjectDetailInfo::setStyleName(const TevString& styleName) {
    m_styleName = styleName;
}

TevString TevDerivedObjectDetailInfo::getProcessDescription() const {
    return m_processDescription;
}

void TevDerivedObjectDetailInfo::setProcessDescription(const TevString& description) {
    m_processDescription = description;
}

TevString TevDerivedObjectDetailInfo::getScale() const {
    return m_scale;
}

void TevDerivedObjectDetailInfo::setScale(const TevString& scale) {
    m_scale = scale;
}

TevString TevDerivedObjectDetailInfo::getHandle() const {
    return m_handle;
}

void TevDerivedObjectDetailInfo::setHandle(const TevString& handle) {
    m_handle = handle;
}

TevString TevDerivedObjectDetailInfo::getPrototypeName() const {
    return m_prototypeName;
}

void TevDerivedObjectDetailInfo::setPrototypeName(const TevString& prototypeName) {
    m_prototypeName = prototypeName;
}

const TevArray<TevString>& TevDerivedObjectDetailInfo::getSinglePartsDetailed() const {
    return m_singlePartsDetailed;
}

void TevDerivedObjectDetailInfo::setSinglePartsDetailed(const TevArray<TevString>& parts) {
    m_singlePartsDetailed = parts;
    padServerHandles(m_singlePartsDetailedServerHandles, parts.length());
}

const TevArray<TevString>& TevDerivedObjectDetailInfo::getMainPartsDetailed() const {
    return m_mainPartsDetailed;
}

void TevDerivedObjectDetailInfo::setMainPartsDetailed(const TevArray<TevString>& parts) {
    m_mainPartsDetailed = parts;
    padServerHandles(m_mainPartsDetailedServerHandles, parts.length());
}

const TevArray<TevString>& TevDerivedObjectDetailInfo::getSinglePartsDetailedServerHandles() const {
    return m_singlePartsDetailedServerHandles;
}

void TevDerivedObjectDetailInfo::setSinglePartsDetailedServerHandles(
    const TevArray<TevString>& handles) {
    m_singlePartsDetailedServerHandles = handles;
}

const TevArray<TevString>& TevDerivedObjectDetailInfo::getMainPartsDetailedServerHandles() const {
    return m_mainPartsDetailedServerHandles;
}

void TevDerivedObjectDetailInfo::setMainPartsDetailedServerHandles(
    const TevArray<TevString>& handles) {
    m_mainPartsDetailedServerHandles = handles;
}

bool TevDerivedObjectDetailInfo::getDetExternalObjectState() const {
    return m_detExternalObjectState;
}

void TevDerivedObjectDetailInfo::setDetExternalObjectState(bool state) {
    m_detExternalObjectState = state;
}

long TevDerivedObjectDetailInfo::getLogicalObjectSelection() const {
    return m_logicalObjectSelection;
}

void TevDerivedObjectDetailInfo::setLogicalObjectSelection(long selection) {
    m_logicalObjectSelection = selection;
}

// ---------------------------------------------------------------------------------------
// TevDerivedObjectNCInfo

TevDerivedObjectNCInfo::TevDerivedObjectNCInfo()
    : m_styleKey(-1)
    , m_isDSTVExtension(-1)
    , m_isDSTVNC(-1) {}

TevDerivedObjectNCInfo::TevDerivedObjectNCInfo(const TevDerivedObjectNCInfo& other) = default;

TevDerivedObjectNCInfo::TevDerivedObjectNCInfo(TevDerivedObjectNCInfo&& other)
    : TevDerivedObjectInfo(std::move(other))
    , m_styleKey(other.m_styleKey)
    , m_fileWritenForSingleObject(std::move(other.m_fileWritenForSingleObject))
    , m_fileWritenGlobal(std::move(other.m_fileWritenGlobal))
    , m_ncAddinDllName(std::move(other.m_ncAddinDllName))
    , m_ncAddinRunName(std::move(other.m_ncAddinRunName))
    , m_isDSTVExtension(other.m_isDSTVExtension)
    , m_isDSTVNC(other.m_isDSTVNC)
    , m_defaultsOverrideXmlPath(std::move(other.m_defaultsOverrideXmlPath)) {}

TevDerivedObjectNCInfo&
TevDerivedObjectNCInfo::operator=(const TevDerivedObjectNCInfo& other) = default;

TevDerivedObjectNCInfo& TevDerivedObjectNCInfo::operator=(TevDerivedObjectNCInfo&& other) {
    if (this == &other) {
        return *this;
    }
    TevDerivedObjectInfo::operator=(std::move(other));
    m_styleKey = other.m_styleKey;
    m_fileWritenForSingleObject = std::move(other.m_fileWritenForSingleObject);
    m_fileWritenGlobal = std::move(other.m_fileWritenGlobal);
    m_ncAddinDllName = std::move(other.m_ncAddinDllName);
    m_ncAddinRunName = std::move(other.m_ncAddinRunName);
    m_isDSTVExtension = other.m_isDSTVExtension;
    m_isDSTVNC = other.m_isDSTVNC;
    m_defaultsOverrideXmlPath = std::move(other.m_defaultsOverrideXmlPath);
    return *this;
}

TevDerivedObjectNCInfo::~TevDerivedObjectNCInfo() = default;

void TevDerivedObjectNCInfo::reset() {
    TevDerivedObjectInfo::reset();
    m_styleKey = -1;
    m_isDSTVExtension = -1;
    m_isDSTVNC = -1;
}

void TevDerivedObjectNCInfo::setFrom(const TevDerivedObjectInfo* src) {
    if (!TEV_ASSERT(src != nullptr, "src")) {
        return;
    }
    TevDerivedObjectInfo::setFrom(src);
    const auto* const nc = dynamic_cast<const TevDerivedObjectNCInfo*>(src);
    if (nc == nullptr) {
        return;
    }
    m_styleKey = nc->m_styleKey;
    m_fileWritenForSingleObject = nc->m_fileWritenForSingleObject;
    m_fileWritenGlobal = nc->m_fileWritenGlobal;
    m_ncAddinDllName = nc->m_ncAddinDllName;
    m_ncAddinRunName = nc->m_ncAddinRunName;
    m_isDSTVExtension = nc->m_isDSTVExtension;
    m_isDSTVNC = nc->m_isDSTVNC;
    m_defaultsOverrideXmlPath = nc->m_defaultsOverrideXmlPath;
}

void TevDerivedObjectNCInfo::refreshInfo(const TevDerivedObjectInfo* src,
                                         TevDerDocEnums::eDerivedDocInfo what) {
    TevDerivedObjectInfo::refreshInfo(src, what);
}

int TevDerivedObjectNCInfo::getStyleKey() const {
    return m_styleKey;
}

void TevDerivedObjectNCInfo::setStyleKey(int styleKey) {
    m_styleKey = styleKey;
}

TevString TevDerivedObjectNCInfo::getFileWritenForSingleObject() const {
    return m_fileWritenForSingleObject;
}

void TevDerivedObjectNCInfo::setFileWritenForSingleObject(const TevString& fileName) {
    m_fileWritenForSingleObject = fileName;
}

TevString TevDerivedObjectNCInfo::getFileWritenGlobal() const {
    return m_fileWritenGlobal;
}

void TevDerivedObjectNCInfo::setFileWritenGlobal(const TevString& fileName) {
    m_fileWritenGlobal = fileName;
}

TevString TevDerivedObjectNCInfo::getNcAddinDllName() const {
    return m_ncAddinDllName;
}

void TevDerivedObjectNCInfo::setNcAddinDllName(const TevString& dllName) {
    m_ncAddinDllName = dllName;
}

TevString TevDerivedObjectNCInfo::getNcAddinRunName() const {
    return m_ncAddinRunName;
}

void TevDerivedObjectNCInfo::setNcAddinRunName(const TevString& runName) {
    m_ncAddinRunName = runName;
}

int TevDerivedObjectNCInfo::getIsDSTVExtension() const {
    return m_isDSTVExtension;
}

void TevDerivedObjectNCInfo::setIsDSTVExtension(int isDSTVExtension) {
    m_isDSTVExtension = isDSTVExtension;
}

int TevDerivedObjectNCInfo::getIsDSTVNC() const {
    return m_isDSTVNC;
}

void TevDerivedObjectNCInfo::setIsDSTVNC(int isDSTVNC) {
    m_isDSTVNC = isDSTVNC;
}

TevString TevDerivedObjectNCInfo::getDefaultsOverrideXmlPath() const {
    return m_defaultsOverrideXmlPath;
}

void TevDerivedObjectNCInfo::setDefaultsOverrideXmlPath(const TevString& path) {
    m_defaultsOverrideXmlPath = path;
}
