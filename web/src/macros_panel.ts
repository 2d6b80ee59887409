// Macros: the 336-byte macro memory as a gauge that follows every edit, and every macro in
// use with its steps and the cells that run it (a shared macro says so).
import type { PageContext } from './context';
import { h, memoryGauge, oneLine } from './dom';

export class MacrosPanel {
  private readonly gauge: HTMLMeterElement;
  private readonly words = h('span', { id: 'memory-words' });
  private readonly list = h('ul', { class: 'macros' });
  private readonly empty = h('p', { class: 'hint' });

  constructor(
    private readonly context: PageContext,
    container: HTMLElement,
    private readonly edit: (slot: number) => void,
  ) {
    this.gauge = memoryGauge('memory-gauge', context.core.limits().macroMemory);
    container.append(
      h('div', { class: 'memory' }, h('label', { for: 'memory-gauge' }, 'Macro memory'), this.gauge, this.words),
      this.empty,
      this.list,
    );
    this.list.addEventListener('click', (event) => {
      const button = (event.target as HTMLElement).closest<HTMLButtonElement>('button[data-slot]');
      if (button && !this.context.busy()) this.edit(Number(button.dataset.slot));
    });
  }

  focusMacro(slot: number): void {
    this.list.querySelector<HTMLButtonElement>(`button[data-slot="${slot}"]`)?.focus();
  }

  render(): void {
    const view = this.context.editor.macros();
    const rs232 = this.context.editor.layout().switchesKeypad !== 0;
    this.gauge.value = view.used;
    this.gauge.textContent = `${view.used} of ${view.total} bytes`;
    this.words.textContent = `${view.used} of ${view.total} bytes used, ${view.remaining} remaining`;
    this.empty.textContent = rs232
      ? 'In RS-232 mode the cells send raw codes; there are no macros.'
      : view.macros.length === 0
        ? 'No macros yet. Give a cell a macro with Ctrl+Enter or Ctrl+double-click, or with "Macro..." above the grid.'
        : '';
    const focused = (document.activeElement as HTMLElement | null)?.dataset?.slot;
    this.list.replaceChildren(
      ...view.macros.map((macro) => {
        const users = macro.users.length + macro.hiddenUsers;
        const who =
          users === 0
            ? 'No cell runs it.'
            : users === 1
              ? `Run by ${macro.users[0] ?? 'a cell outside the matrix'}.`
              : `Shared by ${users} cells: ${macro.users.join(', ')}${macro.hiddenUsers ? ` and ${macro.hiddenUsers} outside the matrix` : ''}.`;
        return h(
          'li',
          { 'data-slot': macro.slot, class: users > 1 ? 'shared' : '' },
          h('h3', {}, `${macro.label}: ${oneLine(macro.caption)}`),
          h('p', {}, `When made: ${macro.make}. When broken: ${macro.break}. ${macro.bytes} bytes.`),
          h('p', { class: 'users' }, who),
          h('button', { type: 'button', 'data-slot': macro.slot }, `Edit ${macro.label}...`),
        );
      }),
    );
    if (focused) this.focusMacro(Number(focused));
  }
}
