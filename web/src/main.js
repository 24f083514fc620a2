// The page: the desktop simulator window's panes and commands over the core in a Web
// Worker. It draws what the worker's state says and sends commands; the machine, the
// assembler and every value's syntax stay in the core.
import { SessionClient } from './session-client.js';
import { createEditor } from './editor.js';
import { ErrorsPane, ListingPane, OutputPane, drawRegisters, drawStack, drawLabels, drawWatches } from './panes.js';
import { DumpPane } from './dump.js';
import { Messages, registerDialog, watchDialog, nameDialog } from './dialogs.js';
import { readFile, download, sharedSource, shareLink, traceTableName, sortFiles } from './files.js';
import { saveWork, saveWorkNow, loadWork } from './storage.js';
import { commandForKey } from './keys.js';
import { makeDraggable, dropTarget, contextMenu } from './drag-menus.js';
import { ExerciseTests } from './exercise.js';
import { makeSplitter } from './splitters.js';

const kOutputLimit = 1000;
const kNewName = '無題.asm';
const $ = (id) => document.getElementById(id);

const client = new SessionClient('worker.js', window.zelkoraWorker, window.zelkoraEarly);
const messages = new Messages($('messages'));
const state = {
  texts: {},
  snap: null,
  assembled: false, // the simulator shows a program assembled from this file
  running: false, // a run's answer is awaited
  waiting: false, // the run waits for an input line
  work: 'dump',
  labelSort: { column: 0, descending: false },
  watchSelected: new Set(),
  name: kNewName,
  bytes: null, // the file's bytes as opened or last saved
  dirty: false,
  errors: [],
  resultsShown: false, // the error pane lists the tests' results, not the assembly's errors
  labels: [], // the label pane's rows in their order
  timing: { command: '', ms: 0 },
};
window.zelkora = state; // what a test reads: timing and state
Object.defineProperty(state, 'busy', { get: () => client.busy });

const editor = createEditor($('editor'), {
  onChange: () => { markDirty(true); scheduleSave(); },
  onCaret: (line, column) => { $('caret').textContent = `${String(line).padStart(3)}行 / ${String(column).padStart(3)}列`; },
  requestColours: (lines) => client.ready.then(() => client.call('colour', [lines])).then((answer) => answer.result),
});
window.zelkoraEditor = editor.view; // a test types whole programs through it
const listing = new ListingPane($('listing'), { onNeed: refresh, onActivate: (row) => { listing.select(row); command('setPR'); } });
const dump = new DumpPane($('dump'), {
  onNeed: refresh,
  typeDigit: (address, digit, key) => send('typeDumpDigit', [address, digit, key]).then((a) => a.result),
  typeChar: (address, key) => send('typeDumpChar', [address, key]).then((a) => a.result),
});
const output = new OutputPane($('output'), kOutputLimit);
const errorsPane = new ErrorsPane($('errors'), {
  onActivate: (index) => {
    if (state.resultsShown) openCase(index - 1);
    else if (!editor.gotoLine(errorLineNow(index))) messages.beep();
  },
});
const exercise = new ExerciseTests();

makeSplitter({ name: 'source', bar: $('bar-source'), vertical: true, sized: 'before', min: 200, minOther: 300,
  template: (w) => `minmax(0, ${w}px) 6px minmax(300px, 1fr)` });
makeSplitter({ name: 'errors', bar: $('bar-errors'), vertical: false, sized: 'after', min: 40,
  template: (h) => `auto minmax(60px, 1fr) 5px minmax(0, ${h}px)` });
makeSplitter({ name: 'listing', bar: $('bar-listing'), vertical: true, sized: 'before', min: 120, minOther: 120,
  template: (w) => `minmax(0, ${w}px) 5px minmax(120px, 1fr)` });
makeSplitter({ name: 'work', bar: $('bar-work'), vertical: false, sized: 'after', min: 60, minOther: 80,
  template: (h) => `minmax(80px, 1fr) 5px minmax(0, ${h}px)` });

