// A scrolling pane of many equal rows (the listing's 400,000, the dump's 8192) that keeps
// only the rows on the screen in the page. The rows' contents come from the worker: the
// pane says which rows it shows (onScroll) and draws what it is given (show).
export const kRowHeight = 18;

export class VirtualRows {
  constructor(element, { renderRow, onScroll }) {
    this.element = element;
    this.renderRow = renderRow;
    this.onScroll = onScroll;
    this.count = 0;
    this.top = 0;
    this.spacer = document.createElement('div');
    this.spacer.className = 'vr-spacer';
    this.body = document.createElement('div');
    this.body.className = 'vr-body';
    element.append(this.spacer, this.body);
    element.addEventListener('scroll', () => {
      const top = Math.floor(element.scrollTop / kRowHeight);
      if (top !== this.top) {
        this.top = top;
        this.onScroll(top);
      }
    });
    // The height is kept as the observer tells it: reading it after a change of the page
    // would make the browser lay the page out at once, in the middle of a command.
    this.height = 0;
    new ResizeObserver(([entry]) => {
      this.height = entry.contentRect.height;
      this.onScroll(this.top);
    }).observe(element);
  }

  // Rows that fit, and one more for the part of a row at the bottom.
  visibleRows() { return Math.max(1, Math.ceil(this.height / kRowHeight)); }
  fullRows() { return Math.max(1, Math.floor(this.height / kRowHeight)); }

  setCount(count) {
    if (count === this.count) return;
    this.count = count;
    this.spacer.style.height = `${count * kRowHeight}px`;
  }

  scrollToRow(top) {
    top = Math.max(0, Math.min(top, this.count - this.fullRows()));
    this.top = top;
    this.element.scrollTop = top * kRowHeight;
  }

  // Makes the row visible, moving as little as needed.
  reveal(row) {
    const full = this.fullRows();
    if (row < this.top) this.scrollToRow(row);
    else if (row >= this.top + full) this.scrollToRow(row - full + 1);
    else return false;
    return true;
  }

  show(first, rows) {
    this.body.style.transform = `translateY(${first * kRowHeight}px)`;
    const children = this.body.children;
    rows.forEach((row, i) => {
      let element = children[i];
      if (!element) {
        element = document.createElement('div');
        element.className = 'vr-row';
        this.body.append(element);
      }
      this.renderRow(element, row, first + i);
    });
    while (children.length > rows.length) children[children.length - 1].remove();
  }
}
