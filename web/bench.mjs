// The page's figures in headless chromium beside the native zelkora-cli:
//   node bench.mjs [PAGE_DIR] [ZELKORA_CLI]
// the gzipped size of what a browser loads, load to ready, Go speed, F9 latency on a
// 400,000-line program and Stop latency.
import { readFile, readdir, writeFile, mkdtemp } from 'node:fs/promises';
import { gzipSync } from 'node:zlib';
import { execFileSync } from 'node:child_process';
import { join, dirname } from 'node:path';
import { tmpdir } from 'node:os';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
process.env.ZELKORA_PAGE_DIR = process.argv[2] || process.env.ZELKORA_PAGE_DIR || join(here, '..', 'build', 'page');
const cli = process.argv[3] || join(here, '..', 'build', 'release', 'src', 'cli', 'zelkora-cli');
const { start, open, setSource, idle, button } = await import('./tests/harness.mjs');
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => `${value.toFixed(1)} ms`;

// What a first visit downloads, each file gzipped as a server would send it.
let gzipped = 0;
for (const file of await readdir(process.env.ZELKORA_PAGE_DIR, { recursive: true })) {
  if (!/\.(js|wasm|css|html|svg)$/.test(file)) continue;
  gzipped += gzipSync(await readFile(join(process.env.ZELKORA_PAGE_DIR, file)), { level: 9 }).length;
}
console.log(`page and WASM, gzipped: ${(gzipped / 1024).toFixed(0)} KiB`);

const h = await start();
const only = process.env.ONLY || '';
const loads = [];
for (let i = 0; i < 5; ++i) {
  const page = await h.newPage();
  await open(page, h.url);
  loads.push(await page.evaluate(() => performance.getEntriesByName('zelkora-ready')[0].startTime));
  await page.context().close();
}
console.log(`load to ready, first visit (new browser context, median of 5): ${ms(median(loads))}`);
// A student's next visits: the browser has the files and their compiled code.
const again = [];
const visitor = await h.newPage();
await open(visitor, h.url);
for (let i = 0; i < 5; ++i) {
  await visitor.reload();
  await visitor.waitForSelector('body[data-ready="1"]');
  again.push(await visitor.evaluate(() => performance.getEntriesByName('zelkora-ready')[0].startTime));
}
await visitor.context().close();
console.log(`load to ready, next visits (reload, median of 5): ${ms(median(again))}`);

// 100,000,000 statements: 2500 times 20000 times SUBA and JNZ.
const LOOP = 'B\tSTART\n\tLAD\tGR2,2500\nO\tLAD\tGR1,20000\nI\tSUBA\tGR1,ONE\n\tJNZ\tI\n\tSUBA\tGR2,ONE\n\tJNZ\tO\n\tRET\nONE\tDC\t1\n\tEND\n';
const page = await h.newPage();
await open(page, h.url);
await setSource(page, LOOP);
await page.keyboard.press('F7');
await idle(page);
// The best of three for both: the machine is shared, and a run only ever takes longer.
const goTimes = [];
let executed = 0;
for (let i = 0; i < 3; ++i) {
  await page.keyboard.press('Control+F5');
  await idle(page);
  const go = await page.evaluate(async () => {
    const t0 = performance.now();
    document.querySelector('[data-cmd="go"]').click();
    while (window.zelkora.running) await new Promise((r) => setTimeout(r, 5));
    return { ms: performance.now() - t0, executed: window.zelkora.snap.status.executed };
  });
  goTimes.push(go.ms);
  executed = go.executed;
}
const dir = await mkdtemp(join(tmpdir(), 'zelkora-bench-'));
await writeFile(join(dir, 'loop.asm'), LOOP);
const nativeTimes = [];
for (let i = 0; i < 3; ++i) {
  const t0 = process.hrtime.bigint();
  execFileSync(cli, ['run', join(dir, 'loop.asm')], { stdio: 'ignore' });
  nativeTimes.push(Number(process.hrtime.bigint() - t0) / 1e6);
}
const pageMs = Math.min(...goTimes);
const nativeMs = Math.min(...nativeTimes);
console.log(`Go, ${executed.toLocaleString('en')} statements (best of 3): page ${ms(pageMs)}, zelkora-cli ${ms(nativeMs)}, the page at ${(nativeMs / pageMs * 100).toFixed(0)} % of native`);

// Stop: from the click to the page showing the stopped machine.
await setSource(page, 'L\tSTART\nX\tJUMP\tX\n\tEND\n');
await page.keyboard.press('F7');
await idle(page);
const stops = [];
for (let i = 0; i < 5; ++i) {
  await button(page, '実行').click();
  await page.waitForTimeout(500);
  stops.push(await page.evaluate(async () => {
    const t0 = performance.now();
    document.querySelector('[data-cmd="stop"]').click();
    while (window.zelkora.running) await new Promise((r) => setTimeout(r, 0));
    await new Promise((r) => requestAnimationFrame(r));
    return performance.now() - t0;
  }));
}
console.log(`Stop latency (median of 5, worst): ${ms(median(stops))}, ${ms(Math.max(...stops))}`);

// F9 on a 400,000-line program: from the key to the frame that shows its result.
const big = ['BIG\tSTART', ...Array.from({ length: 399997 }, (_, i) => `\tLAD\tGR1,${i % 100},GR1`), '\tRET', '\tEND'].join('\n');
await setSource(page, big);
const assembleStart = Date.now();
await page.keyboard.press('F7');
await idle(page);
console.log(`assembling 400,000 lines: ${Date.now() - assembleStart} ms`);
const traces = [];
for (let i = 0; i < 30; ++i) {
  traces.push(await page.evaluate(async () => {
    const t0 = performance.now();
    const before = window.zelkora.timing;
    document.dispatchEvent(new KeyboardEvent('keydown', { key: 'F9', bubbles: true }));
    while (window.zelkora.timing === before) await new Promise((r) => setTimeout(r, 0));
    const drawn = performance.now() - t0;
    await new Promise((r) => requestAnimationFrame(r));
    return [drawn, performance.now() - t0];
  }));
}
const drawn = traces.map(([d]) => d);
const framed = traces.map(([, f]) => f);
console.log(`F9 latency on 400,000 lines, key to panes drawn (median of 30, worst): ${ms(median(drawn))}, ${ms(Math.max(...drawn))}`);
console.log(`  to the next frame painted: ${ms(median(framed))}, ${ms(Math.max(...framed))}`);
await h.close();
