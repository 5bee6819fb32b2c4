#include "Manifest.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <utility>

namespace {

const char* const kBlanks = " \t\r";

// The part of `text` from `first` up to `last` (excluded, npos for the end), without
// the blanks around it.
std::string trimmed(const std::string& text, std::size_t first, std::size_t last) {
    first = text.find_first_not_of(kBlanks, first);
    if (first >= last) {
        return std::string();
    }
    const std::size_t end = text.find_last_not_of(kBlanks, last - 1) + 1;
    return text.substr(first, end - first);
}

// Whether `path` names a place outside the model's folder: an absolute path, or one that
// climbs above the folder. A leading ".." is how the manifest starts at the model's
// folder (the derived-documents folder lies below it), so only later ones count.
bool leavesModelFolder(const std::string& path) {
    if (path.find(':') != std::string::npos || path.find_first_of("\\/") == 0) {
        return true;
    }
    int depth = 0;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find_first_of("\\/", start), path.size());
        const std::string part = path.substr(start, end - start);
        if (part == ".." && start > 0 && --depth < 0) {
            return true;
        }
        depth += part.empty() || part == "." || part == ".." ? 0 : 1;
        start = end + 1;
    }
    return false;
}

// The fields of a line, trimmed; "-" stands for an empty field.
std::vector<std::string> splitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = text.find('|', start);
        std::string field = trimmed(text, start, bar);
        fields.push_back(field == "-" ? std::string() : std::move(field));
        if (bar == std::string::npos) {
            return fields;
        }
        start = bar + 1;
    }
}

bool isSkipped(const std::string& text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    return first == std::string::npos || text[first] == '#';
}

struct RecordShape {
    const char* name;  // First field.
    const char* label; // For messages: "expected 8 fields for a detail".
    std::size_t fields;
};

const RecordShape kShapes[] = {
    {"detail", "a detail", 8},          {"revision", "a revision", 7},
    {"pending", "a pending object", 4}, {"bom", "a BOM list", 5},
    {"dstv", "a DSTV list", 5},         {"nc", "an NC file", 5},
    {"extract", "a model extract", 3},
};

const RecordShape* shapeOf(const std::string& name) {
    for (const RecordShape& shape : kShapes) {
        if (name == shape.name) {
            return &shape;
        }
    }
    return nullptr;
}

bool readNCKind(const std::string& text, TevDerDocEnums::eDocSubType& subType) {
    if (text == "dstv") {
        subType = TevDerDocEnums::eDocSubTypeDstv;
    } else if (text == "named") {
        subType = TevDerDocEnums::eDocSubTypeNCNamed;
    } else if (text == "dxf") {
        subType = TevDerDocEnums::eDocSubTypeNCDxf;
    } else {
        return false;
    }
    return true;
}

} // namespace

Manifest::Manifest(const std::string& folder, std::ostream& errors)
    : m_fileName(folder + "/" + kFileName)
    , m_errors(errors) {
    std::ifstream file(m_fileName);
    if (!file) {
        m_errors << m_fileName << ": cannot read the manifest; no document is listed\n";
        ++m_problems;
        return;
    }
    std::string text;
    for (int line = 1; std::getline(file, text); ++line) {
        if (!isSkipped(text)) {
            readLine(text, line);
        }
    }
    indexDocuments();
}

const DocumentRecord* Manifest::find(RecordKind kind, const std::string& path) const {
    const auto paths = m_byPath.find(kind);
    if (paths == m_byPath.end()) {
        return nullptr;
    }
    const auto found = paths->second.find(path);
    return found != paths->second.end() ? &m_documents[found->second] : nullptr;
}

const DocumentRecord* Manifest::findReport(std::int64_t number) const {
    const auto found = m_reportByNumber.find(number);
    return found != m_reportByNumber.end() ? &m_documents[found->second] : nullptr;
}

const ExtractRecord* Manifest::findExtract(int number) const {
    for (const ExtractRecord& extract : m_extracts) {
        if (extract.number == number) {
            return &extract;
        }
    }
    return nullptr;
}

bool Manifest::changePath(const DocumentRecord& record, const std::string& newPath,
                          std::ostream& errors) {
    std::vector<std::string> lines;
    {
        std::ifstream file(m_fileName);
        for (std::string text; std::getline(file, text);) {
            lines.push_back(text);
        }
    }
    const std::size_t index = static_cast<std::size_t>(record.line - 1);
    const std::size_t at =
        index < lines.size() ? lines[index].find(record.path) : std::string::npos;
    if (at == std::string::npos) {
        errors << m_fileName << ":" << record.line << ": the line no longer lists " << record.path
               << "\n";
        return false;
    }
    lines[index].replace(at, record.path.size(), newPath);
    std::ofstream file(m_fileName, std::ios::trunc);
    for (const std::string& text : lines) {
        file << text << '\n';
    }
    if (!file) {
        errors << m_fileName << ": cannot rewrite the manifest\n";
        return false;
    }
    m_documents[static_cast<std::size_t>(&record - m_documents.data())].path = newPath;
    indexDocuments();
    return true;
}

