#pragma once
#include "assembler/execution_host.h"

// What the processor asks of the program around it while it runs: the devices of
// the statements (IExecutionHost), the run-time messages, the running state and the
// pump. The document implements it; the processor knows nothing else of it.
class IRunHost : public IExecutionHost {
public:
    // Why the run ends, as a message by its number (901, 902, 2100, 2101); nothing of the
    // machine changes after it, so that what the window shows may be brought up to date first.
    virtual void ShowRunMessage(int messageId) = 0;
    virtual void EnterRunningState() = 0;
    virtual void LeaveRunningState() = 0;
    // Every 101 statements: the run indicator moves on and pending events are dispatched.
    virtual void Pump() = 0;
    // The program ended (PR = 0); comes before the end message.
    virtual void ProgramEnded() = 0;
};
