// Runs the browser tests on the built page: node tests/run.mjs [PAGE_DIR]. Exit status 77
// (skipped) when the page, the npm packages or chromium are not there yet.
import { existsSync } from 'node:fs';
import { spawnSync } from 'node:child_process';
import { join, dirname, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const pageDir = resolve(process.argv[2] || join(here, '..', '..', 'build', 'page'));
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
const missing = [
  [join(pageDir, 'zelkora-core.wasm'), 'the page (scripts/build-page.sh)'],
  [join(here, '..', 'node_modules', 'playwright-core'), 'the npm packages (npm ci in web/)'],
  [chromium, 'chromium (scripts/install-deps.sh --web)'],
].filter(([path]) => !existsSync(path));
if (missing.length) {
  console.log(`skipped: no ${missing.map(([, what]) => what).join(', ')}`);
  process.exit(77);
}
// One test file at a time (they share the server and the browser), each test named as it ends.
const result = spawnSync(process.execPath, ['--test', '--test-concurrency=1', '--test-reporter=tap', here], {
  stdio: 'inherit',
  env: { ...process.env, ZELKORA_PAGE_DIR: pageDir },
});
process.exit(result.status ?? 1);
