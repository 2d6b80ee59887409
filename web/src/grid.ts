// The key grid: the matrix and the discrete inputs as two ARIA grids, every cell showing
// what it sends in the window program's caption. Arrow keys, Home/End and Page Up/Down move;
// Enter or a double click edits (with Ctrl: the macro); Delete clears.
import type { CellView, LineView } from '../core/editor';
import type { PageContext } from './context';
import { h, oneLine, pinLetters, shownCaption } from './dom';

export type EditRequest = 'choose' | 'macro';

export interface GridHooks {
  edit(index: number, request: EditRequest): void;
  clear(index: number): void;
  selected(index: number): void;
}

const kPageRows = 5;
const kPageInputs = 8;

interface Shape {
  rows: number;
  columns: number;
  inputs: number;
  mode: number;
}

export class KeyGrid {
  private shape: Shape | null = null;
  private cells = new Map<number, HTMLTableCellElement>();
  private views = new Map<number, CellView>();
  private current = 0;
  // How the core indexes cells and inputs.
  private readonly rowStride: number;
  private readonly firstInput: number;

  constructor(
    private readonly context: PageContext,
    private readonly matrix: HTMLTableElement,
    private readonly inputs: HTMLTableElement,
    private readonly hooks: GridHooks,
  ) {
    const limits = context.core.limits();
    this.rowStride = limits.rowStride;
    this.firstInput = limits.firstInput;
    for (const table of [matrix, inputs]) {
      table.addEventListener('keydown', (event) => this.onKey(table, event));
      table.addEventListener('dblclick', (event) => {
        const cell = this.cellOf(event.target);
        if (cell !== null) this.hooks.edit(cell, event.ctrlKey || event.metaKey ? 'macro' : 'choose');
      });
      table.addEventListener('click', (event) => {
        const cell = this.cellOf(event.target);
        if (cell !== null) this.select(cell, true);
      });
      // However a cell gets the focus (Tab, the check panel), it is the selected one.
      table.addEventListener('focusin', (event) => {
        const cell = this.cellOf(event.target);
        if (cell !== null && cell !== this.current) this.select(cell, false);
      });
    }
  }

  selectedCell(): number {
    return this.current;
  }

  // What a cell in force shows, as of the last render; undefined for one out of force.
  cellView(index: number): CellView | undefined {
    return this.views.get(index);
  }

  // Shows the configuration: the tables are built again only when the layout or the mode
  // changed, otherwise the captions and labels change in place (the focus stays put).
  render(): void {
    const layout = this.context.editor.layout();
    const shape: Shape = {
      rows: layout.rows,
      columns: layout.columns,
      inputs: layout.inputs,
      mode: layout.switchesKeypad,
    };
    const cells = this.context.editor.cells();
    const lines = this.context.editor.lines();
    this.views = new Map(cells.map((c) => [c.index, c]));
    const same =
      this.shape !== null &&
      this.shape.rows === shape.rows &&
      this.shape.columns === shape.columns &&
      this.shape.inputs === shape.inputs;
    if (!same) this.build(shape, cells, lines);
    this.shape = shape;
    for (const cell of cells) this.show(cell);
    this.showLines(lines);
    if (!this.cells.has(this.current)) this.current = cells[0]?.index ?? 0;
    this.rove();
  }

  // Puts the focus on a cell (from the check panel, or after an edit).
  focusCell(index: number): void {
    this.select(index, true);
  }

  private build(shape: Shape, cells: CellView[], lines: LineView[]): void {
    const hadFocus = this.matrix.contains(document.activeElement) || this.inputs.contains(document.activeElement);
    this.cells.clear();
    const columnHeads = lines.filter((l) => l.table === 'column');
    const rowHeads = lines.filter((l) => l.table === 'row');
    const inputHeads = lines.filter((l) => l.table === 'input');
    const byIndex = new Map(cells.map((c) => [c.index, c]));

    const head = h(
      'tr',
      {},
      h('td', { class: 'corner' }),
      ...columnHeads.map((line) => h('th', { scope: 'col', 'data-line': `column-${line.index}` })),
    );
    const body = h('tbody');
    for (let r = 0; r < shape.rows; ++r) {
      const row = h('tr', {}, h('th', { scope: 'row', 'data-line': `row-${rowHeads[r]?.index ?? r}` }));
      for (let c = 0; c < shape.columns; ++c) {
        const cell = byIndex.get(r * this.rowStride + c);
        if (cell) row.append(this.cellElement(cell));
      }
      body.append(row);
    }
    this.matrix.replaceChildren(h('thead', {}, head), body);
    this.matrix.hidden = shape.rows === 0;
    this.matrix.setAttribute('aria-rowcount', String(shape.rows + 1));
    this.matrix.setAttribute('aria-colcount', String(shape.columns + 1));

    const inputHead = h(
      'tr',
      {},
      ...inputHeads.map((line) => h('th', { scope: 'col', 'data-line': `input-${line.index}` })),
    );
    const inputRow = h('tr');
    for (let i = 0; i < shape.inputs; ++i) {
      const cell = byIndex.get(this.firstInput + i);
      if (cell) inputRow.append(this.cellElement(cell));
    }
    this.inputs.replaceChildren(h('thead', {}, inputHead), h('tbody', {}, inputRow));
    this.inputs.hidden = shape.inputs === 0;
    if (hadFocus) queueMicrotask(() => this.select(this.cells.has(this.current) ? this.current : cells[0]?.index ?? 0, true));
  }

