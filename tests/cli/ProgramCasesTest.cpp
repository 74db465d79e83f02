// Runs every program case under tests/programs through cuttrace-cli and compares the
// exit status, the end-of-run message, the expanded program and the motions with the
// expectations stored beside the program.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "cli/support/CliRun.h"
#include "core/PictureFile.h"
#include "machines/NumberText.h"

namespace cuttrace {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::RunCli;

constexpr double kTolerance = 1e-6;

std::vector<std::string> CaseFolders() {
    std::vector<std::string> folders;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(CUTTRACE_PROGRAMS, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->path().filename() == "case.txt") {
            folders.push_back(fs::relative(it->path().parent_path(), CUTTRACE_PROGRAMS).string());
        }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

struct CaseExpectations {
    std::string dialect = "meldas";
    int exit = 0;
    std::string message = "終わりだよー(Standart Fin)";
    std::string maxSteps;
    std::vector<std::string> logTexts;
    std::vector<std::string> args;  // options before the program (program folders, files)
};

CaseExpectations ReadCase(const fs::path& file) {
    CaseExpectations expect;
    for (const std::string& line : Lines(ReadText(file))) {
        std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string key = line.substr(0, colon);
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(' '));
        if (key == "dialect") expect.dialect = value;
        if (key == "exit") expect.exit = ParseInt(value);
        if (key == "message") expect.message = value;
        if (key == "max-steps") expect.maxSteps = value;
        if (key == "log") expect.logTexts.push_back(value);
        if (key == "args") {
            std::istringstream words(value);
            for (std::string word; words >> word;)
                expect.args.push_back(word);
        }
    }
    return expect;
}

// "kind x y z [centreFirst centreSecond]" per line; ';' starts a comment line.
std::vector<std::vector<double>> ExpectedMotions(const fs::path& file) {
    std::vector<std::vector<double>> motions;
    for (const std::string& line : Lines(ReadText(file))) {
        std::istringstream in(line);
        std::vector<double> values;
        for (std::string word; in >> word;) {
            if (word[0] == ';') break;
            values.push_back(ParseDouble(word));
        }
        if (!values.empty()) motions.push_back(values);
    }
    return motions;
}

class ProgramCase : public ::testing::TestWithParam<std::string> {};

TEST_P(ProgramCase, RunsAsExpected) {
    fs::path folder = fs::path(CUTTRACE_PROGRAMS) / GetParam();
    CaseExpectations expect = ReadCase(folder / "case.txt");
    fs::path scratch = fs::temp_directory_path() / ("cuttrace-case-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    std::string expanded = (scratch / "expanded.txt").string();
    std::string picture = (scratch / "picture.ncv").string();

    std::vector<std::string> args = {"--log", "-d", expect.dialect, "-e", expanded, "-p", picture};
    if (!expect.maxSteps.empty()) {
        args.push_back("--max-steps");
        args.push_back(expect.maxSteps);
    }
    args.insert(args.end(), expect.args.begin(), expect.args.end());
    const std::string printed = (scratch / "printed.txt").string();
    if (fs::exists(folder / "printed.txt")) {
        args.push_back("--print");
        args.push_back(printed);
    }
    args.push_back("main.nc");
    CliResult run = RunCli(args, folder.string());
    SCOPED_TRACE("log:\n" + run.standardError);

    EXPECT_EQ(run.exitCode, expect.exit);
    EXPECT_EQ(run.LastErrorLine(), expect.message);
    for (const std::string& text : expect.logTexts) {
        EXPECT_NE(run.standardError.find(text), std::string::npos) << "log lacks: " << text;
    }
    if (fs::exists(folder / "expanded.txt")) {
        EXPECT_EQ(Lines(ReadText(expanded)), Lines(ReadText(folder / "expanded.txt")));
    }
    if (fs::exists(folder / "printed.txt")) {
        EXPECT_EQ(ReadText(printed), ReadText(folder / "printed.txt"));
    }
    if (fs::exists(folder / "motions.txt")) {
        std::vector<MotionRecord> records;
        ASSERT_EQ(LoadPicture(picture, records), PictureStatus::Ok);
        auto expected = ExpectedMotions(folder / "motions.txt");
        ASSERT_EQ(records.size(), expected.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            const MotionRecord& r = records[i];
            const std::vector<double>& e = expected[i];
            SCOPED_TRACE("motion " + std::to_string(i + 1));
            ASSERT_GE(e.size(), 4u);
            EXPECT_EQ(r.kind, static_cast<int>(e[0]));
            EXPECT_NEAR(r.x, e[1], kTolerance);
            EXPECT_NEAR(r.y, e[2], kTolerance);
            EXPECT_NEAR(r.z, e[3], kTolerance);
            if (e.size() >= 5) {
                EXPECT_NEAR(r.centreFirst, e[4], kTolerance);
            }
            if (e.size() >= 6) {
                EXPECT_NEAR(r.centreSecond, e[5], kTolerance);
            }
        }
    }
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
}

std::string CaseName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramCase, ::testing::ValuesIn(CaseFolders()), CaseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ProgramCase);

}  // namespace
}  // namespace cuttrace
