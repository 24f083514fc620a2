// Files and the work kept in the browser: share links, opening and saving bytes as they
// were, a dropped file, a reload, the trace table, and files that are no program at all.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { start, open, setSource, key, idle, button, messageTexts, drop } from './harness.mjs';

let h;
before(async () => { h = await start(); });
after(async () => { await h.close(); });

const editorText = (page) => page.evaluate(() => window.zelkoraEditor.state.doc.toString());
const base64url = (text) => Buffer.from(text, 'utf8').toString('base64url');

async function openBytes(page, bytes, name = 'prog.asm') {
  await page.locator('#file-input').setInputFiles({ name, mimeType: 'text/plain', buffer: Buffer.from(bytes) });
  await page.locator('#file-name', { hasText: name }).waitFor();
  await idle(page);
}

async function saved(page, action) {
  const [download] = await Promise.all([page.waitForEvent('download'), action()]);
  return { name: download.suggestedFilename(), bytes: await readFile(await download.path()) };
}

// Shift-JIS with CR LF: a comment in kanji and half-width katakana.
const SJIS = Buffer.concat([
  Buffer.from('P\tSTART\r\n\tRET\t; '), Buffer.from([0x93, 0xfa, 0x96, 0x7b, 0xb6, 0xc5]), Buffer.from('\r\n\tEND\r\n'),
]);

test('a share link opens its program ready to assemble, with or without padding, and a broken one opens nothing', async () => {
  const program = 'S\tSTART\n\tLAD\tGR1,3\t; 日本語 ｶﾅ\n\tRET\n\tEND\n';
  const plain = base64url(program);
  for (const fragment of [plain, `${plain}${'='.repeat((4 - plain.length % 4) % 4)}`]) {
    const page = await h.newPage();
    await open(page, `${h.url}#src=${fragment}`);
    assert.equal(await editorText(page), program);
    assert.equal(new URL(page.url()).hash, '', 'the fragment is taken once, so a reload keeps what was typed');
    await key(page, 'F7');
    await key(page, 'F9');
    const gr1 = await page.locator('table[aria-label="ﾚｼﾞｽﾀ"] tr', { hasText: 'GR1' }).locator('td').first().textContent();
    assert.equal(gr1, '0003');
    await page.context().close();
  }
  const page = await h.newPage();
  await open(page, `${h.url}#src=%%%not-base64`);
  assert.equal(await editorText(page), '');
  assert.deepEqual(page.errors || [], []);
  await page.context().close();
});

test('the share link of the editor text opens the same text', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  const program = 'A\tSTART\n\tRET\t; ﾃｽﾄ 試験 \u{1F600}\n\tEND\n';
  await setSource(page, program);
  await page.getByText('ﾌｧｲﾙ(F)').click();
  await page.getByRole('button', { name: /共有ﾘﾝｸ/ }).click();
  const link = (await page.locator('#messages .share .msg-text').textContent()).split('\n')[1];
  const other = await h.newPage();
  await open(other, link);
  assert.equal(await editorText(other), program);
  await page.context().close();
  await other.context().close();
});

test('a file saves as it was: unchanged bytes, its encoding and line ends kept, new lines alike', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  const cases = [
    { name: 'sjis.asm', bytes: SJIS, format: 'Shift-JIS CR LF' },
    { name: 'utf8.asm', bytes: Buffer.from('\uFEFFU\tSTART\n\tRET\t; ｶﾅ 漢字\n\tEND\n'), format: 'UTF-8 BOM LF' },
    { name: 'mixed.asm', bytes: Buffer.from('M\tSTART\r\n\tRET\n\tEND\r\n'), format: 'Shift-JIS CR LF/LF 混在' },
    // Bytes that are no Shift-JIS characters come back unchanged.
    { name: 'bad.asm', bytes: Buffer.from([0x42, 0x09, 0x53, 0x54, 0x41, 0x52, 0x54, 0x0d, 0x0a, 0x3b, 0x80, 0xa0, 0xfd, 0xff, 0x82, 0x0d, 0x0a]), format: 'Shift-JIS CR LF' },
  ];
  for (const { name, bytes, format } of cases) {
    await openBytes(page, bytes, name);
    assert.equal(await page.locator('#format').textContent(), format, name);
    const file = await saved(page, () => key(page, 'Control+S'));
    assert.equal(file.name, name);
    assert.deepEqual([...file.bytes], [...bytes], name);
  }
  // A line added to the Shift-JIS file gets CR LF and its katakana the file's bytes.
  await openBytes(page, SJIS, 'sjis.asm');
  await page.evaluate(() => {
    const view = window.zelkoraEditor;
    view.dispatch({ changes: { from: view.state.doc.line(3).from, insert: '\tNOP\t; ｱ\n' } });
  });
  const file = await saved(page, () => key(page, 'Control+S'));
  assert.deepEqual([...file.bytes], [...Buffer.concat([SJIS.subarray(0, SJIS.length - 6), Buffer.from('\tNOP\t; '), Buffer.from([0xb1]), Buffer.from('\r\n\tEND\r\n')])]);
  await page.context().close();
});

