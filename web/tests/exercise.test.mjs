// 操作 → ﾃｽﾄ実行 in the page: a program and its test file dropped together, the results in
// the error pane, a case opened in the simulator with its input, a wrong test file, Cancel.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { start, open, setSource, key, idle, registers, messageTexts, drop } from './harness.mjs';

// Adds up one-digit input lines until the end of input; writes the sum's digit, leaves it in GR0.
const ADDER = `ADD\tSTART
\tLAD\tGR0,0
LOOP\tIN\tBUF,LEN
\tLD\tGR1,LEN
\tJMI\tFIN
\tLD\tGR2,BUF
\tSUBA\tGR2,ZERO
\tADDA\tGR0,GR2
\tJUMP\tLOOP
FIN\tLD\tGR3,GR0
\tADDA\tGR3,ZERO
\tST\tGR3,OUTB
\tOUT\tOUTB,ONE
\tRET
BUF\tDS\t8
LEN\tDS\t1
OUTB\tDC\t' '
ONE\tDC\t1
ZERO\tDC\t'0'
\tEND
`;
const TESTS = 'case 二つの数\nin 2\nin 3\neof\nout 5\nexpect GR0=5\ncase 間違い\npoints 2\nin-file data/four.txt\neof\nout 5\n';

let h;
before(async () => { h = await start(); });
after(async () => { await h.close(); });

const paneLines = (page) => page.$$eval('#errors .vr-row', (rows) => rows.map((row) => row.textContent));
const menuItem = (page) => page.locator('.menubar [data-cmd="runTests"]');

async function runTests(page) {
  await page.getByText('操作(O)').click();
  await menuItem(page).click();
}

async function resultsOf(page) {
  await runTests(page);
  await page.locator('#errors .vr-row', { hasText: /^ﾃｽﾄ / }).waitFor();
  await idle(page);
  return paneLines(page);
}

test('a dropped program and its tests: each case listed, a case opened with its input, kept across a reload', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  assert.equal(await menuItem(page).isDisabled(), true);
  await drop(page, [['prog.asm', ADDER], ['prog.tests', TESTS], ['four.txt', '4\n']]);
  await page.locator('#file-name', { hasText: 'prog.asm' }).waitFor();
  assert.equal(await page.locator('#tests-name').textContent(), 'ﾃｽﾄ: prog.tests');
  assert.equal(await menuItem(page).isDisabled(), false);

  const results = await resultsOf(page);
  assert.deepEqual(results, [
    'ﾃｽﾄ prog.tests: 不合格 (1/2 ｹｰｽ, 1/3 点)', '○ 二つの数', '× 間違い: 出力 1 行目が違います: 期待 "5"、実際 "4"',
    '(ｹｰｽの行をﾀﾞﾌﾞﾙｸﾘｯｸすると、そのｹｰｽの入力でｼﾐｭﾚｰﾀを開きます)',
  ]);
  assert.equal(await page.locator('#listing .vr-row').count(), 0, 'the simulator stays closed');

  // The failed case: its line from the input file, then the end of input; a restart gives them again.
  await page.locator('#errors .vr-row', { hasText: '× 間違い' }).dblclick();
  await page.locator('#listing .vr-row').first().waitFor();
  await idle(page);
  assert.deepEqual(await paneLines(page), results, 'the results stay to open another case');
  for (const keys of ['F5', 'Control+F5', 'F5']) await key(page, keys);
  assert.equal((await registers(page)).GR0[0], '0004');
  assert.equal(await page.locator('#input-bar').isHidden(), true);

  // Enter on the passed case's line opens it the same way.
  await page.locator('#errors').focus();
  for (const keys of ['ArrowDown', 'ArrowDown', 'Enter', 'F5']) await key(page, keys);
  assert.equal((await registers(page)).GR0[0], '0005');

  // F7 drops the case's input: IN waits for the student.
  await key(page, 'F7');
  assert.deepEqual(await paneLines(page), []);
  await key(page, 'F5');
  await page.locator('#input-line').waitFor();

  await page.reload();
  await page.waitForSelector('body[data-ready="1"]');
  assert.equal(await page.locator('#tests-name').textContent(), 'ﾃｽﾄ: prog.tests');
  assert.equal((await resultsOf(page))[0], results[0], 'the test file and the file it reads are kept');
  assert.deepEqual(page.errors || [], []);
  await page.context().close();
});

test('a wrong test file is named with its line, and Cancel ends an endless case', async () => {
  const page = await h.newPage();
  let alerts = 0;
  page.on('dialog', (dialog) => { alerts += 1; dialog.dismiss(); });
  await open(page, h.url);
  await setSource(page, ADDER);
  for (const [tests, line, why] of [
    ['case a\nout 1\nexpect GR0\n', 3, 'expect は 名前=値 の形で'],
    [TESTS, 9, 'ﾃｽﾄﾌｧｲﾙと一緒に開かれていません'], // no four.txt dropped with it
  ]) {
    await drop(page, [['prog.tests', tests]]);
    await runTests(page);
    await page.locator('#messages .message.stop').waitFor();
    const [text] = await messageTexts(page);
    assert.ok(text.startsWith(`ﾃｽﾄﾌｧｲﾙ( prog.tests )の ${line} 行目に誤りがあります。\n`), text);
    assert.ok(text.includes(why), text);
    await page.locator('#messages .msg-ok').click();
  }
  assert.deepEqual(await paneLines(page), []);

  await setSource(page, 'E\tSTART\nL\tJUMP\tL\n\tEND\n');
  await drop(page, [['endless.tests', 'case endless\nsteps 1000000000000\n']]);
  await runTests(page);
  const progress = page.locator('#messages .message.progress');
  await progress.waitFor();
  assert.equal(await menuItem(page).isDisabled(), true, 'one run at a time');
  // The page and its machine answer meanwhile.
  await key(page, 'F7');
  assert.equal(await page.locator('#listing .vr-row').count() > 0, true);
  await progress.getByRole('button', { name: 'ｷｬﾝｾﾙ' }).click();
  await progress.waitFor({ state: 'detached' });
  assert.equal(await menuItem(page).isDisabled(), false);
  assert.deepEqual(await paneLines(page), [], 'the pane is left as it was');
  assert.equal(alerts, 0);
  await page.context().close();
});
