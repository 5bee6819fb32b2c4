/// \file
/// The cached descriptive data of one derived object: title, date and the handles of the
/// model elements it shows, plus what belongs to its kind (BOM entry, detail drawing, NC
/// output). The host fills an info; the library only reads it back and copies it around.
#ifndef TEV_DERIVED_OBJECT_INFO_H
#define TEV_DERIVED_OBJECT_INFO_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevArray.h"
#include "TevDerDocEnums.h"
#include "TevString.h"

/// The data every kind of object info shares. The logical base server handle and the
/// server handles belong to the server side: reset() keeps them and setFrom() does not
/// take them over; copying the info does copy them.
class LUMDERDOC_EXPORT TevDerivedObjectInfo {
public:
    /// Empty texts and lists, model selection 0.
    TevDerivedObjectInfo();
    /// Copies every member, the server-side ones included.
    TevDerivedObjectInfo(const TevDerivedObjectInfo& other);
    /// Takes the texts over; the lists are copied, so `other` keeps its lists.
    TevDerivedObjectInfo(TevDerivedObjectInfo&& other);
    /// Copies every member, the server-side ones included.
    TevDerivedObjectInfo& operator=(const TevDerivedObjectInfo& other);
    /// Takes the texts over; the lists are copied, so `other` keeps its lists.
    TevDerivedObjectInfo& operator=(TevDerivedObjectInfo&& other);

    /// Clears every member except the logical base server handle and the server handles.
    virtual void reset();
    /// Copies every member except the logical base server handle and the server handles
    /// from `src`; a null `src` is reported and changes nothing.
    /// \pre src != nullptr.
    virtual void setFrom(const TevDerivedObjectInfo* src);
    /// Runs the receiver's own setFrom(src): every part is refreshed, whatever bits
    /// `what` holds.
    /// \pre src != nullptr.
    virtual void refreshInfo(const TevDerivedObjectInfo* src, TevDerDocEnums::eDerivedDocInfo what);
    /// Virtual so that an info destroyed through this class releases its whole kind.
    virtual ~TevDerivedObjectInfo();

    TevString getTitle() const;                   ///< The title.
    void setTitle(const TevString& title);        ///< Sets the title.
    TevString getDate() const;                    ///< The date.
    void setDate(const TevString& date);          ///< Sets the date.
    TevString getLogicalBaseObjectHandle() const; ///< The handle of the logical base object.
    /// Sets the handle of the logical base object.
    void setLogicalBaseObjectHandle(const TevString& handle);
    /// The server handle of the logical base object (server side).
    TevString getLogicalBaseServerHandle() const;
    /// Sets the server handle of the logical base object (server side).
    void setLogicalBaseServerHandle(const TevString& handle);
    long getModelSelection() const;         ///< The model selection; 0 at first.
    void setModelSelection(long selection); ///< Sets the model selection.
    /// The handles of the model elements the object shows.
    const TevArray<TevString>& getModelHandles() const;
    /// Replaces the model handles by a copy of `handles`.
    void setModelHandles(const TevArray<TevString>& handles);
    /// The server handles of the model elements (server side).
    const TevArray<TevString>& getServerHandles() const;
    /// Replaces the server handles by a copy of `handles` (server side).
    void setServerHandles(const TevArray<TevString>& handles);
    TevString getEqualPartModelHandle() const;      ///< The model handle of the equal part.
    void setEqualPartModelHandle(TevString handle); ///< Sets the model handle of the equal part.
    TevString getEqualPartServerHandle() const;     ///< The server handle of the equal part.
    /// Sets the server handle of the equal part.
    void setEqualPartServerHandle(TevString handle);

protected:
    TevString m_title;                   ///< The title.
    TevString m_date;                    ///< The date.
    TevString m_logicalBaseObjectHandle; ///< The handle of the logical base object.
    TevString m_logicalBaseServerHandle; ///< Its server handle (server side).
    long m_modelSelection;               ///< The model selection.
    TevArray<TevString> m_modelHandles;  ///< The handles of the model elements shown.
    TevArray<TevString> m_serverHandles; ///< Their server handles (server side).
    TevString m_equalPartModelHandle;    ///< The model handle of the equal part.
    TevString m_equalPartServerHandle;   ///< The server handle of the equal part.
};

/// The info of a BOM entry: the report template and extract it was produced from. Its
/// own members survive a reset.
class LUMDERDOC_EXPORT TevDerivedObjectBomInfo : public TevDerivedObjectInfo {
public:
    /// Model extract key -1, template key -1, template location 3, BOM type 0.
    TevDerivedObjectBomInfo();
    /// Copies every member.
    TevDerivedObjectBomInfo(const TevDerivedObjectBomInfo& other);
    /// Takes the texts over; the lists are copied, so `other` keeps its lists.
    TevDerivedObjectBomInfo(TevDerivedObjectBomInfo&& other);
    /// Copies every member.
    TevDerivedObjectBomInfo& operator=(const TevDerivedObjectBomInfo& other);
    /// Takes the texts over; the lists are copied, so `other` keeps its lists.
    TevDerivedObjectBomInfo& operator=(TevDerivedObjectBomInfo&& other);

