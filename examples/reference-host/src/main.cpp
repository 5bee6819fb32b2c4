// derived-docs: the reference host of LumDerivedDocumentsBase. It plays the part of a
// CAD application for one derived-documents folder: it installs its factory, builds
// its model from the folder's manifest, lets the library register the documents and
// prints what the library knows about them.
#include "HostFiles.h"
#include "HostModel.h"
#include "HostText.h"
#include "ProgressBar.h"
#include "Records.h"
#include "RowTable.h"

#include "LumDerivedDocumentsBase.h"

#include <unistd.h>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#ifndef LUM_SAMPLE_MODEL_DIR
#error "LUM_SAMPLE_MODEL_DIR must name the bundled sample folder"
#endif

namespace {

constexpr int kExitOk = 0;
constexpr int kExitProblems = 1; // The work is done, but something went wrong on the way.
constexpr int kExitUsage = 2;    // Bad command line or folder: nothing was done.

const char* const kProgram = "derived-docs";
// The option that adds a last line telling how long the command took.
const char* const kTimeOption = "--time";
// The option of `show` and `check` that chooses the output format.
const char* const kFormatOption = "--format";

// What the command line asks of a command: its operands (FOLDER taken off) and the
// output format.
struct Request {
    std::vector<std::string> operands;
    Format format = Format::Table;
};

// A command line that cannot be run: one line on stderr, and nothing is done.
int usageError(const std::string& message) {
    std::cerr << kProgram << ": " << message << " (try '" << kProgram << " --help')\n";
    return kExitUsage;
}

// Arguments that name something that is not there.
int argumentError(const std::string& message) {
    std::cerr << kProgram << ": " << message << '\n';
    return kExitUsage;
}

// Shows a broken precondition the library reports; the library then goes on.
void reportAssertion(const char* expression, const char* file, int line) {
    std::cerr << kProgram << ": library assertion failed: " << expression << " (" << file << ":"
              << line << ")\n";
}

// What a host installs for the whole process before it makes a model: the assertion
// handler, the factory, the progress display and the prompt that names the progress of
// the update check. All but the prompt are removed after the model is gone.
class HostServices {
public:
    HostServices()
        : m_progress(isatty(2) != 0) {
        TevAssert::setHandler(&reportAssertion);
        TevDerivedDocumentsModel::setFactory(&m_factory);
        TevProcessEvolutionManager::setProcessEvolutionManager(&m_progress);
        Prompts::setPrompt(u"GUI", 45033, u"Checking derived documents");
    }
    HostServices(const HostServices&) = delete;
    HostServices& operator=(const HostServices&) = delete;
    ~HostServices() {
        TevProcessEvolutionManager::setProcessEvolutionManager(nullptr);
        TevDerivedDocumentsModel::setFactory(nullptr);
        TevAssert::setHandler(nullptr);
    }

private:
    HostFactory m_factory;
    ProgressBar m_progress;
};

// Every document of the model, after the library checked which ones require an
// update; the check lets the host register them first (prepareCheckHasUpdReq).
TevArray<TevDerivedDocument*> checkedDocuments(HostModel& model) {
    model.checkHasUpdReqForDerivedDocs(TevDerDocEnums::eDocTypeAll, true);
    TevArray<TevDerivedDocument*> docs;
    model.getDerivedDocs(docs);
    return docs;
}

std::vector<std::string> documentNames(HostModel& model) {
    TevArray<TevDerivedDocument*> docs;
    model.getDerivedDocs(docs);
    std::vector<std::string> names;
    for (const TevDerivedDocument* doc : docs) {
        names.push_back(documentName(*doc));
    }
    std::sort(names.begin(), names.end());
    return names;
}

int runShow(HostModel& model, const Request& request) {
    const TevArray<TevDerivedDocument*> docs = checkedDocuments(model);
    TevArray<TevDocManObject> rows;
    model.setDocManObjects(&rows);
    model.setDocumentsManagerOpen(true); // Rows that leave the table are only marked now.
    for (TevDerivedDocument* doc : docs) {
        doc->getUpdateAllDerObjs(false); // The table shows each object's current status.
        doc->addDocManObjects(&rows);
    }
    Records records = docManRecords(rows, model.getPathToDerDocs());
    records.counts = {{"documents", docs.length()}, {"objects", rows.length()}};
    records.summary = std::to_string(docs.length()) + " documents, " +
                      std::to_string(rows.length()) + " objects.";
    writeRecords(records, request.format, std::cout);
    // The table goes first, the model lives on (and would take rows out of an attached
    // table when it resets): close the manager, which erases the marked rows, then
    // detach the table; every object forgets its row in one walk, and the rows go with
    // the table.
    model.setDocumentsManagerOpen(false);
    model.setDocManObjects(nullptr);
    return kExitOk;
}

int runCheck(HostModel& model, const Request& request) {
    writeRecords(checkRecords(checkedDocuments(model)), request.format, std::cout);
    return kExitOk;
}

int runMissing(HostModel& model, const Request&) {
    model.addDerivedDocs(TevDerDocEnums::eDocTypeAll, false);
    const std::vector<std::string> before = documentNames(model);
    model.deleteMissingFileDocs(TevDerDocEnums::eDocTypeAll);
    const std::vector<std::string> after = documentNames(model);
    std::vector<std::string> removed;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::back_inserter(removed));
    if (removed.empty()) {
        std::cout << "Every document has its file; nothing was removed.\n";
        return kExitOk;
    }
    std::cout << "Removed " << removed.size() << " of " << before.size()
              << " documents, as their files are missing:\n";
    for (const std::string& name : removed) {
        std::cout << "  " << name << '\n';
    }
    std::cout << "The manifest still lists them.\n";
    if (model.documentsChanged()) {
        std::cout << "The reports among them left the host's report list.\n";
    }
    return kExitOk;
}

