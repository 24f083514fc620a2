// The README's pictures of the page: node screenshot.mjs [OUT_DIR] (default docs/).
// examples/subroutine.asm opened as a student opens it, then traced half way.
import { readFile } from 'node:fs/promises';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';
import { start, open, key, idle, button } from './tests/harness.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const out = process.argv[2] || join(here, '..', 'docs');
const h = await start();
const page = await h.newPage();
await open(page, h.url);
await page.locator('#file-input').setInputFiles({
  name: 'subroutine.asm', mimeType: 'text/plain', buffer: await readFile(join(here, '..', 'examples', 'subroutine.asm')),
});
await page.locator('#file-name', { hasText: 'subroutine.asm' }).waitFor();
await key(page, 'F7');
await page.locator('#messages .msg-ok').click();
// A breakpoint on ST, then thirteen traces: SUBA has just run and PR stands in its ring.
await page.locator('#listing .vr-row', { hasText: /ST\s+GR3,0,GR1/ }).click();
await key(page, 'F2');
for (let i = 0; i < 13; ++i) await key(page, 'F9');
await page.waitForTimeout(300);
await page.screenshot({ path: join(out, 'web-page.png') });

// The IN line: echo.asm waiting for its second line, with the output of the first.
await page.locator('#file-input').setInputFiles({
  name: 'echo.asm', mimeType: 'text/plain', buffer: await readFile(join(here, '..', 'examples', 'echo.asm')),
});
await page.locator('#file-name', { hasText: 'echo.asm' }).waitFor();
await key(page, 'F7');
await page.locator('#messages .msg-ok').click();
await button(page, '出力結果').click();
await key(page, 'F5');
await page.locator('#input-line').fill('hello, world');
await page.locator('#input-line').press('Enter');
await idle(page);
await page.locator('#input-line').waitFor();
await page.waitForTimeout(300);
await page.screenshot({ path: join(out, 'web-input.png') });
await h.close();
console.log(`pictures in ${out}`);
