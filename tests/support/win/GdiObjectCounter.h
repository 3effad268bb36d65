// Counts the GDI objects that code in this test program creates and deletes,
// by redirecting the program's own import entries for the gdi32 creation and
// deletion functions while an instance lives. The library's objects are linked
// into the test program, so their calls pass through the same entries.
// One instance at a time, on one thread.
#pragma once

#include <windows.h>

class GdiObjectCounter {
public:
    GdiObjectCounter();
    ~GdiObjectCounter();

    GdiObjectCounter(const GdiObjectCounter&) = delete;
    GdiObjectCounter& operator=(const GdiObjectCounter&) = delete;

    // False when the import entries could not be redirected.
    bool Installed() const;
    int FontsCreated() const;
    // Objects created since construction and not deleted yet.
    int Live() const;
    // Makes every font creation fail (return null) while set.
    void FailFontCreation(bool fail);
};
