// Registry changes that a test makes and that are undone afterwards: keys the
// sandbox creates are deleted, values it writes or removes get their former
// state back. Each change is first recorded in a journal under
// HKEY_CURRENT_USER\Software\MirelTest\RegistryJournal, so that a test program
// that died before undoing its changes has them undone by the next sandbox.
// Use one sandbox at a time.
#pragma once
#include <windows.h>

class RegistrySandbox {
public:
    // Undoes whatever an earlier run left in the journal.
    RegistrySandbox();
    // Undoes every change, newest first.
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // Writes a value (valueName null: the key's unnamed value), creating the
    // key and its missing parents.
    bool SetValue(HKEY root, const char* keyPath, const char* valueName, DWORD type, const void* data,
                  DWORD size);
    // A text value with its terminator.
    bool SetString(HKEY root, const char* keyPath, const char* valueName, const char* text,
                   DWORD type = REG_SZ);
    // Removes the value if it exists.
    bool RemoveValue(HKEY root, const char* keyPath, const char* valueName);

    // Replays the journal backwards and clears it.
    static void UndoAll();
};
