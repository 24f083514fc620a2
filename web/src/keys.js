// The desktop program's keys. The browser's own meaning of these keys (reload, caret
// browsing, full screen, find again) gives way to them while the page has the focus.
const kKeys = {
  F2: 'bp', F3: 'setPR', F5: 'go', F7: 'assemble', F8: 'register', F9: 'trace', F10: 'pass', F11: 'toCursor',
  'Ctrl+F5': 'restart', 'Shift+F9': 'back', 'Ctrl+N': 'new', 'Ctrl+O': 'open', 'Ctrl+S': 'save',
  F6: 'nextPane', 'Shift+F6': 'prevPane', F1: 'manual',
};

export function keyName(event) {
  const key = event.key.length === 1 ? event.key.toUpperCase() : event.key;
  return (event.ctrlKey || event.metaKey ? 'Ctrl+' : '') + (event.shiftKey ? 'Shift+' : '') + (event.altKey ? 'Alt+' : '') + key;
}

export function commandForKey(event) {
  return kKeys[keyName(event)] || null;
}
