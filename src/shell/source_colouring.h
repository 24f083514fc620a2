#pragma once
#include <QTextBlock>

// Gives a block of the source editor the colours of its CASL II syntax, unless it has
// them for its present text already. The editor colours only the blocks it shows, so
// a large file costs nothing until it is scrolled through.
void ColourSourceBlock(QTextBlock& block);
