// PtrArray, StringList and OwnedPtrList: indexes, ownership through the
// release function, and text lookup.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "util/OwnedPtrList.h"
#include "util/PtrArray.h"
#include "util/StringList.h"

namespace {

// Records every element handed to the release function, in order.
std::vector<void*> released;

void RecordRelease(void* element) { released.push_back(element); }

void DeleteInt(void* element) { delete static_cast<int*>(element); }

class PtrArrayTest : public ::testing::Test {
protected:
    void SetUp() override { released.clear(); }
    int values[5] = {10, 11, 12, 13, 14};
};

TEST_F(PtrArrayTest, FieldsFollowThePointerToTheOperationTable) {
    PtrArray array(RecordRelease);
    const char* base = reinterpret_cast<const char*>(&array);
    EXPECT_EQ(reinterpret_cast<const char*>(&array.items), base + sizeof(void*));
    EXPECT_LT(reinterpret_cast<const char*>(&array.items), reinterpret_cast<const char*>(&array.count));
    EXPECT_LT(reinterpret_cast<const char*>(&array.count), reinterpret_cast<const char*>(&array.release));
    EXPECT_EQ(array.release, &RecordRelease);
}

TEST_F(PtrArrayTest, AddReturnsConsecutiveIndexes) {
    PtrArray array(nullptr);
    EXPECT_EQ(array.count, 0);
    EXPECT_EQ(array.items, nullptr);
    EXPECT_EQ(array.Add(&values[0]), 0);
    EXPECT_EQ(array.Add(&values[1]), 1);
    EXPECT_EQ(array.Add(nullptr), 2);
    EXPECT_EQ(array.count, 3);
    EXPECT_EQ(array.GetAt(0), &values[0]);
    EXPECT_EQ(array.GetAt(1), &values[1]);
    EXPECT_EQ(array.GetAt(2), nullptr);
    EXPECT_EQ(array.items[1], &values[1]);
}

TEST_F(PtrArrayTest, OutOfRangeIndexesAnswerNullAndChangeNothing) {
    PtrArray array(RecordRelease);
    EXPECT_EQ(array.GetAt(0), nullptr);
    EXPECT_EQ(array.SetAt(0, &values[0]), nullptr);
    EXPECT_EQ(array.RemoveAt(0), nullptr);
    EXPECT_EQ(array.count, 0);

    array.Add(&values[0]);
    array.Add(&values[1]);
    EXPECT_EQ(array.GetAt(-1), nullptr);
    EXPECT_EQ(array.GetAt(2), nullptr);
    EXPECT_EQ(array.SetAt(-1, &values[4]), nullptr);
    EXPECT_EQ(array.SetAt(2, &values[4]), nullptr);
    EXPECT_EQ(array.RemoveAt(-1), nullptr);
    EXPECT_EQ(array.RemoveAt(2), nullptr);
    EXPECT_EQ(array.count, 2);
    EXPECT_EQ(array.GetAt(0), &values[0]);
    EXPECT_EQ(array.GetAt(1), &values[1]);
    EXPECT_TRUE(released.empty());
}

TEST_F(PtrArrayTest, SetAtReturnsTheReplacedElementWithoutReleasingIt) {
    PtrArray array(RecordRelease);
    array.Add(&values[0]);
    array.Add(&values[1]);
    EXPECT_EQ(array.SetAt(1, &values[3]), &values[1]);
    EXPECT_EQ(array.GetAt(1), &values[3]);
    EXPECT_TRUE(released.empty());
    array.RemoveAll();
    EXPECT_EQ(released, (std::vector<void*>{&values[0], &values[3]}));
}

TEST_F(PtrArrayTest, RemoveAtMovesLaterElementsDownAndDoesNotRelease) {
    PtrArray array(RecordRelease);
    for (int& value : values) array.Add(&value);
    EXPECT_EQ(array.RemoveAt(1), &values[1]);
    EXPECT_EQ(array.count, 4);
    EXPECT_EQ(array.GetAt(0), &values[0]);
    EXPECT_EQ(array.GetAt(1), &values[2]);
    EXPECT_EQ(array.GetAt(3), &values[4]);
    EXPECT_EQ(array.GetAt(4), nullptr);
    EXPECT_EQ(array.RemoveAt(3), &values[4]);
    EXPECT_EQ(array.count, 3);
    EXPECT_TRUE(released.empty());
}

TEST_F(PtrArrayTest, RemovingTheOnlyElementFreesTheStorage) {
    PtrArray array(RecordRelease);
    array.Add(&values[2]);
    EXPECT_EQ(array.RemoveAt(0), &values[2]);
    EXPECT_EQ(array.count, 0);
    EXPECT_EQ(array.items, nullptr);
    EXPECT_TRUE(released.empty());
    EXPECT_EQ(array.Add(&values[3]), 0);
    EXPECT_EQ(array.GetAt(0), &values[3]);
}

TEST_F(PtrArrayTest, RemoveAllReleasesFrontToBack) {
    PtrArray array(RecordRelease);
    for (int& value : values) array.Add(&value);
    array.RemoveAll();
    EXPECT_EQ(array.count, 0);
    EXPECT_EQ(array.items, nullptr);
    EXPECT_EQ(released, (std::vector<void*>{&values[0], &values[1], &values[2], &values[3], &values[4]}));
    array.RemoveAll();
    EXPECT_EQ(released.size(), 5u);
}

TEST_F(PtrArrayTest, DestructionReleasesWhatIsStillHeld) {
    {
        PtrArray array(RecordRelease);
        array.Add(&values[0]);
        array.Add(&values[1]);
        array.Add(&values[2]);
        array.RemoveAt(1);
    }
    EXPECT_EQ(released, (std::vector<void*>{&values[0], &values[2]}));
}

TEST_F(PtrArrayTest, NullElementsAreNotHandedToRelease) {
    {
        PtrArray array(RecordRelease);
        array.Add(nullptr);
        array.Add(&values[0]);
    }
    EXPECT_EQ(released, (std::vector<void*>{&values[0]}));
}

TEST_F(PtrArrayTest, WithoutReleaseElementsAreNotOwned) {
    int* kept = new int(7);
    {
        PtrArray array(nullptr);
        array.Add(kept);
    }
    EXPECT_EQ(*kept, 7);
    delete kept;
}

TEST_F(PtrArrayTest, ManyElementsKeepTheirOrder) {
    PtrArray array(DeleteInt);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(array.Add(new int(i)), i);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(*static_cast<int*>(array.GetAt(i)), i);
    delete static_cast<int*>(array.RemoveAt(0));
    EXPECT_EQ(*static_cast<int*>(array.GetAt(0)), 1);
    EXPECT_EQ(array.count, 299);
}

TEST(DuplicateTextTest, CopiesIntoANewBuffer) {
    const char source[] = "copy me";
    char* copy = DuplicateText(source);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, source);
    EXPECT_STREQ(copy, source);
    delete[] copy;
    char* empty = DuplicateText("");
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    delete[] empty;
    EXPECT_EQ(DuplicateText(nullptr), nullptr);
}

