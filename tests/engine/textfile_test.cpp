#include "engine/textfile.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaly {
namespace {

std::vector<std::string> AllLines(TextFile& file) {
    std::vector<std::string> lines;
    file.Rewind();
    for (std::string line; file.ReadLine(line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> TailTexts(TextFile& file, std::size_t count) {
    std::vector<std::string> lines;
    for (auto& line : file.ReadTail(count).lines)
        lines.push_back(line.text);
    return lines;
}

struct LinesCase {
    const char* name;
    std::string content;
    std::vector<std::string> lines;
};

void PrintTo(const LinesCase& c, std::ostream* out) {
    *out << c.name;
}

class TextFileLinesTest : public testing::TestWithParam<LinesCase> {};

TEST_P(TextFileLinesTest, ForwardAndBackwardReadingAgree) {
    const LinesCase& c = GetParam();
    test::TempFolder folder;
    TextFile file(folder.Write("t.txt", c.content));
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(AllLines(file), c.lines);
    EXPECT_EQ(file.CountLines(), c.lines.size());
    for (std::size_t count = 1; count <= c.lines.size() + 1; ++count) {
        const std::size_t expected = std::min(count, c.lines.size());
        const std::vector<std::string> last(c.lines.end() - static_cast<std::ptrdiff_t>(expected),
                                            c.lines.end());
        EXPECT_EQ(TailTexts(file, count), last) << "last " << count;
        EXPECT_EQ(file.ReadTail(count).reachesStart, count >= c.lines.size());
    }
    // A line read after the tail starts at the beginning again.
    EXPECT_EQ(AllLines(file), c.lines);
}

INSTANTIATE_TEST_SUITE_P(Contents, TextFileLinesTest,
                         testing::Values(LinesCase{"Empty", "", {}}, LinesCase{"OneLine", "abc", {"abc"}},
                                         LinesCase{"OneLineBreak", "\n", {""}},
                                         LinesCase{"OneCrLf", "\r\n", {""}},
                                         LinesCase{"CrLf", "a\r\nb\r\nc", {"a", "b", "c"}},
                                         LinesCase{"LoneLf", "a\nb\nc", {"a", "b", "c"}},
                                         LinesCase{"Mixed", "a\r\nb\nc\r\n", {"a", "b", "c"}},
                                         LinesCase{"EmptyLinesInside", "a\r\n\r\n\nb", {"a", "", "", "b"}},
                                         LinesCase{"LoneCrIsNoBreak", "a\rb\nc", {"a\rb", "c"}},
                                         LinesCase{"TwoBreaksAtEnd", "a\n\n", {"a", ""}}),
                         [](const testing::TestParamInfo<LinesCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(TextFileTest, TailOffsetsPointAtLineStarts) {
    test::TempFolder folder;
    std::string content;
    for (int i = 0; i < 3000; ++i)
        content += "line number " + std::to_string(i) + "\r\n";
    TextFile file(folder.Write("t.txt", content));
    const auto tail = file.ReadTail(2);
    ASSERT_EQ(tail.lines.size(), 2u);
    EXPECT_FALSE(tail.reachesStart);
    EXPECT_EQ(tail.lines[0].text, "line number 2998");
    EXPECT_EQ(content.substr(tail.lines[1].offset, 16), "line number 2999");
    EXPECT_TRUE(file.EndsWithLineBreak());
    EXPECT_EQ(file.Size(), content.size());
}

TEST(TextFileTest, RewriteKeepsThePrefixAndReopens) {
    test::TempFolder folder;
    TextFile file(folder.Write("t.txt", "keep this|drop this"));
    ASSERT_TRUE(file.Rewrite(10, "new end"));
    EXPECT_EQ(folder.Read("t.txt"), "keep this|new end");
    EXPECT_EQ(AllLines(file), std::vector<std::string>{"keep this|new end"});
}

TEST(TextFileTest, MissingFileIsNotOpenButCanBeCreated) {
    test::TempFolder folder;
    TextFile file(folder / "none.txt");
    EXPECT_FALSE(file.IsOpen());
    std::string line;
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_EQ(file.CountLines(), 0u);
    EXPECT_TRUE(file.ReadTail(3).lines.empty());
    ASSERT_TRUE(file.Rewrite(0, "made"));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(folder.Read("none.txt"), "made");
}

TEST(TextFileTest, FolderIsNotAFile) {
    test::TempFolder folder;
    TextFile file(folder.Path());
    EXPECT_FALSE(file.IsOpen());
}

} // namespace
} // namespace tessaly
