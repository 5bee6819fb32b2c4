#include "RowTable.h"

#include "HostModel.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

// Width on screen: UTF-8 continuation bytes take no column.
std::size_t columns(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Appends the line of `cells` to `text`, each cell padded to its column's width plus
// two blanks of margin, without blanks at the end.
void appendLine(std::string& text, const std::vector<std::string>& cells,
                const std::vector<std::size_t>& widths) {
    for (std::size_t index = 0; index < cells.size(); ++index) {
        text += cells[index];
        if (index + 1 < cells.size()) {
            text.append(widths[index] - columns(cells[index]) + 2, ' ');
        }
    }
    text.erase(text.find_last_not_of(' ') + 1);
    text += '\n';
}

// The start of every path below `folder`: the folder and a backslash.
std::string folderPrefix(const TevString& folder) {
    return folder.toUtf8() + "\\";
}

// `path` without `prefix` (see folderPrefix) when it starts with it; else all of it.
std::string belowFolder(const std::string& path, const std::string& prefix) {
    if (path.compare(0, prefix.size(), prefix) != 0) {
        return path;
    }
    return path.substr(prefix.size());
}

// What `check` says about the update requirement of `doc`.
std::string updateRequirement(const TevDerivedDocument& doc) {
    if (!doc.hasUpdReq()) {
        return "not required";
    }
    const TevString folder = doc.getModel()->getPathToDerDocs();
    return "required (" + relativeName(doc.getFullUpdFileName(), folder) + " exists)";
}

} // namespace

TextTable::TextTable(std::vector<std::string> headings)
    : m_headings(std::move(headings)) {}

void TextTable::addRow(std::vector<std::string> cells) {
    cells.resize(m_headings.size());
    m_rows.push_back(std::move(cells));
}

void TextTable::sortRows() {
    std::sort(m_rows.begin(), m_rows.end());
}

void TextTable::print(std::ostream& out) const {
    std::vector<std::size_t> widths;
    for (const std::string& heading : m_headings) {
        widths.push_back(columns(heading));
    }
    for (const std::vector<std::string>& row : m_rows) {
        for (std::size_t index = 0; index < row.size(); ++index) {
            widths[index] = std::max(widths[index], columns(row[index]));
        }
    }
    // The whole table is written at once: one write for any number of rows.
    std::string text;
    appendLine(text, m_headings, widths);
    for (const std::vector<std::string>& row : m_rows) {
        appendLine(text, row, widths);
    }
    out << text;
}

std::string statusName(int objectStatus) {
    using E = TevDerDocEnums;
    if (objectStatus == E::displayCode(kStatusNeedsUpdate)) {
        return "needs update";
    }
    switch (objectStatus) {
    case E::eStatusOk:
        return "up to date";
    case E::eDisplayUndetermined:
        return "undetermined";
    case E::eDisplayDuplicate:
        return "duplicate";
    case E::eDisplayFileMissing:
        return "file missing";
    case E::eDisplayError6:
        return "error 6";
    case E::eDisplayError1008:
        return "error 1008";
    case E::eDisplayError1002:
        return "error 1002";
    case E::eDisplayOtherError:
        return "failed";
    default:
        return "status " + std::to_string(objectStatus);
    }
}

std::string categoryName(int category, int subCategory) {
    using E = TevDerDocEnums;
    switch (category) {
    case E::eDocManCategoryDetail:
        return subCategory == E::eDocManSubCategoryBom ? "BOM in detail" : "detail";
    case E::eDocManCategoryBom:
        return "BOM list";
    case E::eDocManCategoryNC:
        return subCategory == E::eDocManSubCategoryBom    ? "DSTV list"
               : subCategory == E::eDocManSubCategoryDstv ? "NC DSTV"
                                                          : "NC named";
    case E::eDocManCategoryNCDxf:
        return "NC DXF";
    default:
        return "category " + std::to_string(category);
    }
}

std::string kindName(const TevDerivedDocKey& key) {
    switch (key.m_type) {
    case TevDerDocEnums::eDocTypeDetail:
        return "detail";
    case TevDerDocEnums::eDocTypeBom:
        return key.m_subType == TevDerDocEnums::eDocSubTypeDstv ? "DSTV list" : "BOM list";
    default:
        break;
    }
    switch (key.m_subType) {
    case TevDerDocEnums::eDocSubTypeDstv:
        return "NC DSTV";
    case TevDerDocEnums::eDocSubTypeNCNamed:
        return "NC named";
    default:
        return "NC DXF";
    }
}

std::string relativeName(const TevString& path, const TevString& folder) {
    return belowFolder(path.toUtf8(), folderPrefix(folder));
}

std::string documentName(const TevDerivedDocument& doc) {
    return relativeName(doc.getFullFileName(), doc.getModel()->getPathToDerDocs());
}

Records docManRecords(const TevArray<TevDocManObject>& rows, const TevString& folder) {
    // The order: category, sub-category, file and title. The texts are converted once
    // per row, not once per comparison.
    using SortKey = std::tuple<int, int, std::string, std::string>;
    std::vector<std::pair<SortKey, const TevDocManObject*>> ordered;
    ordered.reserve(static_cast<std::size_t>(rows.length()));
    for (const TevDocManObject& row : rows) {
        ordered.emplace_back(SortKey(row.m_category, row.m_subCategory,
                                     (row.m_path + row.m_fileName).toUtf8(), row.m_title.toUtf8()),
                             &row);
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const std::string prefix = folderPrefix(folder);
    Records records;
    records.fields = {{"document", "DOCUMENT"},     {"category", "CATEGORY"},
                      {"status", "STATUS"},         {"status_code", "", FieldType::Number},
                      {"drawing_number", "DWG NO"}, {"revision", "REV"},
                      {"approved", "APPROVED"},     {"title", "TITLE"},
                      {"process", "PROCESS"}};
    records.rows.reserve(ordered.size());
    for (const auto& [key, row] : ordered) {
        records.rows.push_back({belowFolder(std::get<2>(key), prefix),
                                categoryName(row->m_category, row->m_subCategory),
                                statusName(row->m_objectStatus),
                                std::to_string(row->m_objectStatus), row->m_fullDwgNo.toUtf8(),
                                row->m_lastRevIdx.toUtf8(), row->m_approvalDate.toUtf8(),
                                std::get<3>(key), row->m_processName.toUtf8()});
    }
    return records;
}

Records checkRecords(const TevArray<TevDerivedDocument*>& docs) {
    Records records;
    records.fields = {{"document", "DOCUMENT"},
                      {"kind", "KIND"},
                      {"objects", "OBJECTS", FieldType::Number},
                      {"update", "UPDATE"},
                      {"update_required", "", FieldType::Boolean}};
    long long requiringUpdate = 0;
    for (const TevDerivedDocument* doc : docs) {
        TevArray<TevDerivedObject*> objects;
        doc->getDerivedObjects(objects, TevDerDocEnums::eDocTypeAll);
        records.rows.push_back({documentName(*doc), kindName(doc->getKey()),
                                std::to_string(objects.length()), updateRequirement(*doc),
                                doc->hasUpdReq() ? "true" : "false"});
        requiringUpdate += doc->hasUpdReq() ? 1 : 0;
    }
    // By their cells, document first: the table's columns lead, so the table's order.
    std::sort(records.rows.begin(), records.rows.end());
    records.counts = {{"documents", docs.length()}, {"requiring_update", requiringUpdate}};
    records.summary = std::to_string(requiringUpdate) + " of " + std::to_string(docs.length()) +
                      " documents require an update.";
    return records;
}
