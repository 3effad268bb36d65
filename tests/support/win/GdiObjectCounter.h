// Counts the GDI objects that code in this test program creates and deletes,
// by pointing the program's imports of the gdi32 creation and deletion
// functions at counting wrappers (ImportHook) while an instance lives.
// One instance at a time, on one thread.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class ImportHook;

class GdiObjectCounter {
public:
    GdiObjectCounter();
    ~GdiObjectCounter();

    GdiObjectCounter(const GdiObjectCounter&) = delete;
    GdiObjectCounter& operator=(const GdiObjectCounter&) = delete;

    // False when font creation or object deletion could not be watched.
    bool Installed() const;
    int FontsCreated() const;
    // Objects created since construction and not deleted yet.
    int Live() const;
    // Makes every font creation fail (return null) while set.
    void FailFontCreation(bool fail);

private:
    std::vector<std::unique_ptr<ImportHook>> hooks;
    bool installed;
};