test('a character Shift-JIS lacks: the question, then the file as UTF-8', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  await setSource(page, 'E\tSTART\n\tRET\t; \u{1F600}\n\tEND\n');
  const [file] = await Promise.all([
    saved(page, async () => {
      await button(page, '上書き保存').click();
      await page.getByRole('alertdialog').getByRole('button', { name: 'はい' }).click();
    }),
  ]);
  assert.equal(file.bytes.toString('utf8'), 'E\tSTART\r\n\tRET\t; \u{1F600}\r\n\tEND\r\n');
  assert.equal(await page.locator('#format').textContent(), 'UTF-8 CR LF');
  await page.context().close();
});

test('a reload finds the work: the edited text, the file name and its format for saving', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  await openBytes(page, Buffer.from('R\tSTART\n\tRET\n\tEND\n'), 'keep.asm');
  await page.evaluate(() => window.zelkoraEditor.dispatch({ changes: { from: 0, insert: '; edited ｶﾅ\n' } }));
  await page.reload();
  await page.waitForSelector('body[data-ready="1"]');
  assert.equal(await editorText(page), '; edited ｶﾅ\nR\tSTART\n\tRET\n\tEND\n');
  assert.equal(await page.locator('#file-name').textContent(), 'keep.asm');
  const file = await saved(page, () => key(page, 'Control+S'));
  assert.equal(file.bytes.toString('latin1'), '; edited \xb6\xc5\nR\tSTART\n\tRET\n\tEND\n');
  await page.context().close();
});

test('a file dropped on the page opens; a binary asks first and no keeps the editor as it was', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  await drop(page, [['dropped.asm', SJIS]]);
  await idle(page);
  assert.equal(await page.locator('#file-name').textContent(), 'dropped.asm');
  assert.match(await editorText(page), /^P\tSTART\n\tRET\t; 日本ｶﾅ\n\tEND\n$/);

  const binary = Buffer.from([0x7f, 0x45, 0x4c, 0x46, 0x02, 0x01, 0x01, 0x00, 0x00, 0xff, 0xfe, 0x00]);
  await drop(page, [['a.out', binary]]);
  const question = page.getByRole('alertdialog');
  assert.match(await question.textContent(), /ﾃｷｽﾄﾌｧｲﾙではないようです/);
  await question.getByRole('button', { name: 'いいえ' }).click();
  await idle(page);
  assert.equal(await page.locator('#file-name').textContent(), 'dropped.asm');

  await drop(page, [['a.out', binary]]);
  await page.getByRole('alertdialog').getByRole('button', { name: 'はい' }).click();
  await idle(page);
  assert.equal(await page.locator('#file-name').textContent(), 'a.out');
  const file = await saved(page, () => key(page, 'Control+S'));
  assert.deepEqual([...file.bytes], [...binary]);
  await page.context().close();
});

test('a 20 MB file opens without stopping the page, and assembling it reports its errors', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  const line = 'X\tDC\t1\t; ' + 'a'.repeat(60) + '\r\n';
  const lines = Math.ceil(20e6 / line.length);
  // Made in the page and dropped there: a file chooser would spend most of the time copying it in.
  await page.evaluate(([text, count]) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([text.repeat(count)], 'big.asm'));
    window.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, [line, lines]);
  await page.locator('#file-name', { hasText: 'big.asm' }).waitFor();
  await idle(page);
  assert.equal(await page.evaluate(() => window.zelkoraEditor.state.doc.lines), lines + 1);
  await key(page, 'F7');
  assert.ok((await messageTexts(page)).some((t) => t.includes('ｱｾﾝﾌﾞﾙｴﾗｰ')), String(await messageTexts(page)));
  const t0 = Date.now();
  await page.evaluate(() => new Promise((r) => requestAnimationFrame(r)));
  assert.ok(Date.now() - t0 < 1000);
  await page.context().close();
});

