// The simulator window in the page, driven as a student drives it: keys, toolbar buttons,
// dialogs, and what the panes show afterwards.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { start, open, setSource, press, key, idle, button, registers, messageTexts, outputLines } from './harness.mjs';

const SUBROUTINE = `MAIN\tSTART
\tLAD\tGR1,TEXT
\tLD\tGR2,LEN
\tCALL\tUPPER
\tRET
TEXT\tDC\t'ab'
LEN\tDC\t2
UPPER\tLD\tGR3,0,GR1
\tSUBA\tGR3,DIFF
\tST\tGR3,0,GR1
\tLAD\tGR1,1,GR1
\tSUBA\tGR2,ONE
\tJNZ\tUPPER
\tRET
DIFF\tDC\t32
ONE\tDC\t1
\tEND
`;

const ECHO = `ECHO\tSTART
LOOP\tIN\tBUF,LEN
\tLD\tGR1,LEN
\tJMI\tFIN
\tOUT\tBUF,LEN
\tJUMP\tLOOP
FIN\tRET
BUF\tDS\t80
LEN\tDS\t1
\tEND
`;

let h;
before(async () => { h = await start(); });
after(async () => { await h.close(); });

async function assembled(source) {
  const page = await h.newPage();
  await open(page, h.url);
  await setSource(page, source);
  await key(page, 'F7');
  return page;
}

const listingRow = (page, address) => page.locator('#listing .vr-row', { hasText: new RegExp(`^\\s*${address}`) }).first();
const pr = async (page) => (await registers(page)).PR[0];

test('the toolbar and the panes carry the names screen readers and tests rely on', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  for (const name of ['ｱｾﾝﾌﾞﾙ', 'ﾘｽﾀｰﾄ', '実行', 'ﾄﾚｰｽ実行', 'ﾊﾟｽ実行', 'ここまで実行', '停止', '1ｽﾃｯﾌﾟ戻る']) {
    assert.equal(await button(page, name).count(), 1, name);
    assert.equal(await button(page, name).locator('svg').count(), 1, `${name} has its icon`);
  }
  assert.equal(await page.getByRole('table', { name: 'ﾚｼﾞｽﾀ', exact: true }).count(), 1);
  await button(page, '出力結果').click();
  assert.equal(await page.getByRole('log', { name: '出力結果', exact: true }).count(), 1);
  await page.context().close();
});

