#pragma once
#include <QString>
#include <QStringList>
#include <string>
#include "grading/grade.h"
#include "grading/test_suite.h"

class CZelkoraDoc;
class IShellUi;
class QWidget;

// The test file that goes with a source file: beside it, with the same name and ".tests"
// ("prog.asm" -> "prog.tests"); empty when the source has no name or there is none.
QString TestFileBeside(const std::string& sourcePath);

// A test file's cases run against the program in the editor.
struct CExerciseRun {
    CTestSuite suite;
    CSubmissionResult result;
    QString testFile;
};

// Reads the test file beside the document's source and runs every case on the editor's
// text (edits not yet saved included), with a progress bar and Cancel when it takes a
// while. False when there was nothing to show: the test file could not be read or is
// wrong (said in a message), or the user cancelled.
bool RunExerciseTests(CZelkoraDoc& doc, IShellUi& ui, QWidget* parent, CExerciseRun& run);

// The error pane's lines for a run: the totals, then a line per case in the suite's order
// (line 1 + i is case i), then how to open a case when one failed, or the assembly errors.
QStringList ExerciseResultLines(const CExerciseRun& run);
