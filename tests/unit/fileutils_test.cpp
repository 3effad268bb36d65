// File and path helpers against real files in the temporary directory.
#include "util/FileUtils.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "support/ScratchFile.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
const char kSeparator[] = "\\";
#else
const char kSeparator[] = "/";
#endif

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string Unquoted(const char* path) {
    std::unique_ptr<char[]> copy(UnquotedCopy(path));
    return copy ? std::string(copy.get()) : std::string("<null>");
}

// A private directory in the temporary directory, made the current directory
// while the object lives.
class ScratchDirectoryScope {
public:
    ScratchDirectoryScope() {
        char name[64];
        snprintf(name, sizeof name, "mirel_util_dir_%d", ProcessId());
        path = ScratchDirectory() + kSeparator + name;
#ifdef _WIN32
        CreateDirectoryA(path.c_str(), nullptr);
        GetCurrentDirectoryA(sizeof previous, previous);
        SetCurrentDirectoryA(path.c_str());
#else
        mkdir(path.c_str(), 0700);
        if (!getcwd(previous, sizeof previous)) previous[0] = 0;
        if (chdir(path.c_str()) != 0) path.clear();
#endif
    }
    ~ScratchDirectoryScope() {
#ifdef _WIN32
        SetCurrentDirectoryA(previous);
        RemoveDirectoryA(path.c_str());
#else
        if (chdir(previous) != 0) perror("chdir");
        rmdir(path.c_str());
#endif
    }
    std::string path;

private:
    static int ProcessId() {
#ifdef _WIN32
        return static_cast<int>(GetCurrentProcessId());
#else
        return static_cast<int>(getpid());
#endif
    }
    char previous[1024] = {};
};

TEST(UnquotedCopyTest, RemovesOnePairOfSurroundingQuotes) {
    EXPECT_EQ(Unquoted("\"C:\\some dir\\file.txt\""), "C:\\some dir\\file.txt");
    EXPECT_EQ(Unquoted("\"\"\"x\"\"\""), "\"\"x\"\"");
    EXPECT_EQ(Unquoted("plain.txt"), "plain.txt");
    EXPECT_EQ(Unquoted("\"open.txt"), "\"open.txt");
    EXPECT_EQ(Unquoted("close.txt\""), "close.txt\"");
    EXPECT_EQ(Unquoted("\"\""), "");
    EXPECT_EQ(Unquoted("ab"), "ab");
}

