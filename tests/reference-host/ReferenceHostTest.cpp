// End to end: runs the reference host derived-docs on a copy of its bundled sample
// folder and checks what it prints and what it does to the folder.
#include "TempFolder.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::vector<std::string> lines; // stdout and stderr together
    std::string output;
};

#if defined(_WIN32)

// cmd.exe's quoting: the paths and arguments used here hold no double quote.
std::string quoted(const std::string& argument) {
    return "\"" + argument + "\"";
}

// derived-docs.exe lies beside the test program: the Windows build puts every program
// and library in one folder.
std::string hostProgram() {
    std::wstring module(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
        if (length < module.size()) {
            module.resize(length);
            break;
        }
        module.resize(module.size() * 2);
    }
    return fs::path(module).parent_path().append(L"derived-docs.exe").u8string();
}

FILE* openPipe(const std::string& command) {
    // cmd /c drops the first and the last quote of its command line: one more pair keeps
    // the quotes around the program's path.
    return _popen(("\"" + command + "\"").c_str(), "rt");
}

int closePipe(FILE* pipe) {
    return _pclose(pipe);
}

#else

std::string quoted(const std::string& argument) {
    std::string out = "'";
    for (const char c : argument) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

std::string hostProgram() {
    return LUM_DERIVED_DOCS_EXE;
}

FILE* openPipe(const std::string& command) {
    return popen(command.c_str(), "r");
}

int closePipe(FILE* pipe) {
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

Outcome run(const std::string& arguments) {
    const std::string command = quoted(hostProgram()) + " " + arguments + " 2>&1";
    Outcome result;
    FILE* pipe = openPipe(command);
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return result;
    }
    char buffer[4096];
    for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        result.output.append(buffer, count);
    }
    result.status = closePipe(pipe);
    std::istringstream stream(result.output);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        result.lines.push_back(line);
    }
    return result;
}

// The lines that start with `start`.
std::vector<std::string> linesOf(const Outcome& result, const std::string& start) {
    std::vector<std::string> found;
    for (const std::string& line : result.lines) {
        if (line.rfind(start, 0) == 0) {
            found.push_back(line);
        }
    }
    return found;
}

// The one line that starts with `start`; empty (and a failure) when there is not one.
std::string lineOf(const Outcome& result, const std::string& start) {
    const std::vector<std::string> found = linesOf(result, start);
    EXPECT_EQ(found.size(), 1U) << "lines starting with " << start << " in:\n" << result.output;
    return found.empty() ? std::string() : found.front();
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ReferenceHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(LUM_SAMPLE_MODEL_DIR, folder.path(), fs::copy_options::recursive);
    }

    Outcome runOnCopy(const std::string& arguments) const {
        return run(arguments + " " + quoted(folder.path().u8string()));
    }

    lumtest::TempFolder folder;
};

TEST_F(ReferenceHostTest, ShowPrintsEveryStatusAndCategory) {
    const Outcome result = runOnCopy("show");
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_TRUE(contains(lineOf(result, "Details\\A1.dwg "), " up to date "));
    EXPECT_TRUE(contains(lineOf(result, "Details\\A3.dwg "), " file missing "));
    EXPECT_TRUE(contains(lineOf(result, "Details\\S0.dwg "), " undetermined "));
    EXPECT_TRUE(contains(lineOf(result, "Details\\D1.dwg "), " duplicate "));
    EXPECT_TRUE(contains(lineOf(result, "Details\\D2.dwg "), " duplicate "));
    // The drawing that requires an update, and the object its update will add.
    const std::vector<std::string> a2 = linesOf(result, "Details\\A2.dwg ");
    ASSERT_EQ(a2.size(), 2U) << result.output;
    EXPECT_TRUE(contains(a2[0], " needs update ") && contains(a2[1], " needs update "));
    EXPECT_TRUE(contains(a2[0] + a2[1], "Stiffener S1"));

    EXPECT_TRUE(contains(lineOf(result, "Details\\C1.dwg "), " detail "));
    EXPECT_TRUE(contains(lineOf(result, "BOM\\Parts.txt "), " BOM list "));
    EXPECT_TRUE(contains(lineOf(result, "BOM\\Parts.txt "), "Whole model"));
    EXPECT_TRUE(contains(lineOf(result, "DSTV\\Profiles.txt "), " DSTV list "));
    EXPECT_TRUE(contains(lineOf(result, "NC\\DSTV\\B1.nc1 "), " NC DSTV "));
    EXPECT_TRUE(contains(lineOf(result, "NC\\Plates\\P1.nc "), " NC named "));
    EXPECT_TRUE(contains(lineOf(result, "NC\\DXF\\P2.dxf "), " NC DXF "));
    EXPECT_EQ(result.lines.back(), "13 documents, 14 objects.");
    EXPECT_FALSE(contains(result.output, "assertion")) << result.output;
}

