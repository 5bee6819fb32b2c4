// The cached descriptive data of one derived object: title, date and the handles of the
// model elements it shows, plus what belongs to its kind (BOM entry, detail drawing, NC
// output). The host fills an info; the library only reads it back and copies it around.
#ifndef TEV_DERIVED_OBJECT_INFO_H
#define TEV_DERIVED_OBJECT_INFO_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevArray.h"
#include "TevDerDocEnums.h"
#include "TevString.h"

// The data every kind of object info shares. The logical base server handle and the
// server handles belong to the server side: reset() keeps them and setFrom() does not
// take them over; copying the info does copy them.
class LUMDERDOC_EXPORT TevDerivedObjectInfo {
public:
    // Empty texts and lists, model selection 0.
    TevDerivedObjectInfo();
    // Copies every member, the server-side ones included.
    TevDerivedObjectInfo(const TevDerivedObjectInfo& other);
    // Takes the texts over; the lists are copied, so `other` keeps its lists.
    TevDerivedObjectInfo(TevDerivedObjectInfo&& other);
    TevDerivedObjectInfo& operator=(const TevDerivedObjectInfo& other);
    TevDerivedObjectInfo& operator=(TevDerivedObjectInfo&& other);

    // Clears every member except the logical base server handle and the server handles.
    virtual void reset();
    // REQUIRES: src != nullptr. Copies every member except the logical base server handle
    // and the server handles from `src`; a null `src` is reported and changes nothing.
    virtual void setFrom(const TevDerivedObjectInfo* src);
    // REQUIRES: src != nullptr. Runs the receiver's own setFrom(src): every part is
    // refreshed, whatever bits `what` holds.
    virtual void refreshInfo(const TevDerivedObjectInfo* src, TevDerDocEnums::eDerivedDocInfo what);
    // Virtual so that an info destroyed through this class releases its whole kind.
    virtual ~TevDerivedObjectInfo();

    TevString getTitle() const;
    void setTitle(const TevString& title);
    TevString getDate() const;
    void setDate(const TevString& date);
    TevString getLogicalBaseObjectHandle() const;
    void setLogicalBaseObjectHandle(const TevString& handle);
    TevString getLogicalBaseServerHandle() const;
    void setLogicalBaseServerHandle(const TevString& handle);
    long getModelSelection() const;
    void setModelSelection(long selection);
    const TevArray<TevString>& getModelHandles() const;
    void setModelHandles(const TevArray<TevString>& handles);
    const TevArray<TevString>& getServerHandles() const;
    void setServerHandles(const TevArray<TevString>& handles);
    TevString getEqualPartModelHandle() const;
    void setEqualPartModelHandle(TevString handle);
    TevString getEqualPartServerHandle() const;
    void setEqualPartServerHandle(TevString handle);

protected:
    TevString m_title;
    TevString m_date;
    TevString m_logicalBaseObjectHandle;
    TevString m_logicalBaseServerHandle;
    long m_modelSelection;
    TevArray<TevString> m_modelHandles;
    TevArray<TevString> m_serverHandles;
    TevString m_equalPartModelHandle;
    TevString m_equalPartServerHandle;
};

// The info of a BOM entry: the report template and extract it was produced from. Its
// own members survive a reset.
class LUMDERDOC_EXPORT TevDerivedObjectBomInfo : public TevDerivedObjectInfo {
public:
    // Model extract key -1, template key -1, template location 3, BOM type 0.
    TevDerivedObjectBomInfo();
    TevDerivedObjectBomInfo(const TevDerivedObjectBomInfo& other);
    // Takes the texts over; the lists are copied, so `other` keeps its lists.
    TevDerivedObjectBomInfo(TevDerivedObjectBomInfo&& other);
    TevDerivedObjectBomInfo& operator=(const TevDerivedObjectBomInfo& other);
    TevDerivedObjectBomInfo& operator=(TevDerivedObjectBomInfo&& other);

    // Resets the base members only; the BOM members keep their values.
    void reset() override;
    // REQUIRES: src != nullptr and a BOM info. Copies the base part, then the BOM
    // members; an info of another kind gives the base part only.
    void setFrom(const TevDerivedObjectInfo* src) override;
    // REQUIRES: src != nullptr. Runs setFrom(src), whatever bits `what` holds.
    void refreshInfo(const TevDerivedObjectInfo* src,
                     TevDerDocEnums::eDerivedDocInfo what) override;
    ~TevDerivedObjectBomInfo() override;

    int getModelExtractKey() const;
    void setModelExtractKey(int key);
    int getTemplateKey() const;
    void setTemplateKey(int key);
    int getTemplateLocation() const;
    void setTemplateLocation(int location);
    int getBomType() const;
    void setBomType(int bomType);
    // Copies the detail handles into `out`.
    void getDetailHandles(TevArray<TevString>& out) const;
    void setDetailHandles(const TevArray<TevString>& handles);

    // Sets the three keys and replaces the model handles; nothing else changes.
    void setInfoForUpdate(int modelExtractKey, int templateKey, int templateLocation,
                          const TevArray<TevString>& modelHandles);

protected:
    int m_modelExtractKey;
    int m_templateKey;
    int m_templateLocation;
    int m_bomType;
    TevArray<TevString> m_detailHandles;
};

