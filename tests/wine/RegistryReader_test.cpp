// The registry reader against real values written under HKEY_CURRENT_USER.
#include <gtest/gtest.h>

#include <string>

#include "browser/RegistryReader.h"
#include "support/win/ImportHook.h"
#include "support/win/RegistrySandbox.h"

namespace {

const char kKey[] = "Software\\MirelTest\\Reader";

// Counts the library's successful key opens minus its key closes.
class OpenKeyCounter {
public:
    OpenKeyCounter()
        : open("advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(&Open)),
          close("advapi32.dll", "RegCloseKey", reinterpret_cast<void*>(&Close)) {
        active = this;
        balance = opens = 0;
    }
    ~OpenKeyCounter() { active = nullptr; }
    bool Installed() const { return open.Installed() && close.Installed(); }

    static int balance;
    static int opens;

private:
    static LONG WINAPI Open(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key) {
        LONG result = active->open.Original<decltype(&RegOpenKeyExA)>()(root, path, options, access, key);
        if (result == ERROR_SUCCESS) {
            ++balance;
            ++opens;
        }
        return result;
    }
    static LONG WINAPI Close(HKEY key) {
        --balance;
        return active->close.Original<decltype(&RegCloseKey)>()(key);
    }

    static OpenKeyCounter* active;
    ImportHook open;
    ImportHook close;
};

OpenKeyCounter* OpenKeyCounter::active = nullptr;
int OpenKeyCounter::balance = 0;
int OpenKeyCounter::opens = 0;

// ReadRegistryValue's result and text (the buffer is freed here).
struct ReadResult {
    int result;
    bool hasText;
    std::string text;
};

ReadResult Read(const char* valueName, const char* defaultValue = nullptr, HKEY root = HKEY_CURRENT_USER,
                const char* keyPath = kKey) {
    char untouched = 0;
    char* out = &untouched;
    ReadResult read;
    read.result = ReadRegistryValue(root, keyPath, valueName, &out, defaultValue);
    if (out == &untouched) {
        ADD_FAILURE() << "the output was not set";
        out = nullptr;
    }
    read.hasText = out != nullptr;
    if (out) read.text = out;
    if (out && defaultValue) {
        EXPECT_NE(out, defaultValue) << "the default must be a copy";
    }
    delete[] out;
    return read;
}

class RegistryReader : public ::testing::Test {
protected:
    void SetString(const char* name, const std::string& text, DWORD type = REG_SZ) {
        ASSERT_TRUE(registry.SetString(HKEY_CURRENT_USER, kKey, name, text.c_str(), type));
    }
    void SetBytes(const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_TRUE(registry.SetValue(HKEY_CURRENT_USER, kKey, name, type, data, size));
    }

