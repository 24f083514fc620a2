// The machine's side of the page: loads the core (WebAssembly), keeps one session, and
// answers the page's commands with the state its panes draw. A run goes in slices so
// that Stop, breakpoints and the page's questions are taken between two of them.
import { followTop } from './listing-follow.js';

/* global importScripts, createZelkoraCore */
importScripts('zelkora-core.js');

const kProgressMs = 100; // how often a running machine shows the page its indicator and output
const kStackRows = 64;
const kSliceMs = 10;
// Texts of the string table the page shows before it asks for anything.
const kTextIds = [32771, 32772, 32774, 32775, 32776, 32777, 32778, 32779, 32780, 32783, 32790, 32796, 32797, 32798,
  32799, 32800, 32801, 32810, 32811, 32812, 57600, 57601, 57603, 57345, 3003, 3010, 3011, 3080, 3081, 3082,
  3100, 3101, 3102, 3112];

let core = null;
let session = null;
let run = null; // the open run: {id, view} of the command that started it
let lastProgress = 0;
let outputSent = 0; // device lines the page has been sent during this run

// A message port whose messages come after the page's own: the next slice waits behind them.
const slicePort = new MessageChannel();
slicePort.port1.onmessage = nextSlice;

function post(message) { self.postMessage(message); }

function eventsAndOutput(snap, view) {
  snap.events = session.takeEvents();
  const since = view && typeof view.outputSince === 'number' ? view.outputSince : 0;
  snap.output = session.output(since);
  // A restart or an assembly began the log again: all of it is new.
  if (snap.output.total < since) snap.output = session.output(0);
}

// The state the page draws after a command, for the rows it shows.
function snapshot(view = {}, follow = false) {
  const status = session.runStatus();
  const snap = { status, loaded: session.isLoaded(), canStepBack: session.canStepBack() };
  if (snap.loaded) {
    const size = session.listingSize();
    const prRow = session.prRow();
    const rows = Math.max(0, view.listRows | 0);
    let top = Math.max(0, view.listTop | 0);
    if (follow) top = followTop(top, rows, prRow, size);
    snap.listingSize = size;
    snap.prRow = prRow;
    snap.prLine = prRow >= 0 ? session.listing(prRow, 1)[0].line : 0;
    snap.listTop = top;
    snap.listing = session.listing(top, rows + 1);
    snap.registers = session.registers();
    snap.stack = session.stack(kStackRows);
    if (view.dumpRows) {
      snap.dumpTop = view.dumpTop | 0;
      snap.dump = session.dump((view.dumpTop | 0) * 8, view.dumpRows | 0);
    }
    snap.watches = session.watches();
    if (view.labels) snap.labels = session.labels(view.labels.column | 0, !!view.labels.descending);
  }
  eventsAndOutput(snap, view);
  return snap;
}

function reply(id, result, view, follow) {
  post({ id, result, snap: session ? snapshot(view, follow) : null });
}

// Starts or goes on with a run; the reply comes when it ends (or waits for a line).
function drive(id, view, status) {
  run = { id, view };
  lastProgress = performance.now();
  outputSent = view && typeof view.outputSince === 'number' ? view.outputSince : 0;
  settle(status);
}

function settle(status) {
  if (status.open && status.end === 'paused') {
    const now = performance.now();
    if (now - lastProgress >= kProgressMs) {
      lastProgress = now;
      const output = session.output(outputSent);
      outputSent = output.total;
      post({ type: 'progress', status, output });
    }
    slicePort.port2.postMessage(0);
    return;
  }
  const { id, view } = run;
  run = null;
  reply(id, status, view, true);
}

function nextSlice() {
  if (run) settle(session.continueRun());
}

// Commands that run the machine answer when the run stops; the others at once.
const runCommands = {
  run: (mode, address) => session.run(core[mode], address | 0),
  runToRow: (row) => session.runToRow(row),
  input: (line) => { session.giveInput(line); return session.continueRun(); },
  eof: () => { session.giveEof(); return session.continueRun(); },
};

const commands = {
  openFile(bytes, encoding) { return session.openFile(bytes, encoding || ''); },
  newFile() { session.newFile(); return session.format(); },
  format() { return session.format(); },
  setFileEncoding(encoding) { session.setFileEncoding(encoding); return session.format(); },
  fileBytes(text, otherEnds) { return session.fileBytes(text, otherEnds); },
  assemble(text) { return session.assemble(text); },
  stop() { return session.stop(); },
  toggleBreakpoint(row) { return session.toggleBreakpoint(row); },
  clearBreakpoints() { session.clearBreakpoints(); },
  setPR(row) { return session.setPR(row); },
  restart() { session.restart(); },
  setCaseInput(lines, ends) { session.setCaseInput(lines, ends); },
  stepBack(count) { return session.stepBack(count || 1); },
  backToRunStart() { return session.backToRunStart(); },
  setRegisters(texts, v, s, z) { return session.setRegisters(texts, v, s, z); },
  typeDumpDigit(address, digit, key) { return session.typeDumpDigit(address, digit, key); },
  typeDumpChar(address, key) { return session.typeDumpChar(address, key); },
  addWatch(target, length, format) { return session.addWatch(target, length, format); },
  changeWatch(index, target, length, format) { return session.changeWatch(index, target, length, format); },
  removeWatch(index) { return session.removeWatch(index); },
  rowOfAddress(address) { return session.rowOfAddress(address); },
  traceTableQuestion() { return session.traceTableQuestion(); },
  // A Blob made block by block: the browser may keep a big one on disk, and the module's
  // memory never holds the table whole.
  traceTable() {
    const blocks = [];
    session.writeTraceTable((bytes) => { blocks.push(new Blob([bytes])); return true; });
    return new Blob(blocks, { type: 'text/csv' });
  },
  state() { return null; },
  colour(lines) { return session.colourLines(lines); },
};
// Commands that follow PR in the listing when they are done.
const following = new Set(['stop', 'setPR', 'restart', 'stepBack', 'backToRunStart', 'setRegisters', 'assemble']);
// Commands whose answer needs no pane state.
const bare = new Set(['openFile', 'newFile', 'format', 'setFileEncoding', 'fileBytes', 'rowOfAddress', 'traceTableQuestion', 'traceTable', 'colour']);

self.onmessage = (event) => {
  const { id, cmd, args = [], view } = event.data;
  if (!session) {
    post({ id, error: 'not ready' });
    return;
  }
  try {
    if (runCommands[cmd]) {
      if (run) {
        post({ id, result: null, busy: true });
        return;
      }
      drive(id, view, runCommands[cmd](...args));
      return;
    }
    const result = commands[cmd](...args);
    if (bare.has(cmd)) post({ id, result });
    else reply(id, result, view, following.has(cmd));
  } catch (error) {
    post({ id, error: String(error && error.message || error) });
  }
};

createZelkoraCore().then((module) => {
  core = module;
  session = new module.Session();
  // Short slices: Stop and the page's questions wait at most this long for an answer.
  session.setSliceMs(kSliceMs);
  const texts = {};
  for (const id of kTextIds) texts[id] = module.messageText(id);
  // FR's bits as the register rows' values hold them.
  const flagBits = { overflow: module.FLAG_OF, sign: module.FLAG_SF, zero: module.FLAG_ZF };
  post({ type: 'ready', texts, flagBits });
}, (error) => post({ type: 'failed', error: String(error) }));
