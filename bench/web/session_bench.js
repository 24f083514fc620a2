// Times Go on a program in the page's session under node, slice by slice as the worker
// runs it, three times (the first includes the engine's warming up).
// usage: node session_bench.js MODULE_DIR FILE.asm
'use strict';
const fs = require('fs');
const path = require('path');
const [dir, file] = process.argv.slice(2);
require(path.resolve(dir, 'zelkora-core.js'))({ wasmBinary: fs.readFileSync(path.resolve(dir, 'zelkora-core.wasm')) })
  .then((core) => {
    const s = new core.Session();
    if (!s.assemble(fs.readFileSync(file, 'latin1')).ok) throw new Error(`${file} does not assemble`);
    for (let run = 1; run <= 3; run++) {
      s.restart();
      const start = process.hrtime.bigint();
      let status = s.run(core.RUN_GO, 0);
      let slices = 1;
      for (; status.open; slices++) status = s.continueRun();
      const ms = Number(process.hrtime.bigint() - start) / 1e6;
      console.log(`node run ${run}: ${status.executed} statements in ${ms.toFixed(0)} ms, ` +
        `${Math.round(status.executed / ms * 1000)} statements/s, ${slices} slices`);
    }
  });
