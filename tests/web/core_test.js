// The core in WebAssembly as the page's worker drives it: the session under node.
// usage: node tests/web/core_test.js [DIR]   (DIR holds zelkora-core.js and .wasm; default
// build/web/src/web). Exit status 77 (skipped) when the web build has not been made.
'use strict';
const fs = require('fs');
const path = require('path');
const test = require('node:test');
const assert = require('node:assert/strict');

const dir = path.resolve(process.argv[2] || path.join(__dirname, '../../build/web/src/web'));
if (!fs.existsSync(path.join(dir, 'zelkora-core.wasm'))) {
  console.log(`no web build in ${dir} (cmake --preset web && cmake --build --preset web): skipped`);
  process.exit(77);
}
// The module's own loader would fetch the file, which node's fetch cannot take from a path.
const corePromise = require(path.join(dir, 'zelkora-core.js'))({
  wasmBinary: fs.readFileSync(path.join(dir, 'zelkora-core.wasm')),
});

const MSG = { ASSEMBLE_OK: 900, STOPPED_BY_USER: 901, PROGRAM_END: 902, ASSEMBLE_ERRORS: 1000, REGISTER_VALUE_BAD: 1002,
  WATCH_TARGET_ADDRESS: 1003 };

// Rows:      0 MAIN START, 1 LAD, 2 CALL, 3 ST, 4 IN, 5 OUT, 6 IN, 7 RET, 8 SUB ADDA, 9 RET, ...
const PROGRAM = [
  'MAIN\tSTART', '\tLAD\tGR1,3', '\tCALL\tSUB', '\tST\tGR1,RESULT', '\tIN\tBUF,LEN', '\tOUT\tBUF,LEN',
  '\tIN\tBUF,LEN', '\tRET', 'SUB\tADDA\tGR1,=2', '\tRET', 'RESULT\tDS\t1', 'BUF\tDS\t80', 'LEN\tDS\t1', '\tEND', '',
].join('\n');

async function session(source = PROGRAM) {
  const core = await corePromise;
  const s = new core.Session();
  assert.equal(s.assemble(source).ok, true);
  s.takeEvents();
  return { core, s };
}
const ids = (s) => s.takeEvents().map((e) => e.id);
const reg = (s, name) => s.registers().find((r) => r.name === name);
const word = (s, address) => s.dump(address, 1)[0].digits.substr(4 * (address & 7), 4);
const labelAddress = (s, name) => s.labels(0, false).find((l) => l.name === name).value;
// The trace table's blocks as the session hands them over; refuseAfter: blocks taken before the sink says no.
function traceBlocks(s, refuseAfter = Infinity) {
  const blocks = [];
  const ok = s.writeTraceTable((bytes) => { blocks.push(bytes); return blocks.length < refuseAfter; });
  return { ok, blocks, text: Buffer.concat(blocks).toString('utf8') };
}
// A run goes on slice by slice until it ends or waits, as the worker drives it.
function finish(s, status) {
  while (status.open && !status.waiting) status = s.continueRun();
  return status;
}

