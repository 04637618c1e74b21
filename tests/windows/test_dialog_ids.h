// Identifiers of the tests' own dialog template (test_dialogs.rc).
#pragma once

#define IDD_TEST_PROBE 200
#define IDC_TEST_EDIT 300
#define IDC_TEST_THREE_STATE 301
#define IDC_TEST_RECORDER 303

// A control class of the tests that records the last message it got.
#define TEST_RECORDER_CLASS "quillmere_test_recorder"