TEST(UnquotedCopyTest, TooShortOrNullGivesNothing) {
    EXPECT_EQ(UnquotedCopy(nullptr), nullptr);
    EXPECT_EQ(UnquotedCopy(""), nullptr);
    EXPECT_EQ(UnquotedCopy("a"), nullptr);
    EXPECT_EQ(UnquotedCopy("\""), nullptr);
    EXPECT_EQ(GetFileAttributesUnquoted("a"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesUnquoted(nullptr), INVALID_FILE_ATTRIBUTES);
}

TEST(FileExistsTest, ExistingFilePlainAndQuoted) {
    ScratchFile file("content");
    EXPECT_EQ(FileExists(file.Path().c_str()), 1);
    EXPECT_EQ(FileExists(Quoted(file.Path()).c_str()), 1);
    EXPECT_NE(GetFileAttributesUnquoted(Quoted(file.Path()).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FileExistsTest, MissingEmptyAndQuoteOnlyPaths) {
    std::string missing;
    {
        ScratchFile file("");
        missing = file.Path();
    }
    EXPECT_EQ(FileExists(missing.c_str()), 0);
    EXPECT_EQ(FileExists(nullptr), 0);
    EXPECT_EQ(FileExists(""), 0);
    EXPECT_EQ(FileExists("\"\""), 0);
}

TEST(FileExistsTest, DirectoriesAreNotFiles) {
    std::string directory = ScratchDirectory();
    EXPECT_EQ(FileExists(directory.c_str()), 0);
    EXPECT_EQ(FileExists(Quoted(directory).c_str()), 0);
    DWORD attributes = GetFileAttributesUnquoted(Quoted(directory).c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(FileExistsTest, OneCharacterPathNeverExists) {
    ScratchDirectoryScope scope;
    ASSERT_FALSE(scope.path.empty());
    FILE* file = fopen("q", "wb");
    ASSERT_NE(file, nullptr);
    fclose(file);
    EXPECT_EQ(FileExists("q"), 0);
    EXPECT_EQ(FileExists("./q"), 1);
    EXPECT_EQ(ReadFileBytes("q"), nullptr);
    remove("q");
}

TEST(ReadFileBytesTest, WholeFileWithTerminatorAndSize) {
    ScratchFile file("line one\r\nline two");
    DWORD size = 12345;
    std::unique_ptr<char[]> bytes(ReadFileBytes(file.Path().c_str(), &size));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(size, 18u);
    EXPECT_EQ(std::string(bytes.get(), size), "line one\r\nline two");
    EXPECT_EQ(bytes[size], 0);
    std::unique_ptr<char[]> again(ReadFileBytes(file.Path().c_str()));
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again.get(), "line one\r\nline two");
}

TEST(ReadFileBytesTest, ZeroBytesAreKeptButTheStringEndsAtTheFirst) {
    const std::string content("ab\0cd\0", 6);
    ScratchFile file(content);
    DWORD size = 0;
    std::unique_ptr<char[]> bytes(ReadFileBytes(file.Path().c_str(), &size));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(std::string(bytes.get(), size), content);
    CMsString text = ReadFileToString(file.Path().c_str());
    EXPECT_STREQ(text, "ab");
    EXPECT_EQ(text.GetLength(), 2);
}

TEST(ReadFileBytesTest, EmptyFile) {
    ScratchFile file("");
    DWORD size = 99;
    std::unique_ptr<char[]> bytes(ReadFileBytes(file.Path().c_str(), &size));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(size, 0u);
    EXPECT_TRUE(ReadFileToString(file.Path().c_str()).IsEmpty());
}

TEST(ReadFileBytesTest, LargerFileIsReadCompletely) {
    std::string content;
    for (int i = 0; i < 200000; ++i) content += static_cast<char>('A' + i % 26);
    ScratchFile file(content);
    DWORD size = 0;
    std::unique_ptr<char[]> bytes(ReadFileBytes(file.Path().c_str(), &size));
    ASSERT_NE(bytes, nullptr);
    ASSERT_EQ(size, content.size());
    EXPECT_EQ(std::string(bytes.get(), size), content);
    EXPECT_EQ(ReadFileToString(file.Path().c_str()).GetLength(), 200000);
}

TEST(ReadFileBytesTest, QuotedPathPassesTheCheckButCannotBeOpened) {
    ScratchFile file("quoted");
    std::string quoted = Quoted(file.Path());
    ASSERT_EQ(FileExists(quoted.c_str()), 1);
    DWORD size = 7;
    EXPECT_EQ(ReadFileBytes(quoted.c_str(), &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_TRUE(ReadFileToString(quoted.c_str()).IsEmpty());
}

TEST(ReadFileBytesTest, DirectoriesAndMissingFilesGiveNothing) {
    DWORD size = 5;
    EXPECT_EQ(ReadFileBytes(ScratchDirectory().c_str(), &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(ReadFileBytes(nullptr, &size), nullptr);
    EXPECT_EQ(ReadFileBytes(""), nullptr);
    EXPECT_TRUE(ReadFileToString(nullptr).IsEmpty());
    EXPECT_TRUE(ReadFileToString(ScratchDirectory().c_str()).IsEmpty());
}

#ifdef _WIN32
TEST(ReadFileBytesTest, FileHeldExclusivelyGivesNothing) {
    ScratchFile file("locked");
    HANDLE holder = CreateFileA(file.Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(FileExists(file.Path().c_str()), 1);
    EXPECT_EQ(ReadFileBytes(file.Path().c_str()), nullptr);
    CloseHandle(holder);
    std::unique_ptr<char[]> bytes(ReadFileBytes(file.Path().c_str()));
    ASSERT_NE(bytes, nullptr);
    EXPECT_STREQ(bytes.get(), "locked");
}
#endif

TEST(FileSizeTest, SizesThatCannotTakeATerminatorAreRefused) {
    EXPECT_TRUE(IsReadableFileSize(0, 0));
    EXPECT_TRUE(IsReadableFileSize(1000, 0));
    EXPECT_TRUE(IsReadableFileSize(0x7FFFFFFEu, 0));
    EXPECT_FALSE(IsReadableFileSize(0xFFFFFFFFu, 0));
    EXPECT_FALSE(IsReadableFileSize(0x80000000u, 0));
    EXPECT_FALSE(IsReadableFileSize(0x7FFFFFFFu, 0));
    EXPECT_FALSE(IsReadableFileSize(0, 1));
    EXPECT_FALSE(IsReadableFileSize(16, 0xFFFFFFFFu));
}

TEST(BackslashTest, AddBackslashLeavesExactlyOne) {
    CMsString path("C:\\dir");
    EXPECT_EQ(AddBackslash(path), 1);
    EXPECT_STREQ(path, "C:\\dir\\");
    EXPECT_EQ(AddBackslash(path), 1);
    EXPECT_STREQ(path, "C:\\dir\\");
    CMsString doubled("Software\\Key\\\\");
    AddBackslash(doubled);
    EXPECT_STREQ(doubled, "Software\\Key\\");
    EXPECT_EQ(doubled.GetLength(), 13);
    CMsString empty;
    AddBackslash(empty);
    EXPECT_STREQ(empty, "\\");
}

TEST(BackslashTest, RemoveTrailingBackslashes) {
    CMsString path("a\\b\\\\\\");
    EXPECT_EQ(RemoveTrailingBackslashes(path), 1);
    EXPECT_STREQ(path, "a\\b");
    CMsString only("\\\\");
    RemoveTrailingBackslashes(only);
    EXPECT_TRUE(only.IsEmpty());
    CMsString none("abc");
    RemoveTrailingBackslashes(none);
    EXPECT_STREQ(none, "abc");
}

TEST(BackslashTest, SharedCopiesAreNotChanged) {
    CMsString path("dir\\\\");
    CMsString copy(path);
    AddBackslash(path);
    RemoveTrailingBackslashes(path);
    EXPECT_STREQ(path, "dir");
    EXPECT_STREQ(copy, "dir\\\\");
}

}  // namespace
