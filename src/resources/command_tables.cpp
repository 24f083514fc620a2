#include "resources/command_tables.h"

#include "resources/command_ids.h"

namespace {
using K = CMenuItem;

// The tables are laid out as the menus read.
// clang-format off

#define FILE_MENU_HEAD {K::Popup, 0, "ﾌｧｲﾙ(&F)"}, {K::Command, ID_FILE_NEW, "新規作成(&N)\tCtrl+N"}, {K::Command, ID_FILE_OPEN, "開く(&O)...\tCtrl+O"}
#define FILE_MENU_TAIL {K::Separator, 0, ""}, {K::RecentFiles, ID_FILE_MRU_FIRST, ""}, {K::Separator, 0, ""}, {K::Command, ID_APP_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}, {K::End, 0, ""}
#define FILE_MENU_DOC {K::Command, ID_FILE_CLOSE, "閉じる(&C)"}, {K::Command, ID_FILE_SAVE, "上書き保存(&S)\tCtrl+S"}, {K::Command, ID_FILE_SAVE_AS, "名前を付けて保存(&A)..."}, \
    {K::SubPopup, 0, "ｴﾝｺｰﾃﾞｨﾝｸﾞを指定して開き直す(&E)"}, {K::Command, ID_REOPEN_CP932, "Shift-JIS(&S)"}, {K::Command, ID_REOPEN_UTF8, "UTF-8(&U)"}, {K::SubEnd, 0, ""}
#define SETTINGS_AND_HELP                                                                                  \
    {K::Popup, 0, "設定(&S)"}, {K::Command, ID_ENVIRONMENT, "環境設定(&E)..."}, {K::End, 0, ""},           \
        {K::Popup, 0, "ﾍﾙﾌﾟ(&H)"}, {K::Command, ID_MANUAL, "操作説明書(&M)\tF1"},                      \
        {K::Command, ID_SUPPORT, "ｻﾎﾟｰﾄﾎｰﾑﾍﾟｰｼﾞ(&S)"}, {K::Separator, 0, ""},                               \
        {K::Command, ID_APP_ABOUT, "Zelkora のﾊﾞｰｼﾞｮﾝ情報(&A)..."}, {K::End, 0, ""}

constexpr CMenuItem kMenu128[] = {FILE_MENU_HEAD, FILE_MENU_TAIL, SETTINGS_AND_HELP};

constexpr CMenuItem kMenu130[] = {
    FILE_MENU_HEAD, FILE_MENU_DOC, FILE_MENU_TAIL,
    {K::Popup, 0, "編集(&E)"},
    {K::Command, ID_EDIT_UNDO, "元に戻す(&U)\tCtrl+Z"},
    {K::Separator, 0, ""},
    {K::Command, ID_EDIT_CUT, "切り取り(&T)\tCtrl+X"},
    {K::Command, ID_EDIT_COPY, "ｺﾋﾟｰ(&C)\tCtrl+C"},
    {K::Command, ID_EDIT_PASTE, "貼り付け(&P)\tCtrl+V"},
    {K::Separator, 0, ""},
    {K::Command, ID_EDIT_FIND, "検索(&F)...\tCtrl+F"},
    {K::Command, ID_EDIT_REPLACE, "置換(&R)...\tCtrl+H"},
    {K::End, 0, ""},
    {K::Popup, 0, "操作(&O)"},
    {K::Command, ID_ASSEMBLE, "ｱｾﾝﾌﾞﾙ(&A)\tF7"},
    {K::Command, ID_RUN_TESTS, "ﾃｽﾄ実行(&T)"},
    {K::End, 0, ""},
    SETTINGS_AND_HELP,
};

constexpr CMenuItem kMenu129[] = {
    FILE_MENU_HEAD, FILE_MENU_DOC,
    {K::Separator, 0, ""},
    {K::Command, ID_SAVE_TRACE_TABLE, "ﾄﾚｰｽ表の保存(&T)..."},
    FILE_MENU_TAIL,
    {K::Popup, 0, "実行(&G)"},
    {K::Command, ID_RESTART, "ﾘｽﾀｰﾄ(&R)\tCtrl+F5"},
    {K::Separator, 0, ""},
    {K::Command, ID_RUN_GO, "ﾌﾟﾛｸﾞﾗﾑ実行(&G)\tF5"},
    {K::Command, ID_RUN_TRACE, "ﾄﾚｰｽ実行(&T)\tF9"},
    {K::Command, ID_RUN_PASS, "ﾊﾟｽ実行(&P)\tF10"},
    {K::Command, ID_STEP_BACK, "1ｽﾃｯﾌﾟ戻る(&B)\tShift+F9"},
    {K::Command, ID_BACK_TO_RUN_START, "前回の停止位置まで戻る"},
    {K::Command, ID_RUN_TO_CURSOR, "ｶｰｿﾙ位置まで実行(&C)\tF11"},
    {K::Separator, 0, ""},
    {K::Command, ID_STOP, "ﾌﾟﾛｸﾞﾗﾑ実行の停止"},
    {K::End, 0, ""},
    {K::Popup, 0, "操作(&O)"},
    {K::Command, ID_SET_REGISTER, "ﾚｼﾞｽﾀ設定(&R)...\tF8"},
    {K::Separator, 0, ""},
    {K::Command, ID_BP_TOGGLE, "BP設定/解除(&B)\tF2"},
    {K::Command, ID_BP_CLEAR_ALL, "BP全解除(&A)"},
    {K::Separator, 0, ""},
    {K::Command, ID_SET_PR, "ｶｰｿﾙ位置にPRを設定(&X)\tF3"},
    {K::Separator, 0, ""},
    {K::Command, ID_WATCH_ADD, "ｳｫｯﾁの新規追加(&W)"},
    {K::Command, ID_WATCH_CHANGE, "ｳｫｯﾁの変更(&C)"},
    {K::Command, ID_WATCH_DELETE, "ｳｫｯﾁの削除(&X)"},
    {K::End, 0, ""},
    {K::Popup, 0, "表示(&V)"},
    {K::Command, ID_VIEW_DUMP, "ﾒﾓﾘﾀﾞﾝﾌﾟ表示(&M)"},
    {K::Command, ID_VIEW_WATCH, "ﾒﾓﾘｳｫｯﾁ表示(&W)"},
    {K::Command, ID_VIEW_OUTPUT, "出力結果表示(&O)"},
    {K::End, 0, ""},
    SETTINGS_AND_HELP,
};

constexpr CMenuItem kMenu104[] = {
    {K::Popup, 0, ""},
    {K::Command, ID_EDIT_CUT, "切り取り(&T)"},
    {K::Command, ID_EDIT_COPY, "ｺﾋﾟｰ(&C)"},
    {K::Command, ID_EDIT_PASTE, "貼り付け(&P)"},
    {K::Separator, 0, ""},
    {K::Command, ID_ASSEMBLE, "ｱｾﾝﾌﾞﾙ(&A)\tF7"},
    {K::Separator, 0, ""},
    {K::Command, ID_FILE_NEW, "新規作成(&N)\tCtrl+N"},
    {K::Command, ID_FILE_OPEN, "開く(&O)...\tCtrl+O"},
    {K::Command, ID_FILE_CLOSE, "閉じる(&C)"},
    {K::Command, ID_FILE_SAVE, "上書き保存(&S)\tCtrl+S"},
    {K::Command, ID_FILE_SAVE_AS, "名前を付けて保存(&A)..."},
    {K::End, 0, ""},
};

// The listing's context menu.
constexpr CMenuItem kMenu131[] = {
    {K::Popup, 0, ""},
    {K::Command, ID_BP_TOGGLE, "BP設定/解除(&B)\tF2"},
    {K::Command, ID_SET_PR, "ｶｰｿﾙ位置にPRを設定(&X)\tF3"},
    {K::Command, ID_RUN_TO_CURSOR, "ｶｰｿﾙ位置まで実行(&C)\tF11"},
    {K::Separator, 0, ""},
    {K::Command, ID_RESTART, "ﾘｽﾀｰﾄ(&R)\tCtrl+F5"},
    {K::End, 0, ""},
};

// The watch view's context menu.
constexpr CMenuItem kMenu103[] = {
    {K::Popup, 0, ""},
    {K::Command, ID_WATCH_ADD, "ｳｫｯﾁの新規追加(&W)"},
    {K::Command, ID_WATCH_CHANGE, "ｳｫｯﾁの変更(&C)"},
    {K::Command, ID_WATCH_DELETE, "ｳｫｯﾁの削除(&X)"},
    {K::End, 0, ""},
};

#undef FILE_MENU_HEAD
#undef FILE_MENU_TAIL
#undef FILE_MENU_DOC
#undef SETTINGS_AND_HELP

constexpr int kToolbar[] = {ID_FILE_NEW,   ID_FILE_OPEN,    ID_FILE_SAVE, 0,           ID_ASSEMBLE,      0,
                            ID_EDIT_CUT,   ID_EDIT_COPY,    ID_EDIT_PASTE, 0,          ID_RESTART,       ID_RUN_GO,
                            ID_RUN_TRACE,  ID_RUN_PASS,     ID_STEP_BACK, ID_RUN_TO_CURSOR, ID_STOP, 0,                ID_BP_TOGGLE,
                            ID_SET_REGISTER, 0,             ID_VIEW_DUMP, ID_VIEW_WATCH, ID_VIEW_OUTPUT, 0,
                            ID_APP_ABOUT};

#define COMMON_KEYS                                                                                        \
    {"F1", ID_MANUAL}, {"Ctrl+N", ID_FILE_NEW}, {"Ctrl+O", ID_FILE_OPEN}, {"Ctrl+S", ID_FILE_SAVE}, {"F6", ID_NEXT_PANE},      \
        {"Shift+F6", ID_PREV_PANE}
#define EDIT_KEYS                                                                                          \
    {"Ctrl+Z", ID_EDIT_UNDO}, {"Alt+Backspace", ID_EDIT_UNDO}, {"Ctrl+X", ID_EDIT_CUT},                     \
        {"Shift+Del", ID_EDIT_CUT}, {"Ctrl+C", ID_EDIT_COPY}, {"Ctrl+Ins", ID_EDIT_COPY},                   \
        {"Ctrl+V", ID_EDIT_PASTE}, {"Shift+Ins", ID_EDIT_PASTE}

constexpr CAccelerator kKeys128[] = {COMMON_KEYS, EDIT_KEYS};
constexpr CAccelerator kKeys130[] = {COMMON_KEYS, EDIT_KEYS, {"F7", ID_ASSEMBLE}, {"Ctrl+F", ID_EDIT_FIND},
                                     {"Ctrl+H", ID_EDIT_REPLACE}};
constexpr CAccelerator kKeys129[] = {COMMON_KEYS,          {"F2", ID_BP_TOGGLE},   {"F3", ID_SET_PR},
                                     {"F5", ID_RUN_GO},    {"Ctrl+F5", ID_RESTART}, {"F7", ID_ASSEMBLE},
                                     {"F8", ID_SET_REGISTER}, {"F9", ID_RUN_TRACE}, {"F10", ID_RUN_PASS},
                                     {"Shift+F9", ID_STEP_BACK},
                                     {"F11", ID_RUN_TO_CURSOR}};
#undef COMMON_KEYS
#undef EDIT_KEYS
// clang-format on
}  // namespace

std::span<const CMenuItem> GetMenu(int menuId)
{
    switch (menuId) {
    case 128: return kMenu128;
    case 129: return kMenu129;
    case 130: return kMenu130;
    case 104: return kMenu104;
    case 131: return kMenu131;
    case 103: return kMenu103;
    default: return {};
    }
}

std::span<const int> GetToolbar() { return kToolbar; }

std::span<const CAccelerator> GetAccelerators(int tableId)
{
    switch (tableId) {
    case 128: return kKeys128;
    case 129: return kKeys129;
    case 130: return kKeys130;
    default: return {};
    }
}
