// End to end: runs the reference host derived-docs on a copy of its bundled sample
// folder and checks what it prints and what it does to the folder.
#include "TestSupport.h"

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
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
// derived-docs.exe lies beside the test program: the Windows build puts every program
// and library in one folder. cmd /c drops the first and the last quote of its command
// line: one more pair keeps the quotes around the program's path.
std::string command(const std::string& arguments) {
    std::wstring module(32768, L'\0');
    module.resize(GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size())));
    const std::string program =
        fs::path(module).parent_path().append(L"derived-docs.exe").u8string();
    return "\"\"" + program + "\" " + arguments + " 2>&1\"";
}
FILE* openPipe(const std::string& line) {
    return _popen(line.c_str(), "rt");
}
int closePipe(FILE* pipe) {
    return _pclose(pipe);
}
#else
std::string command(const std::string& arguments) {
    return "'" LUM_DERIVED_DOCS_EXE "' " + arguments + " 2>&1";
}
FILE* openPipe(const std::string& line) {
    return popen(line.c_str(), "r");
}
int closePipe(FILE* pipe) {
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

Outcome run(const std::string& arguments) {
    Outcome result;
    FILE* pipe = openPipe(command(arguments));
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command(arguments);
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
    std::copy_if(result.lines.begin(), result.lines.end(), std::back_inserter(found),
                 [&start](const std::string& line) { return line.rfind(start, 0) == 0; });
    return found;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ReferenceHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(LUM_SAMPLE_MODEL_DIR, folder.path(), fs::copy_options::recursive);
    }

    // The paths used here hold no quote of either kind.
    Outcome runOnCopy(const std::string& arguments) const {
        return run(arguments + " \"" + folder.path().u8string() + "\"");
    }

    lumtest::TempFolder folder;
};

TEST_F(ReferenceHostTest, ShowPrintsEveryStatusAndCategory) {
    const Outcome result = runOnCopy("show");
    ASSERT_EQ(result.status, 0) << result.output;
    const std::pair<const char*, const char*> rows[] = {
        {"Details\\A1.dwg ", " up to date "},   {"Details\\A3.dwg ", " file missing "},
        {"Details\\S0.dwg ", " undetermined "}, {"Details\\D1.dwg ", " duplicate "},
        {"Details\\D2.dwg ", " duplicate "},    {"Details\\C1.dwg ", " detail "},
        {"BOM\\Parts.txt ", " BOM list "},      {"BOM\\Parts.txt ", "Whole model"},
        {"DSTV\\Profiles.txt ", " DSTV list "}, {"NC\\DSTV\\B1.nc1 ", " NC DSTV "},
        {"NC\\Plates\\P1.nc ", " NC named "},   {"NC\\DXF\\P2.dxf ", " NC DXF "}};
    for (const auto& [start, part] : rows) {
        const std::vector<std::string> found = linesOf(result, start); // one line, holding part
        EXPECT_TRUE(found.size() == 1 && contains(found[0], part))
            << start << part << result.output;
    }
    // The drawing that requires an update, and the object its update will add.
    const std::vector<std::string> a2 = linesOf(result, "Details\\A2.dwg ");
    ASSERT_EQ(a2.size(), 2U) << result.output;
    EXPECT_TRUE(contains(a2[0], " needs update ") && contains(a2[1], " needs update "));
    EXPECT_TRUE(contains(a2[0] + a2[1], "Stiffener S1"));
    EXPECT_EQ(result.lines.back(), "13 documents, 14 objects.");
    EXPECT_FALSE(contains(result.output, "assertion")) << result.output;

    // --time adds one line after the summary, wherever it is given.
    const Outcome timed = runOnCopy("show --time");
    ASSERT_EQ(timed.status, 0) << timed.output;
    ASSERT_EQ(timed.lines.size(), result.lines.size() + 1) << timed.output;
    EXPECT_EQ(timed.lines[timed.lines.size() - 2], "13 documents, 14 objects.");
    EXPECT_TRUE(std::regex_match(timed.lines.back(), std::regex(R"(Ran show in \d+\.\d\d s\.)")))
        << timed.lines.back();
}

// A manifest path that climbs out of the model's folder is refused with its line, so
// that no command reads, registers or renames a file outside the model.
TEST_F(ReferenceHostTest, RefusesManifestPathsThatLeaveTheModelFolder) {
    std::ofstream(folder.path() / "manifest.txt", std::ios::app)
        << "detail | 901 | ..\\..\\outside\\victim.dwg | V- | 1 | Outside | - | -\n"
           "nc | named | ..\\NC\\..\\..\\x.nc | X1 | Outside\n"
           "bom | 9 | C:\\elsewhere\\Parts.txt | Outside | 1\n"
           "detail | 902 | ..\\Details\\..\\Details\\Inside.dwg | I- | 2 | Inside | - | -\n";
    const Outcome result = runOnCopy("show");
    EXPECT_EQ(result.status, 1) << result.output;
    for (const char* path :
         {"..\\..\\outside\\victim.dwg", "..\\NC\\..\\..\\x.nc", "C:\\elsewhere\\Parts.txt"}) {
        EXPECT_TRUE(contains(result.output,
                             std::string("the path '") + path + "' leaves the model's folder"))
            << path << "\n"
            << result.output;
    }
    EXPECT_FALSE(contains(result.output, "Outside")) << result.output;
    EXPECT_TRUE(contains(result.output, "Inside")) << result.output;
}

// What rename's help promises about NEW is what rename refuses.
TEST_F(ReferenceHostTest, RenameRefusesWhatItsHelpRulesOut) {
    EXPECT_TRUE(contains(run("rename --help").output, "NEW must end in the extension of OLD"));
    const Outcome refused = runOnCopy("rename A1.dwg B1");
    EXPECT_EQ(refused.status, 2) << refused.output;
    EXPECT_TRUE(contains(refused.output, "NEW must end in the extension of A1.dwg (.dwg)"))
        << refused.output;
    EXPECT_EQ(runOnCopy("rename A1.dwg B1.DWG").status, 0);
}

} // namespace
