// The bars between the page's panes, as the desktop window's splitters: a drag or the
// arrow keys size the pane on one side of the bar; a double click gives the page's own
// size back. Sizes are kept in localStorage, so that the page opens as the student left it.
const kKey = 'zelkora.layout';
const kStep = 16;

function storedSizes() {
  try { return JSON.parse(localStorage.getItem(kKey) || '{}') || {}; } catch { return {}; }
}

function storeSize(name, size) {
  const sizes = storedSizes();
  if (size === null) delete sizes[name];
  else sizes[name] = Math.round(size);
  try { localStorage.setItem(kKey, JSON.stringify(sizes)); } catch { /* kept for this visit only */ }
}

// bar: the separator, a grid item between the two panes of its parent's columns (vertical)
// or rows. The sized pane is the one before the bar or after it; template(size) gives the
// parent's tracks with that size; min and minOther keep both panes usable.
export function makeSplitter({ name, bar, vertical, sized, template, min = 60, minOther = 60 }) {
  const container = bar.parentElement;
  const pane = sized === 'before' ? bar.previousElementSibling : bar.nextElementSibling;
  const other = sized === 'before' ? bar.nextElementSibling : bar.previousElementSibling;
  const property = vertical ? 'gridTemplateColumns' : 'gridTemplateRows';
  const extent = (element) => (vertical ? element.getBoundingClientRect().width : element.getBoundingClientRect().height);
  bar.setAttribute('role', 'separator');
  bar.setAttribute('aria-orientation', vertical ? 'vertical' : 'horizontal');
  bar.tabIndex = 0;

  const apply = (size, keep = true) => {
    const room = extent(pane) + extent(other);
    const clamped = Math.max(min, Math.min(size, room - minOther));
    container.style[property] = template(Math.round(clamped));
    bar.setAttribute('aria-valuenow', String(Math.round(clamped)));
    if (keep) storeSize(name, clamped);
  };
  const stored = storedSizes()[name];
  if (typeof stored === 'number' && stored > 0) container.style[property] = template(stored);

  bar.addEventListener('pointerdown', (event) => {
    if (event.button !== 0) return;
    event.preventDefault();
    bar.setPointerCapture(event.pointerId);
    const start = vertical ? event.clientX : event.clientY;
    const first = extent(pane);
    const sign = sized === 'before' ? 1 : -1;
    bar.classList.add('dragging');
    const move = (e) => apply(first + sign * ((vertical ? e.clientX : e.clientY) - start));
    const end = () => {
      bar.classList.remove('dragging');
      bar.removeEventListener('pointermove', move);
      bar.removeEventListener('pointerup', end);
      bar.removeEventListener('pointercancel', end);
    };
    bar.addEventListener('pointermove', move);
    bar.addEventListener('pointerup', end);
    bar.addEventListener('pointercancel', end);
  });
  bar.addEventListener('keydown', (event) => {
    const keys = vertical ? { ArrowLeft: -1, ArrowRight: 1 } : { ArrowUp: -1, ArrowDown: 1 };
    if (!(event.key in keys)) return;
    event.preventDefault();
    apply(extent(pane) + keys[event.key] * (sized === 'before' ? kStep : -kStep));
  });
  bar.addEventListener('dblclick', () => {
    container.style[property] = '';
    bar.removeAttribute('aria-valuenow');
    storeSize(name, null);
  });
}
