// Modal questions and messages in <dialog> elements: focus stays inside, Esc cancels, and
// the answer comes back as a promise.
import { h } from './dom';

export type Answer = 'yes' | 'no' | 'cancel' | 'ok';

interface Button {
  answer: Answer;
  text: string;
}

function ask(title: string, text: string, buttons: Button[], alert: boolean): Promise<Answer> {
  return new Promise((resolve) => {
    const dialog = h('dialog', {
      class: 'message',
      role: alert ? 'alertdialog' : 'dialog',
      'aria-labelledby': 'message-title',
      'aria-describedby': 'message-text',
    });
    const row = h('div', { class: 'buttons' });
    let answer: Answer = buttons.some((b) => b.answer === 'cancel') ? 'cancel' : buttons[buttons.length - 1]!.answer;
    for (const button of buttons) {
      row.append(
        h(
          'button',
          {
            type: 'button',
            'data-answer': button.answer,
            onclick: () => {
              answer = button.answer;
              dialog.close();
            },
          },
          button.text,
        ),
      );
    }
    dialog.append(
      h('h2', { id: 'message-title' }, title),
      h('p', { id: 'message-text' }, text),
      row,
    );
    dialog.addEventListener('close', () => {
      dialog.remove();
      resolve(answer);
    });
    document.body.append(dialog);
    dialog.showModal();
    (row.firstElementChild as HTMLButtonElement).focus();
  });
}

// The window program's boxes carry this caption.
export const programCaption = 'ZQ70 Configuration Utility';

export function showError(text: string): Promise<Answer> {
  return ask(programCaption, text, [{ answer: 'ok', text: 'OK' }], true);
}

export function askYesNo(text: string): Promise<Answer> {
  return ask(programCaption, text, [
    { answer: 'yes', text: 'Yes' },
    { answer: 'no', text: 'No' },
  ], true).then((a) => (a === 'cancel' ? 'no' : a));
}

export function askYesNoCancel(text: string): Promise<Answer> {
  return ask(programCaption, text, [
    { answer: 'yes', text: 'Yes' },
    { answer: 'no', text: 'No' },
    { answer: 'cancel', text: 'Cancel' },
  ], true);
}

// Opens a dialog built by the caller and resolves with its returnValue when it closes.
export function runDialog(dialog: HTMLDialogElement, focus?: HTMLElement): Promise<string> {
  return new Promise((resolve) => {
    dialog.addEventListener(
      'close',
      () => {
        const value = dialog.returnValue;
        dialog.remove();
        resolve(value);
      },
      { once: true },
    );
    document.body.append(dialog);
    dialog.returnValue = '';
    dialog.showModal();
    focus?.focus();
  });
}