test('an error is listed with its line, and the fixed source assembles', async () => {
  const { core, s } = await session();
  const wrong = s.assemble(PROGRAM.replace('CALL\tSUB', 'CALL\tSUBB'));
  assert.equal(wrong.ok, false);
  assert.equal(wrong.errors.length, 1);
  assert.equal(wrong.errors[0].line, 3);
  assert.match(wrong.errors[0].text, /^ERROR #3: /);
  const [message] = s.takeEvents();
  assert.equal(message.id, MSG.ASSEMBLE_ERRORS);
  assert.match(message.text, /1/);
  assert.equal(s.isLoaded(), false);

  assert.equal(s.assemble(PROGRAM).ok, true);
  assert.deepEqual(s.takeEvents().map((e) => [e.id, e.text]), [[MSG.ASSEMBLE_OK, core.messageText(MSG.ASSEMBLE_OK)]]);
  assert.equal(s.prRow(), 1);
  assert.equal(s.listing(1, 1)[0].source, '        LAD     GR1,3');
});

test('trace, pass over a call, and a breakpoint', async () => {
  const { core, s } = await session();
  let status = s.run(core.RUN_TRACE, 0);
  assert.equal(status.end, 'stopAddress');
  assert.equal(s.prRow(), 2);
  assert.deepEqual([reg(s, 'GR1').hex, reg(s, 'GR1').changed, reg(s, 'GR2').changed], ['0003', true, false]);
  const rows = s.listing(1, 2);
  assert.deepEqual(rows.map((r) => [r.lastRun, r.pr]), [[true, false], [false, true]]);

  status = s.run(core.RUN_PASS, 0);
  assert.equal(status.end, 'stopAddress');
  assert.equal(status.executed, 3);  // CALL, ADDA, RET
  assert.equal(s.prRow(), 3);
  assert.equal(reg(s, 'GR1').hex, '0005');

  assert.equal(s.toggleBreakpoint(5), true);
  assert.equal(s.toggleBreakpoint(0), false);  // START runs nothing
  assert.deepEqual(ids(s), [0]);               // a beep
  assert.equal(s.listing(5, 1)[0].breakpoint, true);
  s.giveInput('ABC');
  status = finish(s, s.run(core.RUN_GO, 0));
  assert.equal(status.end, 'breakpoint');
  assert.equal(s.prRow(), 5);
  assert.equal(word(s, labelAddress(s, 'RESULT')), '0005');
});

test('IN waits for a line and then for the end of input, without blocking', async () => {
  const { core, s } = await session();
  let status = s.run(core.RUN_GO, 0);
  assert.deepEqual([status.open, status.waiting, status.end], [true, true, 'waitingForInput']);
  assert.equal(s.prRow(), 4);
  assert.equal(status.executed, 5);  // LAD, CALL, ADDA, RET, ST: the IN is not counted
  s.giveInput('ｱｲ!');
  status = s.continueRun();
  assert.deepEqual([status.waiting, s.prRow()], [true, 6]);
  s.giveEof();
  status = s.continueRun();
  assert.deepEqual([status.open, status.end], [false, 'programEnd']);
  assert.deepEqual(ids(s), [MSG.PROGRAM_END]);
  const output = s.output(0);
  assert.equal(output.total, 3);
  assert.deepEqual(output.lines, ['INPUT  : ｱｲ!', 'OUTPUT : \\B1\\B2!', 'INPUT  : <EOF>']);
  assert.deepEqual(s.output(2).lines, ['INPUT  : <EOF>']);
  assert.equal(word(s, labelAddress(s, 'LEN')), 'FFFF');

  // Back over RET and the second IN, which wrote the length; going on reads its end of input again.
  assert.equal(s.stepBack(2), 2);
  assert.equal(s.prRow(), 6);
  assert.equal(word(s, labelAddress(s, 'LEN')), '0003');
  status = s.run(core.RUN_GO, 0);
  assert.equal(status.end, 'programEnd');
  assert.equal(word(s, labelAddress(s, 'LEN')), 'FFFF');

  // A source that does not assemble leaves the output as it was.
  const before = s.output(0);
  assert.equal(s.assemble('X').ok, false);
  assert.deepEqual(s.output(0), before);
});

test('step back across a memory write, and back to where the run started', async () => {
  const { core, s } = await session();
  const result = labelAddress(s, 'RESULT');
  s.run(core.RUN_TRACE, 0);
  s.run(core.RUN_PASS, 0);
  s.run(core.RUN_TRACE, 0);
  assert.equal(word(s, result), '0005');
  assert.equal(s.dump(result, 1)[0].changed, 1 << (result & 7));
  assert.equal(s.stepBack(1), 1);
  assert.equal(word(s, result), '0000');
  assert.equal(s.prRow(), 3);
  assert.equal(s.backToRunStart(), 3);  // the pass: CALL, ADDA, RET
  assert.equal(s.prRow(), 2);
  assert.equal(s.canStepBack(), true);
});

test('registers take the dialog\'s value syntax, and a wrong value names its field', async () => {
  const { core, s } = await session();
  const result = labelAddress(s, 'RESULT');
  assert.equal(s.setRegisters(['#10', '%101', "'A", 'RESULT', '-1', '65536', '0', '0', '#FFF0', '#0100'], true, false, true), -1);
  assert.deepEqual(s.registers().slice(0, 6).map((r) => r.hex),
    ['0010', '0005', '0041', result.toString(16).toUpperCase().padStart(4, '0'), 'FFFF', '0000']);
  assert.deepEqual([reg(s, 'GR2').character, reg(s, 'GR4').signed, reg(s, 'FR').hex], ["'A'", '-1', 'V-Z']);
  // The numbers the page works with are the words the texts show.
  assert.deepEqual(s.registers().slice(0, 10).map((r) => r.value), [0x10, 5, 0x41, result, 0xFFFF, 0, 0, 0, 0xFFF0, 0x100]);
  assert.equal(reg(s, 'FR').value, core.FLAG_OF | core.FLAG_ZF);
  for (const label of s.labels(1, false)) assert.equal(label.value, parseInt(label.address, 16), label.name);
  assert.equal(s.setRegisters(['0', '0', 'NOWHERE', '0', '0', '0', '0', '0', '#FFFF', '#0100'], false, false, false), 2);
  assert.deepEqual(ids(s), [MSG.REGISTER_VALUE_BAD]);
  assert.equal(reg(s, 'GR0').hex, '0010');
  assert.equal(s.stepBack(1), 1);  // the dialog's change is one step
  assert.equal(reg(s, 'GR0').hex, '0000');
});

test('the dump is typed into, and watches show a word in five formats', async () => {
  const { s } = await session();
  const buf = labelAddress(s, 'BUF');
  assert.equal(s.typeDumpDigit(buf, 0, 'f'), true);
  assert.equal(s.typeDumpDigit(buf, 3, '7'), true);
  assert.equal(word(s, buf), 'F007');
  assert.equal(s.typeDumpDigit(buf, 1, 'G'), false);
  assert.equal(s.typeDumpChar(buf + 1, 'ｱ'), true);
  assert.equal(s.typeDumpChar(buf + 2, '漢'), false);  // two bytes: no one word
  assert.deepEqual(ids(s), [0, 0]);
  assert.equal(word(s, buf + 1), '00B1');
  s.setMemoryWord(buf + 2, 0x41);
  assert.equal(s.dump(buf, 2).map((row) => row.characters).join('').substr(buf & 7, 3), '..A');

  for (let format = 0; format < 5; format++) assert.equal(s.addWatch('BUF', 1, format), 0);
  assert.deepEqual(s.watches().map((w) => w.value), ['#F007', '-4089', '61447', '%1111 0000 0000 0111', "'.'"]);
  assert.equal(s.addWatch('#GGGG', 1, 0), MSG.WATCH_TARGET_ADDRESS);
  assert.deepEqual(ids(s), [MSG.WATCH_TARGET_ADDRESS]);
  assert.equal(s.changeWatch(0, '$GR1', 1, 0), 0);
  assert.equal(s.watches()[0].target, '$GR1');
  assert.equal(s.removeWatch(4), true);
  assert.equal(s.watches().length, 4);
});

test('an endless loop runs in slices and Stop ends it between two', async () => {
  const { core, s } = await session('MAIN\tSTART\nLOOP\tLAD\tGR1,1,GR1\n\tJUMP\tLOOP\n\tEND\n');
  s.setSliceMs(2);
  let status = s.run(core.RUN_GO, 0);
  assert.deepEqual([status.open, status.waiting, status.end], [true, false, 'paused']);
  status = s.continueRun();
  assert.equal(status.end, 'paused');
  const executed = status.executed;
  assert.equal(s.setRegisters(Array(10).fill('0'), false, false, false), -2);  // refused while it runs
  assert.deepEqual(ids(s), [0]);
  status = s.stop();
  assert.deepEqual([status.open, status.end, status.executed], [false, 'userStop', executed]);
  assert.deepEqual(ids(s), [MSG.STOPPED_BY_USER]);
  // The whole run is one: going back to its start takes every statement back.
  assert.equal(s.backToRunStart(), executed);
  assert.equal(reg(s, 'GR1').hex, '0000');
});

test('files keep their encoding and line ends; the trace table and labels', async () => {
  const { core, s } = await session();
  const bytes = Uint8Array.from([0x3b, 0x82, 0xa0, 0x0d, 0x0a, 0x41, 0x0a, 0x42]);  // ;あ CR LF A LF B
  const file = s.openFile(bytes, '');
  assert.equal(file.text, ';あ\nA\nB');
  assert.deepEqual([file.format.name, file.otherEnds, file.hasNul], ['Shift-JIS CR LF/LF 混在', [1], false]);
  const saved = s.fileBytes(file.text + '\n漢', file.otherEnds);
  assert.equal(saved.ok, true);
  assert.deepEqual(Array.from(saved.bytes), [...bytes, 0x0d, 0x0a, 0x8a, 0xbf]);
  assert.equal(s.fileBytes('\u{1F600}', []).ok, false);  // no such character in the code page
  s.setFileEncoding('utf8');
  assert.deepEqual(Array.from(s.fileBytes('あ', []).bytes), [0xe3, 0x81, 0x82]);
  assert.equal(s.openFile(Uint8Array.from([0x41, 0, 0x42]), '').hasNul, true);

  s.newFile();
  assert.equal(s.assemble(PROGRAM).ok, true);
  s.run(core.RUN_TRACE, 0);
  assert.deepEqual(traceBlocks(s).text.split('\r\n').slice(0, 2), [
    'step,address,source,GR0,GR1,GR2,GR3,GR4,GR5,GR6,GR7,SP,FR',
    '1,#0100,"        LAD     GR1,3",#0000,#0003,#0000,#0000,#0000,#0000,#0000,#0000,#FFFF,---',
  ]);
  const names = s.labels(0, false).map((l) => l.name);
  assert.deepEqual(names.filter((n) => !n.startsWith('__')), ['BUF', 'LEN', 'MAIN', 'RESULT', 'SUB']);
  const byAddress = s.labels(1, true).map((l) => l.address);
  assert.deepEqual(byAddress, [...byAddress].sort().reverse());
  assert.equal(s.stack(2)[0].address, 'FFFF');
});

test('a long run\'s trace table comes a block at a time, and a refused block ends it', async () => {
  const { core, s } = await session(['MAIN\tSTART', '\tLAD\tGR1,0', 'L\tLAD\tGR1,1,GR1', '\tCPA\tGR1,=20000',
    '\tJNZ\tL', '\tRET', '\tEND', ''].join('\n'));
  assert.equal(finish(s, s.run(core.RUN_GO, 0)).end, 'programEnd');
  assert.equal(s.traceTableQuestion(), '');  // a few megabytes: no question
  const whole = traceBlocks(s);
  assert.equal(whole.ok, true);
  assert.ok(whole.blocks.length >= 3, `${whole.blocks.length} blocks`);
  const rows = whole.text.split('\r\n');
  assert.equal(rows.length, 1 + 60002 + 1);  // the header, LAD, 20000 times three, RET, and the last CR LF
  assert.match(rows[60002], /^60002,#0108, +RET,#0000,#4E20,/);
  const refused = traceBlocks(s, 1);
  assert.deepEqual([refused.ok, refused.blocks.length], [false, 1]);
});

test('the editor\'s colours come from the core, line by line', async () => {
  const { s } = await session();
  const [line, empty] = s.colourLines(['LOOP\tLAD\tGR1,=#10 ; あ', '']);
  const kinds = ['label', 'op', 'reg', 'num', 'str', 'comment'];
  const spans = [];
  for (let i = 0; i < line.length; i += 3) spans.push([line[i], line[i + 1], kinds[line[i + 2]]]);
  assert.deepEqual(spans, [[0, 4, 'label'], [5, 3, 'op'], [9, 3, 'reg'], [14, 3, 'num'], [18, 3, 'comment']]);
  assert.equal(empty.length, 0);
});

// ﾃｽﾄ実行: a test file with the files opened with it, run on the editor's text.
const TESTS = new TextEncoder().encode([
  'case 写す', 'in ｱｲ', 'in 2', 'expect RESULT=5', 'expect BUF+1=#FFB2',
  'case 違う', 'in-file data/in.txt', 'eof', 'out ABD', '',
].join('\n'));
const BESIDE = { 'in.txt': new TextEncoder().encode('ABC\n') };
const testsLine = (core, id, ...args) => args.reduce((t, a, i) => t.replace(`%${i + 1}`, a), core.messageText(id));

test('the tests list each case with why it failed, and what each case gives IN', async () => {
  const core = await corePromise;
  const progress = [];
  const run = core.runTests(PROGRAM, 'sjis', 'prog.tests', TESTS, BESIDE, (done, total) => progress.push([done, total]));
  assert.equal(run.message, '');
  assert.deepEqual(run.lines, [
    testsLine(core, 3114, 'prog.tests', 1, 2, 1, 2), '○ 写す', '× 違う: 出力 1 行目が違います: 期待 "ABD"、実際 "ABC"',
    core.messageText(3115),
  ]);
  assert.deepEqual(progress, [[1, 2], [2, 2]]);
  assert.deepEqual(run.inputs.map((i) => [i.lines.map((l) => Array.from(l)), i.ends]),
    [[[[0xb1, 0xb2], [0x32]], false], [[[0x41, 0x42, 0x43]], true]]);

  const broken = core.runTests(PROGRAM.replace('CALL\tSUB', 'CALL\tSUBB'), 'sjis', 'prog.tests', TESTS, BESIDE, () => {});
  assert.match(broken.lines[1], /^× 写す: /);
  assert.equal(broken.lines.length, 4);
  assert.match(broken.lines[3], /^ERROR #3: /);  // the assembly's errors follow the cases, no hint
});

test('a wrong test file, or an input file not opened with it, is named with its line and runs nothing', async () => {
  const core = await corePromise;
  const wrong = core.runTests(PROGRAM, 'sjis', 'prog.tests', new TextEncoder().encode('case a\nout 1\nexpect GR0\n'), {}, () => {});
  assert.match(wrong.message, /^ﾃｽﾄﾌｧｲﾙ\( prog\.tests \)の 3 行目に誤りがあります。\n/);
  assert.deepEqual([wrong.lines, wrong.inputs], [[], []]);
  const missing = core.runTests(PROGRAM, 'sjis', 'prog.tests', TESTS, { 'other.txt': BESIDE['in.txt'] }, () => {});
  assert.match(missing.message, /の 7 行目に誤りがあります。\n.*data\/in\.txt/);
  assert.ok(missing.message.endsWith(core.messageText(3120)), missing.message);
});

test('a case\'s input is read before the input bar, again after a restart, and dropped by assembling', async () => {
  const core = await corePromise;
  const { inputs } = core.runTests(PROGRAM, 'sjis', 'prog.tests', TESTS, BESIDE, () => {});
  const { s } = await session();
  s.setCaseInput(inputs[0].lines, inputs[0].ends);
  for (let pass = 0; pass < 2; pass++) {
    const status = finish(s, s.run(core.RUN_GO, 0));
    assert.equal(status.end, 'programEnd');
    assert.deepEqual(s.output(0).lines, ['INPUT  : ｱｲ', 'OUTPUT : \\B1\\B2', 'INPUT  : 2']);
    s.restart();
  }
  // Its lines used up and no end of input given: IN waits for the student.
  s.setCaseInput([Uint8Array.of(0x41)], false);
  assert.equal(finish(s, s.run(core.RUN_GO, 0)).waiting, true);
  assert.equal(s.assemble(PROGRAM).ok, true);
  assert.equal(finish(s, s.run(core.RUN_GO, 0)).waiting, true);
  assert.deepEqual(s.output(0).lines, []);
});