    RegistrySandbox registry;
};

TEST_F(RegistryReader, ReadsNamedAndUnnamedTextValues) {
    SetString("Named", "C:\\Program Files\\Browser\\b.exe");
    SetString(nullptr, "unnamed value");
    ReadResult named = Read("Named");
    EXPECT_EQ(named.result, 1);
    EXPECT_EQ(named.text, "C:\\Program Files\\Browser\\b.exe");
    ReadResult unnamed = Read(nullptr, "default");
    EXPECT_EQ(unnamed.result, 1);
    EXPECT_EQ(unnamed.text, "unnamed value");
}

TEST_F(RegistryReader, EmptyTextIsReadAsEmpty) {
    SetString("Empty", "");
    ReadResult read = Read("Empty", "default");
    EXPECT_EQ(read.result, 1);
    EXPECT_TRUE(read.hasText);
    EXPECT_EQ(read.text, "");
}

TEST_F(RegistryReader, AbsentValueOrKeyGivesTheDefaultOrNothing) {
    SetString("Present", "x");
    ReadResult missingValue = Read("Missing", "fallback");
    EXPECT_EQ(missingValue.result, 0);
    EXPECT_EQ(missingValue.text, "fallback");
    ReadResult missingNoDefault = Read("Missing");
    EXPECT_EQ(missingNoDefault.result, 0);
    EXPECT_FALSE(missingNoDefault.hasText);
    ReadResult missingKey = Read("Present", "fallback", HKEY_CURRENT_USER, "Software\\MirelTest\\NoSuchKey");
    EXPECT_EQ(missingKey.result, 0);
    EXPECT_EQ(missingKey.text, "fallback");
}

TEST_F(RegistryReader, OtherValueTypesCountAsAbsent) {
    DWORD number = 0x41414141;
    SetBytes("Number", REG_DWORD, &number, sizeof(number));
    SetBytes("Binary", REG_BINARY, "text\0", 5);
    SetBytes("Multi", REG_MULTI_SZ, "a\0b\0\0", 5);
    for (const char* name : {"Number", "Binary", "Multi"}) {
        ReadResult read = Read(name, "fallback");
        EXPECT_EQ(read.result, 0) << name;
        EXPECT_EQ(read.text, "fallback") << name;
    }
}

TEST_F(RegistryReader, ExpandableValuesAreExpanded) {
    SetEnvironmentVariableA("MIREL_READER_DIR", "C:\\Reader Dir");
    SetString("Expand", "%MIREL_READER_DIR%\\b.exe \"%1\"", REG_EXPAND_SZ);
    SetString("TwoCharacters", "ab", REG_EXPAND_SZ);
    ReadResult expanded = Read("Expand");
    EXPECT_EQ(expanded.result, 1);
    EXPECT_EQ(expanded.text, "C:\\Reader Dir\\b.exe \"%1\"");
    ReadResult two = Read("TwoCharacters");
    EXPECT_EQ(two.result, 1);
    EXPECT_EQ(two.text, "ab");
    SetEnvironmentVariableA("MIREL_READER_DIR", nullptr);
}

TEST_F(RegistryReader, ExpansionOfAtMostOneCharacterCountsAsAbsent) {
    SetString("One", "a", REG_EXPAND_SZ);
    SetString("None", "", REG_EXPAND_SZ);
    for (const char* name : {"One", "None"}) {
        ReadResult read = Read(name, "fallback");
        EXPECT_EQ(read.result, 0) << name;
        EXPECT_EQ(read.text, "fallback") << name;
    }
}

TEST_F(RegistryReader, UnterminatedExpandableDataIsReadWithinItsSize) {
    // Stored without a terminator: the expansion must stop at the data's end.
    SetBytes("Unterminated", REG_EXPAND_SZ, "abcdef", 6);
    ReadResult read = Read("Unterminated");
    EXPECT_EQ(read.result, 1);
    EXPECT_EQ(read.text, "abcdef");
}

TEST_F(RegistryReader, LargeValueIsReadWhole) {
    std::string large(256 * 1024, 'x');
    large += "end";
    SetString("Large", large);
    ReadResult read = Read("Large");
    EXPECT_EQ(read.result, 1);
    EXPECT_EQ(read.text, large);
}

TEST_F(RegistryReader, MissingArgumentsReadNothing) {
    SetString("Present", "x");
    OpenKeyCounter counter;
    ASSERT_TRUE(counter.Installed());
    EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, kKey, "Present", nullptr, "fallback"), 0);
    ReadResult noRoot = Read("Present", "fallback", nullptr);
    EXPECT_EQ(noRoot.result, 0);
    EXPECT_EQ(noRoot.text, "fallback");
    ReadResult noPath = Read("Present", "fallback", HKEY_CURRENT_USER, nullptr);
    EXPECT_EQ(noPath.result, 0);
    EXPECT_EQ(noPath.text, "fallback");
    ReadResult emptyPath = Read("Present", nullptr, HKEY_CURRENT_USER, "");
    EXPECT_EQ(emptyPath.result, 0);
    EXPECT_FALSE(emptyPath.hasText);
    EXPECT_EQ(OpenKeyCounter::opens, 0);
}

TEST_F(RegistryReader, EveryOpenedKeyIsClosed) {
    SetString("Text", "abc");
    DWORD number = 1;
    SetBytes("Number", REG_DWORD, &number, sizeof(number));
    OpenKeyCounter counter;
    ASSERT_TRUE(counter.Installed());
    for (const char* name : {"Text", "Number", "Missing"}) Read(name, "d");
    EXPECT_EQ(RegKeyExists(HKEY_CURRENT_USER, kKey), 1);
    EXPECT_EQ(OpenKeyCounter::opens, 4);
    EXPECT_EQ(OpenKeyCounter::balance, 0);
}

TEST_F(RegistryReader, RegReadStringReturnsTheLength) {
    SetString("Text", "hello");
    CMsString out = "stale";
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kKey, "Text", out, nullptr), 5);
    EXPECT_STREQ(out, "hello");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kKey, "Missing", out, "dflt"), 4);
    EXPECT_STREQ(out, "dflt");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kKey, "Missing", out, nullptr), 0);
    EXPECT_TRUE(out.IsEmpty());
}

TEST_F(RegistryReader, KeyExistence) {
    SetString("Text", "x");
    EXPECT_EQ(RegKeyExists(HKEY_CURRENT_USER, kKey), 1);
    EXPECT_EQ(RegKeyExists(HKEY_CURRENT_USER, "Software\\MirelTest\\NoSuchKey"), 0);
    EXPECT_EQ(RegKeyExists(HKEY_CLASSES_ROOT, "MirelTest.NoSuchClass\\shell\\open\\command"), 0);
}

}  // namespace
