#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include "simulator/trace_table.h"

// The trace table's file, written as the run goes: into a temporary file beside it,
// which takes its name only at the end (Commit), so that a table that could not be
// written leaves nothing under its name and a file there before stays as it was. A
// name that is no regular file (a device, a pipe) is written directly.
class CTraceFile final : public ITraceSink {
public:
    CTraceFile() = default;
    CTraceFile(const CTraceFile&) = delete;
    CTraceFile& operator=(const CTraceFile&) = delete;
    ~CTraceFile() override { Abort(); }

    bool Open(const std::string& path);
    bool Write(std::string_view text, std::uint64_t rows) override;
    // Takes the last count rows out again (every row ends in the table's only line
    // feeds); false when the file cannot be cut (not a regular file) or reading it failed.
    bool DropRows(std::uint64_t count);
    bool Commit();
    // Removes the temporary file; nothing takes the name.
    void Abort();
    // Why the last operation failed (an errno).
    int GetError() const { return m_nError; }

private:
    bool Fail();

    std::string m_path, m_temp;  // m_temp is empty when writing directly
    int m_fd = -1;
    int m_nError = 0;
};