TEST(StringListTest, StoresPrivateCopies) {
    StringList list;
    char text[] = "Arial";
    EXPECT_EQ(list.Add(text), 0);
    EXPECT_EQ(list.Add("Tahoma"), 1);
    text[0] = 'X';
    EXPECT_STREQ(list.GetAt(0), "Arial");
    EXPECT_NE(list.GetAt(0), text);
    EXPECT_STREQ(list.GetAt(1), "Tahoma");
    EXPECT_EQ(list.GetAt(2), nullptr);
    EXPECT_EQ(list.GetAt(-1), nullptr);
}

TEST(StringListTest, AddingNullStoresNothing) {
    StringList list;
    EXPECT_EQ(list.Add(nullptr), -1);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.Add("one"), 0);
    EXPECT_EQ(list.Add(nullptr), -1);
    EXPECT_EQ(list.count, 1);
}

TEST(StringListTest, FindHonoursCaseSensitivity) {
    StringList list;
    list.Add("iexplore.exe");
    list.Add("Firefox.EXE");
    list.Add("firefox.exe");
    EXPECT_EQ(list.Find("firefox.exe", 1), 2);
    EXPECT_EQ(list.Find("FIREFOX.exe", 0), 1);
    EXPECT_EQ(list.Find("FIREFOX.exe", 1), -1);
    EXPECT_EQ(list.Find("IEXPLORE.EXE", 0), 0);
    EXPECT_EQ(list.Find("iexplore", 0), -1);
    EXPECT_EQ(list.Find("iexplore.exe.", 0), -1);
    EXPECT_EQ(list.Find("opera.exe", 0), -1);
}

