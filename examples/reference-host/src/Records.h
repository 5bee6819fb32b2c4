// What `show` and `check` print, whatever the format: named columns, one record per row
// in the order the table lists them, and the counts of the closing summary. Three
// writers lay it out: an aligned table for people (the default), JSON and CSV for
// programs.
#ifndef LUM_REFERENCE_HOST_RECORDS_H
#define LUM_REFERENCE_HOST_RECORDS_H

#include <ostream>
#include <string>
#include <vector>

enum class Format { Table, Json, Csv };

// The names --format takes, for help and messages.
extern const char* const kFormatNames; // "table, json or csv"
// The format called `name`; false when there is none.
bool formatNamed(const std::string& name, Format& format);

// How JSON writes a cell. CSV and the table write every cell as its text.
enum class FieldType { Text, Number, Boolean };

struct Field {
    std::string key;     // lower_snake_case: the JSON key and the CSV header
    std::string heading; // the table's column heading; empty: not in the table
    FieldType type = FieldType::Text;
};

// A number of the summary, such as the documents shown.
struct Count {
    std::string key;
    long long value = 0;
};

struct Records {
    std::vector<Field> fields;
    // The cells of each record in the order of `fields`, as the table prints them: a
    // Number in decimal digits, a Boolean as "true" or "false".
    std::vector<std::vector<std::string>> rows;
    std::vector<Count> counts; // JSON puts them before the rows; CSV leaves them out.
    std::string summary;       // The table's last line, which tells the counts.
};

void writeRecords(const Records& records, Format format, std::ostream& out);

#endif // LUM_REFERENCE_HOST_RECORDS_H
