// The student's work kept in the browser: the editor's text, the file's name and the
// bytes it was opened from (so that saving after a reload writes the file as it was).
// The text goes to localStorage at once (a reload right after a key loses nothing) and,
// with the bytes, to IndexedDB, which also holds what is too large for localStorage.
const kKey = 'zelkora.work';
const kDatabase = 'zelkora';
const kStore = 'work';

function openDatabase() {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open(kDatabase, 1);
    request.onupgradeneeded = () => request.result.createObjectStore(kStore);
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

// action(store) gives a request or an array of them; resolves to their results.
async function withStore(mode, action) {
  const db = await openDatabase();
  try {
    return await new Promise((resolve, reject) => {
      const transaction = db.transaction(kStore, mode);
      const request = action(transaction.objectStore(kStore));
      transaction.oncomplete = () => resolve(Array.isArray(request) ? request.map((r) => r.result) : request.result);
      transaction.onerror = () => reject(transaction.error);
    });
  } finally {
    db.close();
  }
}

// work: {text, name, otherEnds, dirty, saved (a time stamp), bytes (Uint8Array or null)}
export function saveWorkNow(work) {
  const { bytes, ...rest } = work;
  try {
    localStorage.setItem(kKey, JSON.stringify(rest));
  } catch {
    // Too large for localStorage: IndexedDB keeps it.
    localStorage.setItem(kKey, JSON.stringify({ ...rest, text: null }));
  }
}

// Writes go to IndexedDB one after the other, so that an older one never lands last.
let writes = Promise.resolve();

export function saveWork(work, withBytes) {
  saveWorkNow(work);
  const { bytes, ...rest } = work;
  const write = async () => {
    await withStore('readwrite', (store) => store.put(rest, 'text'));
    if (withBytes) await withStore('readwrite', (store) => store.put(bytes || null, 'bytes'));
  };
  writes = writes.then(write, write);
  return writes;
}

// The newest of what the two stores hold, or null.
export async function loadWork() {
  let quick = null;
  try { quick = JSON.parse(localStorage.getItem(kKey) || 'null'); } catch { quick = null; }
  // Every save writes localStorage first: without its entry nothing was ever kept, and a
  // first visit need not wait for IndexedDB to make its database.
  if (!quick) return null;
  let stored = null;
  let bytes = null;
  try {
    [stored, bytes] = await withStore('readonly', (store) => [store.get('text'), store.get('bytes')]);
  } catch { /* no IndexedDB (a private window may refuse it): localStorage alone */ }
  // localStorage lacks the text when it was too large, or is older when its last write failed.
  const work = quick.text === null || (stored && stored.saved > quick.saved) ? stored : quick;
  if (!work || typeof work.text !== 'string') return null;
  return { ...work, bytes: bytes || null };
}

// The test file and the files opened with it: {name, bytes, beside: {name: bytes}}, or null.
// Its name in localStorage says there is one, so that a page without one never waits for
// IndexedDB.
const kTestsKey = 'zelkora.tests';

export async function saveTests(tests) {
  localStorage.setItem(kTestsKey, tests.name);
  try {
    await withStore('readwrite', (store) => store.put(tests, 'tests'));
  } catch { /* no IndexedDB: the test file lasts until the page is closed */ }
}

export async function loadTests() {
  if (!localStorage.getItem(kTestsKey)) return null;
  try {
    return (await withStore('readonly', (store) => store.get('tests'))) || null;
  } catch {
    return null;
  }
}
