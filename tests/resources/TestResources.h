// Identifiers of the resources built into the test programs.
#pragma once

#define IDS_TEST_SHORT 1001
#define IDS_TEST_300 1002
