#pragma once

// The top row of a list of count rows, visible of them showing, that keeps row in a
// comfortable band: from the top down to a quarter of the rows above the bottom, so
// that what comes after row shows too. While row is inside the band the list stays
// where it is (top); once it leaves, row comes to the middle, as far as the list
// reaches. Stepping on then scrolls every quarter of a pane, never on every step.
int BandTopRow(int row, int top, int visible, int count);
