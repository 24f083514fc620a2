#pragma once

// String-table numbers of the run-time messages.
enum : int {
    MSG_OLE_INIT_FAILED = 100,
    STR_TEXT_FILE_FILTER = 200,
    STR_SOURCE_FOLDER_TITLE = 800,
    MSG_ASSEMBLE_OK = 900,
    MSG_STOPPED_BY_USER = 901,
    MSG_PROGRAM_END = 902,
    MSG_ASSEMBLE_ERRORS = 1000,
    MSG_SIMULATOR_OPEN_FAILED = 1001,
    MSG_REGISTER_VALUE_BAD = 1002,
    MSG_WATCH_TARGET_ADDRESS = 1003,
    MSG_WATCH_TARGET_REGISTER = 1004,
    MSG_WATCH_LENGTH = 1005,
    MSG_WATCH_TARGET = 1006,
    MSG_OUT_FILE_CREATE = 1007,
    MSG_IN_FILE_OPEN = 1008,
    MSG_IN_FILE_READ = 1009,
    MSG_OUT_FILE_WRITE = 1010,
    MSG_FILE_OPEN_FAILED = 3000,
    MSG_FILE_SAVE_FAILED = 3001,
    MSG_SAVE_CHANGES = 3003,
    MSG_SAVE_AS_UTF8 = 3010,
    MSG_REOPEN_DISCARD = 3011,
    MSG_FILE_CHANGED_RELOAD = 3012,
    MSG_FILE_CHANGED_EDITED = 3013,
    MSG_FILE_CHANGED_OVERWRITE = 3014,
    MSG_FILE_MISSING = 3015,
    MSG_FILE_RECREATED = 3016,
    // Going back and the trace table: %1 steps taken back, %2 steps dropped, %3 the budget in MiB.
    MSG_RUN_START_NOT_KEPT = 3030,
    MSG_OLDEST_STEP_REACHED = 3031,
    MSG_TRACE_TABLE_LARGE = 3032,  // %1 megabytes, %2 rows
    MSG_TRACE_TABLE_SAVING = 3033,
    MSG_TRACE_TABLE_OVER_SOURCE = 3034,
    // Help: %1 the places looked at, or the manual's file.
    MSG_MANUAL_MISSING = 3050,
    MSG_MANUAL_NOT_SHOWN = 3051,
    MSG_NOT_TEXT_FILE = 3080,
    MSG_NOT_A_POSITIVE_INTEGER = 3081,
    MSG_NEW_FILE_SAVE_FAILED = 3082,
    // The web page's status and its share link (%1 the link).
    MSG_WEB_SHARE_LINK = 3100,
    MSG_WEB_RUNNING = 3101,
    MSG_WEB_WAITING_FOR_INPUT = 3102,
    // The exercise's test file beside the source.
    MSG_TESTS_UNREADABLE = 3110,  // %1 file, %2 reason
    MSG_TESTS_WRONG = 3111,       // %1 file, %2 line, %3 what is wrong
    MSG_TESTS_RUNNING = 3112,
    MSG_TESTS_PASSED = 3113,  // %1 file, %2 cases passed, %3 cases, %4 points, %5 of points
    MSG_TESTS_FAILED = 3114,  // as MSG_TESTS_PASSED
    MSG_TESTS_OPEN_HINT = 3115,
    // The page: an input file a test file names was not opened with it.
    MSG_TESTS_FILE_NOT_GIVEN = 3120,
    IDS_APP_TITLE = 57344,
    IDS_IDLE_MESSAGE = 57345,
};
