// The manifest of a derived-documents folder: the plain-text file "manifest.txt" that
// lists the documents the model derived and the data a host keeps about them (detail
// ids, drawing numbers, titles, revisions, approval, duplicate groups, reports and
// model extracts). In a real application this data lives in the structural model;
// this host reads it from the manifest, and the library never sees the file.
//
// Format: one record per line, fields separated by "|", blanks around a field
// ignored, "-" standing for an empty field. Blank lines and lines starting with "#"
// are skipped. The first field names the record:
//
//   detail   | ID | PATH | PREFIX | NUMBER | TITLE | APPROVED | GROUP
//   revision | ID | INDEX | DATE | DESCRIPTION | AUTHOR | CHECKED
//   pending  | ID | HANDLE | TITLE
//   bom      | NUMBER | PATH | NAME | EXTRACT
//   dstv     | NUMBER | PATH | NAME | EXTRACT
//   nc       | KIND | PATH | NAME | TITLE
//   extract  | NUMBER | NAME
//
// detail:   a detail drawing. ID is the detail's id in the model (0: a sheet that
//           shows no detail, such as a cover sheet); PATH is relative to the folder
//           and starts with "..", e.g. ..\Details\A1.dwg; PREFIX and NUMBER form
//           the drawing number; APPROVED is the approval date; details sharing a
//           GROUP show equal parts and form one duplicate group.
// revision: one revision of the detail ID, listed after it; the last is the current.
// pending:  an object the next update of the detail ID, listed before, will add to
//           its drawing; it exists while the drawing requires an update (while its
//           ".upd" file exists).
// bom/dstv: a bill of material or a DSTV list, by report NUMBER; EXTRACT is the
//           number of the model extract it lists.
// nc:       an NC file; KIND is dstv, named or dxf; PATH names the folder directly,
//           e.g. NC\Plates\P1.nc; NAME is the NC or DXF name.
// extract:  a model extract, by NUMBER.
#ifndef LUM_REFERENCE_HOST_MANIFEST_H
#define LUM_REFERENCE_HOST_MANIFEST_H

#include "LumDerivedDocumentsBase.h"

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

enum class RecordKind { Detail, Bom, Dstv, NC };

// One revision as the document-manager shows it: its texts in column order.
struct RevisionRecord {
    std::string index;
    std::string date;
    std::string description;
    std::string author;
    std::string checkedBy;
};

// An object that the next update of a detail drawing adds.
struct PendingRecord {
    std::string handle;
    std::string title;
};

// One document of the manifest.
struct DocumentRecord {
    RecordKind kind = RecordKind::Detail;
    int line = 0;        // Line of the manifest it was read from.
    std::int64_t id = 0; // Detail id, or report number.
    std::string path;    // As the library takes it: ..\Details\A1.dwg, NC\Plates\P1.nc.
    std::string title;   // Detail title, report name or NC title.
    std::string prefix;  // Drawing number of a detail: prefix and number proper.
    std::string number;
    std::string approved; // Approval date of a detail; empty when not approved.
    std::string group;    // Duplicate group of a detail; empty when none.
    int extract = 0;      // Model extract of a report.
    TevDerDocEnums::eDocSubType ncSubType = TevDerDocEnums::eDocSubTypeNone;
    std::string ncName;
    std::vector<RevisionRecord> revisions;
    std::vector<PendingRecord> pending;
};

struct ExtractRecord {
    int number = 0;
    std::string name;
};

class Manifest {
public:
    static constexpr const char* kFileName = "manifest.txt";

    // Reads the manifest of `folder`. Each problem (no file, a malformed line) is
    // reported on `errors` as "FILE:LINE: message"; every other line still loads.
    Manifest(const std::string& folder, std::ostream& errors);

    const std::string& fileName() const { return m_fileName; }
    // The number of problems reported while reading.
    int problems() const { return m_problems; }
    const std::vector<DocumentRecord>& documents() const { return m_documents; }

    // The first document of `kind` listed with `path` (compared exactly); null when none.
    const DocumentRecord* find(RecordKind kind, const std::string& path) const;
    // The first BOM or DSTV list with report `number`; null when none.
    const DocumentRecord* findReport(std::int64_t number) const;
    const ExtractRecord* findExtract(int number) const;

    // Gives `record` the path `newPath`, in memory and on its line of the file. False,
    // with the reason on `errors`, when the file cannot be rewritten.
    bool changePath(const DocumentRecord& record, const std::string& newPath, std::ostream& errors);

private:
    void readLine(const std::string& text, int line);
    void readDetail(const std::vector<std::string>& fields, int line);
    void readReport(RecordKind kind, const std::vector<std::string>& fields, int line);
    void readNC(const std::vector<std::string>& fields, int line);
    void readExtract(const std::vector<std::string>& fields, int line);
    // The detail a revision or pending record names; null, after a report, when the
    // detail is not listed before it.
    DocumentRecord* detailFor(const std::string& idField, int line);
    bool readNumber(const std::string& field, const char* what, int line, std::int64_t& value);
    // False, after a report, when the document path `field` leaves the model's folder:
    // the host never reads or renames a file outside it.
    bool readPath(const std::string& field, int line);
    void report(int line, const std::string& message);
    // Files every document under its kind and path, and every report under its number.
    void indexDocuments();

    std::string m_fileName;
    std::ostream& m_errors; // Where reading reports its problems.
    int m_problems = 0;
    std::vector<DocumentRecord> m_documents;
    std::vector<ExtractRecord> m_extracts;
    // Positions in m_documents of the first record of each key. The model looks up a
    // record for every document it registers: a model of many documents needs these
    // lookups in constant time, not a walk over the list.
    std::unordered_map<std::int64_t, std::size_t> m_detailById; // Filled while reading.
    std::map<RecordKind, std::unordered_map<std::string, std::size_t>> m_byPath;
    std::unordered_map<std::int64_t, std::size_t> m_reportByNumber;
};

#endif // LUM_REFERENCE_HOST_MANIFEST_H