// ---- talking to the worker ------------------------------------------------------------

function view(extra = {}) {
  const v = { ...listing.view(), outputSince: output.total, ...extra };
  if (state.work === 'dump') Object.assign(v, dump.view());
  return v;
}

// A command and the redraw of its answer.
async function send(cmd, args = [], extra = {}) {
  const started = performance.now();
  const answer = await client.call(cmd, args, view(extra));
  if (answer.snap) apply(answer.snap);
  state.timing = { command: cmd, ms: performance.now() - started };
  return answer;
}

let refreshing = false;
let refreshAgain = false;
// Asks again for what the panes show (after a scroll), one request at a time.
async function refresh(extra) {
  if (!state.assembled) return;
  if (refreshing) { refreshAgain = true; return; }
  refreshing = true;
  try {
    await send('state', [], extra);
  } finally {
    refreshing = false;
    if (refreshAgain) { refreshAgain = false; refresh(); }
  }
}

function apply(snap) {
  state.snap = snap;
  for (const event of snap.events || []) {
    if (event.id === 0) messages.beep();
    else messages.show(event.text, event.icon);
  }
  output.take(snap.output);
  if (output.dirty) output.draw();
  state.waiting = !!(snap.status && snap.status.waiting);
  if (snap.loaded && state.assembled) {
    listing.draw(snap);
    drawRegisters($('registers'), snap.registers);
    drawStack($('stack'), snap.stack);
    dump.draw(snap);
    drawWatches($('watches'), snap.watches, state.watchSelected);
    // The labels come only after an assembly or a new order: the pane keeps them between.
    if (snap.labels) {
      state.labels = snap.labels;
      drawLabels($('labels'), snap.labels);
    }
    // The editor follows in the frame that shows the panes: a key held down costs it one
    // update per frame, however many steps the frame shows.
    showPRLine(snap.prLine);
  } else {
    drawWatches($('watches'), snap.watches || [], state.watchSelected);
  }
  showInputBar();
  // A run's own end brings the commands up to date once (redrawing them for the moment it
  // still runs would cost the page two rounds of styles).
  if (!state.running) updateCommands();
}

let prLine = 0;
let prFrame = 0;
function showPRLine(line) {
  prLine = line;
  prFrame ||= requestAnimationFrame(() => {
    prFrame = 0;
    editor.setPRLine(prLine, true);
  });
}

client.onProgress = (progress) => {
  $('indicator').value = progress.status.indicator % 1000;
  output.take(progress.output);
  if (output.dirty && state.work === 'output') requestAnimationFrame(() => output.dirty && output.draw());
};

// ---- commands --------------------------------------------------------------------------

// A run shows itself as running (the busy pointer, the greyed commands, the editor that
// takes no keys) only when it lasts: a trace is over before the eye could see that, and
// changing the page's look for it would cost the trace the time to draw it twice.
const kRunningLookMs = 100;

async function runCommand(cmd, args) {
  state.running = true;
  const look = setTimeout(updateCommands, kRunningLookMs);
  try {
    await send(cmd, args);
  } finally {
    clearTimeout(look);
    state.running = false;
    $('indicator').value = 0; // as the desktop's bar, empty between runs
    updateCommands();
  }
}

function selectedRow() { return listing.selected; }

function selectedExecutable() {
  const row = listing.rows[listing.selected - listing.first];
  return listing.selected >= 0 && (!row || row.executable);
}

async function assemble() {
  messages.clear();
  const answer = await client.call('assemble', [editor.getText()], view({ labels: state.labelSort, listTop: 0 }));
  const { ok, errors } = answer.result;
  state.assembled = ok;
  state.errors = errors;
  drawErrors();
  editor.setErrors(errors.filter((e) => e.line > 0).map((e) => e.line));
  output.clear();
  listing.clear();
  if (ok) dump.showAddress(0x100);
  if (!ok) clearSimulator();
  apply(answer.snap);
  if (ok) refresh({ labels: state.labelSort });
}

