// Builds the page into one folder of static files: node build.mjs --core DIR --out DIR
// (DIR of --core holds zelkora-core.js and zelkora-core.wasm, the emscripten build).
import * as esbuild from 'esbuild';
import { cp, mkdir, readdir, rm } from 'node:fs/promises';
import { existsSync } from 'node:fs';
import { join, dirname } from 'node:path';
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
const common = { bundle: true, minify: true, target: ['chrome100', 'firefox100', 'safari15'], legalComments: 'none', logLevel: 'warning' };
await esbuild.build({ ...common, entryPoints: [join(here, 'src', 'main.js')], outfile: join(out, 'app.js'), format: 'iife' });
await esbuild.build({ ...common, entryPoints: [join(here, 'src', 'worker.js')], outfile: join(out, 'worker.js'), format: 'iife' });
for (const file of ['index.html', 'style.css', 'sw.js']) await cp(join(here, file), join(out, file));
for (const file of ['zelkora-core.js', 'zelkora-core.wasm']) await cp(join(core, file), join(out, file));
const icons = join(here, '..', 'src', 'resources', 'icons');
for (const file of await readdir(icons)) {
  if (/^cmd_\d+\.svg$|^app\.svg$/.test(file)) await cp(join(icons, file), join(out, 'icons', file));
}
console.log(`page built in ${out}`);
