// Identifiers of the resources built into the test programs.
#pragma once

#define IDS_TEST_SHORT 1001
#define IDS_TEST_300 1002

// Bitmaps for the HTML image tests (see make_test_bitmaps.py).
#define IDB_TEST_4BIT 2101
#define IDB_TEST_8BIT 2102
#define IDB_TEST_24BIT 2103
#define IDB_TEST_MAGENTA 2104
#define IDB_TEST_SHORT 2105
