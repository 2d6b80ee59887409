// "ZQ70 Macro": the 16 make and 16 break steps of one macro, the macro memory that remains,
// and who else runs the macro. Every step goes through the editor's rules (which steps may
// change, whether a delay fits); OK keeps the macro, Cancel puts it back as it was.
import type { Core } from './core';
import type { Editor, MacroView, StepView } from '../core/editor';
import { runDialog } from './dialogs';
import { h, memoryGauge, shownCaption } from './dom';
import { pickKey } from './key_picker';

const kSteps = 16;

export interface MacroEditorHooks {
  // After every change inside the editor, so that the page behind it follows.
  changed(): void;
}

function stepButton(step: StepView, row: string, column: number): HTMLButtonElement {
  const text = step.text || 'Not Used';
  return h(
    'button',
    {
      type: 'button',
      class: step.value === 0 ? 'step empty' : 'step',
      'data-word': step.word,
      disabled: !step.enabled,
      'aria-label': `${row} step ${column + 1}: ${text}`,
    },
    shownCaption(step.caption),
  );
}

// The editor must already have a macro open (openMacroOfCell / openMacroSlot). Resolves
// with the answer stored in the cell (-1 cancelled).
export function editMacro(core: Core, editor: Editor, hooks: MacroEditorHooks): Promise<number> {
  const first = editor.macroView();
  if (!first) return Promise.resolve(-1);
  let result = -1;

  const dialog = h('dialog', { class: 'macro-editor', 'aria-labelledby': 'macro-title' });
  const table = h('table', { class: 'steps' });
  const memory = core.limits().macroMemory;
  const gauge = memoryGauge('macro-gauge', memory);
  const remaining = h('span', { id: 'macro-remaining', role: 'status' });
  const shared = h('p', { class: 'shared' });
  const undoButton = h('button', { type: 'button' }, 'Undo step');
  const redoButton = h('button', { type: 'button' }, 'Redo step');

  const render = (view: MacroView, focusWord?: number) => {
    const rows: [string, string, number][] = [
      ['When input made', 'Make', 0],
      ['When input breaks', 'Break', kSteps],
    ];
    table.replaceChildren(
      h(
        'thead',
        {},
        h(
          'tr',
          {},
          h('td', {}),
          ...Array.from({ length: kSteps }, (_, i) => h('th', { scope: 'col' }, `Step ${i + 1}`)),
        ),
      ),
      h(
        'tbody',
        {},
        ...rows.map(([label, short, first]) =>
          h(
            'tr',
            {},
            h('th', { scope: 'row' }, label),
            ...view.steps
              .slice(first, first + kSteps)
              .map((step, i) => h('td', {}, stepButton(step, short, i))),
          ),
        ),
      ),
    );
    gauge.value = memory - view.remaining;
    gauge.textContent = `${memory - view.remaining} of ${memory} bytes`;
    remaining.textContent = view.remainingCaption;
    shared.textContent =
      view.users.length > 1
        ? `Shared: ${view.users.join(', ')} run this macro; a change here changes it for all of them.`
        : '';
    undoButton.disabled = !editor.canUndo();
    redoButton.disabled = !editor.canRedo();
    if (focusWord !== undefined) {
      const button = table.querySelector<HTMLButtonElement>(`button[data-word="${focusWord}"]`);
      if (button && !button.disabled) button.focus();
      else table.querySelector<HTMLButtonElement>('button.step:not([disabled])')?.focus();
    }
  };

  const changed = (focusWord?: number) => {
    const view = editor.macroView();
    if (view) render(view, focusWord);
    hooks.changed();
  };

  const editStep = async (word: number) => {
    const step = editor.macroView()?.steps[word];
    if (!step || !step.enabled) return;
    const row = word < kSteps ? 'Make' : 'Break';
    const answer = await pickKey(core, `Select a key: ${row} step ${(word % kSteps) + 1}`, step.value, {
      kind: 'step',
      preselectBreak: step.preselectBreak,
      delayAllowed: step.delayAllowed,
    });
    if (answer >= 0) editor.setMacroStep(word, answer);
    changed(word);
  };

  table.addEventListener('click', (event) => {
    const button = (event.target as HTMLElement).closest<HTMLButtonElement>('button[data-word]');
    if (button) void editStep(Number(button.dataset.word));
  });
  table.addEventListener('keydown', (event) => {
    const button = (event.target as HTMLElement).closest<HTMLButtonElement>('button[data-word]');
    if (!button) return;
    const word = Number(button.dataset.word);
    if (event.key === 'Delete' || event.key === 'Backspace') {
      event.preventDefault();
      if (editor.setMacroStep(word, 0)) changed(word);
      return;
    }
    const moves: Record<string, number> = { ArrowLeft: -1, ArrowRight: 1, ArrowUp: -kSteps, ArrowDown: kSteps };
    const move = moves[event.key];
    if (move === undefined) return;
    event.preventDefault();
    const target = word + move;
    const sameRow = Math.floor(target / kSteps) === Math.floor(word / kSteps);
    if (target < 0 || target >= 2 * kSteps || (Math.abs(move) === 1 && !sameRow)) return;
    table.querySelector<HTMLButtonElement>(`button[data-word="${target}"]`)?.focus();
  });
  // The focus stays on the step it was on while the steps are drawn again.
  const undoRedo = (redo: boolean) => {
    const word = (document.activeElement as HTMLElement | null)?.dataset.word;
    if (redo ? editor.redo() : editor.undo()) changed(word === undefined ? undefined : Number(word));
  };
  undoButton.addEventListener('click', () => undoRedo(false));
  redoButton.addEventListener('click', () => undoRedo(true));
  dialog.addEventListener('keydown', (event) => {
    if (!(event.ctrlKey || event.metaKey)) return;
    const key = event.key.toLowerCase();
    if (key === 'z' || key === 'y') {
      event.preventDefault();
      undoRedo(key === 'y' || event.shiftKey);
    }
  });

  const ok = h(
    'button',
    {
      type: 'button',
      class: 'default',
      onclick: () => {
        result = editor.acceptMacro();
        dialog.close('ok');
      },
    },
    'OK',
  );
  dialog.append(
    h('h2', { id: 'macro-title' }, `ZQ70 Macro: ${first.label}`),
    h('p', { class: 'hint' }, 'Each step presses a key, releases it, or waits. Delete clears a step.'),
    h('div', { class: 'steps-frame' }, table),
    h(
      'div',
      { class: 'memory' },
      h('label', { for: 'macro-gauge' }, 'Macro memory used'),
      gauge,
      remaining,
    ),
    shared,
    h(
      'div',
      { class: 'buttons' },
      undoButton,
      redoButton,
      ok,
      h('button', { type: 'button', onclick: () => dialog.close('cancel') }, 'Cancel'),
    ),
  );
  dialog.addEventListener('close', () => {
    if (dialog.returnValue !== 'ok') editor.cancelMacro();
    hooks.changed();
  });
  render(first);
  const focus = table.querySelector<HTMLButtonElement>('button.step:not([disabled])') ?? ok;
  return runDialog(dialog, focus).then(() => result);
}
