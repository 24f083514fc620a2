#pragma once
#include <QString>
#include <cstdint>

class CZelkoraDoc;
class IShellUi;
class QWidget;

// Saving the trace table, which may be far larger than anything else the program
// writes: after a long Go it holds millions of rows.

// True when the table is small enough or the user wants it anyway.
bool ConfirmTraceTableSize(const CZelkoraDoc& doc, IShellUi& ui, QWidget* parent);

// Writes the table to path as its rows are made, with a progress bar that can cancel
// it. False when it was not saved: error says why, or is empty when it was cancelled.
// Either way nothing is left under the name but what was there before.
bool WriteTraceTableFile(const CZelkoraDoc& doc, const QString& path, IShellUi& ui, QWidget* parent, QString& error);