function clearSimulator() {
  listing.clear();
  for (const id of ['registers', 'stack', 'labels']) $(id).tBodies[0].replaceChildren();
  state.labels = [];
  $('dump').querySelector('.vr-body').replaceChildren();
  showPRLine(0);
}

function drawErrors() {
  state.resultsShown = false;
  errorsPane.show(state.errors);
}

// ---- tests -----------------------------------------------------------------------------

function showResults() {
  state.resultsShown = true;
  errorsPane.show(exercise.result.lines.map((line) => ({ text: line })));
}

function showTestsName() {
  $('tests-name').textContent = exercise.file ? `ﾃｽﾄ: ${exercise.file.name}` : '';
}

// A bar shows only when the run lasts, as the desktop program's.
const kProgressShowMs = 300;

async function runTests() {
  const { result: format } = await client.call('format');
  let progress = null;
  let last = [0, 0];
  const timer = setTimeout(() => {
    progress = messages.progress(state.texts[3112], () => exercise.cancel());
    progress.step(...last);
  }, kProgressShowMs);
  const running = exercise.run(editor.getText(), format.encoding, (done, total) => {
    last = [done, total];
    if (progress) progress.step(done, total);
  });
  updateCommands();
  try {
    const outcome = await running;
    if (outcome && outcome.message) messages.show(outcome.message, 2);
    else if (outcome) showResults();
  } finally {
    clearTimeout(timer);
    if (progress) progress.close();
    updateCommands();
  }
}

// A case's line opens the simulator with the case's input waiting for IN, as F7 would.
async function openCase(index) {
  const input = exercise.caseInput(index);
  if (!input || !idle()) {
    messages.beep();
    return;
  }
  await assemble();
  if (!state.assembled) return;
  await send('setCaseInput', [input.lines, input.ends]);
  showResults();
}

// The editor line an error is on now: its red dot moved with the lines added or removed.
function errorLineNow(index) {
  const withLines = state.errors.filter((e) => e.line > 0);
  const error = state.errors[index];
  if (!error || error.line <= 0) return 0;
  const order = withLines.indexOf(error);
  return editor.errorLines()[order] || 0;
}

async function openRegisterDialog(focusRow = 0) {
  if (!state.snap || !state.snap.registers) return;
  await registerDialog($('register-dialog'), state.snap.registers, state.flagBits, focusRow,
    (texts, v, s, z) => send('setRegisters', [texts, v, s, z]).then((answer) => answer.result));
  updateCommands();
}

async function openWatchDialog(index, target = '') {
  const existing = index >= 0 ? state.snap.watches[index] : null;
  const title = existing ? 'ｳｫｯﾁの変更' : 'ｳｫｯﾁの新規追加';
  await watchDialog($('watch-dialog'), title, existing || { target, length: 1, format: 0 },
    (target, length, format) => send(existing ? 'changeWatch' : 'addWatch',
      existing ? [index, target, length, format] : [target, length, format]).then((answer) => answer.result),
    () => messages.show(state.texts[3081], 1));
}

async function deleteWatches() {
  const indices = [...state.watchSelected].sort((a, b) => b - a);
  state.watchSelected.clear();
  for (const index of indices) await send('removeWatch', [index]);
}

// F6 and Shift+F6 go round the panes in the order they stand on the screen.
function focusPane(step) {
  const work = { dump: 'dump', watch: 'watches', output: 'output' }[state.work];
  const panes = [editor.view.contentDOM, ...['errors', 'listing', 'registers', 'stack', 'labels', work].map($)];
  const at = panes.findIndex((pane) => pane.contains(document.activeElement));
  panes[(at + step + panes.length) % panes.length].focus();
}

function showWork(work) {
  state.work = work;
  $('work-dump').hidden = work !== 'dump';
  $('work-watch').hidden = work !== 'watch';
  $('work-output').hidden = work !== 'output';
  if (work === 'output') output.draw();
  refresh();
  updateCommands();
}

// ---- files -----------------------------------------------------------------------------