int runNumbers(HostModel& model, const Request&) {
    TevArray<TevString> prefixes, numbers, fileNames, fullFileNames;
    model.getAllDerivedDetailDrawingNumbers(prefixes, numbers, fileNames, fullFileNames);
    std::map<std::string, std::vector<std::string>> drawingsByNumber;
    for (int index = 0; index < numbers.length(); ++index) {
        const std::string number = (prefixes[index] + numbers[index]).toUtf8();
        drawingsByNumber[number].push_back(
            relativeName(fullFileNames[index], model.getPathToDerDocs()));
    }
    TextTable table({"DWG NO", "DOCUMENT", "NOTE"});
    int shared = 0;
    for (const auto& [number, drawings] : drawingsByNumber) {
        shared += drawings.size() > 1 ? 1 : 0;
        for (const std::string& drawing : drawings) {
            const std::string note = drawings.size() > 1 ? "duplicate drawing number" : "";
            table.addRow({number, drawing, note});
        }
    }
    table.sortRows();
    table.print(std::cout);
    std::cout << drawingsByNumber.size() << " drawing numbers, " << shared
              << " of them used by more than one drawing.\n";
    return kExitOk;
}

// The document named `name`: a file name, or a path below the folder.
TevDerivedDocument* findDocument(HostModel& model, const std::string& name) {
    if (TevDerivedDocument* doc = model.getAt(text(name), TevDerDocEnums::eDocTypeAll)) {
        return doc;
    }
    std::string below = name;
    std::replace(below.begin(), below.end(), '/', '\\');
    return model.getAt(model.getPathToDerDocs() + u"\\" + text(below), TevDerDocEnums::eDocTypeAll);
}