  private cellElement(cell: CellView): HTMLTableCellElement {
    const element = h('td', { role: 'gridcell', tabindex: -1, 'data-index': cell.index });
    this.cells.set(cell.index, element);
    return element;
  }

  private show(cell: CellView): void {
    const element = this.cells.get(cell.index);
    if (!element) return;
    const caption = shownCaption(cell.caption);
    if (element.textContent !== caption) element.textContent = caption;
    element.setAttribute('aria-label', `${cell.label}: ${oneLine(cell.caption)}`);
    element.classList.toggle('unused', cell.caption === 'Not Used');
    element.classList.toggle('macro', cell.macro >= 0);
  }

  private showLines(lines: LineView[]): void {
    for (const line of lines) {
      const table = line.table === 'input' ? this.inputs : this.matrix;
      const head = table.querySelector<HTMLElement>(`th[data-line="${line.table}-${line.index}"]`);
      if (!head) continue;
      head.replaceChildren(
        h('span', { class: 'line' }, line.label),
        h(
          'span',
          { class: line.doubled ? 'pin doubled' : 'pin' },
          `Pin ${pinLetters[line.pin] ?? '?'}`,
          line.doubled ? h('span', { class: 'mark' }, ' (doubled)') : null,
        ),
      );
    }
  }

  private cellOf(target: EventTarget | null): number | null {
    const element = (target as HTMLElement | null)?.closest<HTMLElement>('td[data-index]');
    return element ? Number(element.dataset.index) : null;
  }

  private select(index: number, focus: boolean): void {
    if (!this.cells.has(index)) return;
    this.current = index;
    this.rove();
    if (focus) this.cells.get(index)!.focus();
    this.hooks.selected(index);
  }

  // One tab stop per grid: the selected cell, or the grid's first cell.
  private rove(): void {
    for (const table of [this.matrix, this.inputs]) {
      const cells = [...table.querySelectorAll<HTMLElement>('td[data-index]')];
      const chosen = cells.find((c) => Number(c.dataset.index) === this.current) ?? cells[0];
      for (const cell of cells) {
        cell.tabIndex = cell === chosen ? 0 : -1;
        cell.setAttribute('aria-selected', String(Number(cell.dataset.index) === this.current));
      }
    }
  }

  private onKey(table: HTMLTableElement, event: KeyboardEvent): void {
    const index = this.cellOf(event.target);
    if (index === null || !this.shape) return;
    const control = event.ctrlKey || event.metaKey;
    switch (event.key) {
      case 'Enter':
      case 'F2':
        this.hooks.edit(index, control ? 'macro' : 'choose');
        break;
      case 'Delete':
      case 'Backspace':
        this.hooks.clear(index);
        break;
      default: {
        const target = this.moveTarget(table === this.inputs, index, event.key, control);
        if (target === null) return;
        this.select(target, true);
      }
    }
    event.preventDefault();
  }

  private moveTarget(input: boolean, index: number, key: string, control: boolean): number | null {
    const shape = this.shape!;
    if (input) {
      const last = shape.inputs - 1;
      const i = index - this.firstInput;
      const to = (n: number) => this.firstInput + Math.max(0, Math.min(last, n));
      switch (key) {
        case 'ArrowLeft': return to(i - 1);
        case 'ArrowRight': return to(i + 1);
        case 'Home': return to(0);
        case 'End': return to(last);
        case 'PageUp': return to(i - kPageInputs);
        case 'PageDown': return to(i + kPageInputs);
        case 'ArrowUp':
        case 'ArrowDown': return this.firstInput + i;
        default: return null;
      }
    }
    const r = Math.floor(index / this.rowStride);
    const c = index % this.rowStride;
    const at = (row: number, column: number) =>
      Math.max(0, Math.min(shape.rows - 1, row)) * this.rowStride + Math.max(0, Math.min(shape.columns - 1, column));
    switch (key) {
      case 'ArrowLeft': return at(r, c - 1);
      case 'ArrowRight': return at(r, c + 1);
      case 'ArrowUp': return at(r - 1, c);
      case 'ArrowDown': return at(r + 1, c);
      case 'Home': return control ? at(0, 0) : at(r, 0);
      case 'End': return control ? at(shape.rows - 1, shape.columns - 1) : at(r, shape.columns - 1);
      case 'PageUp': return at(r - kPageRows, c);
      case 'PageDown': return at(r + kPageRows, c);
      default: return null;
    }
  }
}
