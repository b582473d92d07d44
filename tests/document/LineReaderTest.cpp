#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "TempFile.h"
#include "document/LineReader.h"

namespace vyn {
namespace {

using test::TempFile;

struct Line {
    std::string text;
    bool overflow = false;
};

struct Row {
    const char* name;
    std::string bytes;
    std::size_t limit;
    std::vector<Line> lines;  // then the reader is at its end
};

std::string Repeat(char c, std::size_t n)
{
    return std::string(n, c);
}

// Many short lines after a NUL at the very start: everything after the NUL must still come.
Row NulThenManyLines()
{
    Row r{"NUL early in a chunk loses nothing after it", std::string("x\0y\r\n", 5), 255,
          {{std::string("x\0y", 3)}}};
    for (int i = 0; i < 200; ++i) {
        std::string l = "line " + std::to_string(i);
        r.bytes += l + "\r\n";
        r.lines.push_back({l});
    }
    return r;
}

std::vector<Row> Rows()
{
    return {
        {"CR LF lines", "MNAM 'a';\r\nQEND\r\n", 255, {{"MNAM 'a';"}, {"QEND"}}},
        {"LF-only lines", "one\ntwo\n", 255, {{"one"}, {"two"}}},
        {"last line without line end", "one\r\ntwo", 255, {{"one"}, {"two"}}},
        {"empty lines are lines", "a\r\n\r\n\nb\r\n", 255, {{"a"}, {""}, {""}, {"b"}}},
        {"CR inside a line is dropped", "a\rb\r\r\n", 255, {{"ab"}}},
        {"Ctrl-Z in the middle ends the file", "one\r\ntw\x1ao\r\nthree\r\n", 255,
         {{"one"}, {"tw"}}},
        {"Ctrl-Z at the start of a line", "one\r\n\x1amore\r\n", 255, {{"one"}}},
        {"Ctrl-Z alone", "\x1a", 255, {}},
        {"empty file", "", 255, {}},
        {"NUL bytes are content", std::string("ab\0cd\r\n\0\r\nef", 12), 255,
         {{std::string("ab\0cd", 5)}, {std::string("\0", 1)}, {"ef"}}},
        NulThenManyLines(),
        {"over-long line is cut and flagged, the next line follows", Repeat('a', 300) + "\r\nnext",
         255, {{Repeat('a', 255), true}, {"next"}}},
        {"line of exactly the limit is whole", Repeat('a', 255) + "\r\n", 255,
         {{Repeat('a', 255)}}},
        {"over-long last line without line end", Repeat('a', 300), 255,
         {{Repeat('a', 255), true}}},
        {"line longer than a chunk, no limit", Repeat('b', 2500) + "\r\nz", LineReader::kNoLimit,
         {{Repeat('b', 2500)}, {"z"}}},
        {"CR LF split across two chunks", Repeat('c', 1021) + "\r\nd\r\n", LineReader::kNoLimit,
         {{Repeat('c', 1021)}, {"d"}}},
        {"line end is the last byte of a chunk", Repeat('c', 1020) + "\r\nd", LineReader::kNoLimit,
         {{Repeat('c', 1020)}, {"d"}}},
        {"Ctrl-Z first byte of the second chunk", Repeat('c', 1020) + "\r\n\x1a" + "after",
         LineReader::kNoLimit, {{Repeat('c', 1020)}}},
        {"file of exactly one chunk", Repeat('c', 1020) + "\r\n", LineReader::kNoLimit,
         {{Repeat('c', 1020)}}},
    };
}

void CheckLines(LineReader& reader, const Row& r, const char* source)
{
    SCOPED_TRACE(std::string(r.name) + " (" + source + ")");
    std::string line;
    for (std::size_t i = 0; i < r.lines.size(); ++i) {
        const std::size_t n = reader.ReadLine(line, r.limit);
        EXPECT_EQ(n, line.size()) << "line " << i;
        EXPECT_EQ(line, r.lines[i].text) << "line " << i << " came back with " << line.size()
                                         << " bytes";
        EXPECT_EQ(reader.IsOverflow(), r.lines[i].overflow) << "line " << i;
        EXPECT_FALSE(reader.IsEnd()) << "line " << i;
    }
    EXPECT_EQ(reader.ReadLine(line, r.limit), 0u);
    EXPECT_EQ(line, "");
    EXPECT_TRUE(reader.IsEnd()) << "no end after the expected lines";
    EXPECT_FALSE(reader.IsError());
    EXPECT_EQ(reader.ReadLine(line, r.limit), 0u) << "stays at its end";
}

TEST(LineReader, LinesFromFileAndMemoryAlike)
{
    for (const Row& r : Rows()) {
        TempFile file(r.bytes);
        LineReader fromFile(file.Path());
        ASSERT_FALSE(fromFile.IsError()) << r.name;
        CheckLines(fromFile, r, "file");

        LineReader fromMemory;
        fromMemory.OpenMemory(r.bytes);
        CheckLines(fromMemory, r, "memory");
    }
}

TEST(LineReader, CallerBufferIsCutAndTerminated)
{
    LineReader reader;
    reader.OpenMemory("abcdef\r\nxy\r\n");
    char buf[4] = {'?', '?', '?', '?'};
    EXPECT_EQ(reader.ReadLine(buf, sizeof buf), 3);
    EXPECT_STREQ(buf, "abc");
    EXPECT_TRUE(reader.IsOverflow());
    EXPECT_EQ(reader.ReadLine(buf, sizeof buf), 2);
    EXPECT_STREQ(buf, "xy");
    EXPECT_FALSE(reader.IsOverflow());
    EXPECT_EQ(reader.ReadLine(buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
    EXPECT_TRUE(reader.IsEnd());
}

TEST(LineReader, SeekBackToTheStartOfTheCurrentLine)
{
    // The second line straddles the first chunk boundary, the third starts in the second
    // chunk: seeking back must find each one's true start.
    const std::string first = Repeat('a', 1000);
    const std::string second = Repeat('b', 100);
    const std::string bytes = first + "\r\n" + second + "\r\nthird\r\nfourth";
    TempFile file(bytes);
    LineReader reader(file.Path());
    std::string line;

    reader.ReadLine(line);
    EXPECT_EQ(reader.GetLineOffset(), 0);
    reader.ReadLine(line);
    EXPECT_EQ(line, second);
    EXPECT_EQ(reader.GetLineOffset(), 1002);
    ASSERT_TRUE(reader.Seek(-1));
    reader.ReadLine(line);
    EXPECT_EQ(line, second) << "the same line comes again";

    reader.ReadLine(line);
    EXPECT_EQ(line, "third");
    EXPECT_EQ(reader.GetLineOffset(), 1104);
    ASSERT_TRUE(reader.Seek(-1));
    reader.ReadLine(line);
    EXPECT_EQ(line, "third");

    ASSERT_TRUE(reader.Seek(0));
    reader.ReadLine(line);
    EXPECT_EQ(line, first);
    ASSERT_TRUE(reader.Seek(1104));
    reader.ReadLine(line);
    EXPECT_EQ(line, "third");
    reader.ReadLine(line);
    EXPECT_EQ(line, "fourth");
    EXPECT_FALSE(reader.IsEnd());
    ASSERT_TRUE(reader.Seek(-1)) << "a last line without line end can be read again";
    reader.ReadLine(line);
    EXPECT_EQ(line, "fourth");

    EXPECT_EQ(reader.ReadLine(line), 0u);
    EXPECT_TRUE(reader.IsEnd());
    EXPECT_FALSE(reader.Seek(0)) << "a closed reader has nothing to move in";
    EXPECT_TRUE(reader.IsError());
}

TEST(LineReader, SeekInMemoryAndBeyondTheEnd)
{
    LineReader reader;
    reader.OpenMemory("ab\r\ncd\r\n");
    std::string line;
    ASSERT_TRUE(reader.Seek(4));
    reader.ReadLine(line);
    EXPECT_EQ(line, "cd");
    ASSERT_TRUE(reader.Seek(400));
    EXPECT_EQ(reader.ReadLine(line), 0u);
    EXPECT_TRUE(reader.IsEnd());
    EXPECT_FALSE(reader.IsError());

    reader.OpenMemory("ab\r\n");
    EXPECT_FALSE(reader.Seek(-5)) << "no offset before the file";
    EXPECT_TRUE(reader.IsError());
    EXPECT_TRUE(reader.IsEnd());
}

TEST(LineReader, OpenAndReadFailuresLeaveItClosedInError)
{
    LineReader closed;
    EXPECT_TRUE(closed.IsEnd());
    EXPECT_TRUE(closed.IsError());

    LineReader missing("/nonexistent/dir/VYN.MTW");
    EXPECT_TRUE(missing.IsEnd());
    EXPECT_EQ(missing.GetError(), ENOENT);
    std::string line = "old";
    EXPECT_EQ(missing.ReadLine(line), 0u);
    EXPECT_EQ(line, "");

    // A directory is refused as it is opened, as a pipe or a device would be.
    LineReader dir("/tmp");
    EXPECT_EQ(dir.GetError(), EISDIR);
    EXPECT_TRUE(dir.IsEnd());
    EXPECT_EQ(dir.ReadLine(line), 0u);
    EXPECT_TRUE(dir.IsError());
    dir.Close();
    dir.Close();

    TempFile file("ok\r\n");
    ASSERT_TRUE(dir.Open(file.Path())) << "reopening clears the flags";
    EXPECT_FALSE(dir.IsError());
    dir.ReadLine(line);
    EXPECT_EQ(line, "ok");
}

}  // namespace
}  // namespace vyn