std::string extensionOf(const std::string& fileName) {
    const std::size_t dot = fileName.find_last_of('.');
    return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

// Why `doc` cannot be renamed to `newName`; empty when it can.
std::string renameProblem(HostModel& model, const TevDerivedDocument& doc,
                          const std::string& newName, const TevString& newFile) {
    const std::string oldName = doc.getFileName().toUtf8();
    if (newName.find_first_of("/\\") != std::string::npos) {
        return "NEW must be a file name without folder: " + newName;
    }
    if (TevString::compareNoCase(text(extensionOf(oldName)), text(extensionOf(newName))) != 0) {
        return "NEW must end in the extension of " + oldName + " (" + extensionOf(oldName) + ")";
    }
    if (tevFileExists(newFile) != 0 || model.getAt(newFile, TevDerDocEnums::eDocTypeAll)) {
        return relativeName(newFile, model.getPathToDerDocs()) + " exists already";
    }
    return std::string();
}

// Renames the file of `doc`, and its update file, to `newFile` and tells the model.
bool moveDocumentFile(HostModel& model, TevDerivedDocument& doc, const TevString& newFile) {
    const TevDerivedDocKey oldKey = doc.getKey();
    const TevString oldUpdateFile = doc.getFullUpdFileName();
    const bool hasUpdateFile = tevFileExists(oldUpdateFile) != 0;
    std::string reason;
    if (!renameFile(doc.getFullFileName(), newFile, reason)) {
        std::cerr << kProgram << ": cannot rename " << documentName(doc) << ": " << reason << '\n';
        return false;
    }
    model.derivedDocFileNameChanged(oldKey, newFile, TevString());
    if (hasUpdateFile && !renameFile(oldUpdateFile, doc.getFullUpdFileName(), reason)) {
        std::cerr << kProgram << ": cannot rename the update file: " << reason << '\n';
        return false;
    }
    return true;
}

int runRename(HostModel& model, const Request& request) {
    const std::vector<std::string>& operands = request.operands;
    const std::string& newName = operands[1];
    model.addDerivedDocs(TevDerDocEnums::eDocTypeAll, false);
    TevDerivedDocument* doc = findDocument(model, operands[0]);
    if (doc == nullptr) {
        return argumentError("no document is named " + operands[0]);
    }
    const TevString newFile = model.getPathToDerDocs() + doc->getKey().m_relPath + text(newName);
    const std::string problem = renameProblem(model, *doc, newName, newFile);
    if (!problem.empty()) {
        return argumentError(problem);
    }
    const std::string oldShown = documentName(*doc);
    if (!moveDocumentFile(model, *doc, newFile) ||
        !model.recordNewFileName(*doc, newName, std::cerr)) {
        return kExitProblems;
    }
    std::cout << "Renamed " << oldShown << " to " << documentName(*doc) << ".\n";
    if (const TevDerivedDocument* found = model.getAt(text(newName), TevDerDocEnums::eDocTypeAll)) {
        std::cout << "The model finds the " << kindName(found->getKey()) << " as "
                  << documentName(*found) << ".\n";
    }
    return kExitOk;
}

struct Command {
    const char* name;
    const char* operands;         // Before the optional FOLDER.
    std::size_t requiredOperands; // Their number.
    bool takesFormat;             // Whether it takes --format.
    const char* summary;          // One line for the overview.
    const char* details;          // The rest of the command's help.
    int (*run)(HostModel& model, const Request& request);
};

const Command kCommands[] = {
    {"show", "", 0, true, "list every derived object as the document manager shows it",
     "Registers every document of the manifest, checks which ones require an update\n"
     "and prints the document manager's table: one line per derived object with its\n"
     "category, status, drawing number, revision, approval, title and process.\n",
     runShow},
    {"check", "", 0, true, "tell which documents require an update",
     "A document requires an update while its \".upd\" file exists beside it.\n", runCheck},
    {"missing", "", 0, false, "remove the documents whose file is missing",
     "Removes from the model every document whose file is gone and names them.\n"
     "The manifest is left as it is.\n",
     runMissing},
    {"numbers", "", 0, false, "list the drawing numbers of the details",
     "Prints the drawing number of every detail drawing and flags numbers that more\n"
     "than one drawing uses.\n",
     runNumbers},
    {"rename", "OLD NEW ", 2, false, "rename a document's file",
     "Renames the file of the document OLD (a file name, or a path below FOLDER) to\n"
     "NEW in the same folder, with its update file, tells the model and records the\n"
     "new name in the manifest. NEW must end in the extension of OLD (in any case).\n",
     runRename},
};

void printOverview(std::ostream& out) {
    out << "Usage: " << kProgram << " COMMAND [ARGUMENTS] [FOLDER]\n\n"
        << "Shows what LumDerivedDocumentsBase knows about the derived documents of a\n"
        << "model folder, which lists them in its manifest.txt. FOLDER defaults to the\n"
        << "bundled sample: " << LUM_SAMPLE_MODEL_DIR << "\n\nCommands:\n";
    for (const Command& command : kCommands) {
        out << "  " << command.name << std::string(10 - std::string(command.name).size(), ' ')
            << command.summary << '\n';
    }
    out << "\n'" << kProgram << " COMMAND --help' describes a command. show and check take\n"
        << kFormatOption << " table|json|csv. With " << kTimeOption
        << ", a command ends with a line telling\nhow long it took (on stderr with "
        << kFormatOption << " json or csv).\n"
        << "Exit status: 0 done, 1 done but with problems (reported on stderr, such as\n"
        << "malformed manifest lines), 2 bad command line or folder.\n";
}

// What --format does, for the help of the commands that take it.
const char* const kFormatHelp =
    "\n--format table|json|csv\n"
    "  table, the default, prints the table and its summary line. json writes one\n"
    "  object: the summary's counts and \"rows\", one object per table line. csv writes\n"
    "  a header row and one record per table line (RFC 4180: CRLF line ends). Both\n"
    "  use lower_snake_case keys, write text as UTF-8 and give each status both in the\n"
    "  table's words and as a value for programs (status_code, update_required).\n";

std::string usageLine(const Command& command) {
    return std::string(kProgram) + ' ' + command.name + ' ' +
           (command.takesFormat ? "[--format FORMAT] " : "") + command.operands + "[FOLDER]";
}

void printHelp(const Command& command, std::ostream& out) {
    out << "Usage: " << usageLine(command) << "\n\n"
        << command.details << "FOLDER defaults to the bundled sample.\n"
        << (command.takesFormat ? kFormatHelp : "");
}

const Command* findCommand(const std::string& name) {
    for (const Command& command : kCommands) {
        if (name == command.name) {
            return &command;
        }
    }
    return nullptr;
}

// The folder as an absolute path without trailing separator; empty when it is none.
std::string modelFolder(const std::string& given) {
    std::error_code error;
    if (!std::filesystem::is_directory(given, error)) {
        return std::string();
    }
    std::string folder = std::filesystem::absolute(given, error).lexically_normal().string();
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

// Runs `command` on the model of `folder`. The services outlive the model: the
// factory stays installed until the model has disposed of its documents.
int runCommand(const Command& command, const std::string& folder, const Request& request) {
    const HostServices services;
    HostModel model(folder, std::cerr);
    const int status = command.run(model, request);
    if (status == kExitOk && model.manifest().problems() > 0) {
        return kExitProblems;
    }
    return status;
}

// Runs `command` as runCommand does, then, when `timed`, prints how long it took:
// reading the manifest, the command itself and disposing of the model. The line goes
// to stderr after JSON or CSV, which stdout must hold alone.
int runTimed(const Command& command, const std::string& folder, const Request& request,
             bool timed) {
    const auto start = std::chrono::steady_clock::now();
    const int status = runCommand(command, folder, request);
    if (timed) {
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        std::ostream& out = request.format == Format::Table ? std::cout : std::cerr;
        out << "Ran " << command.name << " in " << std::fixed << std::setprecision(2)
            << elapsed.count() << " s.\n";
    }
    return status;
}

bool isHelp(const std::string& argument) {
    return argument == "--help" || argument == "-h";
}

// Takes every "--format VALUE" out of `operands`; the last one counts. Returns why the
// format cannot be used, or an empty text.
std::string takeFormat(std::vector<std::string>& operands, Format& format) {
    const auto next = [&operands](auto from) {
        return std::find(from, operands.end(), kFormatOption);
    };
    for (auto option = next(operands.begin()); option != operands.end(); option = next(option)) {
        if (option + 1 == operands.end()) {
            return std::string(kFormatOption) + " needs a value: " + kFormatNames;
        }
        const std::string value = option[1];
        if (!formatNamed(value, format)) {
            return "unknown format '" + value + "' (expected " + kFormatNames + ")";
        }
        option = operands.erase(option, option + 2);
    }
    return std::string();
}

// CSV ends its lines with CRLF itself: stdout must not turn the LF into another CRLF,
// as Windows does in text mode.
void writeLineEndsAsGiven() {
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        return usageError("missing command");
    }
    if (isHelp(arguments[0])) {
        printOverview(std::cout);
        return kExitOk;
    }
    const Command* command = findCommand(arguments[0]);
    if (command == nullptr) {
        return usageError("unknown command '" + arguments[0] + "'");
    }
    std::vector<std::string> operands(arguments.begin() + 1, arguments.end());
    const auto timeOption = std::remove(operands.begin(), operands.end(), kTimeOption);
    const bool timed = timeOption != operands.end();
    operands.erase(timeOption, operands.end());
    Request request;
    if (command->takesFormat) {
        const std::string problem = takeFormat(operands, request.format);
        if (!problem.empty()) {
            return usageError(problem);
        }
    }
    for (const std::string& operand : operands) {
        if (isHelp(operand)) {
            printHelp(*command, std::cout);
            return kExitOk;
        }
        if (operand.size() > 1 && operand[0] == '-') {
            return usageError("unknown option '" + operand + "'");
        }
    }
    const std::size_t required = command->requiredOperands;
    if (operands.size() < required || operands.size() > required + 1) {
        return usageError("usage: " + usageLine(*command));
    }
    const std::string given = operands.size() > required ? operands.back() : LUM_SAMPLE_MODEL_DIR;
    const std::string folder = modelFolder(given);
    if (folder.empty()) {
        return argumentError("not a folder: " + given);
    }
    operands.resize(required);
    request.operands = std::move(operands);
    if (request.format == Format::Csv) {
        writeLineEndsAsGiven();
    }
    return runTimed(*command, folder, request, timed);
}
