// "Select a key": the drawn keyboard of the window program's dialog, with every key of the
// catalogue, a search by short or long name, and for a macro step Make/Break and a delay.
import type { CatalogueKey } from '../core/core';
import type { Core } from './core';
import { runDialog } from './dialogs';
import { h, shownCaption } from './dom';

export type PickerVariant =
  | { kind: 'key' }
  | { kind: 'step'; preselectBreak: boolean; delayAllowed: boolean };

// The dialog's size in its units: the keyboard is drawn to scale.
const kKeyboardWidth = 552;
const kKeyboardHeight = 150;
const kDelayKey = 132;

interface KeyButton {
  key: number;
  button: HTMLButtonElement;
  names: string[]; // lower case: caption, short and long name
}

// The name read out for a key: its long name, led by what the key shows when the long name
// does not say it ("PrtSc, Print Screen"), so that the spoken and the seen name agree.
function spokenName(caption: string, long: string): string {
  const shown = caption.split(' ');
  const words = long.split(' ');
  for (let i = 0; i + shown.length <= words.length; ++i) {
    if (shown.every((word, k) => words[i + k] === word)) return long;
  }
  return `${caption}, ${long}`;
}

function namesOf(entry: CatalogueKey | undefined, caption: string): string[] {
  const names = [caption];
  if (entry) names.push(entry.shortName, entry.longName);
  return [...new Set(names.map((n) => n.toLowerCase()))];
}

// The best matches first: a whole name, then the start of a name, then anywhere.
function matches(keys: KeyButton[], text: string): KeyButton[] {
  const wanted = text.trim().toLowerCase();
  if (!wanted) return [];
  const rank = (k: KeyButton) => {
    if (k.names.includes(wanted)) return 0;
    if (k.names.some((n) => n.startsWith(wanted))) return 1;
    if (k.names.some((n) => n.includes(wanted))) return 2;
    return 3;
  };
  return keys
    .map((k) => ({ k, r: rank(k) }))
    .filter((m) => m.r < 3)
    .sort((a, b) => a.r - b.r)
    .map((m) => m.k);
}

// The nearest key in the direction of an arrow, by the drawn places.
function neighbour(keys: KeyButton[], from: HTMLElement, direction: string): KeyButton | undefined {
  const a = from.getBoundingClientRect();
  const ax = a.left + a.width / 2;
  const ay = a.top + a.height / 2;
  let best: KeyButton | undefined;
  let bestScore = Infinity;
  for (const k of keys) {
    if (k.button === from) continue;
    const b = k.button.getBoundingClientRect();
    const dx = b.left + b.width / 2 - ax;
    const dy = b.top + b.height / 2 - ay;
    const along = { ArrowRight: dx, ArrowLeft: -dx, ArrowDown: dy, ArrowUp: -dy }[direction] ?? 0;
    const across = direction === 'ArrowLeft' || direction === 'ArrowRight' ? dy : dx;
    if (along <= 1) continue;
    const score = along + 3 * Math.abs(across);
    if (score < bestScore) {
      bestScore = score;
      best = k;
    }
  }
  return best;
}