    /// Resets the base members only; the BOM members keep their values.
    void reset() override;
    /// Copies the base part, then the BOM members; an info of another kind gives the
    /// base part only.
    /// \pre src != nullptr and a BOM info.
    void setFrom(const TevDerivedObjectInfo* src) override;
    /// Runs setFrom(src), whatever bits `what` holds.
    /// \pre src != nullptr.
    void refreshInfo(const TevDerivedObjectInfo* src,
                     TevDerDocEnums::eDerivedDocInfo what) override;
    /// Destroys the info.
    ~TevDerivedObjectBomInfo() override;

    int getModelExtractKey() const;         ///< The model extract's number; -1 at first.
    void setModelExtractKey(int key);       ///< Sets the model extract's number.
    int getTemplateKey() const;             ///< The report template's key; -1 at first.
    void setTemplateKey(int key);           ///< Sets the report template's key.
    int getTemplateLocation() const;        ///< The report template's location; 3 at first.
    void setTemplateLocation(int location); ///< Sets the report template's location.
    int getBomType() const;                 ///< The BOM type; 0 at first.
    void setBomType(int bomType);           ///< Sets the BOM type.
    /// Copies the detail handles into `out`.
    void getDetailHandles(TevArray<TevString>& out) const;
    /// Replaces the detail handles by a copy of `handles`.
    void setDetailHandles(const TevArray<TevString>& handles);

    /// Sets the three keys and replaces the model handles; nothing else changes.
    void setInfoForUpdate(int modelExtractKey, int templateKey, int templateLocation,
                          const TevArray<TevString>& modelHandles);

protected:
    int m_modelExtractKey;               ///< The model extract's number.
    int m_templateKey;                   ///< The report template's key.
    int m_templateLocation;              ///< The report template's location.
    int m_bomType;                       ///< The BOM type.
    TevArray<TevString> m_detailHandles; ///< The detail handles.
};

/// The info of a detail drawing: its style, scale, prototype and the parts it details,
/// each part list with a parallel list of server handles.
class LUMDERDOC_EXPORT TevDerivedObjectDetailInfo : public TevDerivedObjectInfo {
public:
    /// Empty texts and lists, external object state true, logical object selection 0.
    TevDerivedObjectDetailInfo();
    /// Copies every member.
    TevDerivedObjectDetailInfo(const TevDerivedObjectDetailInfo& other);
    /// Takes the texts over; the lists are copied, so `other` keeps its lists.
    TevDerivedObjectDetailInfo(TevDerivedObjectDetailInfo&& other);
    /// Copies every member.
    TevDerivedObjectDetailInfo& operator=(const TevDerivedObjectDetailInfo& other);
    /// Takes the texts over; the lists are copied, so `other` keeps its lists.
    TevDerivedObjectDetailInfo& operator=(TevDerivedObjectDetailInfo&& other);

    /// Resets the base members, then puts every detail member back to its initial value.
    void reset() override;
    /// Copies the base part, then every detail member; an info of another kind gives the
    /// base part only.
    /// \pre src != nullptr and a detail info.
    void setFrom(const TevDerivedObjectInfo* src) override;
    /// Runs setFrom(src), whatever bits `what` holds.
    /// \pre src != nullptr.
    void refreshInfo(const TevDerivedObjectInfo* src,
                     TevDerDocEnums::eDerivedDocInfo what) override;
    /// Destroys the info.
    ~TevDerivedObjectDetailInfo() override;

    TevString getStyleName() const;                ///< The style name.
    void setStyleName(const TevString& styleName); ///< Sets the style name.
    TevString getProcessDescription() const;       ///< The process description.
    /// Sets the process description.
    void setProcessDescription(const TevString& description);
    TevString getScale() const;                            ///< The scale.
    void setScale(const TevString& scale);                 ///< Sets the scale.
    TevString getHandle() const;                           ///< The detail's handle.
    void setHandle(const TevString& handle);               ///< Sets the detail's handle.
    TevString getPrototypeName() const;                    ///< The prototype name.
    void setPrototypeName(const TevString& prototypeName); ///< Sets the prototype name.

    /// The single parts the drawing details.
    const TevArray<TevString>& getSinglePartsDetailed() const;
    /// Replaces the single parts; when their server handles are empty, they get one empty
    /// entry per part. Server handles that are already there stay as they are.
    void setSinglePartsDetailed(const TevArray<TevString>& parts);
    /// The main parts the drawing details.
    const TevArray<TevString>& getMainPartsDetailed() const;
    /// Replaces the main parts; pads empty main-part server handles as
    /// setSinglePartsDetailed does.
    void setMainPartsDetailed(const TevArray<TevString>& parts);
    /// The server handles of the single parts, parallel to getSinglePartsDetailed.
    const TevArray<TevString>& getSinglePartsDetailedServerHandles() const;
    /// Replaces the server handles of the single parts by a copy of `handles`.
    void setSinglePartsDetailedServerHandles(const TevArray<TevString>& handles);
    /// The server handles of the main parts, parallel to getMainPartsDetailed.
    const TevArray<TevString>& getMainPartsDetailedServerHandles() const;
    /// Replaces the server handles of the main parts by a copy of `handles`.
    void setMainPartsDetailedServerHandles(const TevArray<TevString>& handles);

