// 操作 → ﾃｽﾄ実行 on the page: the test file opened or dropped with the program, and the
// files its cases read, kept in the browser. Its cases run in a worker of their own, so
// that the page and its machine stay free; Cancel ends that worker.
import { readFile } from './files.js';
import { saveTests, loadTests } from './storage.js';

export class ExerciseTests {
  constructor() {
    this.file = null; // {name, bytes, beside: {name: bytes}}
    this.worker = null;
    this.stopRun = null; // ends the run under way
    this.result = null; // the last run's {lines, inputs}
  }

  get present() { return !!this.file; }
  get running() { return !!this.stopRun; }

  async restore() {
    this.file = await loadTests();
    if (this.file) this.warm();
  }

  // The worker made ahead: its core is ready for the first run, and the browser keeps its
  // script for a page opened again offline.
  warm() {
    if (this.worker) return;
    const worker = new Worker('grade-worker.js');
    // One that could not start (offline, its script never kept) is made again by the next run.
    worker.onerror = () => this.drop(worker);
    this.worker = worker;
  }

  drop(worker) {
    worker.terminate();
    if (this.worker === worker) this.worker = null;
  }

  async take(tests, beside) {
    this.cancel(); // a run of the file it replaces would list that file's results
    const files = {};
    for (const file of beside) files[file.name] = await readFile(file);
    this.file = { name: tests.name, bytes: await readFile(tests), beside: files };
    this.result = null;
    await saveTests(this.file);
    this.warm();
  }

  // Every case on the text; resolves to {message} for a wrong test file, {lines, inputs},
  // or null when cancelled. onProgress(done, total) after each case.
  run(text, encoding, onProgress) {
    this.warm();
    const worker = this.worker;
    const { name, bytes, beside } = this.file;
    return new Promise((resolve, reject) => {
      const end = (settle, value) => {
        this.stopRun = null;
        settle(value);
      };
      this.stopRun = () => { this.drop(worker); end(resolve, null); };
      worker.onmessage = ({ data }) => {
        if (data.type === 'progress') {
          onProgress(data.done, data.total);
        } else if (data.type === 'done') {
          if (!data.result.message) this.result = data.result;
          end(resolve, data.result);
        } else {
          this.drop(worker);
          end(reject, new Error(data.error));
        }
      };
      worker.onerror = (event) => { this.drop(worker); end(reject, new Error(event.message || 'grade-worker')); };
      worker.postMessage({ text, encoding, name, bytes, beside });
    });
  }

  cancel() { if (this.stopRun) this.stopRun(); }

  // What IN reads for case index of the last run ({lines, ends}), or null.
  caseInput(index) { return (this.result && this.result.inputs[index]) || null; }
}