// The info of a detail drawing: its style, scale, prototype and the parts it details,
// each part list with a parallel list of server handles.
class LUMDERDOC_EXPORT TevDerivedObjectDetailInfo : public TevDerivedObjectInfo {
public:
    // Empty texts and lists, external object state true, logical object selection 0.
    TevDerivedObjectDetailInfo();
    TevDerivedObjectDetailInfo(const TevDerivedObjectDetailInfo& other);
    // Takes the texts over; the lists are copied, so `other` keeps its lists.
    TevDerivedObjectDetailInfo(TevDerivedObjectDetailInfo&& other);
    TevDerivedObjectDetailInfo& operator=(const TevDerivedObjectDetailInfo& other);
    TevDerivedObjectDetailInfo& operator=(TevDerivedObjectDetailInfo&& other);

    // Resets the base members, then puts every detail member back to its initial value.
    void reset() override;
    // REQUIRES: src != nullptr and a detail info. Copies the base part, then every
    // detail member; an info of another kind gives the base part only.
    void setFrom(const TevDerivedObjectInfo* src) override;
    // REQUIRES: src != nullptr. Runs setFrom(src), whatever bits `what` holds.
    void refreshInfo(const TevDerivedObjectInfo* src,
                     TevDerDocEnums::eDerivedDocInfo what) override;
    ~TevDerivedObjectDetailInfo() override;

    TevString getStyleName() const;
    void setStyleName(const TevString& styleName);
    TevString getProcessDescription() const;
    void setProcessDescription(const TevString& description);
    TevString getScale() const;
    void setScale(const TevString& scale);
    TevString getHandle() const;
    void setHandle(const TevString& handle);
    TevString getPrototypeName() const;
    void setPrototypeName(const TevString& prototypeName);

    const TevArray<TevString>& getSinglePartsDetailed() const;
    // Replaces the single parts; when their server handles are empty, they get one empty
    // entry per part. Server handles that are already there stay as they are.
    void setSinglePartsDetailed(const TevArray<TevString>& parts);
    const TevArray<TevString>& getMainPartsDetailed() const;
    // Replaces the main parts; pads empty main-part server handles as
    // setSinglePartsDetailed does.
    void setMainPartsDetailed(const TevArray<TevString>& parts);
    const TevArray<TevString>& getSinglePartsDetailedServerHandles() const;
    void setSinglePartsDetailedServerHandles(const TevArray<TevString>& handles);
    const TevArray<TevString>& getMainPartsDetailedServerHandles() const;
    void setMainPartsDetailedServerHandles(const TevArray<TevString>& handles);

    // Copied into rows (m_detExternalObjectState); the library gives it no other meaning.
    bool getDetExternalObjectState() const;
    void setDetExternalObjectState(bool state);
    long getLogicalObjectSelection() const;
    void setLogicalObjectSelection(long selection);

protected:
    TevString m_styleName;
    TevString m_processDescription;
    TevString m_scale;
    TevString m_handle;
    TevString m_prototypeName;
    TevArray<TevString> m_singlePartsDetailed;
    TevArray<TevString> m_mainPartsDetailed;
    TevArray<TevString> m_singlePartsDetailedServerHandles;
    TevArray<TevString> m_mainPartsDetailedServerHandles;
    bool m_detExternalObjectState;
    long m_logicalObjectSelection;
};

// The info of an NC output: its style, the files written and the add-in that wrote
// them. The DSTV flags are tri-state: -1 until the host sets them.
class LUMDERDOC_EXPORT TevDerivedObjectNCInfo : public TevDerivedObjectInfo {
public:
    // Style key and both DSTV flags -1, empty texts.
    TevDerivedObjectNCInfo();
    TevDerivedObjectNCInfo(const TevDerivedObjectNCInfo& other);
    // Takes the texts over; the lists are copied, so `other` keeps its lists.
    TevDerivedObjectNCInfo(TevDerivedObjectNCInfo&& other);
    TevDerivedObjectNCInfo& operator=(const TevDerivedObjectNCInfo& other);
    TevDerivedObjectNCInfo& operator=(TevDerivedObjectNCInfo&& other);

    // Resets the base members, then sets the style key and both DSTV flags back to -1;
    // the file names, add-in names and defaults path stay.
    void reset() override;
    // REQUIRES: src != nullptr and an NC info. Copies the base part, then every NC
    // member; an info of another kind gives the base part only.
    void setFrom(const TevDerivedObjectInfo* src) override;
    // REQUIRES: src != nullptr. Runs setFrom(src), whatever bits `what` holds.
    void refreshInfo(const TevDerivedObjectInfo* src,
                     TevDerDocEnums::eDerivedDocInfo what) override;
    ~TevDerivedObjectNCInfo() override;

    int getStyleKey() const;
    void setStyleKey(int styleKey);
    TevString getFileWritenForSingleObject() const;
    void setFileWritenForSingleObject(const TevString& fileName);
    TevString getFileWritenGlobal() const;
    void setFileWritenGlobal(const TevString& fileName);
    TevString getNcAddinDllName() const;
    void setNcAddinDllName(const TevString& dllName);
    TevString getNcAddinRunName() const;
    void setNcAddinRunName(const TevString& runName);
    int getIsDSTVExtension() const;
    void setIsDSTVExtension(int isDSTVExtension);
    int getIsDSTVNC() const;
    void setIsDSTVNC(int isDSTVNC);
    TevString getDefaultsOverrideXmlPath() const;
    void setDefaultsOverrideXmlPath(const TevString& path);

protected:
    int m_styleKey;
    TevString m_fileWritenForSingleObject;
    TevString m_fileWritenGlobal;
    TevString m_ncAddinDllName;
    TevString m_ncAddinRunName;
    int m_isDSTVExtension;
    int m_isDSTVNC;
    TevString m_defaultsOverrideXmlPath;
};

#endif // TEV_DERIVED_OBJECT_INFO_H
