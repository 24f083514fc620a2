// The source editor: CodeMirror with the desktop editor's look. Line numbers, the CASL II
// colours (the spans come from the core, for the lines on the screen only), the red dots
// of the last assembly's errors (they stay with their lines while lines are added or
// removed), the PR line, and the lines whose end differs from the file's usual one.
import { EditorState, StateField, StateEffect, RangeSet, Compartment } from '@codemirror/state';
import {
  EditorView, Decoration, ViewPlugin, GutterMarker, gutter, lineNumbers, highlightActiveLine,
  highlightActiveLineGutter, keymap, drawSelection,
} from '@codemirror/view';
import { defaultKeymap, history, historyKeymap, indentWithTab } from '@codemirror/commands';
import { searchKeymap, search, openSearchPanel } from '@codemirror/search';

// The find and replace panel in Japanese, as the desktop program's find and replace windows.
const kPhrases = {
  Find: '検索', Replace: '置換', next: '次を検索', previous: '前を検索', all: 'すべて選択', 'match case': '大文字と小文字を区別',
  regexp: '正規表現', 'by word': '単語単位', replace: '置換', 'replace all': 'すべて置換', close: '閉じる',
  'Go to line': '行へ移動', go: '移動', 'current match': '現在の一致', 'on line': '行',
  'replaced match on line $': '$ 行目を置換しました', 'replaced $ matches': '$ 個を置換しました',
  'Selection deleted': '選択範囲を削除しました', 'Control character': '制御文字',
};

const kKindClasses = ['cm-casl-label', 'cm-casl-op', 'cm-casl-reg', 'cm-casl-num', 'cm-casl-str', 'cm-casl-comment'];
const kindMarks = kKindClasses.map((cls) => Decoration.mark({ class: cls }));

class DotMarker extends GutterMarker {
  constructor(cls) { super(); this.elementClass = cls; }
  toDOM() { const span = document.createElement('span'); span.className = this.elementClass; return span; }
}
const errorDot = new DotMarker('cm-error-dot');
const prArrow = new DotMarker('cm-pr-arrow');
const lineStart = new (class extends GutterMarker {})();

const setErrors = StateEffect.define();
const setOtherEnds = StateEffect.define();
const setPRLine = StateEffect.define();
const coloursArrived = StateEffect.define();

// Markers at line starts that move with the text: a line's error, a line's other end.
function lineMarkerField(effect, marker) {
  return StateField.define({
    create: () => RangeSet.empty,
    update(set, tr) {
      set = set.map(tr.changes);
      for (const e of tr.effects) {
        if (e.is(effect)) {
          const doc = tr.state.doc;
          const ranges = [];
          for (const line of [...new Set(e.value)].sort((a, b) => a - b)) {
            if (line >= 1 && line <= doc.lines) ranges.push(marker.range(doc.line(line).from));
          }
          set = RangeSet.of(ranges);
        }
      }
      return set;
    },
  });
}
const errorField = lineMarkerField(setErrors, errorDot);
const otherEndField = lineMarkerField(setOtherEnds, lineStart);

const prField = StateField.define({
  create: () => 0,
  update(value, tr) {
    for (const e of tr.effects) if (e.is(setPRLine)) value = e.value;
    return value;
  },
});

const prLineDeco = Decoration.line({ class: 'cm-pr-line' });
const prDecorations = EditorView.decorations.compute([prField, 'doc'], (state) => {
  const line = state.field(prField);
  if (line < 1 || line > state.doc.lines) return Decoration.none;
  return Decoration.set([prLineDeco.range(state.doc.line(line).from)]);
});

const markGutter = gutter({
  class: 'cm-mark-gutter',
  markers: (view) => view.state.field(errorField),
  lineMarker(view, line) {
    const pr = view.state.field(prField);
    return pr >= 1 && pr <= view.state.doc.lines && view.state.doc.line(pr).from === line.from ? prArrow : null;
  },
  lineMarkerChange: (update) => update.transactions.some((tr) => tr.effects.some((e) => e.is(setPRLine))),
  initialSpacer: () => errorDot,
});

