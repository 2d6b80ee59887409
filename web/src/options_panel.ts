// Options: every option of the window program's Options menu by its caption and items, from
// the one table of options. "Make Only" is offered only where the menu offers it; changing
// Switches/Keypad asks first, as it clears the key tables.
import type { PageContext } from './context';
import { askYesNo } from './dialogs';
import { h } from './dom';

export class OptionsPanel {
  private readonly selects: HTMLSelectElement[] = [];

  constructor(private readonly context: PageContext, container: HTMLElement) {
    const list = h('div', { class: 'option-list' });
    this.context.editor.options().forEach((option, group) => {
      const id = `option-${group}`;
      const select = h('select', { id, 'data-group': group });
      option.items.forEach((item, value) => select.append(h('option', { value }, item.caption)));
      select.append(h('option', { value: '', disabled: true, hidden: true, class: 'none' }, '(none of the items)'));
      select.addEventListener('change', () => void this.choose(group, Number(select.value)));
      this.selects.push(select);
      list.append(h('div', { class: 'option' }, h('label', { for: id }, option.caption), select));
    });
    container.append(list);
  }

  focusOption(group: number): void {
    this.selects[group]?.focus();
  }

  render(): void {
    this.context.editor.options().forEach((option, group) => {
      const select = this.selects[group]!;
      option.items.forEach((item, value) => {
        (select.options[value] as HTMLOptionElement).disabled = !item.enabled;
      });
      // A value that no item has (a baud rate 7 from a file) shows no item chosen.
      select.value = option.value >= 0 && option.value < option.items.length ? String(option.value) : '';
    });
  }

  private async choose(group: number, value: number): Promise<void> {
    const { editor } = this.context;
    if (this.context.busy()) return this.context.changed();
    if (editor.chooseOption(group, value) === 'ask') {
      const answer = await askYesNo(this.context.core.switchesWarning());
      if (answer === 'yes') editor.setSwitchesKeypad(value);
    }
    this.context.changed();
    this.selects[group]?.focus();
  }
}
