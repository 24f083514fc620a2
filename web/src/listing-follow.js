// Where the listing's first visible row goes after a stop: a quarter of the rows stay
// visible below PR, and the view only moves when PR leaves that band (then PR comes to
// the middle), as in the desktop program.
export function followTop(top, visible, prRow, rowCount) {
  if (prRow < 0 || visible <= 0) return top;
  const below = Math.floor(visible / 4);
  if (prRow >= top && prRow < top + visible - below) return top;
  return clampTop(prRow - Math.floor(visible / 2), visible, rowCount);
}

export function clampTop(top, visible, rowCount) {
  return Math.max(0, Math.min(top, rowCount - visible));
}
