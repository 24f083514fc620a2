#pragma once

// The enable and check state of one command, asked while the interface is idle.
struct CCmdUI {
    explicit CCmdUI(int commandId) : id(commandId) {}
    void Enable(bool on = true) { enabled = on; }
    void SetCheck(bool on = true) { checked = on; }

    int id;
    bool enabled = true;
    bool checked = false;
};

// A link of the command route: active view -> frame -> document -> application.
class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;
    // Carries out the command; false when this target does not handle it.
    virtual bool OnCommand(int /*id*/) { return false; }
    // Fills in the state of a command it handles; false when it does not handle it.
    virtual bool OnUpdateCommand(CCmdUI& /*ui*/) { return false; }
};
