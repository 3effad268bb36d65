#include "dialog/DialogLocation.h"

namespace {
struct LocationName {
    LONG value;
    const char* name;
};

const LocationName LOCATION_NAMES[] = {
    {DL_TOP_LEFT, "Top-Left"},       {DL_TOP_CENTER, "Top-Center"},
    {DL_TOP_RIGHT, "Top-Right"},     {DL_CENTER_LEFT, "Center-Left"},
    {DL_CENTER_CENTER, "Center-Center"}, {DL_CENTER_RIGHT, "Center-Right"},
    {DL_BOTTOM_LEFT, "Bottom-Left"}, {DL_BOTTOM_CENTER, "Bottom-Center"},
    {DL_BOTTOM_RIGHT, "Bottom-Right"},
};
const int LOCATION_NAME_COUNT = sizeof(LOCATION_NAMES) / sizeof(LOCATION_NAMES[0]);

char LowerAscii(char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; }

// Equal apart from the case of A-Z.
bool SameNameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (LowerAscii(*a) != LowerAscii(*b)) return false;
    }
    return *a == *b;
}
}  // namespace

LONG LocationFromName(const char* name) {
    if (!name || !*name) return DL_CENTER_CENTER;
    for (int row = 0; row < LOCATION_NAME_COUNT; ++row) {
        if (SameNameIgnoringCase(name, LOCATION_NAMES[row].name)) return LOCATION_NAMES[row].value;
    }
    return DL_CENTER_CENTER;
}
