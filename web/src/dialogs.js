// Messages, questions and the two dialogs, drawn in the page (a browser's own alert box
// would stop the page and could not be answered by a test).
const kIconClasses = ['info', 'warning', 'stop'];
const kIconMarks = ['ｉ', '！', '×'];

function element(tag, props = {}, ...children) {
  const node = Object.assign(document.createElement(tag), props);
  node.append(...children);
  return node;
}

// Messages stack in the message area; each stays until OK (or the next command).
export class Messages {
  constructor(area) {
    this.area = area;
    this.audio = null;
  }

  show(text, icon = 0) {
    const ok = element('button', { type: 'button', textContent: 'OK', className: 'msg-ok' });
    const box = element('div', { className: `message ${kIconClasses[icon] || 'info'}` },
      element('span', { className: 'msg-icon', textContent: kIconMarks[icon] || kIconMarks[0], ariaHidden: 'true' }),
      element('span', { className: 'msg-text', textContent: text }), ok);
    box.setAttribute('role', icon ? 'alert' : 'status');
    ok.onclick = () => box.remove();
    this.area.append(box);
    ok.focus({ preventScroll: true });
    return box;
  }

  clear() { for (const box of [...this.area.querySelectorAll('.message:not(.progress)')]) box.remove(); }

  // A bar for work that takes a while, with its Cancel; it stays until closed.
  progress(text, onCancel) {
    const bar = element('progress', { max: 1, value: 0 });
    const count = element('span', { className: 'msg-count' });
    const cancel = element('button', { type: 'button', textContent: 'ｷｬﾝｾﾙ' });
    const box = element('div', { className: 'message progress' },
      element('span', { className: 'msg-icon', textContent: '…', ariaHidden: 'true' }),
      element('span', { className: 'msg-text', textContent: text }), bar, count, cancel);
    box.setAttribute('role', 'status');
    cancel.onclick = onCancel;
    this.area.append(box);
    return {
      step(done, total) {
        bar.max = total;
        bar.value = done;
        count.textContent = `${done}/${total}`;
      },
      close: () => box.remove(),
    };
  }

  // A question with the given answers; resolves to the index of the one chosen.
  ask(text, answers) {
    return new Promise((resolve) => {
      const buttons = answers.map((answer, i) => {
        const button = element('button', { type: 'button', textContent: answer });
        button.onclick = () => { box.remove(); resolve(i); };
        return button;
      });
      const box = element('div', { className: 'message question' },
        element('span', { className: 'msg-icon', textContent: '？', ariaHidden: 'true' }),
        element('span', { className: 'msg-text', textContent: text }), ...buttons);
      box.setAttribute('role', 'alertdialog');
      this.area.append(box);
      buttons[0].focus();
    });
  }

  beep() {
    try {
      this.audio ||= new AudioContext();
      const tone = this.audio.createOscillator();
      const gain = this.audio.createGain();
      gain.gain.value = 0.05;
      tone.frequency.value = 880;
      tone.connect(gain).connect(this.audio.destination);
      tone.start();
      tone.stop(this.audio.currentTime + 0.08);
    } catch { /* no sound here: the flash below still shows it */ }
    document.body.classList.remove('beep');
    void document.body.offsetWidth;
    document.body.classList.add('beep');
  }
}

// A modal dialog whose OK is answered by check(): true closes it.
function modal(dialog, check) {
  return new Promise((resolve) => {
    const form = dialog.querySelector('form');
    form.onsubmit = async (event) => {
      event.preventDefault();
      if (event.submitter && event.submitter.value === 'cancel') {
        dialog.close();
        resolve(false);
        return;
      }
      if (await check()) {
        dialog.close();
        resolve(true);
      }
    };
    dialog.oncancel = () => resolve(false);
    dialog.showModal();
  });
}

// ﾚｼﾞｽﾀの設定: GR0-GR7, SP, PR as typed, and the flags. apply(texts, v, s, z) answers the
// field that is no value (-1: all taken).
export function registerDialog(dialog, rows, flagBits, focusRow, apply) {
  const fields = [...dialog.querySelectorAll('input[type=text]')];
  fields.forEach((field, i) => { field.value = `#${rows[i].hex}`; });
  const flags = rows[10].value;
  const [v, s, z] = ['flag-v', 'flag-s', 'flag-z'].map((name) => dialog.querySelector(`[name=${name}]`));
  v.checked = (flags & flagBits.overflow) !== 0;
  s.checked = (flags & flagBits.sign) !== 0;
  z.checked = (flags & flagBits.zero) !== 0;
  const promise = modal(dialog, async () => {
    const bad = await apply(fields.map((field) => field.value), v.checked, s.checked, z.checked);
    if (bad < 0) return true;
    fields[bad].focus();
    fields[bad].select();
    return false;
  });
  (focusRow >= 0 && focusRow < 10 ? fields[focusRow] : v).focus();
  return promise;
}

// ｳｫｯﾁの新規追加 / ｳｫｯﾁの変更: target, length, format. apply answers 0 when taken.
export function watchDialog(dialog, title, watch, apply, notANumber) {
  dialog.querySelector('.dlg-title').textContent = title;
  const target = dialog.querySelector('[name=target]');
  const length = dialog.querySelector('[name=length]');
  target.value = watch.target;
  length.value = String(watch.length);
  dialog.querySelector(`[name=format][value="${watch.format}"]`).checked = true;
  const promise = modal(dialog, async () => {
    // The length is a count the dialog itself takes, as a spin box does.
    if (!/^\s*\d+\s*$/.test(length.value)) {
      notANumber();
      length.focus();
      return false;
    }
    const format = Number(dialog.querySelector('[name=format]:checked').value);
    const message = await apply(target.value, Number(length.value), format);
    if (message === 0) return true;
    (message === 1005 ? length : target).focus();
    return false;
  });
  target.focus();
  return promise;
}

// 名前を付けて保存: the name the file is downloaded under; null when cancelled.
export async function nameDialog(dialog, name) {
  const field = dialog.querySelector('[name=name]');
  field.value = name;
  const promise = modal(dialog, () => field.value.trim() !== '');
  field.focus();
  field.setSelectionRange(0, name.lastIndexOf('.') > 0 ? name.lastIndexOf('.') : name.length);
  return (await promise) ? field.value.trim() : null;
}