test('the trace table downloads as CSV', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  await setSource(page, 'T\tSTART\n\tLAD\tGR1,5\n\tLAD\tGR2,7\n\tRET\n\tEND\n');
  await key(page, 'F7');
  await key(page, 'F9');
  await key(page, 'F9');
  await page.getByText('ﾌｧｲﾙ(F)').click();
  const file = await saved(page, () => page.getByRole('button', { name: /ﾄﾚｰｽ表の保存/ }).click());
  assert.equal(file.name, '無題.csv');
  const rows = file.bytes.toString('utf8').trim().split(/\r?\n/);
  assert.equal(rows.length, 3);
  assert.match(rows[0], /^step,address,source,GR0/);
  assert.match(rows[2], /^2,/);

  // Two million statements: the question with the table's size comes first, and Cancel saves nothing.
  await setSource(page, ['B\tSTART', '\tLAD\tGR2,12', 'O\tLAD\tGR1,0', 'L\tLAD\tGR1,1,GR1', '\tCPA\tGR1,=0',
    '\tJNZ\tL', '\tSUBA\tGR2,=1', '\tJNZ\tO', '\tRET', '\tEND', ''].join('\n'));
  await key(page, 'F7');
  await key(page, 'F5');
  await idle(page);
  let downloads = 0;
  page.on('download', () => ++downloads);
  const saveTable = async () => {
    await page.getByText('ﾌｧｲﾙ(F)').click();
    await page.getByRole('button', { name: /ﾄﾚｰｽ表の保存/ }).click();
    await page.getByRole('alertdialog').waitFor();
  };
  await saveTable();
  assert.match(await page.getByRole('alertdialog').textContent(), /ﾄﾚｰｽ表は約 2\d\d MB \( 2359334 行 \)/);
  await page.getByRole('alertdialog').getByRole('button', { name: 'ｷｬﾝｾﾙ' }).click();
  await idle(page);
  assert.equal(downloads, 0);
  await page.context().close();
});

test('once loaded, the page opens again offline with the work in it, and what it had not used yet works too', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await setSource(page, 'O\tSTART\n\tRET\n\tEND\n');
  await page.context().setOffline(true);
  await page.reload();
  await page.waitForSelector('body[data-ready="1"]');
  assert.equal(await editorText(page), 'O\tSTART\n\tRET\n\tEND\n');
  await key(page, 'F7');
  assert.ok((await messageTexts(page)).some((t) => t.includes('ｱｾﾝﾌﾞﾙが正常に終了しました')));
  // Never opened online: the manual and the tests' worker.
  assert.equal(await page.evaluate(() => fetch('help/zelkora.htm').then((r) => r.ok, () => false)), true);
  await drop(page, [['o.tests', 'case ends\nno-output\n']]);
  await page.getByText('操作(O)').click();
  await page.locator('.menubar [data-cmd="runTests"]:not(:disabled)').click();
  await page.locator('#errors .vr-row', { hasText: /^○ ends/ }).waitFor();
  await page.context().close();
});

test('a share link opened over unsaved work asks first; ｷｬﾝｾﾙ keeps the work', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  await setSource(page, '; mine\n');
  await page.goto(`${h.url}#src=${base64url('; shared\n')}`);
  const question = page.getByRole('alertdialog');
  await question.waitFor();
  await question.getByRole('button', { name: 'ｷｬﾝｾﾙ' }).click();
  await idle(page);
  assert.equal(await editorText(page), '; mine\n');
  // The same link opened in a new visit of the page asks too.
  await page.goto('about:blank');
  await page.goto(`${h.url}#src=${base64url('; shared\n')}`);
  await page.getByRole('alertdialog').getByRole('button', { name: 'いいえ' }).click();
  await page.waitForSelector('body[data-ready="1"]');
  assert.equal(await editorText(page), '; shared\n');
  await page.context().close();
});

test('名前を付けて保存 downloads under the name typed, which the page then keeps', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  await setSource(page, 'N\tSTART\n\tRET\n\tEND\n');
  await page.getByText('ﾌｧｲﾙ(F)').click();
  await page.getByRole('button', { name: /名前を付けて保存/ }).click();
  const dialog = page.locator('#name-dialog');
  await dialog.locator('[name=name]').fill('kadai1.asm');
  const file = await saved(page, () => dialog.getByRole('button', { name: '保存(S)' }).click());
  assert.equal(file.name, 'kadai1.asm');
  assert.equal(file.bytes.toString('latin1'), 'N\tSTART\r\n\tRET\r\n\tEND\r\n');
  assert.equal(await page.locator('#file-name').textContent(), 'kadai1.asm');
  await page.context().close();
});

test('a page whose core cannot be loaded says so instead of waiting', async () => {
  const page = await h.newPage();
  await page.route('**/zelkora-core.js', (route) => route.fulfill({ status: 404, body: '' }));
  await page.goto(h.url);
  await page.locator('#messages .message.stop').waitFor();
  assert.match(await page.locator('#messages .message.stop').textContent(), /WebAssembly/);
  await page.context().close();
});
