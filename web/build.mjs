// Builds the page into one folder of static files: node build.mjs --core DIR --out DIR
// (DIR of --core holds zelkora-core.js and zelkora-core.wasm, the emscripten build).
import * as esbuild from 'esbuild';
import { cp, mkdir, readFile, readdir, rm, writeFile } from 'node:fs/promises';
import { existsSync } from 'node:fs';
import { join, dirname, relative, sep } from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';

const here = dirname(fileURLToPath(import.meta.url));
const { values } = parseArgs({ options: { core: { type: 'string' }, out: { type: 'string' } } });
const out = values.out || join(here, '..', 'build', 'page');
const core = values.core || join(here, '..', 'build', 'web', 'src', 'web');
for (const file of ['zelkora-core.js', 'zelkora-core.wasm']) {
  if (!existsSync(join(core, file))) {
    console.error(`build.mjs: ${join(core, file)} is missing (build the web preset first)`);
    process.exit(1);
  }
}

await rm(out, { recursive: true, force: true });
await mkdir(join(out, 'icons'), { recursive: true });
await mkdir(join(out, 'help'), { recursive: true });
const common = { bundle: true, minify: true, target: ['chrome100', 'firefox100', 'safari15'], legalComments: 'none', logLevel: 'warning' };
await esbuild.build({ ...common, entryPoints: [join(here, 'src', 'main.js')], outfile: join(out, 'app.js'), format: 'iife' });
for (const worker of ['worker.js', 'grade-worker.js']) {
  await esbuild.build({ ...common, entryPoints: [join(here, 'src', worker)], outfile: join(out, worker), format: 'iife' });
}
await cp(join(here, 'style.css'), join(out, 'style.css'));
// The toolbar's icons go into the page itself: each SVG file an <img> loads costs the
// browser a document of its own, which together held the page's start up for a third of a second.
const icons = join(here, '..', 'src', 'resources', 'icons');
let html = await readFile(join(here, 'index.html'), 'utf8');
const pending = [];
html.replace(/<img src="icons\/(cmd_\d+\.svg)" alt="">/g, (tag, file) => pending.push(file));
for (const file of new Set(pending)) {
  const svg = (await readFile(join(icons, file), 'utf8')).replace(/<!--[\s\S]*?-->/g, '').replace(/\s*\n\s*/g, ' ').trim()
    .replace('<svg ', '<svg aria-hidden="true" focusable="false" ');
  html = html.replaceAll(`<img src="icons/${file}" alt="">`, svg);
}
await writeFile(join(out, 'index.html'), html);
for (const file of ['zelkora-core.js', 'zelkora-core.wasm']) await cp(join(core, file), join(out, file));
await cp(join(icons, 'app.svg'), join(out, 'icons', 'app.svg'));
// The operating manual (one file with its pictures in it), for ﾍﾙﾌﾟ → 操作説明書.
await cp(join(here, '..', 'Help', 'zelkora.htm'), join(out, 'help', 'zelkora.htm'));
// The service worker with the list of the page's files, which it fetches for offline use.
const files = (await readdir(out, { recursive: true, withFileTypes: true }))
  .filter((entry) => entry.isFile())
  .map((entry) => relative(out, join(entry.path ?? entry.parentPath, entry.name)).split(sep).join('/'))
  .sort();
const worker = (await readFile(join(here, 'sw.js'), 'utf8')).replace('const kFiles = [];',
  `const kFiles = ${JSON.stringify(['./', ...files])};`);
await writeFile(join(out, 'sw.js'), worker);
console.log(`page built in ${out}`);