void Manifest::readLine(const std::string& text, int line) {
    const std::vector<std::string> fields = splitFields(text);
    const RecordShape* shape = shapeOf(fields[0]);
    if (shape == nullptr) {
        report(line, "unknown record '" + fields[0] +
                         "' (expected detail, revision, pending, bom, dstv, nc or extract)");
        return;
    }
    if (fields.size() != shape->fields) {
        report(line, "expected " + std::to_string(shape->fields) + " fields for " + shape->label +
                         ", found " + std::to_string(fields.size()));
        return;
    }
    const std::string& name = fields[0];
    if (name == "detail") {
        readDetail(fields, line);
    } else if (name == "bom") {
        readReport(RecordKind::Bom, fields, line);
    } else if (name == "dstv") {
        readReport(RecordKind::Dstv, fields, line);
    } else if (name == "nc") {
        readNC(fields, line);
    } else if (name == "extract") {
        readExtract(fields, line);
    } else if (DocumentRecord* detail = detailFor(fields[1], line)) {
        if (name == "revision") {
            detail->revisions.push_back(
                RevisionRecord{fields[2], fields[3], fields[4], fields[5], fields[6]});
        } else {
            detail->pending.push_back(PendingRecord{fields[2], fields[3]});
        }
    }
}

void Manifest::readDetail(const std::vector<std::string>& fields, int line) {
    DocumentRecord record;
    record.kind = RecordKind::Detail;
    record.line = line;
    if (!readNumber(fields[1], "detail id", line, record.id) || !readPath(fields[2], line)) {
        return;
    }
    const auto listed = m_detailById.find(record.id);
    if (listed != m_detailById.end() && record.id != 0) {
        report(line, "detail " + fields[1] + " is listed already on line " +
                         std::to_string(m_documents[listed->second].line));
        return;
    }
    m_detailById.emplace(record.id, m_documents.size());
    record.path = fields[2];
    record.prefix = fields[3];
    record.number = fields[4];
    record.title = fields[5];
    record.approved = fields[6];
    record.group = fields[7];
    m_documents.push_back(std::move(record));
}

void Manifest::readReport(RecordKind kind, const std::vector<std::string>& fields, int line) {
    DocumentRecord record;
    record.kind = kind;
    record.line = line;
    std::int64_t extract = 0;
    if (!readNumber(fields[1], "report number", line, record.id) ||
        !readNumber(fields[4], "model extract", line, extract) || !readPath(fields[2], line)) {
        return;
    }
    record.path = fields[2];
    record.title = fields[3];
    record.extract = static_cast<int>(extract);
    m_documents.push_back(std::move(record));
}

void Manifest::readNC(const std::vector<std::string>& fields, int line) {
    DocumentRecord record;
    record.kind = RecordKind::NC;
    record.line = line;
    if (!readNCKind(fields[1], record.ncSubType)) {
        report(line, "unknown NC kind '" + fields[1] + "' (expected dstv, named or dxf)");
        return;
    }
    if (!readPath(fields[2], line)) {
        return;
    }
    record.path = fields[2];
    record.ncName = fields[3];
    record.title = fields[4];
    m_documents.push_back(std::move(record));
}

void Manifest::readExtract(const std::vector<std::string>& fields, int line) {
    std::int64_t number = 0;
    if (readNumber(fields[1], "model extract", line, number)) {
        m_extracts.push_back(ExtractRecord{static_cast<int>(number), fields[2]});
    }
}

DocumentRecord* Manifest::detailFor(const std::string& idField, int line) {
    std::int64_t id = 0;
    if (!readNumber(idField, "detail id", line, id)) {
        return nullptr;
    }
    const auto listed = m_detailById.find(id);
    if (listed == m_detailById.end()) {
        report(line, "detail " + idField + " is not listed before this line");
        return nullptr;
    }
    return &m_documents[listed->second];
}

bool Manifest::readNumber(const std::string& field, const char* what, int line,
                          std::int64_t& value) {
    const char* const end = field.data() + field.size();
    const auto result = std::from_chars(field.data(), end, value);
    if (field.empty() || result.ec != std::errc() || result.ptr != end) {
        report(line, std::string("the ") + what + " '" + field + "' is not a number");
        return false;
    }
    return true;
}

bool Manifest::readPath(const std::string& field, int line) {
    if (!leavesModelFolder(field)) {
        return true;
    }
    report(line, "the path '" + field + "' leaves the model's folder");
    return false;
}

void Manifest::report(int line, const std::string& message) {
    m_errors << m_fileName << ":" << line << ": " << message << "\n";
    ++m_problems;
}

void Manifest::indexDocuments() {
    m_byPath.clear();
    m_reportByNumber.clear();
    for (std::size_t position = 0; position < m_documents.size(); ++position) {
        const DocumentRecord& record = m_documents[position];
        m_byPath[record.kind].emplace(record.path, position);
        if (record.kind == RecordKind::Bom || record.kind == RecordKind::Dstv) {
            m_reportByNumber.emplace(record.id, position);
        }
    }
}
