// The built library as a host sees it: its export table and its imports.
// The DLL of this program's own build sits beside it; set MIREL_WIN32_DLL to
// the path of the 32-bit DLL to check that one too.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "include/MirelDialog.h"
#include "support/win/PeImage.h"

namespace {
std::string LibraryBesideProgram() {
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program(path, length);
    return program.substr(0, program.find_last_of('\\') + 1) + "MirelDialog.dll";
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char ch) { return static_cast<char>(tolower(ch)); });
    return text;
}

bool IsSystemLibrary(const std::string& name) {
    static const char* const system[] = {"kernel32.dll", "user32.dll",   "gdi32.dll",
                                         "advapi32.dll", "shell32.dll", "msvcrt.dll"};
    std::string lower = Lower(name);
    if (lower.rfind("api-ms-win-", 0) == 0) return true;
    return std::find(std::begin(system), std::end(system), lower) != std::end(system);
}

void ExpectLibraryContract(const std::string& path, bool is64) {
    PeImage image;
    ASSERT_TRUE(image.Load(path)) << path;
    EXPECT_EQ(image.is64, is64) << path;

    ASSERT_EQ(image.exports.size(), 3u) << path;
    std::sort(image.exports.begin(), image.exports.end(),
              [](const PeExport& a, const PeExport& b) { return a.ordinal < b.ordinal; });
    const char* const names[] = {"RunMirelDialog", "GetDialogObject", "RunMirelDialogW"};
    for (unsigned i = 0; i < 3; ++i) {
        EXPECT_EQ(image.exports[i].name, names[i]);
        EXPECT_EQ(image.exports[i].ordinal, i + 1);
    }

    ASSERT_FALSE(image.imports.empty()) << path;
    for (const std::string& imported : image.imports) {
        EXPECT_TRUE(IsSystemLibrary(imported)) << path << " imports " << imported;
        std::string lower = Lower(imported);
        EXPECT_EQ(lower.find("libgcc"), std::string::npos) << imported;
        EXPECT_EQ(lower.find("libstdc++"), std::string::npos) << imported;
        EXPECT_EQ(lower.find("libwinpthread"), std::string::npos) << imported;
    }
}
}  // namespace

TEST(LibraryExports, LibraryBesideProgramExportsByOrdinalAndPlainName) {
    ExpectLibraryContract(LibraryBesideProgram(), sizeof(void*) == 8);
}

TEST(LibraryExports, ThirtyTwoBitLibraryWhenGiven) {
    const char* path = getenv("MIREL_WIN32_DLL");
    if (!path || !*path) GTEST_SKIP() << "MIREL_WIN32_DLL not set";
    ExpectLibraryContract(path, false);
}

TEST(LibraryExports, OrdinalsAndNamesResolveToTheSameFunctions) {
    HMODULE library = LoadLibraryA(LibraryBesideProgram().c_str());
    ASSERT_NE(library, nullptr);
    FARPROC run = GetProcAddress(library, "RunMirelDialog");
    FARPROC object = GetProcAddress(library, "GetDialogObject");
    FARPROC runWide = GetProcAddress(library, "RunMirelDialogW");
    EXPECT_NE(run, nullptr);
    EXPECT_NE(object, nullptr);
    EXPECT_NE(runWide, nullptr);
    EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCEA(1)), run);
    EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCEA(2)), object);
    EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCEA(3)), runWide);
    EXPECT_EQ(GetProcAddress(library, "_RunMirelDialog@4"), nullptr);

    auto runDialog = reinterpret_cast<int(WINAPI*)(const char*)>(reinterpret_cast<void*>(run));
    EXPECT_EQ(runDialog("<TITLE>only a title</TITLE>"), MIREL_RESULT_INCOMPLETE);
    auto runWideDialog = reinterpret_cast<int(WINAPI*)(const wchar_t*)>(reinterpret_cast<void*>(runWide));
    EXPECT_EQ(runWideDialog(L"<TITLE>only a title</TITLE>"), MIREL_RESULT_INCOMPLETE);
    FreeLibrary(library);
}
