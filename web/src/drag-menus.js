// Labels and registers dragged onto the listing, the dump and the watches, as in the
// desktop program, and the panes' context menus.
const kLabelType = 'application/x-zelkora-label';
const kRegisterType = 'application/x-zelkora-register';

// what(row) gives {type, name, value} (value: the address it stands for) for a dragged row, or null (PR and FR stay put).
export function makeDraggable(tbody, what) {
  tbody.addEventListener('dragstart', (event) => {
    const row = event.target.closest('tr');
    const item = row && what(Number(row.dataset.index));
    if (!item) { event.preventDefault(); return; }
    event.dataTransfer.setData(item.type === 'label' ? kLabelType : kRegisterType, JSON.stringify(item));
    event.dataTransfer.effectAllowed = 'copy';
  });
  const mark = () => { for (const row of tbody.rows) if (!row.draggable) row.draggable = true; };
  new MutationObserver(mark).observe(tbody, { childList: true });
}

// onDrop(item) for the kinds the target takes ('label', 'register').
export function dropTarget(element, kinds, onDrop) {
  const types = kinds.map((kind) => (kind === 'label' ? kLabelType : kRegisterType));
  const taken = (event) => types.find((type) => event.dataTransfer.types.includes(type));
  element.addEventListener('dragover', (event) => {
    if (!taken(event)) return;
    event.preventDefault();
    event.stopPropagation();
    event.dataTransfer.dropEffect = 'copy';
  });
  element.addEventListener('drop', (event) => {
    const type = taken(event);
    if (!type) return;
    event.preventDefault();
    event.stopPropagation();
    onDrop(JSON.parse(event.dataTransfer.getData(type)));
  });
}

// A context menu of commands (from the page's menus, by name) at the pointer.
export function contextMenu(element, names, { labelOf, run, enabled }) {
  element.addEventListener('contextmenu', (event) => {
    event.preventDefault();
    document.querySelector('.context-menu')?.remove();
    const menu = document.createElement('div');
    menu.className = 'menu-items context-menu';
    menu.setAttribute('role', 'menu');
    for (const name of names) {
      const item = document.createElement('button');
      item.type = 'button';
      item.setAttribute('role', 'menuitem');
      item.innerHTML = labelOf(name);
      item.disabled = !enabled(name);
      item.onclick = () => { menu.remove(); run(name); };
      menu.append(item);
    }
    menu.style.left = `${event.clientX}px`;
    menu.style.top = `${event.clientY}px`;
    document.body.append(menu);
    menu.querySelector('button:not(:disabled)')?.focus();
    const close = (e) => {
      if (menu.contains(e.target) && e.type !== 'keydown') return;
      if (e.type === 'keydown' && e.key !== 'Escape') return;
      menu.remove();
      removeEventListener('mousedown', close, true);
      removeEventListener('keydown', close, true);
    };
    addEventListener('mousedown', close, true);
    addEventListener('keydown', close, true);
  });
}
