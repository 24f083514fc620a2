// The page's second worker: runs a test file's cases on the editor's program while the
// page and the session's worker stay free. Cancel ends this worker, however long a case runs.
/* global importScripts, createZelkoraCore */
importScripts('zelkora-core.js');

const core = createZelkoraCore();

self.onmessage = async ({ data }) => {
  try {
    const module = await core;
    const { text, encoding, name, bytes, beside } = data;
    const result = module.runTests(text, encoding, name, bytes, beside,
      (done, total) => self.postMessage({ type: 'progress', done, total }));
    self.postMessage({ type: 'done', result });
  } catch (error) {
    self.postMessage({ type: 'failed', error: String((error && error.message) || error) });
  }
};