// Colours of the lines on the screen, asked from the core by their text and kept.
function colouring(requestColours) {
  const cache = new Map();
  const asked = new Set();
  return ViewPlugin.fromClass(class {
    constructor(view) { this.view = view; this.decorations = this.build(); }
    update(update) {
      if (update.docChanged || update.viewportChanged || update.transactions.some((tr) => tr.effects.some((e) => e.is(coloursArrived)))) {
        this.decorations = this.build();
      }
    }
    build() {
      const { state } = this.view;
      const ranges = [];
      const missing = [];
      for (const { from, to } of this.view.visibleRanges) {
        for (let pos = from; pos <= to;) {
          const line = state.doc.lineAt(pos);
          const spans = cache.get(line.text);
          if (spans) {
            for (let i = 0; i + 2 < spans.length; i += 3) {
              const start = line.from + spans[i];
              ranges.push(kindMarks[spans[i + 2]].range(start, start + spans[i + 1]));
            }
          } else if (line.text.length && !asked.has(line.text)) {
            asked.add(line.text);
            missing.push(line.text);
          }
          pos = line.to + 1;
        }
      }
      if (missing.length) {
        requestColours(missing).then((result) => {
          if (!result) return;
          missing.forEach((text, i) => cache.set(text, result[i]));
          if (cache.size > 20000) cache.clear();
          this.view.dispatch({ effects: coloursArrived.of(null) });
        }).finally(() => missing.forEach((text) => asked.delete(text)));
      }
      return Decoration.set(ranges, true);
    }
  }, { decorations: (plugin) => plugin.decorations });
}

const theme = EditorView.theme({
  '&': { height: '100%' },
  '.cm-scroller': { fontFamily: 'var(--mono)', lineHeight: '1.35' },
  '.cm-gutters': { backgroundColor: '#F0F0F0', color: '#808080', borderRight: 'none' },
  '.cm-activeLine': { backgroundColor: '#FFFFE0' },
  '.cm-activeLineGutter': { backgroundColor: '#F0F0F0' },
  '.cm-pr-line': { backgroundColor: '#D8F0D8' },
});

export function createEditor(parent, { onChange, onCaret, requestColours }) {
  const readOnly = new Compartment();
  const view = new EditorView({
    parent,
    state: EditorState.create({
      doc: '',
      extensions: [
        EditorState.tabSize.of(8), lineNumbers(), markGutter, highlightActiveLineGutter(), highlightActiveLine(), history(), drawSelection(),
        search({ top: true }), errorField, otherEndField, prField, prDecorations, colouring(requestColours), theme,
        readOnly.of(EditorState.readOnly.of(false)),
        EditorState.phrases.of(kPhrases),
        // Ctrl+H opens the same panel, whose second line replaces.
        keymap.of([{ key: 'Mod-h', run: openSearchPanel, preventDefault: true }, ...defaultKeymap, ...historyKeymap,
          ...searchKeymap, indentWithTab]),
        EditorView.updateListener.of((update) => {
          if (update.docChanged) onChange();
          if (update.docChanged || update.selectionSet) {
            const head = update.state.selection.main.head;
            const line = update.state.doc.lineAt(head);
            onCaret(line.number, head - line.from + 1);
          }
        }),
        EditorView.contentAttributes.of({ 'aria-label': 'ｿｰｽ', spellcheck: 'false', autocorrect: 'off', autocapitalize: 'off' }),
      ],
    }),
  });

  function linesOf(field) {
    const lines = [];
    const doc = view.state.doc;
    for (let it = view.state.field(field).iter(); it.value; it.next()) lines.push(doc.lineAt(it.from).number);
    return lines;
  }

  return {
    view,
    getText: () => view.state.doc.toString(),
    // Replaces the whole text; otherEnds: 0-based lines whose end is not the file's usual one.
    setText(text, otherEnds = []) {
      view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text }, effects: setErrors.of([]) });
      view.dispatch({ effects: [setOtherEnds.of(otherEnds.map((n) => n + 1)), setPRLine.of(0)] });
    },
    // 0-based, as the file's bytes are made.
    otherEnds: () => linesOf(otherEndField).map((n) => n - 1),
    setErrors: (lines) => view.dispatch({ effects: setErrors.of(lines) }),
    errorLines: () => linesOf(errorField),
    setPRLine(line, reveal) {
      const effects = [setPRLine.of(line)];
      if (reveal && line >= 1 && line <= view.state.doc.lines) {
        effects.push(EditorView.scrollIntoView(view.state.doc.line(line).from, { y: 'nearest' }));
      }
      view.dispatch({ effects });
    },
    gotoLine(line) {
      if (line < 1 || line > view.state.doc.lines) return false;
      const pos = view.state.doc.line(line).from;
      view.dispatch({ selection: { anchor: pos }, effects: EditorView.scrollIntoView(pos, { y: 'center' }) });
      view.focus();
      return true;
    },
    setReadOnly: (on) => view.dispatch({ effects: readOnly.reconfigure(EditorState.readOnly.of(on)) }),
    focus: () => view.focus(),
  };
}
