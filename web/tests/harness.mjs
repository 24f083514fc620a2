// What every browser test shares: the built page served on a free port of this machine,
// Debian's chromium driven headless, and small helpers that act as a student would.
import { chromium } from 'playwright-core';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';
import { serve } from '../serve.mjs';

const here = dirname(fileURLToPath(import.meta.url));
export const pageDir = process.env.ZELKORA_PAGE_DIR || join(here, '..', '..', 'build', 'page');

export async function start() {
  const server = await serve(pageDir, 0, '127.0.0.1');
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    // No sandbox (root in CI), and none of chromium's own connections: this machine's network is closed.
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--lang=ja', '--no-first-run', '--disable-quic',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const url = `http://127.0.0.1:${server.address().port}/`;
  return {
    url,
    browser,
    async newPage(options = {}) {
      const context = await browser.newContext({ viewport: { width: 1280, height: 900 }, acceptDownloads: true, locale: 'ja-JP', ...options });
      const page = await context.newPage();
      // A machine shared with other builds can be slow: a wait fails only when something is stuck.
      page.setDefaultTimeout(120000);
      page.on('pageerror', (error) => { page.errors ||= []; page.errors.push(error); });
      return page;
    },
    async close() {
      await browser.close();
      await new Promise((done) => server.close(done));
    },
  };
}

export async function open(page, url) {
  await page.goto(url);
  await page.waitForSelector('body[data-ready="1"]');
}

// The editor's whole text replaced, as if typed.
export async function setSource(page, text) {
  await page.evaluate((t) => {
    const view = window.zelkoraEditor;
    view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: t } });
  }, text);
}

export const button = (page, name) => page.getByRole('button', { name, exact: true });

// Presses a toolbar button and waits for the command's answer to be drawn.
export async function press(page, name) {
  await button(page, name).click();
  await idle(page);
}

export async function key(page, keys) {
  await page.keyboard.press(keys);
  await idle(page);
}

// Every command sent has been answered and drawn.
export async function idle(page) {
  await page.waitForFunction(() => !window.zelkora.running && !window.zelkora.busy);
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => done())));
  await page.waitForFunction(() => !window.zelkora.running && !window.zelkora.busy);
}

export async function registers(page) {
  return page.$$eval('table[aria-label="ﾚｼﾞｽﾀ"] tbody tr', (rows) =>
    Object.fromEntries(rows.map((row) => [row.cells[0].textContent, [...row.cells].slice(1).map((c) => c.textContent)])));
}

// Files dropped on the page together, as from a file manager: [name, text or bytes] each.
export async function drop(page, files) {
  await page.evaluate((list) => {
    const transfer = new DataTransfer();
    for (const [name, data] of list) {
      transfer.items.add(new File([typeof data === 'string' ? data : new Uint8Array(data)], name, { type: 'text/plain' }));
    }
    document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, files.map(([name, data]) => [name, typeof data === 'string' ? data : [...data]]));
}

export async function messageTexts(page) {
  return page.$$eval('#messages .msg-text', (items) => items.map((item) => item.textContent));
}

export async function outputLines(page) {
  return (await page.getByRole('log', { name: '出力結果', exact: true }).textContent()).split('\n').filter(Boolean);
}