function text(id, ...args) {
  return args.reduce((t, arg, i) => t.replaceAll(`%${i + 1}`, arg), state.texts[id] || '');
}

// Unsaved edits: save them first, drop them, or keep them (false).
async function mayDropEdits() {
  if (!state.dirty) return true;
  const answer = await messages.ask(text(3003, state.name), ['はい', 'いいえ', 'ｷｬﾝｾﾙ']);
  if (answer === 2) return false;
  if (answer === 0) return save();
  return true;
}

function setFileName(name) {
  state.name = name;
  $('file-name').textContent = name;
  document.title = `${name} - Zelkora II`;
}

function markDirty(dirty) {
  state.dirty = dirty;
  $('dirty').textContent = dirty ? ' *' : '';
}

function showFormat(format) { $('format').textContent = format.name; }

function resetSimulator() {
  state.assembled = false;
  state.errors = [];
  drawErrors();
  clearSimulator();
  output.clear();
  updateCommands();
}

async function openBytes(bytes, name, encoding = '') {
  if (bytes.includes(0) && (await messages.ask(text(3080), ['はい', 'いいえ'])) !== 0) return false;
  const { result } = await client.call('openFile', [bytes, encoding]);
  editor.setText(result.text, result.otherEnds);
  state.bytes = bytes;
  setFileName(name);
  showFormat(result.format);
  resetSimulator();
  markDirty(false);
  await saveWork(work(), true);
  return true;
}

async function newFile(initialText = '') {
  const { result } = await client.call('newFile');
  editor.setText(initialText);
  state.bytes = null;
  setFileName(kNewName);
  showFormat(result);
  resetSimulator();
  markDirty(initialText !== '');
  // localStorage has it now; the page need not wait for IndexedDB (on a first visit it
  // makes its database first).
  saveWork(work(), true).catch(() => {});
}

async function save() {
  let { result } = await client.call('fileBytes', [editor.getText(), editor.otherEnds()]);
  if (!result.ok) {
    const answer = await messages.ask(text(3010), ['はい', 'いいえ', 'ｷｬﾝｾﾙ']);
    if (answer === 2) return false;
    if (answer === 0) {
      showFormat((await client.call('setFileEncoding', ['utf8'])).result);
      ({ result } = await client.call('fileBytes', [editor.getText(), editor.otherEnds()]));
    }
  }
  download(result.bytes, state.name);
  state.bytes = result.bytes;
  markDirty(false);
  await saveWork(work(), true);
  return true;
}

async function saveAs() {
  const name = await nameDialog($('name-dialog'), state.name);
  if (name === null) return false;
  setFileName(name);
  return save();
}

async function reopen(encoding) {
  if (!state.bytes) return;
  if (state.dirty && (await messages.ask(text(3011, state.name), ['はい', 'いいえ'])) !== 0) return;
  await openBytes(state.bytes, state.name, encoding);
}

// A program, a test file, or both with the files the tests read.
async function openChosenFiles(files) {
  const { source, tests, beside } = sortFiles(files);
  if (tests) {
    await exercise.take(tests, beside);
    showTestsName();
    updateCommands();
  }
  if (!source || !(await mayDropEdits())) return;
  await openBytes(await readFile(source), source.name);
}

async function saveTraceTable() {
  const { result: question } = await client.call('traceTableQuestion');
  if (question && (await messages.ask(question, ['OK', 'ｷｬﾝｾﾙ'])) !== 0) return;
  const { result } = await client.call('traceTable');
  download(result, traceTableName(state.name), 'text/csv');
}

async function share() {
  const link = shareLink(editor.getText());
  try { await navigator.clipboard.writeText(link); } catch { /* the link shows below all the same */ }
  messages.show(text(3100, link), 0).classList.add('share');
}

function work() {
  return { text: editor.getText(), name: state.name, otherEnds: editor.otherEnds(), dirty: state.dirty, saved: Date.now(), bytes: state.bytes };
}

