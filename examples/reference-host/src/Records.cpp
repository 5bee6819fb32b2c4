#include "Records.h"

#include "RowTable.h"

#include <nlohmann/json.hpp>

#include <utility>

namespace {

// Keeps the keys in the order the fields give them.
using Json = nlohmann::ordered_json;

constexpr int kJsonIndent = 2;

const std::pair<const char*, Format> kFormats[] = {
    {"table", Format::Table}, {"json", Format::Json}, {"csv", Format::Csv}};

void writeTable(const Records& records, std::ostream& out) {
    std::vector<std::string> headings;
    std::vector<std::size_t> shown; // Positions of the fields that have a column.
    for (std::size_t index = 0; index < records.fields.size(); ++index) {
        if (!records.fields[index].heading.empty()) {
            headings.push_back(records.fields[index].heading);
            shown.push_back(index);
        }
    }
    TextTable table(std::move(headings));
    for (const std::vector<std::string>& row : records.rows) {
        std::vector<std::string> cells;
        for (const std::size_t index : shown) {
            cells.push_back(row[index]);
        }
        table.addRow(std::move(cells));
    }
    table.print(out);
    out << records.summary << '\n';
}

Json jsonValue(const Field& field, const std::string& cell) {
    switch (field.type) {
    case FieldType::Number:
        return std::stoll(cell);
    case FieldType::Boolean:
        return cell == "true";
    default:
        return cell;
    }
}

// One object: the counts, then "rows", an array of one object per record.
void writeJson(const Records& records, std::ostream& out) {
    Json document = Json::object();
    for (const Count& count : records.counts) {
        document[count.key] = count.value;
    }
    Json rows = Json::array();
    for (const std::vector<std::string>& row : records.rows) {
        Json record = Json::object();
        for (std::size_t index = 0; index < records.fields.size(); ++index) {
            record[records.fields[index].key] = jsonValue(records.fields[index], row[index]);
        }
        rows.push_back(std::move(record));
    }
    document["rows"] = std::move(rows);
    // UTF-8 text is written as it is, not as \u escapes (ensure_ascii stays off); bytes
    // that are no UTF-8 become U+FFFD instead of stopping the program.
    out << document.dump(kJsonIndent, ' ', false, Json::error_handler_t::replace) << '\n';
}

// One field of a CSV record (RFC 4180): quoted when it holds a comma, a double quote, a
// CR or an LF, with every double quote doubled.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

// One CSV record: its fields separated by commas, ended by CRLF.
void writeCsvRow(const std::vector<std::string>& fields, std::ostream& out) {
    std::string line;
    for (std::size_t index = 0; index < fields.size(); ++index) {
        line += (index > 0 ? "," : "") + csvField(fields[index]);
    }
    out << line << "\r\n";
}

// A header row of the keys, then one row per record.
void writeCsv(const Records& records, std::ostream& out) {
    std::vector<std::string> keys;
    for (const Field& field : records.fields) {
        keys.push_back(field.key);
    }
    writeCsvRow(keys, out);
    for (const std::vector<std::string>& row : records.rows) {
        writeCsvRow(row, out);
    }
}

} // namespace

const char* const kFormatNames = "table, json or csv";

bool formatNamed(const std::string& name, Format& format) {
    for (const auto& [formatName, value] : kFormats) {
        if (name == formatName) {
            format = value;
            return true;
        }
    }
    return false;
}

void writeRecords(const Records& records, Format format, std::ostream& out) {
    switch (format) {
    case Format::Json:
        writeJson(records, out);
        break;
    case Format::Csv:
        writeCsv(records, out);
        break;
    default:
        writeTable(records, out);
        break;
    }
}
