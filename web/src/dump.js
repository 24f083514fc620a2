// The memory dump: all 64K words, eight a row, with a caret that types into memory in
// place, a hexadecimal digit into a word or a character as a word. What a key means is
// the core's to say; the pane only moves its caret when the core took the key.
import { VirtualRows } from './virtual-rows.js';

export const kDumpRows = 0x10000 / 8;

export class DumpPane {
  constructor(element, { onNeed, typeDigit, typeChar }) {
    this.element = element;
    this.caret = { address: 0x100, digit: 0, chr: false };
    this.rows = [];
    this.first = 0;
    this.typing = Promise.resolve();
    this.list = new VirtualRows(element, { onScroll: () => onNeed(), renderRow: (row, data, index) => this.renderRow(row, data, index) });
    this.list.setCount(kDumpRows);
    element.tabIndex = 0;
    element.setAttribute('role', 'grid');
    element.addEventListener('mousedown', (event) => {
      const target = event.target.closest('[data-address]');
      if (!target) return;
      this.caret = { address: Number(target.dataset.address), digit: Number(target.dataset.digit || 0), chr: 'chr' in target.dataset };
      this.redraw();
    });
    element.addEventListener('keydown', (event) => {
      if (event.ctrlKey || event.altKey || event.metaKey) return;
      // Keys pressed quickly take effect one after another, each where the one before left the caret.
      const { caret } = this;
      const moves = {
        ArrowLeft: () => this.moveDigit(-1), ArrowRight: () => this.moveDigit(1),
        ArrowUp: () => this.moveWord(-8), ArrowDown: () => this.moveWord(8),
        Tab: () => { caret.chr = !caret.chr; caret.digit = 0; },
        PageUp: () => this.page(-8), PageDown: () => this.page(8),
        Home: () => this.jump(0), End: () => this.jump(kDumpRows - 1),
      };
      if (moves[event.key]) {
        event.preventDefault();
        this.typing = this.typing.then(() => {
          moves[event.key]();
          if (!this.reveal()) this.redraw();
          onNeed();
        });
        return;
      }
      if (event.key.length !== 1) return;
      event.preventDefault();
      const key = event.key;
      this.typing = this.typing.then(async () => {
        const at = { ...this.caret };
        const taken = at.chr ? await typeChar(at.address, key) : await typeDigit(at.address, at.digit, key);
        if (taken && this.caret.address === at.address && this.caret.digit === at.digit && this.caret.chr === at.chr) {
          if (at.chr) this.moveWord(1);
          else this.moveDigit(1);
          this.reveal();
          onNeed();
        }
      });
    });
  }

  moveDigit(step) {
    const { caret } = this;
    if (caret.chr) return this.moveWord(step);
    const position = caret.address * 4 + caret.digit + step;
    if (position < 0 || position >= 0x40000) return;
    caret.address = position >> 2;
    caret.digit = position & 3;
  }

  moveWord(step) {
    const address = this.caret.address + step;
    if (address >= 0 && address <= 0xFFFF) this.caret.address = address;
  }

  page(rows) {
    this.list.scrollToRow(this.list.top + rows);
    this.moveWord(rows * 8);
  }

  jump(row) {
    this.list.scrollToRow(row);
    this.caret.address = row * 8 + (this.caret.address & 7);
  }

  reveal() { return this.list.reveal(this.caret.address >> 3); }

  showAddress(address) {
    this.caret = { address, digit: 0, chr: false };
    this.list.scrollToRow(address >> 3);
  }

  view() { return { dumpTop: this.list.top, dumpRows: this.list.visibleRows() }; }

  draw(snap) {
    if (!snap.dump) return;
    this.first = snap.dumpTop;
    this.rows = snap.dump;
    this.redraw();
  }

  redraw() { this.list.show(this.first, this.rows); }

  renderRow(row, data, index) {
    const base = index * 8;
    if (row.dataset.base !== String(base) || !row.firstChild) {
      row.dataset.base = base;
      const parts = [document.createElement('span'), document.createTextNode(' : ')];
      parts[0].className = 'addr';
      for (let k = 0; k < 8; ++k) {
        const word = document.createElement('span');
        word.className = 'word';
        for (let d = 0; d < 4; ++d) {
          const digit = document.createElement('span');
          digit.dataset.address = base + k;
          digit.dataset.digit = d;
          word.append(digit);
        }
        parts.push(word, document.createTextNode(' '));
      }
      parts.push(document.createTextNode(' : '));
      for (let k = 0; k < 8; ++k) {
        const chr = document.createElement('span');
        chr.className = 'chr';
        chr.dataset.address = base + k;
        chr.dataset.chr = '';
        parts.push(chr);
      }
      row.replaceChildren(...parts);
      row.className = 'vr-row dump-row';
    }
    if (row.firstChild.textContent !== data.address) row.firstChild.textContent = data.address;
    const words = row.querySelectorAll('.word');
    const chars = row.querySelectorAll('.chr');
    const { caret } = this;
    for (let k = 0; k < 8; ++k) {
      const changed = (data.changed >> k & 1) === 1;
      const here = caret.address === base + k;
      if (words[k].classList.contains('changed') !== changed) {
        words[k].classList.toggle('changed');
        chars[k].classList.toggle('changed');
      }
      for (let d = 0; d < 4; ++d) {
        const digit = words[k].children[d];
        const text = data.digits[k * 4 + d];
        if (digit.textContent !== text) digit.textContent = text;
        const on = here && !caret.chr && caret.digit === d;
        if (digit.classList.contains('caret') !== on) digit.classList.toggle('caret');
      }
      if (chars[k].textContent !== data.characters[k]) chars[k].textContent = data.characters[k];
      if (chars[k].classList.contains('caret') !== (here && caret.chr)) chars[k].classList.toggle('caret');
    }
  }
}