let saveTimer = 0;
function scheduleSave() {
  clearTimeout(saveTimer);
  saveWorkNow(work());
  saveTimer = setTimeout(() => saveWork(work(), false), 400);
}
addEventListener('pagehide', () => saveWorkNow(work()));

// ---- the command table -----------------------------------------------------------------

const idle = () => !state.running && !state.waiting;
const loaded = () => idle() && state.assembled;
const commands = {
  new: { enabled: idle, run: async () => { if (await mayDropEdits()) await newFile(); } },
  open: { enabled: idle, run: () => $('file-input').click() },
  save: { enabled: idle, run: save },
  saveAs: { enabled: idle, run: saveAs },
  reopenSjis: { enabled: () => idle() && !!state.bytes, run: () => reopen('sjis') },
  reopenUtf8: { enabled: () => idle() && !!state.bytes, run: () => reopen('utf8') },
  traceTable: { enabled: loaded, run: saveTraceTable },
  share: { enabled: () => true, run: share },
  assemble: { enabled: idle, run: assemble },
  runTests: { enabled: () => idle() && exercise.present && !exercise.running, run: runTests },
  restart: { enabled: loaded, run: () => send('restart') },
  go: { enabled: loaded, run: () => runCommand('run', ['RUN_GO']) },
  trace: { enabled: loaded, run: () => runCommand('run', ['RUN_TRACE']) },
  pass: { enabled: loaded, run: () => runCommand('run', ['RUN_PASS']) },
  toCursor: { enabled: () => loaded() && selectedExecutable(), run: () => runCommand('runToRow', [selectedRow()]) },
  stop: { enabled: () => state.running || state.waiting, run: () => send('stop') },
  back: { enabled: () => loaded() && !!state.snap?.canStepBack, run: () => send('stepBack', [1]) },
  backToStart: { enabled: () => loaded() && !!state.snap?.canStepBack, run: () => send('backToRunStart') },
  register: { enabled: loaded, run: () => openRegisterDialog(0) },
  bp: { enabled: () => loaded() && selectedExecutable(), run: () => send('toggleBreakpoint', [selectedRow()]) },
  bpClear: { enabled: loaded, run: () => send('clearBreakpoints') },
  setPR: { enabled: () => loaded() && selectedRow() >= 0, run: () => send('setPR', [selectedRow()]) },
  watchAdd: { enabled: () => idle() && state.work === 'watch', run: () => openWatchDialog(-1) },
  watchChange: { enabled: () => idle() && state.watchSelected.size === 1, run: () => openWatchDialog([...state.watchSelected][0]) },
  watchDelete: { enabled: () => idle() && state.watchSelected.size > 0, run: deleteWatches },
  manual: { enabled: () => true, run: () => window.open('help/zelkora.htm', '_blank', 'noopener') },
  nextPane: { enabled: () => true, run: () => focusPane(1) },
  prevPane: { enabled: () => true, run: () => focusPane(-1) },
  viewDump: { enabled: () => true, run: () => showWork('dump'), checked: () => state.work === 'dump' },
  viewWatch: { enabled: () => true, run: () => showWork('watch'), checked: () => state.work === 'watch' },
  viewOutput: { enabled: () => true, run: () => showWork('output'), checked: () => state.work === 'output' },
};

async function command(name) {
  const entry = commands[name];
  if (!entry || !entry.enabled()) return;
  for (const menu of document.querySelectorAll('details.menu[open]')) menu.open = false;
  try {
    await entry.run();
  } catch (error) {
    messages.show(String(error.message || error), 2);
  }
}

let readOnly = false;
const commandButtons = document.querySelectorAll('[data-cmd]');
function updateCommands() {
  document.body.classList.toggle('running', state.running);
  if (readOnly !== (state.running || state.waiting)) {
    readOnly = !readOnly;
    editor.setReadOnly(readOnly);
  }
  // Only what changed is touched: every change of the page's elements costs a new layout.
  for (const button of commandButtons) {
    const entry = commands[button.dataset.cmd];
    const disabled = !entry.enabled();
    if (button.disabled !== disabled) button.disabled = disabled;
    if (entry.checked) {
      const attribute = button.closest('.toolbar') ? 'aria-pressed' : 'aria-checked';
      const on = String(entry.checked());
      if (button.getAttribute(attribute) !== on) button.setAttribute(attribute, on);
    }
  }
  const status = state.texts[state.running ? 3101 : state.waiting ? 3102 : 57345] || '';
  if ($('status-text').textContent !== status) $('status-text').textContent = status;
}

