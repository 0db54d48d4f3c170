// Resource numbers of the about tests.
#pragma once
#define IDB_TEST_SPLASH 431
#define IDB_TEST_MISSING 432
