// Layout and pins: the row and column counts (the other one follows, as the window program's
// lists do), the number of discrete inputs, and a pin A..X for every line in force. A pin
// used twice is marked on both lines at once.
import type { LineView, PinTable } from '../core/editor';
import type { PageContext } from './context';
import { h, pinLetters } from './dom';

const tableNames: Record<PinTable, string> = { column: 'Columns', row: 'Rows', input: 'Discrete inputs' };

function countSelect(id: string, most: number): HTMLSelectElement {
  const select = h('select', { id });
  for (let n = 0; n <= most; ++n) select.append(h('option', { value: n }, String(n)));
  return select;
}

export class LayoutPanel {
  private readonly rows: HTMLSelectElement;
  private readonly columns: HTMLSelectElement;
  private readonly inputs = h('output', { id: 'discretes', 'aria-live': 'polite' });
  private readonly pins = h('div', { class: 'pins' });
  private pinShape = '';
  // Up to 24 lists of the 24 pins: copies of one are made much faster than each anew.
  private readonly pinList = (() => {
    const select = h('select');
    pinLetters.forEach((letter, pin) => select.append(h('option', { value: pin }, letter)));
    return select;
  })();

  constructor(private readonly context: PageContext, container: HTMLElement) {
    const { maxLines } = context.core.limits();
    this.rows = countSelect('rows', maxLines);
    this.columns = countSelect('columns', maxLines);
    container.append(
      h(
        'div',
        { class: 'counts' },
        h('label', { for: 'rows' }, 'Number of Rows'),
        this.rows,
        h('label', { for: 'columns' }, 'Number of Columns'),
        this.columns,
        h('label', { for: 'discretes' }, 'Number of Discretes'),
        this.inputs,
      ),
      h('p', { class: 'hint' }, 'Rows and columns share the 24 pins with the discrete inputs.'),
      this.pins,
    );
    this.rows.addEventListener('change', () => this.setCount('rows', this.rows));
    this.columns.addEventListener('change', () => this.setCount('columns', this.columns));
    this.pins.addEventListener('change', (event) => {
      const select = event.target as HTMLSelectElement;
      const [table, index] = (select.dataset.line ?? '').split('-');
      if (this.context.busy()) return this.render();
      this.context.editor.setPin(table as PinTable, Number(index), Number(select.value));
      this.context.changed();
    });
  }

  // Puts the focus on the pin list of a line (from the check panel).
  focusLine(table: string, index: number): void {
    this.pins.querySelector<HTMLSelectElement>(`select[data-line="${table}-${index}"]`)?.focus();
  }

  render(): void {
    const layout = this.context.editor.layout();
    this.rows.value = String(layout.rows);
    this.columns.value = String(layout.columns);
    this.inputs.value = String(layout.inputs);
    const lines = this.context.editor.lines();
    const shape = lines.map((l) => `${l.table}-${l.index}`).join(',');
    if (shape !== this.pinShape) this.buildPins(lines);
    this.pinShape = shape;
    for (const line of lines) this.showLine(line, lines);
  }

  private setCount(list: 'rows' | 'columns', select: HTMLSelectElement): void {
    if (!this.context.busy()) this.context.editor.setCount(list, Number(select.value));
    this.context.changed();
  }

  private buildPins(lines: LineView[]): void {
    const hadFocus = this.pins.contains(document.activeElement)
      ? (document.activeElement as HTMLElement).dataset.line
      : undefined;
    this.pins.replaceChildren();
    for (const table of ['column', 'row', 'input'] as PinTable[]) {
      const group = lines.filter((l) => l.table === table);
      if (group.length === 0) continue;
      const list = h('ul', {});
      for (const line of group) {
        const id = `pin-${line.table}-${line.index}`;
        const select = this.pinList.cloneNode(true) as HTMLSelectElement;
        select.id = id;
        select.dataset.line = `${line.table}-${line.index}`;
        select.setAttribute('aria-describedby', `${id}-note`);
        list.append(
          h(
            'li',
            { 'data-line': `${line.table}-${line.index}` },
            h('label', { for: id }, line.label),
            select,
            h('span', { id: `${id}-note`, class: 'note' }),
          ),
        );
      }
      this.pins.append(h('fieldset', {}, h('legend', {}, tableNames[table]), list));
    }
    if (hadFocus) this.pins.querySelector<HTMLSelectElement>(`select[data-line="${hadFocus}"]`)?.focus();
  }

  private showLine(line: LineView, lines: LineView[]): void {
    const key = `${line.table}-${line.index}`;
    const item = this.pins.querySelector<HTMLElement>(`li[data-line="${key}"]`);
    if (!item) return;
    const select = item.querySelector('select')!;
    select.value = String(line.pin);
    item.classList.toggle('doubled', line.doubled);
    const others = lines.filter((l) => l !== line && l.pin === line.pin).map((l) => l.label);
    item.querySelector('.note')!.textContent = line.doubled ? `Pin ${pinLetters[line.pin]} doubled: also ${others.join(', ')}` : '';
    select.setAttribute('aria-invalid', String(line.doubled));
  }
}
