#pragma once
#include <span>

class CZelkoraDoc;
class QWidget;

// The views that can fill the simulator window's work pane, with the command that
// shows each: used to create them, to switch between them and for the check marks.
struct CWorkViewKind {
    int commandId;
    const char* className;
    QWidget* (*create)(CZelkoraDoc& doc);
};

std::span<const CWorkViewKind> GetWorkViewKinds();
// The kind shown by the command, or null.
const CWorkViewKind* FindWorkViewKind(int commandId);
// The kind a new simulator window starts with for the "WorkView" setting: 0 dump, 1 watches, else output.
const CWorkViewKind& WorkViewForSetting(int workView);