function showInputBar() {
  const bar = $('input-bar');
  const was = !bar.hidden;
  if (was !== state.waiting) bar.hidden = !state.waiting;
  if (state.waiting && !was) {
    $('input-line').value = '';
    $('input-line').focus();
  }
}

// ---- wiring ----------------------------------------------------------------------------

for (const button of document.querySelectorAll('[data-cmd]')) {
  button.addEventListener('click', () => command(button.dataset.cmd));
}
document.addEventListener('click', (event) => {
  for (const menu of document.querySelectorAll('details.menu[open]')) if (!menu.contains(event.target)) menu.open = false;
});

document.addEventListener('keydown', (event) => {
  if (document.querySelector('dialog[open]')) return;
  const name = commandForKey(event);
  if (!name) return;
  event.preventDefault();
  // While a run goes on, keys do nothing (only the Stop button stops it).
  if (state.running) return;
  command(name);
}, true);

$('file-input').addEventListener('change', (event) => {
  const files = [...event.target.files];
  event.target.value = '';
  openChosenFiles(files);
});

addEventListener('dragover', (event) => { event.preventDefault(); document.body.classList.add('dragging'); });
addEventListener('dragleave', (event) => { if (!event.relatedTarget) document.body.classList.remove('dragging'); });
addEventListener('drop', (event) => {
  event.preventDefault();
  document.body.classList.remove('dragging');
  if (idle()) openChosenFiles([...event.dataTransfer.files]);
});

$('input-bar').addEventListener('submit', (event) => {
  event.preventDefault();
  if (!state.waiting) return;
  const line = $('input-line').value;
  $('input-line').value = '';
  runCommand('input', [line]);
});
$('input-eof').addEventListener('click', () => { if (state.waiting) runCommand('eof'); });

$('registers').addEventListener('dblclick', (event) => {
  const row = event.target.closest('tbody tr');
  if (row && loaded()) openRegisterDialog(Number(row.dataset.index));
});

$('labels').tHead.addEventListener('click', (event) => {
  const th = event.target.closest('th[data-sort]');
  if (!th) return;
  const column = Number(th.dataset.sort);
  const sort = state.labelSort;
  sort.descending = sort.column === column ? !sort.descending : false;
  sort.column = column;
  for (const header of $('labels').tHead.rows[0].cells) header.removeAttribute('aria-sort');
  th.setAttribute('aria-sort', sort.descending ? 'descending' : 'ascending');
  refresh({ labels: sort });
});
// A label's double click shows its statement in the listing and its word in the dump.
$('labels').tBodies[0].addEventListener('dblclick', async (event) => {
  const row = event.target.closest('tr');
  const label = row && state.labels[Number(row.dataset.index)];
  if (!label) return;
  await showLabelInListing(label);
  dump.showAddress(label.value);
  refresh();
});

async function showLabelInListing(label) {
  const { result } = await client.call('rowOfAddress', [label.value]);
  if (result >= 0) { listing.select(result); listing.list.reveal(result); }
}

makeDraggable($('labels').tBodies[0], (i) => state.labels[i] && { type: 'label', ...state.labels[i] });
// GR0-GR7 and SP: their values are addresses; PR and FR are not dragged.
makeDraggable($('registers').tBodies[0], (i) => i < 9 && state.snap?.registers && {
  type: 'register', name: state.snap.registers[i].name, value: state.snap.registers[i].value,
});
dropTarget($('listing'), ['label'], (label) => showLabelInListing(label).then(refresh));
dropTarget($('dump'), ['label', 'register'], (item) => { dump.showAddress(item.value); refresh(); });
dropTarget($('work-watch'), ['label', 'register'], (item) => {
  if (idle()) openWatchDialog(-1, item.type === 'label' ? item.name : `$${item.name}`);
});

