// The page's end of the worker: commands go out as messages, each answered by its result
// and the state the panes draw. Progress of a running machine comes as it goes.
export class SessionClient {
  // worker: one the page started early, with the messages it has sent so far.
  constructor(url, worker = null, early = []) {
    this.worker = worker || new Worker(url);
    this.nextId = 1;
    this.pending = new Map();
    this.onProgress = () => {};
    this.ready = new Promise((resolve, reject) => {
      this.worker.onmessage = (event) => {
        const message = event.data;
        if (message.type === 'ready') resolve(message);
        else if (message.type === 'failed') reject(new Error(message.error));
        else if (message.type === 'progress') this.onProgress(message);
        else this.settle(message);
      };
      // A worker that fails (its module aborted) answers nothing more: every command waiting
      // for it ends with the error, so that the page is not left waiting for ever.
      this.worker.onerror = (event) => {
        const error = new Error(event.message || 'worker');
        reject(error);
        for (const waiter of this.pending.values()) waiter.reject(error);
        this.pending.clear();
      };
      for (const event of early) (event.type === 'error' ? this.worker.onerror : this.worker.onmessage)(event);
    });
  }

  get busy() { return this.pending.size > 0; }

  settle(message) {
    const waiter = this.pending.get(message.id);
    if (!waiter) return;
    this.pending.delete(message.id);
    if (message.error) waiter.reject(new Error(message.error));
    else waiter.resolve(message);
  }

  // Resolves to {result, snap}; view tells which rows the panes show.
  call(cmd, args = [], view = undefined, transfer = []) {
    const id = this.nextId++;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject });
      this.worker.postMessage({ id, cmd, args, view }, transfer);
    });
  }
}
