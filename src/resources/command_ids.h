#pragma once

// Command ids: menu items, toolbar buttons, accelerators and status-bar panes.
enum : int {
    ID_ASSEMBLE = 32771,
    ID_BP_TOGGLE = 32772,
    ID_BP_CLEAR_ALL = 32774,
    ID_SET_REGISTER = 32775,
    ID_RUN_PASS = 32776,
    ID_RUN_TRACE = 32777,
    ID_RUN_TO_CURSOR = 32778,
    ID_RUN_GO = 32779,
    ID_SET_PR = 32780,
    ID_RESTART = 32783,
    ID_STOP = 32790,
    ID_INDICATOR_CARET = 32794,
    ID_INDICATOR_PROGRESS = 32795,
    ID_VIEW_DUMP = 32796,
    ID_VIEW_WATCH = 32797,
    ID_VIEW_OUTPUT = 32798,
    ID_WATCH_ADD = 32799,
    ID_WATCH_DELETE = 32800,
    ID_WATCH_CHANGE = 32801,
    ID_ENVIRONMENT = 32805,
    ID_SUPPORT = 32806,
    ID_MANUAL = 32807,
    ID_STEP_BACK = 32810,
    ID_BACK_TO_RUN_START = 32811,
    ID_SAVE_TRACE_TABLE = 32812,
    ID_REOPEN_CP932 = 32813,
    ID_REOPEN_UTF8 = 32814,
    ID_INDICATOR_FORMAT = 32815,
    ID_RUN_TESTS = 32845,

    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_MRU_FIRST = 57616,
    ID_FILE_MRU_LAST = 57631,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_FIND = 57636,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_REPLACE = 57641,
    ID_EDIT_UNDO = 57643,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,

    // Command ids whose enable state the main frame answers itself during a run.
    ID_COMMAND_FIRST = 0x8000,
    ID_COMMAND_LAST = 0xEFFF,
};

// Number of entries in the recent-file list.
inline constexpr int kRecentFileCount = 4;