const menuLabel = (name) => document.querySelector(`.menubar [data-cmd="${name}"]`).innerHTML;
const menuOptions = { labelOf: menuLabel, run: command, enabled: (name) => commands[name].enabled() };
contextMenu($('listing'), ['bp', 'setPR', 'toCursor', 'restart'], menuOptions);
contextMenu($('work-watch'), ['watchAdd', 'watchChange', 'watchDelete'], menuOptions);

$('watches').tBodies[0].addEventListener('click', (event) => {
  const row = event.target.closest('tr');
  if (!row) return;
  const index = Number(row.dataset.index);
  if (!(event.ctrlKey || event.shiftKey)) state.watchSelected.clear();
  if (state.watchSelected.has(index) && (event.ctrlKey || event.shiftKey)) state.watchSelected.delete(index);
  else state.watchSelected.add(index);
  drawWatches($('watches'), state.snap?.watches || [], state.watchSelected);
  updateCommands();
});
$('watches').tBodies[0].addEventListener('dblclick', (event) => {
  const row = event.target.closest('tr');
  if (row && idle()) openWatchDialog(Number(row.dataset.index));
});

// ---- start -----------------------------------------------------------------------------

async function restore() {
  const shared = sharedSource(location.hash);
  if (location.hash.startsWith('#src=')) history.replaceState(null, '', location.pathname + location.search);
  const stored = await storedWork;
  if (shared !== null) {
    if (stored && stored.dirty && stored.text !== shared) await restoreStored(stored);
    await openShared(shared);
    return;
  }
  if (stored) await restoreStored(stored);
  else await newFile();
}

async function restoreTests() {
  await exercise.restore();
  showTestsName();
}

// A share link's program replaces the editor's text, unsaved edits only after the question.
async function openShared(shared) {
  if (state.dirty && editor.getText() !== shared && !(await mayDropEdits())) return;
  await newFile(shared);
}

// A link pasted into the address bar of the open page changes only the fragment.
addEventListener('hashchange', () => {
  const shared = sharedSource(location.hash);
  if (!location.hash.startsWith('#src=')) return;
  history.replaceState(null, '', location.pathname + location.search);
  if (shared !== null && idle() && document.body.dataset.ready) openShared(shared);
});

async function restoreStored(stored) {
  if (stored.bytes) {
    const { result } = await client.call('openFile', [stored.bytes, '']);
    showFormat(result.format);
  } else {
    showFormat((await client.call('newFile')).result);
  }
  editor.setText(stored.text, stored.otherEnds || []);
  state.bytes = stored.bytes;
  setFileName(stored.name || kNewName);
  markDirty(!!stored.dirty);
}

performance.mark('zelkora-script');
// Read while the core loads.
const storedWork = loadWork().catch(() => null);
client.ready.then(async ({ texts, flagBits }) => {
  performance.mark('zelkora-core');
  state.texts = texts;
  state.flagBits = flagBits;
  for (const button of document.querySelectorAll('.toolbar [data-text]')) {
    const [tip, short] = (texts[button.dataset.text] || '').split('\n');
    button.setAttribute('aria-label', short || tip);
    button.title = short || tip;
  }
  await Promise.all([restore(), restoreTests()]);
  performance.mark('zelkora-restored');
  showWork('dump');
  updateCommands();
  performance.mark('zelkora-ready');
  document.body.dataset.ready = '1';
  keepOffline();
}, (error) => messages.show(`WebAssembly を読み込めませんでした: ${error.message}`, 2));

// After the page is ready: the service worker fetches every file of the page as it installs,
// which would otherwise compete with the page's own loading.
function keepOffline() {
  if (!('serviceWorker' in navigator) || location.protocol === 'file:') return;
  navigator.serviceWorker.register('sw.js').catch(() => { /* no offline copy: the page works all the same */ });
}