    /// Copied into rows (m_detExternalObjectState); the library gives it no other meaning.
    bool getDetExternalObjectState() const;
    /// Sets the state getDetExternalObjectState answers.
    void setDetExternalObjectState(bool state);
    long getLogicalObjectSelection() const; ///< The logical object selection; 0 at first.
    /// Sets the logical object selection.
    void setLogicalObjectSelection(long selection);

protected:
    TevString m_styleName;                     ///< The style name.
    TevString m_processDescription;            ///< The process description.
    TevString m_scale;                         ///< The scale.
    TevString m_handle;                        ///< The detail's handle.
    TevString m_prototypeName;                 ///< The prototype name.
    TevArray<TevString> m_singlePartsDetailed; ///< The single parts detailed.
    TevArray<TevString> m_mainPartsDetailed;   ///< The main parts detailed.
    /// The server handles of the single parts.
    TevArray<TevString> m_singlePartsDetailedServerHandles;
    /// The server handles of the main parts.
    TevArray<TevString> m_mainPartsDetailedServerHandles;
    bool m_detExternalObjectState; ///< The external-object state.
    long m_logicalObjectSelection; ///< The logical object selection.
};

/// The info of an NC output: its style, the files written and the add-in that wrote
/// them. The DSTV flags are tri-state: -1 until the host sets them.
class LUMDERDOC_EXPORT TevDerivedObjectNCInfo : public TevDerivedObjectInfo {
public:
    /// Style key and both DSTV flags -1, empty texts.
    TevDerivedObjectNCInfo();
    /// Copies every member.
    TevDerivedObjectNCInfo(const TevDerivedObjectNCInfo& other);
    /// Takes the texts over; the lists are copied, so `other` keeps its lists.
    TevDerivedObjectNCInfo(TevDerivedObjectNCInfo&& other);
    /// Copies every member.
    TevDerivedObjectNCInfo& operator=(const TevDerivedObjectNCInfo& other);
    /// Takes the texts over; the lists are copied, so `other` keeps its lists.
    TevDerivedObjectNCInfo& operator=(TevDerivedObjectNCInfo&& other);

    /// Resets the base members, then sets the style key and both DSTV flags back to -1;
    /// the file names, add-in names and defaults path stay.
    void reset() override;
    /// Copies the base part, then every NC member; an info of another kind gives the
    /// base part only.
    /// \pre src != nullptr and an NC info.
    void setFrom(const TevDerivedObjectInfo* src) override;
    /// Runs setFrom(src), whatever bits `what` holds.
    /// \pre src != nullptr.
    void refreshInfo(const TevDerivedObjectInfo* src,
                     TevDerDocEnums::eDerivedDocInfo what) override;
    /// Destroys the info.
    ~TevDerivedObjectNCInfo() override;

    int getStyleKey() const;        ///< The NC style's key; -1 at first.
    void setStyleKey(int styleKey); ///< Sets the NC style's key.
    /// The file written for this object alone.
    TevString getFileWritenForSingleObject() const;
    /// Sets the file written for this object alone.
    void setFileWritenForSingleObject(const TevString& fileName);
    TevString getFileWritenGlobal() const; ///< The file written for all objects.
    /// Sets the file written for all objects.
    void setFileWritenGlobal(const TevString& fileName);
    TevString getNcAddinDllName() const; ///< The library name of the add-in that wrote the files.
    /// Sets the library name of the add-in.
    void setNcAddinDllName(const TevString& dllName);
    TevString getNcAddinRunName() const; ///< The name under which the add-in ran.
    /// Sets the name under which the add-in ran.
    void setNcAddinRunName(const TevString& runName);
    int getIsDSTVExtension() const; ///< Tri-state DSTV extension flag; -1 until set.
    /// Sets the DSTV extension flag.
    void setIsDSTVExtension(int isDSTVExtension);
    int getIsDSTVNC() const;        ///< Tri-state DSTV NC flag; -1 until set.
    void setIsDSTVNC(int isDSTVNC); ///< Sets the DSTV NC flag.
    /// The path of the XML file that overrides the defaults.
    TevString getDefaultsOverrideXmlPath() const;
    /// Sets the path of the XML file that overrides the defaults.
    void setDefaultsOverrideXmlPath(const TevString& path);

protected:
    int m_styleKey;                        ///< The NC style's key.
    TevString m_fileWritenForSingleObject; ///< The file written for this object alone.
    TevString m_fileWritenGlobal;          ///< The file written for all objects.
    TevString m_ncAddinDllName;            ///< The library name of the add-in.
    TevString m_ncAddinRunName;            ///< The name under which the add-in ran.
    int m_isDSTVExtension;                 ///< Tri-state DSTV extension flag.
    int m_isDSTVNC;                        ///< Tri-state DSTV NC flag.
    TevString m_defaultsOverrideXmlPath;   ///< The path of the defaults-override XML file.
};

#endif // TEV_DERIVED_OBJECT_INFO_H
