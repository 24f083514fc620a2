// The simulator's panes, drawn from the state the worker sends: they hold no machine
// state of their own, only what is on the screen, the selection and the scroll place.
import { VirtualRows } from './virtual-rows.js';

function cells(element, count, tag = 'span') {
  if (element.childElementCount !== count) {
    element.replaceChildren(...Array.from({ length: count }, () => document.createElement(tag)));
  }
  return element.children;
}

// Elements are written only where they change: every write makes the browser work out
// the styles again, and a step changes only a few cells.
function setText(element, text) {
  if (element.textContent !== text) element.textContent = text;
}

function setClass(element, name) {
  if (element.className !== name) element.className = name;
}

function setData(element, key, value) {
  if (element.dataset[key] !== String(value)) element.dataset[key] = value;
}

// The listing: ADDR and the source line, the PR arrow, breakpoints, the last-run tint.
export class ListingPane {
  constructor(element, { onNeed, onActivate }) {
    this.selected = -1;
    this.rows = [];
    this.first = 0;
    this.list = new VirtualRows(element, {
      onScroll: () => onNeed(),
      renderRow: (row, data, index) => {
        const [mark, address, source] = cells(row, 3);
        setClass(row, 'vr-row' + (index === this.selected ? ' selected' : '') + (data.lastRun ? ' last-run' : ''));
        setData(row, 'row', index);
        if (row.getAttribute('aria-selected') !== String(index === this.selected)) row.setAttribute('aria-selected', index === this.selected);
        setClass(mark, 'mark' + (data.breakpoint ? ' bp' : '') + (data.pr ? ' pr' : ''));
        setText(address, data.address);
        setText(source, data.source);
      },
    });
    element.setAttribute('role', 'listbox');
    element.tabIndex = 0;
    element.addEventListener('mousedown', (event) => {
      const row = event.target.closest('.vr-row');
      if (row) this.select(Number(row.dataset.row));
    });
    element.addEventListener('dblclick', (event) => {
      const row = event.target.closest('.vr-row');
      if (row) onActivate(Number(row.dataset.row));
    });
    element.addEventListener('keydown', (event) => {
      const step = { ArrowUp: -1, ArrowDown: 1, PageUp: -this.list.fullRows(), PageDown: this.list.fullRows() }[event.key];
      if (step === undefined && event.key !== 'Home' && event.key !== 'End') return;
      event.preventDefault();
      const from = this.selected < 0 ? this.list.top : this.selected;
      const to = event.key === 'Home' ? 0 : event.key === 'End' ? this.list.count - 1 : from + step;
      this.select(Math.max(0, Math.min(this.list.count - 1, to)));
      if (this.list.reveal(this.selected)) onNeed();
    });
  }

  select(row) {
    this.selected = row;
    this.redraw();
  }

  view() { return { listTop: this.list.top, listRows: this.list.visibleRows() }; }

  draw(snap) {
    this.list.setCount(snap.listingSize);
    if (snap.listTop !== this.list.top) this.list.scrollToRow(snap.listTop);
    this.first = snap.listTop;
    this.rows = snap.listing;
    this.redraw();
  }

  redraw() { this.list.show(this.first, this.rows); }

  clear() {
    this.selected = -1;
    this.rows = [];
    this.list.setCount(0);
    this.redraw();
  }
}