test('an assembly error is listed and marked, a double click goes to its line, and the fixed program assembles', async () => {
  const page = await assembled(SUBROUTINE.replace('\tLD\tGR2,LEN', '\tLD\tGR9,LEN'));
  const errors = page.getByRole('list', { name: 'ｴﾗｰ' }).getByRole('listitem');
  assert.deepEqual(await errors.allTextContents(), [await errors.first().textContent()]);
  assert.match(await errors.first().textContent(), /^ERROR #3: /);
  assert.equal(await page.locator('.cm-gutterElement:not([style*="hidden"]) > .cm-error-dot').count(), 1);
  assert.ok((await messageTexts(page)).some((t) => t.includes('1個のｱｾﾝﾌﾞﾙｴﾗｰ')));
  assert.ok(await button(page, 'ﾄﾚｰｽ実行').isDisabled());

  // A line added above moves the error with it.
  await page.evaluate(() => window.zelkoraEditor.dispatch({ changes: { from: 0, insert: '; added\n' } }));
  await errors.first().dblclick();
  const caretLine = await page.evaluate(() => {
    const { state } = window.zelkoraEditor;
    return state.doc.lineAt(state.selection.main.head).number;
  });
  assert.equal(caretLine, 4);

  await setSource(page, SUBROUTINE);
  await key(page, 'F7');
  assert.equal(await errors.count(), 0);
  assert.equal(await page.locator('.cm-gutterElement:not([style*="hidden"]) > .cm-error-dot').count(), 0);
  assert.ok((await messageTexts(page)).some((t) => t.includes('ｱｾﾝﾌﾞﾙが正常に終了しました')));
  assert.equal(await pr(page), '0100');
  await page.context().close();
});

test('trace, pass over CALL, the PR arrow, the editor PR line and the changed values in red', async () => {
  const page = await assembled(SUBROUTINE);
  await key(page, 'F9'); // LAD GR1,TEXT
  let regs = await registers(page);
  assert.deepEqual(regs.GR1, ['0107', '263', '263', '0000 0001 0000 0111', "'.'"]);
  assert.equal(await page.locator('table[aria-label="ﾚｼﾞｽﾀ"] tr.changed th').allTextContents().then((t) => t.join()), 'GR1,PR');
  assert.equal(await page.locator('#listing .mark.pr').count(), 1);
  assert.match(await page.locator('#listing .vr-row:has(.mark.pr)').textContent(), /0102\s+LD\s+GR2,LEN/);
  assert.equal(await page.locator('.cm-pr-line').textContent(), '\tLD\tGR2,LEN');
  // The editor's colours come from the core: the operation, the register and the label.
  await page.locator('.cm-pr-line .cm-casl-op').waitFor();
  assert.deepEqual(await page.locator('.cm-pr-line [class^="cm-casl"]').allTextContents(), ['LD', 'GR2']);
  assert.equal(await page.locator('.cm-line', { hasText: 'UPPER\tLD' }).locator('.cm-casl-label').textContent(), 'UPPER');

  await key(page, 'F9'); // LD GR2,LEN
  await key(page, 'F10'); // CALL UPPER, run through
  assert.equal(await pr(page), '0106');
  regs = await registers(page);
  assert.equal(regs.GR2[0], '0000');
  assert.equal(regs.SP[0], 'FFFF');

  // Trace goes into the subroutine.
  await key(page, 'Control+F5');
  for (let i = 0; i < 3; ++i) await key(page, 'F9');
  assert.equal(await pr(page), '010A');
  assert.equal((await registers(page)).SP[0], 'FFFE');
  assert.equal(await page.locator('#stack tbody tr').first().textContent(), 'FFFE0106');
  await page.context().close();
});

test('a breakpoint stops a run before its statement; F11 runs to the selected row', async () => {
  const page = await assembled(SUBROUTINE);
  await listingRow(page, '010E').click();
  await key(page, 'F2');
  assert.equal(await listingRow(page, '010E').locator('.mark.bp').count(), 1);
  await key(page, 'F5');
  assert.equal(await pr(page), '010E');
  assert.equal(await listingRow(page, '010E').locator('.mark.bp.pr').count(), 1);
  await key(page, 'F5'); // from the breakpoint: the second character
  assert.equal(await pr(page), '010E');
  assert.equal((await registers(page)).GR2[0], '0001');

  await key(page, 'Control+F5');
  await listingRow(page, '0102').click();
  await key(page, 'F11');
  assert.equal(await pr(page), '0102');
  await page.context().close();
});

test('IN waits for a typed line, then for the end of input, and the run goes on each time', async () => {
  const page = await assembled(ECHO);
  await key(page, 'F5');
  const line = page.locator('#input-line');
  await line.waitFor();
  assert.equal(await pr(page), '0100');
  assert.ok(await button(page, '停止').isEnabled());
  await line.fill('ｶﾅ!');
  await line.press('Enter');
  await idle(page);
  await line.waitFor();
  await press(page, 'EOF');
  assert.ok(await line.isHidden());
  await page.getByRole('button', { name: '出力結果', exact: true }).click();
  assert.deepEqual(await outputLines(page), ['INPUT  : ｶﾅ!', 'OUTPUT : \\B6\\C5!', 'INPUT  : <EOF>']);
  assert.ok((await messageTexts(page)).some((t) => t.includes('ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑの実行を終了します')));
  await page.context().close();
});

test('a step back takes a memory write back; the register dialog and the dump change values', async () => {
  const page = await assembled(SUBROUTINE);
  for (let i = 0; i < 6; ++i) await key(page, 'F9'); // to after ST GR3,0,GR1
  const word7 = page.locator('#dump .dump-row', { hasText: /^0100 / }).locator('.word').nth(7);
  assert.equal(await word7.textContent(), '0041');
  assert.ok(await word7.evaluate((e) => e.classList.contains('changed')));
  await key(page, 'Shift+F9');
  assert.equal(await word7.textContent(), '0061');
  assert.equal(await pr(page), '010E');

  // The register dialog takes the core's value syntax; a bad field keeps the dialog open.
  const flagBoxes = ['flag-v', 'flag-s', 'flag-z'];
  const shownFlags = (fr) => [...fr].map((c) => c !== '-');
  const frBefore = (await registers(page)).FR[0];
  await page.locator('table[aria-label="ﾚｼﾞｽﾀ"] tbody tr', { hasText: 'GR4' }).dblclick();
  const dialog = page.locator('#register-dialog');
  const checked = () => Promise.all(flagBoxes.map((name) => dialog.locator(`[name=${name}]`).isChecked()));
  assert.deepEqual(await checked(), shownFlags(frBefore));
  await dialog.locator('[name=flag-s]').setChecked(!shownFlags(frBefore)[1]);
  const frWanted = await checked();
  await dialog.locator('[name=gr4]').fill('%101');
  await dialog.locator('[name=gr5]').fill('LEN');
  await dialog.locator('[name=gr6]').fill('#xyz');
  await dialog.getByRole('button', { name: 'OK' }).click();
  await idle(page);
  assert.ok(await dialog.isVisible());
  assert.ok((await messageTexts(page)).some((t) => t.includes('ﾚｼﾞｽﾀ設定値の記述に誤りがあります')));
  await dialog.locator('[name=gr6]').fill("'A");
  await dialog.getByRole('button', { name: 'OK' }).click();
  await idle(page);
  assert.ok(await dialog.isHidden());
  const regs = await registers(page);
  assert.deepEqual([regs.GR4[0], regs.GR5[0], regs.GR6[0]], ['0005', '0109', '0041']);
  assert.deepEqual(shownFlags(regs.FR[0]), frWanted);

  // Typing into the dump: hexadecimal digits, then a character in the character column.
  await word7.locator('span').first().click();
  await page.keyboard.type('12ab');
  await idle(page);
  assert.equal(await word7.textContent(), '12AB');
  await page.keyboard.press('ArrowLeft'); // back from the next word to the last digit
  await page.keyboard.press('Tab');
  await page.keyboard.type('Z');
  await idle(page);
  assert.equal(await word7.textContent(), '005A');
  await page.context().close();
});

test('a watch shows words in its format, and a wrong target keeps the dialog with the message', async () => {
  const page = await assembled(SUBROUTINE);
  await button(page, 'ﾒﾓﾘｳｫｯﾁ').click();
  await page.getByText('操作(O)').click();
  await page.getByRole('button', { name: /ｳｫｯﾁの新規追加/ }).click();
  const dialog = page.locator('#watch-dialog');
  await dialog.locator('[name=target]').fill('1000');
  await dialog.getByRole('button', { name: 'OK' }).click();
  await idle(page);
  assert.ok(await dialog.isVisible());
  await dialog.locator('[name=target]').fill('TEXT');
  await dialog.locator('[name=length]').fill('2');
  await dialog.getByLabel('文字(C)').check();
  await dialog.getByRole('button', { name: 'OK' }).click();
  await idle(page);
  assert.ok(await dialog.isHidden());
  const watch = page.locator('#watches tbody tr').first();
  assert.equal(await watch.textContent(), "TEXT'ab'");
  for (let i = 0; i < 6; ++i) await key(page, 'F9');
  assert.equal(await watch.textContent(), "TEXT'Ab'");
  assert.ok(await watch.evaluate((e) => e.classList.contains('changed')));
  await page.context().close();
});

test('Stop ends an endless loop and the page keeps answering while it runs', async () => {
  const page = await assembled('L\tSTART\nX\tJUMP\tX\n\tEND\n');
  await button(page, '実行').click();
  await page.waitForFunction(() => window.zelkora.running);
  await page.waitForTimeout(300);
  // The page stays responsive: the menu opens while the machine runs.
  const t0 = Date.now();
  await page.evaluate(() => new Promise((r) => requestAnimationFrame(r)));
  assert.ok(Date.now() - t0 < 500);
  await button(page, '停止').click();
  await idle(page);
  assert.ok((await messageTexts(page)).some((t) => t.includes('ﾕｰｻﾞの要求によりﾌﾟﾛｸﾞﾗﾑの実行を中断しました')));
  assert.equal(await pr(page), '0100');
  assert.ok(await button(page, 'ﾄﾚｰｽ実行').isEnabled());
  await page.context().close();
});

test('a million OUT lines: the output keeps the newest 1000 and the page stays responsive', async () => {
  const page = await assembled(`P\tSTART
\tLAD\tGR2,16
OUTER\tLAD\tGR3,0
INNER\tOUT\tMSG,LEN
\tLAD\tGR3,1,GR3
\tCPL\tGR3,MAX
\tJNZ\tINNER
\tSUBA\tGR2,ONE
\tJNZ\tOUTER
\tRET
MSG\tDC\t'line'
LEN\tDC\t4
MAX\tDC\t62500
ONE\tDC\t1
\tEND
`);
  await button(page, '出力結果').click();
  await button(page, '実行').click();
  await page.waitForFunction(() => window.zelkora.running);
  const lags = [];
  while (await page.evaluate(() => window.zelkora.running)) {
    const t0 = Date.now();
    await page.evaluate(() => new Promise((r) => requestAnimationFrame(r)));
    lags.push(Date.now() - t0);
    await page.waitForTimeout(50);
  }
  await idle(page);
  const lines = await outputLines(page);
  assert.equal(await page.evaluate(() => window.zelkora.snap.output.total), 1000000);
  assert.equal(lines.length, 1000);
  assert.ok(lines.every((l) => l === 'OUTPUT : line'));
  assert.ok(Math.max(...lags) < 1000, `frames waited ${Math.max(...lags)} ms`);
  await page.context().close();
});

test('labels sort by a header click; a dragged label shows its word in the dump and opens a watch', async () => {
  const page = await assembled(SUBROUTINE);
  const names = () => page.locator('#labels tbody th').allTextContents();
  assert.deepEqual(await names(), ['DIFF', 'LEN', 'MAIN', 'ONE', 'TEXT', 'UPPER']);
  await page.locator('#labels th', { hasText: 'ADDR' }).click();
  await idle(page);
  assert.deepEqual(await names(), ['MAIN', 'TEXT', 'LEN', 'UPPER', 'DIFF', 'ONE']);
  await page.locator('#labels th', { hasText: 'ADDR' }).click();
  await idle(page);
  assert.deepEqual(await names(), ['ONE', 'DIFF', 'UPPER', 'LEN', 'TEXT', 'MAIN']);

  await key(page, 'F9'); // a step's state has no labels: the pane keeps its own
  await page.locator('#labels tbody tr', { hasText: 'DIFF' }).dragTo(page.locator('#dump'));
  await idle(page);
  const caret = page.locator('#dump .caret');
  assert.equal(await caret.evaluate((e) => e.dataset.address), String(0x117));

  await button(page, 'ﾒﾓﾘｳｫｯﾁ').click();
  await page.locator('table[aria-label="ﾚｼﾞｽﾀ"] tbody tr', { hasText: 'SP' }).dragTo(page.locator('#work-watch'));
  const dialog = page.locator('#watch-dialog');
  assert.equal(await dialog.locator('[name=target]').inputValue(), '$SP');
  await dialog.getByRole('button', { name: 'OK' }).click();
  await idle(page);
  assert.equal(await page.locator('#watches tbody tr').first().textContent(), '$SP#0000');
  await page.context().close();
});

test('the listing context menu, and 前回の停止位置まで戻る takes a whole run back', async () => {
  const page = await assembled(SUBROUTINE);
  await listingRow(page, '010E').click({ button: 'right' });
  await page.getByRole('menuitem', { name: /BP設定\/解除/ }).click();
  await idle(page);
  assert.equal(await listingRow(page, '010E').locator('.mark.bp').count(), 1);
  await key(page, 'F5');
  assert.equal(await pr(page), '010E');
  await page.getByText('実行(G)', { exact: true }).click();
  await page.getByRole('button', { name: '前回の停止位置まで戻る' }).click();
  await idle(page);
  assert.equal(await pr(page), '0100');
  assert.equal((await registers(page)).SP[0], 'FFFF');
  await page.context().close();
});

test('Stop while IN waits leaves PR on the IN, and the next run asks again', async () => {
  const page = await assembled(ECHO);
  await key(page, 'F5');
  await page.locator('#input-line').waitFor();
  await press(page, '停止');
  assert.ok(await page.locator('#input-line').isHidden());
  assert.equal(await pr(page), '0100');
  assert.ok(await button(page, 'ﾄﾚｰｽ実行').isEnabled());
  await key(page, 'F9');
  await page.locator('#input-line').waitFor();
  await press(page, 'EOF');
  assert.equal(await pr(page), '010C');
  await page.context().close();
});

test('text from an input method and half-width katakana typed in the editor assemble into their words', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  await setSource(page, 'K\tSTART\n\tRET\nC\tDC\t\'\'\t; \n\tEND\n');
  // The caret between the quotes, then katakana typed; after the comment an IME's composition.
  await page.evaluate(() => {
    const view = window.zelkoraEditor;
    view.focus();
    view.dispatch({ selection: { anchor: view.state.doc.line(3).from + 6 } });
  });
  await page.keyboard.insertText('ｱｲ');
  await page.keyboard.press('End');
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Input.imeSetComposition', { text: 'にほん', selectionStart: 3, selectionEnd: 3 });
  await cdp.send('Input.imeSetComposition', { text: '日本', selectionStart: 2, selectionEnd: 2 });
  await cdp.send('Input.insertText', { text: '日本' });
  await idle(page);
  assert.equal(await page.evaluate(() => window.zelkoraEditor.state.doc.line(3).text), "C\tDC\t'ｱｲ'\t; 日本");
  await key(page, 'F7');
  const row = page.locator('#dump .dump-row', { hasText: /^0100 / });
  assert.deepEqual(await row.locator('.word').allTextContents().then((w) => w.slice(0, 3)), ['8100', 'FFB1', 'FFB2']);
  await page.context().close();
});

test('F6 and Shift+F6 go round the panes, F1 opens the manual', async () => {
  const page = await assembled(SUBROUTINE);
  await page.evaluate(() => window.zelkoraEditor.focus());
  const focused = () => page.evaluate(() => document.activeElement.id || document.activeElement.className);
  const order = [];
  for (let i = 0; i < 7; ++i) {
    await page.keyboard.press('F6');
    order.push(await focused());
  }
  assert.deepEqual(order, ['errors', 'listing', 'registers', 'stack', 'labels', 'dump', 'cm-content']);
  await page.keyboard.press('Shift+F6');
  assert.equal(await focused(), 'dump');
  // F1: the operating manual beside the page.
  const [manual] = await Promise.all([page.context().waitForEvent('page'), page.keyboard.press('F1')]);
  await manual.waitForLoadState();
  assert.match(await manual.title(), /操作説明書/);
  await page.context().close();
});
