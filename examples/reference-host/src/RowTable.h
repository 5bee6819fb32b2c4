// Printing: aligned plain-text tables, the readable names of what the document
// manager's rows and the documents' keys hold, and the records of `show` and `check`.
#ifndef LUM_REFERENCE_HOST_ROW_TABLE_H
#define LUM_REFERENCE_HOST_ROW_TABLE_H

#include "LumDerivedDocumentsBase.h"
#include "Records.h"

#include <ostream>
#include <string>
#include <vector>

// A table of texts printed with aligned columns under a heading line.
class TextTable {
public:
    explicit TextTable(std::vector<std::string> headings);

    void addRow(std::vector<std::string> cells);
    // Orders the rows by their cells, first column first.
    void sortRows();
    void print(std::ostream& out) const;

private:
    std::vector<std::string> m_headings;
    std::vector<std::vector<std::string>> m_rows;
};

// The document-manager status of a row: "up to date", "needs update", ...
std::string statusName(int objectStatus);
// The kind of document a row shows, from its category codes: "detail", "NC DXF", ...
std::string categoryName(int category, int subCategory);
// The same kinds, from a document's key.
std::string kindName(const TevDerivedDocKey& key);

// A path below the model's folder `folder`, as the application writes it
// (Details\A1.dwg); other paths are returned whole.
std::string relativeName(const TevString& path, const TevString& folder);
// The file of `doc` below its model's folder.
std::string documentName(const TevDerivedDocument& doc);

// The records of `show`: one per row of the document manager, with its document,
// category, status (text and display code), drawing number, revision, approval date,
// title and process, ordered by category. The counts are left to the caller.
Records docManRecords(const TevArray<TevDocManObject>& rows, const TevString& folder);
// The records of `check`: one per document, with its kind, number of objects and
// update requirement (text and truth value), ordered by document, and the counts of
// documents and of those requiring an update.
Records checkRecords(const TevArray<TevDerivedDocument*>& docs);

#endif // LUM_REFERENCE_HOST_ROW_TABLE_H
