#include "log/HeaderTemplate.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

struct ParseCase {
    const char* name;
    std::string file;
    std::string log;
};
// Test names show the case name, not the bytes of the whole case.
void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }


class ParseHeaderTemplateTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseHeaderTemplateTest, TurnsFileBytesIntoCrLfLines)
{
    EXPECT_EQ(ParseHeaderTemplate(GetParam().file), GetParam().log);
}

const std::string kThreeLines = "START-OF-LOG: 3.0\r\nCALLSIGN: DL1ABC\r\nCONTEST: X\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseHeaderTemplateTest,
    ::testing::Values(
        ParseCase{"CrLfFile", "START-OF-LOG: 3.0\r\nCALLSIGN: DL1ABC\r\nCONTEST: X\r\n", kThreeLines},
        ParseCase{"LfFile", "START-OF-LOG: 3.0\nCALLSIGN: DL1ABC\nCONTEST: X\n", kThreeLines},
        ParseCase{"NoFinalLineEnd", "START-OF-LOG: 3.0\nCALLSIGN: DL1ABC\r\nCONTEST: X", kThreeLines},
        ParseCase{"EmptyFile", "", ""},
        ParseCase{"OneEmptyLine", "\n", "\r\n"},
        ParseCase{"EmptyLinesKept", "a\n\n\r\nb\n", "a\r\n\r\n\r\nb\r\n"},
        ParseCase{"LoneCrStaysInLine", "a\rb\nc\r", "a\rb\r\nc\r\r\n"},
        ParseCase{"CrBeforeCrLfStays", "a\r\r\n", "a\r\r\n"},
        ParseCase{"CtrlZEndsFile", "a\nb\x1A" "c\nd\n", "a\r\nb\r\n"},
        ParseCase{"CtrlZFirstByte", "\x1A" "a\n", ""},
        ParseCase{"CtrlZAfterLineEnd", "a\r\n\x1A", "a\r\n"},
        // A NUL is an ordinary byte of its line: the rest of the line stays.
        ParseCase{"NulKeepsRestOfLine", "a\0b\nc\n"s, "a\0b\r\nc\r\n"s},
        ParseCase{"InvalidUtf8Kept", "\xff\xc3\n\xe4\n", "\xff\xc3\r\n\xe4\r\n"},
        ParseCase{"MarkerTakenUnchanged", "X: END-OF-LOG:\n", "X: END-OF-LOG:\r\n"},
        ParseCase{"LongLineWhole", std::string(1000, 'x') + "\n" + std::string(300, 'y'),
                  std::string(1000, 'x') + "\r\n" + std::string(300, 'y') + "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Runs each test in a fresh temporary directory as the current directory and
// puts the old current directory back afterwards.
class LoadHeaderTemplateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_oldCwd = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "vorlisk-hdr-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        fs::current_path(m_dir);
    }

    void TearDown() override
    {
        fs::current_path(m_oldCwd);
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    static void WriteTemplate(const std::string& bytes)
    {
        std::ofstream out(kHeaderTemplateFileName, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good());
    }

    fs::path m_oldCwd;
    fs::path m_dir;
};

TEST_F(LoadHeaderTemplateTest, ReadsFileFromCurrentDirectory)
{
    WriteTemplate("START-OF-LOG: 3.0\nX: a\0b\n\x1Ajunk"s);
    EXPECT_EQ(LoadHeaderTemplate(), "START-OF-LOG: 3.0\r\nX: a\0b\r\n"s);
}

TEST_F(LoadHeaderTemplateTest, FileElsewhereIsNotFound)
{
    WriteTemplate("A\n");
    fs::create_directory("other");
    fs::current_path("other");
    EXPECT_EQ(LoadHeaderTemplate(), "");
}

TEST_F(LoadHeaderTemplateTest, EmptyFileGivesEmptyLog)
{
    WriteTemplate("");
    EXPECT_EQ(LoadHeaderTemplate(), "");
}

TEST_F(LoadHeaderTemplateTest, FolderWithTheNameGivesEmptyLog)
{
    fs::create_directory(kHeaderTemplateFileName);
    EXPECT_EQ(LoadHeaderTemplate(), "");
}

// A FIFO with no writer would block a plain open or read forever.
TEST_F(LoadHeaderTemplateTest, FifoWithTheNameGivesEmptyLogWithoutBlocking)
{
    ASSERT_EQ(::mkfifo(kHeaderTemplateFileName, 0600), 0);
    EXPECT_EQ(LoadHeaderTemplate(), "");
}

TEST_F(LoadHeaderTemplateTest, DanglingSymlinkGivesEmptyLog)
{
    fs::create_symlink("nowhere.txt", kHeaderTemplateFileName);
    EXPECT_EQ(LoadHeaderTemplate(), "");
}

// A file larger than any template is read up to the cap only.
TEST_F(LoadHeaderTemplateTest, OversizedFileReadUpToCap)
{
    WriteTemplate(std::string(kMaxHeaderTemplateBytes + 100, 'a'));
    const std::string log = LoadHeaderTemplate();
    ASSERT_EQ(log.size(), kMaxHeaderTemplateBytes + 2);
    EXPECT_EQ(log.substr(log.size() - 3), "a\r\n");
}

} // namespace