// Resolves with the window program's result: -1 cancelled, a key number (0 "Not Used"), and
// for a step a released key (0x80 + key) or a delay step word.
export function pickKey(
  core: Core,
  title: string,
  startCode: number,
  variant: PickerVariant,
): Promise<number> {
  const catalogue = new Map(core.keyCatalogue().map((e) => [e.key, e]));
  const stepVariant = variant.kind === 'step';
  let result = -1;

  const dialog = h('dialog', { class: 'picker', 'aria-labelledby': 'picker-title' });
  const close = (value: number) => {
    result = value;
    dialog.close('chosen');
  };
  const breakRadio = h('input', { type: 'radio', name: 'kind', value: 'break', id: 'kind-break' });
  const makeRadio = h('input', { type: 'radio', name: 'kind', value: 'make', id: 'kind-make' });
  const breakChosen = () => breakRadio.checked;

  const board = h('div', {
    class: 'keyboard',
    role: 'group',
    'aria-label': 'Keyboard',
    style: `aspect-ratio: ${kKeyboardWidth} / ${kKeyboardHeight}`,
  });
  const keys: KeyButton[] = [];
  for (const place of core.keyboardLayout()) {
    const entry = catalogue.get(place.key);
    const caption = shownCaption(place.caption);
    const long = entry ? entry.longName : caption;
    const spoken = spokenName(caption, long);
    const button = h(
      'button',
      {
        type: 'button',
        class: place.key === 0 ? 'key not-used' : 'key',
        'data-key': place.key,
        'aria-label': spoken,
        title: entry && entry.shortName !== entry.longName ? `${entry.shortName}: ${entry.longName}` : long,
        style:
          `left: ${(place.x / kKeyboardWidth) * 100}%; top: ${(place.y / kKeyboardHeight) * 100}%;` +
          ` width: ${(place.width / kKeyboardWidth) * 100}%;` +
          ` height: ${(place.height / kKeyboardHeight) * 100}%`,
        onclick: () =>
          close(stepVariant ? core.keyStep(place.key, breakChosen()) : place.key),
      },
      caption,
    );
    board.append(button);
    keys.push({ key: place.key, button, names: namesOf(entry, caption) });
  }
  board.addEventListener('keydown', (event) => {
    if (!event.key.startsWith('Arrow') || !(event.target instanceof HTMLButtonElement)) return;
    const next = neighbour(keys, event.target, event.key);
    if (next) next.button.focus();
    event.preventDefault();
  });

  const found = h('p', { class: 'found', role: 'status', 'aria-live': 'polite' });
  // A plain text field: Esc then cancels the dialog instead of clearing the field first.
  const search = h('input', {
    type: 'text',
    id: 'key-search',
    autocomplete: 'off',
    spellcheck: 'false',
    'aria-describedby': 'key-search-hint',
  });
  const showMatches = () => {
    const list = matches(keys, search.value);
    for (const k of keys) k.button.classList.toggle('match', list.includes(k));
    keys.forEach((k) => k.button.classList.remove('first-match'));
    if (list[0]) list[0].button.classList.add('first-match');
    found.textContent = !search.value.trim()
      ? ''
      : list.length === 0
        ? 'No key has that name'
        : `${list.length} ${list.length === 1 ? 'key' : 'keys'}: ${list
            .slice(0, 4)
            .map((k) => k.button.getAttribute('aria-label'))
            .join(', ')}${list.length > 4 ? ', ...' : ''}`;
    return list;
  };
  search.addEventListener('input', showMatches);
  // Typing anywhere in the picker goes into the search: a name finds its key.
  dialog.addEventListener('keydown', (event) => {
    const typing = event.key.length === 1 && event.key !== ' ' && !event.ctrlKey && !event.altKey && !event.metaKey;
    const inField = event.target instanceof HTMLInputElement && ['text', 'number'].includes(event.target.type);
    if (!typing || inField) return;
    event.preventDefault();
    search.value += event.key;
    search.focus();
    showMatches();
  });
  search.addEventListener('keydown', (event) => {
    const list = showMatches();
    if (event.key === 'Enter' && list[0]) {
      event.preventDefault();
      list[0].button.click();
    } else if (event.key === 'ArrowDown' && list[0]) {
      event.preventDefault();
      list[0].button.focus();
    }
  });

  const parts: (HTMLElement | null)[] = [
    h('h2', { id: 'picker-title' }, title),
    h(
      'div',
      { class: 'search' },
      h('label', { for: 'key-search' }, 'Find a key'),
      search,
      h('span', { id: 'key-search-hint', class: 'hint' }, 'Type a short or long name; Enter takes the first match'),
    ),
    found,
    h('div', { class: 'keyboard-frame' }, board),
  ];

  if (variant.kind === 'step') {
    (variant.preselectBreak ? breakRadio : makeRadio).checked = true;
    const delayInput = h('input', {
      type: 'number',
      id: 'delay-ms',
      min: 10,
      max: 2560,
      step: 10,
      value: 100,
      disabled: !variant.delayAllowed,
    });
    const delayButton = h(
      'button',
      {
        type: 'button',
        id: 'delay-button',
        'data-key': kDelayKey,
        disabled: !variant.delayAllowed,
        onclick: () => close(core.delayStepOfMs(core.entryNumber(delayInput.value))),
      },
      'Delay',
    );
    delayInput.addEventListener('keydown', (event) => {
      if (event.key === 'Enter') {
        event.preventDefault();
        delayButton.click();
      }
    });
    parts.push(
      h(
        'div',
        { class: 'step-kind' },
        h(
          'fieldset',
          {},
          h('legend', {}, 'The key is'),
          h('label', {}, makeRadio, ' Make (pressed)'),
          h('label', {}, breakRadio, ' Break (released)'),
        ),
        h(
          'div',
          { class: 'delay' },
          h('label', { for: 'delay-ms' }, 'Wait (ms, 10 to 2560 in steps of 10)'),
          delayInput,
          delayButton,
          variant.delayAllowed ? null : h('span', { class: 'hint' }, 'A delay would not fit in the macro memory'),
        ),
      ),
    );
    keys.push({ key: kDelayKey, button: delayButton, names: ['delay'] });
  }
  parts.push(
    h(
      'div',
      { class: 'buttons' },
      h('button', { type: 'button', onclick: () => dialog.close('cancel') }, 'Cancel'),
    ),
  );
  for (const part of parts) if (part) dialog.append(part);

  const start = core.startingKey(startCode, stepVariant);
  const startButton = keys.find((k) => k.key === start)?.button;
  const focus = startButton && !startButton.disabled ? startButton : keys[0]?.button;
  return runDialog(dialog, focus).then(() => result);
}
