// Points the test program's imports of one system function at a replacement
// while the hook lives. Test programs link the library's objects, so every
// call the library makes to that function goes through these import slots:
// a test can watch the calls or make the function fail without touching the
// system.
#pragma once
#include <windows.h>

#include <vector>

class ImportHook {
public:
    ImportHook(const char* moduleName, const char* functionName, void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    // False when the program does not import the function from that module.
    bool Installed() const { return !slots.empty(); }
    // The function the slots held before, for replacements that pass calls on.
    template <typename Function>
    Function Original() const {
        return reinterpret_cast<Function>(original);
    }

private:
    std::vector<void**> slots;
    void* original;
};