// The assembly's errors, one a row; a file of many wrong lines keeps only the rows on the screen.
export class ErrorsPane {
  constructor(element, { onActivate }) {
    this.errors = [];
    this.selected = -1;
    this.list = new VirtualRows(element, {
      onScroll: () => this.redraw(),
      renderRow: (row, error, index) => {
        setClass(row, 'vr-row' + (index === this.selected ? ' selected' : ''));
        setData(row, 'row', index);
        if (!row.hasAttribute('role')) row.setAttribute('role', 'listitem');
        setText(row, error.text);
        // A long reason runs past the pane's edge: the pointer shows it whole.
        if (row.title !== error.text) row.title = error.text;
      },
    });
    element.setAttribute('role', 'list');
    element.tabIndex = 0;
    element.addEventListener('mousedown', (event) => {
      const row = event.target.closest('.vr-row');
      if (!row) return;
      this.selected = Number(row.dataset.row);
      this.redraw();
    });
    element.addEventListener('dblclick', (event) => {
      const row = event.target.closest('.vr-row');
      if (row) onActivate(Number(row.dataset.row));
    });
    // The keys do what the mouse does: arrows select, Enter is the double click.
    element.addEventListener('keydown', (event) => {
      const step = { ArrowUp: -1, ArrowDown: 1 }[event.key];
      if (step !== undefined && this.errors.length) {
        this.selected = Math.max(0, Math.min(this.errors.length - 1, this.selected + step));
        this.list.reveal(this.selected);
        this.redraw();
      } else if (event.key === 'Enter' && this.selected >= 0) {
        onActivate(this.selected);
      } else {
        return;
      }
      event.preventDefault();
    });
  }

  show(errors) {
    this.errors = errors;
    this.selected = -1;
    this.list.setCount(errors.length);
    this.list.scrollToRow(0);
    this.redraw();
  }

  redraw() {
    const first = this.list.top;
    this.list.show(first, this.errors.slice(first, first + this.list.visibleRows()));
  }
}

// A table of a few rows redrawn in place; changed cells in red.
function drawTable(tbody, rows, columns, changed) {
  while (tbody.rows.length > rows.length) tbody.deleteRow(-1);
  rows.forEach((data, i) => {
    const row = tbody.rows[i] || tbody.insertRow();
    while (row.cells.length < columns.length) row.append(document.createElement(row.cells.length ? 'td' : 'th'));
    columns.forEach((column, c) => setText(row.cells[c], data[column] ?? ''));
    if (row.classList.contains('changed') !== changed(data)) row.classList.toggle('changed');
    setData(row, 'index', i);
  });
}

export const registerColumns = ['name', 'hex', 'signed', 'unsigned', 'binary', 'character'];

export function drawRegisters(table, rows) {
  const body = table.tBodies[0];
  drawTable(body, rows, registerColumns, (row) => row.changed);
  for (const row of body.rows) if (!row.cells[0].hasAttribute('scope')) row.cells[0].setAttribute('scope', 'row');
}

export function drawStack(table, rows) {
  drawTable(table.tBodies[0], rows, ['address', 'value'], (row) => row.changed);
  const top = table.tBodies[0].rows[0];
  if (top && !top.classList.contains('sp')) top.classList.add('sp');
}

export function drawLabels(table, rows) { drawTable(table.tBodies[0], rows, ['name', 'address'], () => false); }

const kWatchFormatNames = ['16進数', '符号付10進数', '符号無10進数', '2進数', '文字'];
export function drawWatches(table, rows, selected) {
  const body = table.tBodies[0];
  drawTable(body, rows.map((row) => ({ ...row, format: kWatchFormatNames[row.format] })), ['target', 'value'],
    (row) => row.changed);
  for (const row of body.rows) {
    const on = selected.has(Number(row.dataset.index));
    if (row.classList.contains('selected') !== on) row.classList.toggle('selected');
  }
}

// The output: the newest lines only, as the desktop pane keeps them.
export class OutputPane {
  constructor(element, limit) {
    this.element = element;
    this.limit = limit;
    this.lines = [];
    this.total = 0; // device lines of the session's log taken so far
  }

  clear() {
    this.lines = [];
    this.total = 0;
    this.draw();
  }

  // output: {total, lines} since this.total; a smaller total means the log began again.
  take(output) {
    if (!output) return;
    if (output.total < this.total) this.total = 0;
    const fresh = output.total - this.total;
    if (fresh <= 0) return;
    const lines = output.lines.slice(-Math.min(fresh, output.lines.length));
    this.lines = this.lines.concat(lines).slice(-this.limit);
    this.total = output.total;
    this.dirty = true;
  }

  draw() {
    this.dirty = false;
    this.element.textContent = this.lines.join('\n');
    this.element.scrollTop = this.element.scrollHeight;
  }
}
