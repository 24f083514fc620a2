// The bars between the panes: dragged or moved with the arrow keys they size the panes,
// the panes that show rows show more of them, a reload keeps the sizes, a double click
// gives the page's own size back.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { start, open, setSource, key, idle } from './harness.mjs';

let h;
before(async () => { h = await start(); });
after(async () => { await h.close(); });

const size = (page, selector) => page.locator(selector).evaluate((e) => {
  const r = e.getBoundingClientRect();
  return { width: r.width, height: r.height };
});

async function drag(page, bar, dx, dy) {
  const box = await page.locator(bar).boundingBox();
  const x = box.x + box.width / 2;
  const y = box.y + box.height / 2;
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x + dx / 2, y + dy / 2);
  await page.mouse.move(x + dx, y + dy);
  await page.mouse.up();
  await idle(page);
}

const near = (actual, expected, what) => assert.ok(Math.abs(actual - expected) <= 2, `${what}: ${actual}, expected ${expected}`);

test('the bars size the panes by drag and by keys, a reload keeps the sizes, a double click gives the first back', async () => {
  const page = await h.newPage();
  await open(page, h.url);
  await setSource(page, 'P\tSTART\n\tRET\n\tEND\n');
  await key(page, 'F7');
  const source0 = (await size(page, '.source')).width;
  const work0 = (await size(page, '.work')).height;
  const dumpRows0 = await page.locator('#dump .dump-row').count();

  await drag(page, '#bar-source', 120, 0);
  near((await size(page, '.source')).width, source0 + 120, 'source after a drag');
  await drag(page, '#bar-work', 0, -90);
  near((await size(page, '.work')).height, work0 + 90, 'work pane after a drag');
  assert.ok(await page.locator('#dump .dump-row').count() >= dumpRows0 + 4, 'the dump shows more rows');
  const errors0 = (await size(page, '#errors')).height;
  await drag(page, '#bar-errors', 0, -50);
  near((await size(page, '#errors')).height, errors0 + 50, 'error list after a drag');

  const listing0 = (await size(page, '.listing-pane')).width;
  await page.locator('#bar-listing').focus();
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('ArrowLeft');
  near((await size(page, '.listing-pane')).width, listing0 - 32, 'listing after two ArrowLeft');
  assert.equal(await page.locator('#bar-listing').getAttribute('role'), 'separator');

  // A drag far past the edge leaves the other pane its least size.
  await drag(page, '#bar-source', 2000, 0);
  assert.ok((await size(page, '.simulator')).width >= 298, 'the simulator keeps its least width');

  // What the bars set (the other sides change with the messages shown above the panes).
  const sizes = async () => [(await size(page, '.source')).width, (await size(page, '.work')).height,
    (await size(page, '#errors')).height, (await size(page, '.listing-pane')).width];
  const before = await sizes();
  await page.reload();
  await page.waitForSelector('body[data-ready="1"]');
  assert.deepEqual(await sizes(), before);

  await page.locator('#bar-source').dblclick();
  near((await size(page, '.source')).width, source0, 'source after a double click');
  await page.reload();
  await page.waitForSelector('body[data-ready="1"]');
  near((await size(page, '.source')).width, source0, 'source after a double click and a reload');
  assert.deepEqual(page.errors || [], []);
  await page.context().close();
});
