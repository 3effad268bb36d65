// Strings, collections and file helpers when memory runs out. This program
// replaces the array allocation functions so that a chosen non-throwing
// allocation fails; each failure must leave its object in the documented state.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "support/ScratchFile.h"
#include "util/CMsString.h"
#include "util/FileUtils.h"
#include "util/PtrArray.h"
#include "util/StringList.h"

namespace {
// Non-throwing array allocations still to succeed before the next one fails;
// negative: none fails.
int allocationsBeforeFailure = -1;
}  // namespace

void* operator new[](std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    return block;
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (allocationsBeforeFailure == 0) return nullptr;
    if (allocationsBeforeFailure > 0) --allocationsBeforeFailure;
    return std::malloc(size ? size : 1);
}

void operator delete[](void* block) noexcept { std::free(block); }

void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {

// Makes the next non-throwing array allocation (after `after` successful ones)
// fail while it lives.
class FailingAllocation {
public:
    explicit FailingAllocation(int after = 0) { allocationsBeforeFailure = after; }
    ~FailingAllocation() { allocationsBeforeFailure = -1; }
    bool Failed() const { return allocationsBeforeFailure == 0; }
};

const char* EmptyPointer() {
    static const CMsString empty;
    return empty;
}

TEST(OutOfMemoryString, ConstructionAndAssignmentLeaveTheStringEmpty) {
    {
        FailingAllocation failing;
        CMsString s("text");
        EXPECT_TRUE(s.IsEmpty());
        EXPECT_EQ(static_cast<const char*>(s), EmptyPointer());
    }
    CMsString s("short");
    CMsString sharer(s);
    {
        FailingAllocation failing;
        s = "a longer text than before";
    }
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(sharer, "short");
}

TEST(OutOfMemoryString, AppendLeavesTheStringUnchanged) {
    CMsString s("base");
    CMsString sharer(s);
    {
        FailingAllocation failing;
        s += " more";
        s += '!';
    }
    EXPECT_STREQ(s, "base");
    EXPECT_EQ(s.GetLength(), 4);
    EXPECT_STREQ(sharer, "base");
}

TEST(OutOfMemoryString, GetBufferGivesNullAndLeavesTheStringUnchanged) {
    CMsString s("abc");
    const char* before = s;
    {
        FailingAllocation failing;
        EXPECT_EQ(s.GetBuffer(100), nullptr);
    }
    EXPECT_EQ(static_cast<const char*>(s), before);
    EXPECT_STREQ(s, "abc");
}

TEST(OutOfMemoryString, SharedWritersLeaveBothStringsIntact) {
    CMsString original("  xx yy  ");
    CMsString copy(original);
    {
        FailingAllocation failing;
        copy.TrimLeft();
        copy.TrimRight();
        copy.DeleteLeft(2);
        EXPECT_EQ(copy.Replace('x', 'z'), -1);
        EXPECT_EQ(copy.Replace("yy", "long replacement"), -1);
        EXPECT_EQ(copy.Replace("yy", ""), -1);
        copy.ReleaseBuffer(1);
        copy.Format("%d", 5);
    }
    EXPECT_STREQ(original, "  xx yy  ");
    EXPECT_STREQ(copy, "  xx yy  ");
    EXPECT_EQ(copy.GetLength(), 9);
}

TEST(OutOfMemoryString, SearchesAndCopiesNeedNoMemory) {
    CMsString s("xxABCxx");
    FailingAllocation failing;
    EXPECT_EQ(s.Find("abc", false, 0), 2);
    EXPECT_EQ(s.Find("ABC", true, 1), 2);
    CMsString copy(s);
    EXPECT_EQ(static_cast<const char*>(copy), static_cast<const char*>(s));
    EXPECT_STREQ(s.Mid(0, 7), "xxABCxx");
    EXPECT_TRUE(s.Mid(1, 2).IsEmpty());
}

#ifdef _WIN32
TEST(OutOfMemoryString, LoadingAResourceReportsFailure) {
    CMsString s("old");
    {
        FailingAllocation failing;
        EXPECT_FALSE(s.LoadString(1002));
    }
    EXPECT_TRUE(s.IsEmpty());
}
#endif

// Every allocation of a mixed sequence fails once in turn: nothing may crash,
// leak or corrupt the text that was there before.
TEST(OutOfMemoryString, EachAllocationOfASequenceFailingInTurn) {
    for (int after = 0; after < 40; ++after) {
        CMsString base("alpha beta gamma");
        CMsString work(base);
        {
            FailingAllocation failing(after);
            work += " delta";
            work.Replace("beta", "BETA-BETA");
            work.TrimRight("a");
            CMsString piece = work.Mid(2, 5);
            work.Format("%s|%s|%d", static_cast<const char*>(piece), "x", after);
            work.GetBuffer(200);
            work.ReleaseBuffer(-1);
            work += piece;
        }
        EXPECT_STREQ(base, "alpha beta gamma") << after;
        EXPECT_EQ(work.GetLength(), static_cast<int>(strlen(work))) << after;
    }
}

void NoRelease(void*) { ADD_FAILURE() << "element released"; }

TEST(OutOfMemoryCollections, AddLeavesTheArrayUnchanged) {
    int values[2] = {1, 2};
    PtrArray array(NoRelease);
    ASSERT_EQ(array.Add(&values[0]), 0);
    {
        FailingAllocation failing;
        EXPECT_EQ(array.Add(&values[1]), -1);
    }
    EXPECT_EQ(array.count, 1);
    EXPECT_EQ(array.GetAt(0), &values[0]);
    EXPECT_EQ(array.RemoveAt(0), &values[0]);
}

TEST(OutOfMemoryCollections, StringListAddFailsWithoutLeaking) {
    StringList list;
    list.Add("first");
    {
        FailingAllocation copyFails;
        EXPECT_EQ(list.Add("second"), -1);
    }
    {
        FailingAllocation storageFails(1);
        EXPECT_EQ(list.Add("third"), -1);
    }
    EXPECT_EQ(list.count, 1);
    EXPECT_STREQ(list.GetAt(0), "first");
    FailingAllocation failing;
    EXPECT_EQ(DuplicateText("x"), nullptr);
}

TEST(OutOfMemoryFiles, HelpersReportNothing) {
    ScratchFile file("file content");
    {
        FailingAllocation failing;
        EXPECT_EQ(UnquotedCopy("\"quoted\""), nullptr);
        EXPECT_EQ(GetFileAttributesUnquoted(file.Path().c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(FileExists(file.Path().c_str()), 0);
    }
    {
        FailingAllocation bufferFails(1);
        DWORD size = 3;
        EXPECT_EQ(ReadFileBytes(file.Path().c_str(), &size), nullptr);
        EXPECT_EQ(size, 0u);
    }
    // The handle of the failed read was closed: the file can still be read.
    std::unique_ptr<char[]> bytes(ReadFileBytes(file.Path().c_str()));
    ASSERT_NE(bytes, nullptr);
    EXPECT_STREQ(bytes.get(), "file content");
}

}  // namespace