TEST_F(ReferenceHostTest, CheckTellsWhichDocumentsRequireAnUpdate) {
    const Outcome result = runOnCopy("check");
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_TRUE(contains(lineOf(result, "Details\\A2.dwg "), "required (Details\\A2.upd exists)"));
    EXPECT_TRUE(contains(lineOf(result, "Details\\A1.dwg "), "not required"));
    EXPECT_EQ(result.lines.back(), "1 of 13 documents require an update.");
}

TEST_F(ReferenceHostTest, MissingRemovesExactlyTheDocumentWithoutFile) {
    const Outcome result = runOnCopy("missing");
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(lineOf(result, "Removed "), "Removed 1 of 13 documents, as their files are missing:");
    const std::vector<std::string> removed = linesOf(result, "  ");
    EXPECT_EQ(removed, std::vector<std::string>{"  Details\\A3.dwg"});
}

TEST_F(ReferenceHostTest, NumbersFlagsADrawingNumberUsedTwice) {
    const Outcome result = runOnCopy("numbers");
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_TRUE(contains(lineOf(result, "C-5     Details\\C1.dwg"), "duplicate drawing number"));
    EXPECT_TRUE(contains(lineOf(result, "C-5     Details\\C2.dwg"), "duplicate drawing number"));
    EXPECT_FALSE(contains(lineOf(result, "A-101 "), "duplicate"));
}

TEST_F(ReferenceHostTest, RenameMovesTheFileAndTheModelFollows) {
    const Outcome renamed = runOnCopy("rename A2.dwg A2-B.dwg");
    ASSERT_EQ(renamed.status, 0) << renamed.output;
    EXPECT_TRUE(fs::exists(folder.path() / "Details" / "A2-B.dwg"));
    EXPECT_TRUE(fs::exists(folder.path() / "Details" / "A2-B.upd"));
    EXPECT_FALSE(fs::exists(folder.path() / "Details" / "A2.dwg"));
    EXPECT_TRUE(contains(renamed.output, "The model finds the detail as Details\\A2-B.dwg."));

    const Outcome shown = runOnCopy("show");
    ASSERT_EQ(shown.status, 0) << shown.output;
    EXPECT_EQ(linesOf(shown, "Details\\A2-B.dwg ").size(), 2U) << shown.output;
    EXPECT_TRUE(linesOf(shown, "Details\\A2.dwg ").empty()) << shown.output;
}

TEST_F(ReferenceHostTest, BadCommandLineGivesOneLineAndStatusTwo) {
    for (const std::string& arguments :
         {std::string("show /no/such/folder"), std::string("frobnicate"), std::string(),
          std::string("show --frobnicate"), std::string("rename A1.dwg")}) {
        const Outcome result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_EQ(result.lines.size(), 1U) << arguments << ":\n" << result.output;
    }
    EXPECT_TRUE(contains(run("show /no/such/folder").output, "not a folder: /no/such/folder"));
}

TEST_F(ReferenceHostTest, EveryCommandHasHelp) {
    for (const char* command : {"show", "check", "missing", "numbers", "rename"}) {
        const Outcome result = run(std::string(command) + " --help");
        EXPECT_EQ(result.status, 0) << command;
        EXPECT_EQ(result.lines.front().rfind(std::string("Usage: derived-docs ") + command, 0), 0U)
            << result.output;
    }
}

TEST_F(ReferenceHostTest, MalformedManifestLineIsReportedAndTheRestLoads) {
    const fs::path manifest = folder.path() / "manifest.txt";
    std::vector<std::string> lines;
    int malformed = 0;
    {
        std::ifstream in(manifest);
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("detail   | 202", 0) == 0) {
                line = "detail | 202 | ..\\Details\\C2.dwg | C-";
                malformed = static_cast<int>(lines.size()) + 1;
            }
            lines.push_back(line);
        }
    }
    ASSERT_NE(malformed, 0);
    std::ofstream(manifest) << [&lines] {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        return text;
    }();

    const Outcome result = runOnCopy("show");
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_TRUE(contains(result.output, "manifest.txt:" + std::to_string(malformed) +
                                            ": expected 8 fields for a detail, found 4"))
        << result.output;
    EXPECT_TRUE(linesOf(result, "Details\\C2.dwg ").empty());
    EXPECT_TRUE(contains(lineOf(result, "Details\\C1.dwg "), " up to date "));
    EXPECT_EQ(result.lines.back(), "12 documents, 13 objects.");
}

TEST_F(ReferenceHostTest, MissingManifestIsNamed) {
    fs::remove(folder.path() / "manifest.txt");
    const Outcome result = runOnCopy("show");
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(contains(result.output, "manifest.txt: cannot read the manifest")) << result.output;
}

} // namespace