TEST(StringListTest, FindFoldsOnlyAsciiLetters) {
    StringList list;
    list.Add("\xE4pfel");
    EXPECT_EQ(list.Find("\xC4PFEL", 0), -1);
    EXPECT_EQ(list.Find("\xE4PFEL", 0), 0);
}

TEST(StringListTest, FindSkipsEmptyEntriesAndEmptyTexts) {
    StringList list;
    EXPECT_EQ(list.Find("a", 0), -1);
    list.Add("");
    list.Add("a");
    EXPECT_EQ(list.Find("", 0), -1);
    EXPECT_EQ(list.Find("", 1), -1);
    EXPECT_EQ(list.Find(nullptr, 1), -1);
    EXPECT_EQ(list.Find("A", 0), 1);
    delete[] static_cast<char*>(list.SetAt(0, nullptr));
    EXPECT_EQ(list.Find("a", 1), 1);
}

TEST(StringListTest, DestroyingThroughTheBaseFreesTheCopies) {
    // Leaks show up under the native sanitizer run.
    PtrArray* list = new StringList;
    static_cast<StringList*>(list)->Add("one");
    static_cast<StringList*>(list)->Add("two");
    static_cast<StringList*>(list)->Add("three");
    EXPECT_EQ(list->count, 3);
    delete list;
}

TEST(StringListTest, ReusableAfterRemoveAll) {
    StringList list;
    list.Add("x");
    list.Add("y");
    list.RemoveAll();
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.Add("z"), 0);
    EXPECT_EQ(list.Find("z", 1), 0);
}

TEST_F(PtrArrayTest, OwnedPtrListReleasesThroughItsFunction) {
    {
        OwnedPtrList list(RecordRelease);
        EXPECT_EQ(list.Add(&values[3]), 0);
        EXPECT_EQ(list.Add(&values[1]), 1);
        EXPECT_EQ(list.RemoveAt(0), &values[3]);
    }
    EXPECT_EQ(released, (std::vector<void*>{&values[1]}));

    PtrArray* owned = new OwnedPtrList(DeleteInt);
    owned->Add(new int(1));
    owned->Add(new int(2));
    delete owned;
}

// The list keeps spare room; emptying it, or growing it through PtrArray's
// own Add, must leave no stale room behind to write past.
TEST_F(PtrArrayTest, OwnedPtrListGrowsPastItsRoomAndAfterBeingEmptied) {
    OwnedPtrList list(nullptr);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(list.Add(&values[i % 5]), i);
    EXPECT_EQ(list.GetAt(99), &values[4]);
    while (list.count > 0) list.RemoveAt(list.count - 1);
    EXPECT_EQ(list.items, nullptr);
    list.PtrArray::Add(&values[0]);
    for (int i = 1; i < 20; ++i) ASSERT_EQ(list.Add(&values[i % 5]), i);
    list.RemoveAll();
    EXPECT_EQ(list.Add(&values[2]), 0);
    EXPECT_EQ(list.GetAt(0), &values[2]);
    EXPECT_EQ(list.count, 1);
}

}  // namespace
