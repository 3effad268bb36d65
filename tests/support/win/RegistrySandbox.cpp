#include "support/win/RegistrySandbox.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kJournalPath[] = "Software\\MirelTest\\RegistryJournal";
const DWORD kCreatedKey = 1;
const DWORD kSavedValue = 2;
const HKEY kRoots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};

DWORD RootIndex(HKEY root) {
    for (DWORD i = 0; i < 3; ++i)
        if (kRoots[i] == root) return i;
    return 0xFFFFFFFF;
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void PutDword(HKEY key, const char* name, DWORD value) {
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

void PutText(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

DWORD GetDword(HKEY key, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return 0;
    return value;
}

// The value's type and bytes; false when it does not exist.
bool GetBytes(HKEY key, const char* name, DWORD* type, std::string* bytes) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return false;
    bytes->assign(size, '\0');
    if (size == 0) return true;
    return RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(&(*bytes)[0]), &size) ==
           ERROR_SUCCESS;
}

// Creates the next journal entry and returns it open; null on failure.
HKEY NewJournalEntry(HKEY root, const std::string& path, DWORD kind) {
    HKEY journal = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kJournalPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &journal,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    DWORD entries = 0;
    RegQueryInfoKeyA(journal, nullptr, nullptr, nullptr, &entries, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    char name[16];
    wsprintfA(name, "%08lu", entries);
    HKEY entry = nullptr;
    LONG created = RegCreateKeyExA(journal, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &entry, nullptr);
    RegCloseKey(journal);
    if (created != ERROR_SUCCESS) return nullptr;
    PutDword(entry, "root", RootIndex(root));
    PutText(entry, "path", path);
    PutDword(entry, "kind", kind);
    return entry;
}

// Records the topmost key of the path that does not exist yet, then creates the key.
bool CreateKeyJournaled(HKEY root, const std::string& path) {
    for (size_t end = path.find('\\'); ; end = path.find('\\', end + 1)) {
        std::string prefix = path.substr(0, end);
        if (!KeyExists(root, prefix)) {
            HKEY entry = NewJournalEntry(root, prefix, kCreatedKey);
            if (!entry) return false;
            RegCloseKey(entry);
            break;
        }
        if (end == std::string::npos) return true;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool SaveValueJournaled(HKEY root, const std::string& path, const char* valueName) {
    DWORD type = 0;
    std::string bytes;
    bool had = false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        had = GetBytes(key, valueName, &type, &bytes);
        RegCloseKey(key);
    }
    HKEY entry = NewJournalEntry(root, path, kSavedValue);
    if (!entry) return false;
    if (valueName) PutText(entry, "name", valueName);
    PutDword(entry, "had", had ? 1 : 0);
    PutDword(entry, "type", type);
    RegSetValueExA(entry, "data", 0, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(entry);
    return true;
}

void RestoreValue(HKEY root, const std::string& path, HKEY entry) {
    std::string name;
    DWORD ignored = 0;
    bool named = GetBytes(entry, "name", &ignored, &name);
    if (named) name.resize(strlen(name.c_str()));
    const char* valueName = named ? name.c_str() : nullptr;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    std::string bytes;
    DWORD type = 0;
    if (GetDword(entry, "had") && GetBytes(entry, "data", &type, &bytes))
        RegSetValueExA(key, valueName, 0, GetDword(entry, "type"), reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
    else
        RegDeleteValueA(key, valueName);
    RegCloseKey(key);
}

void UndoEntry(HKEY entry) {
    DWORD rootIndex = GetDword(entry, "root");
    std::string path;
    DWORD type = 0;
    if (rootIndex >= 3 || !GetBytes(entry, "path", &type, &path)) return;
    path.resize(strlen(path.c_str()));
    if (path.empty()) return;
    HKEY root = kRoots[rootIndex];
    if (GetDword(entry, "kind") == kCreatedKey) RegDeleteTreeA(root, path.c_str());
    if (GetDword(entry, "kind") == kSavedValue) RestoreValue(root, path, entry);
}

}  // namespace

RegistrySandbox::RegistrySandbox() { UndoAll(); }

RegistrySandbox::~RegistrySandbox() { UndoAll(); }

bool RegistrySandbox::SetValue(HKEY root, const char* keyPath, const char* valueName, DWORD type,
                               const void* data, DWORD size) {
    if (RootIndex(root) >= 3 || !keyPath || !*keyPath) return false;
    if (!CreateKeyJournaled(root, keyPath) || !SaveValueJournaled(root, keyPath, valueName)) return false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    LONG written = RegSetValueExA(key, valueName, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return written == ERROR_SUCCESS;
}

bool RegistrySandbox::SetString(HKEY root, const char* keyPath, const char* valueName, const char* text,
                                DWORD type) {
    return SetValue(root, keyPath, valueName, type, text, static_cast<DWORD>(strlen(text) + 1));
}

bool RegistrySandbox::RemoveValue(HKEY root, const char* keyPath, const char* valueName) {
    if (RootIndex(root) >= 3 || !keyPath || !KeyExists(root, keyPath)) return true;
    if (!SaveValueJournaled(root, keyPath, valueName)) return false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    RegDeleteValueA(key, valueName);
    RegCloseKey(key);
    return true;
}

void RegistrySandbox::UndoAll() {
    HKEY journal = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kJournalPath, 0, KEY_READ, &journal) != ERROR_SUCCESS) return;
    std::vector<std::string> entries;
    char name[64];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(journal, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        entries.push_back(name);
    }
    std::sort(entries.rbegin(), entries.rend());
    for (const std::string& entryName : entries) {
        HKEY entry = nullptr;
        if (RegOpenKeyExA(journal, entryName.c_str(), 0, KEY_READ, &entry) != ERROR_SUCCESS) continue;
        UndoEntry(entry);
        RegCloseKey(entry);
    }
    RegCloseKey(journal);
    RegDeleteTreeA(HKEY_CURRENT_USER, kJournalPath);
    // Fails, as it should, while other test keys remain under it.
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\MirelTest");
}
