// The page: its commands (New, Open, Save, Export, Undo, Redo, Print) and the parts that
// show and edit the one configuration. Every change goes through the editor in the core.
import { CheckPanel } from './check_panel';
import { ComparePanel } from './compare_panel';
import { withConfiguration, type Core, type FindingTarget } from './core';
import type { PageContext } from './context';
import { mountDeviceArea } from './device_area';
import { askYesNoCancel, runDialog, showError } from './dialogs';
import { byId, h } from './dom';
import {
  baseName,
  bytesOf,
  download,
  type FileHandleLike,
  hasFileAccess,
  namesText,
  pickFileToOpen,
  saveAs,
  writeToHandle,
} from './files';
import { KeyGrid, type EditRequest } from './grid';
import { pickKey } from './key_picker';
import { LayoutPanel } from './layout_panel';
import { editMacro } from './macro_editor';
import { MacrosPanel } from './macros_panel';
import { OptionsPanel } from './options_panel';
import { printSheet, type Paper } from './print_sheet';

const kUnsavedQuestion = 'The current configuration has changed.\nDo you want to save the changes?';
const kEditingAreas = ['files', 'layout-section', 'grid-section', 'macros-section', 'options-section', 'compare-section'];

export class App implements PageContext {
  readonly editor;
  private fileName = '';
  private handle: FileHandleLike | null = null;
  private transferring = false;
  private dialogOpen = false;
  private readonly grid: KeyGrid;
  private readonly layout: LayoutPanel;
  private readonly options: OptionsPanel;
  private readonly macros: MacrosPanel;
  private readonly check: CheckPanel;
  private readonly compare: ComparePanel;

  constructor(readonly core: Core) {
    this.editor = new core.Editor();
    this.grid = new KeyGrid(this, byId<HTMLTableElement>('matrix'), byId<HTMLTableElement>('inputs'), {
      edit: (index, request) => void this.editCell(index, request),
      clear: (index) => this.edit(() => this.editor.clearCell(index)),
      selected: (index) => this.showSelection(index),
    });
    this.layout = new LayoutPanel(this, byId('layout'));
    this.options = new OptionsPanel(this, byId('options'));
    this.macros = new MacrosPanel(this, byId('macros'), (slot) => void this.editMacroSlot(slot));
    this.check = new CheckPanel(this, byId('check'), (target) => this.selectTarget(target));
    this.compare = new ComparePanel(this, byId('compare'));
    mountDeviceArea(this, byId('device'), (bytes) => this.compare.compareWithDevice(bytes), (running) =>
      this.setTransferring(running),
    );
    this.wireCommands();
    this.changed();
  }

  // --- PageContext ------------------------------------------------------------------------

  changed(): void {
    this.layout.render();
    this.grid.render();
    this.options.render();
    this.macros.render();
    this.check.render();
    this.compare.render();
    this.showDocument();
  }

  status(text: string): void {
    const status = byId('status');
    status.textContent = '';
    // A new text, even the same one, is read out again.
    requestAnimationFrame(() => (status.textContent = text));
  }

  busy(): boolean {
    return this.transferring;
  }

  // --- Commands ---------------------------------------------------------------------------

  private wireCommands(): void {
    const on = (id: string, run: () => unknown) =>
      byId(id).addEventListener('click', () => {
        if (!this.transferring) void run();
      });
    on('new', () => this.newConfiguration());
    on('open', () => this.open());
    on('save', () => this.save());
    on('save-as', () => this.saveAs());
    on('export', () => this.exportText());
    on('undo', () => this.undo(false));
    on('redo', () => this.undo(true));
    on('print', () => this.print());
    on('cell-key', () => this.editCell(this.grid.selectedCell(), 'choose'));
    on('cell-macro', () => this.editCell(this.grid.selectedCell(), 'macro'));
    on('cell-clear', () => this.edit(() => this.editor.clearCell(this.grid.selectedCell())));

    const chooser = byId<HTMLInputElement>('open-file');
    chooser.addEventListener('change', () => {
      const file = chooser.files?.[0];
      chooser.value = '';
      if (file) void this.openFile(file, null);
    });

    document.addEventListener('keydown', (event) => this.shortcut(event));
    window.addEventListener('beforeunload', (event) => {
      if (!this.editor.modified()) return;
      event.preventDefault();
      event.returnValue = '';
    });
    this.wireDrop();
  }

  private shortcut(event: KeyboardEvent): void {
    if (!(event.ctrlKey || event.metaKey) || event.altKey || this.dialogOpen || this.transferring) return;
    const inText =
      event.target instanceof HTMLInputElement && !['checkbox', 'radio', 'button', 'file'].includes(event.target.type);
    const key = event.key.toLowerCase();
    const commands: Record<string, () => unknown> = {
      o: () => this.open(),
      s: () => (event.shiftKey ? this.saveAs() : this.save()),
      e: () => this.exportText(),
      ...(inText ? {} : { z: () => this.undo(event.shiftKey), y: () => this.undo(true) }),
    };
    const run = commands[key];
    if (!run) return;
    event.preventDefault();
    void run();
  }

  private wireDrop(): void {
    const hint = byId('drop-hint');
    const files = (event: DragEvent) => event.dataTransfer?.types.includes('Files') ?? false;
    document.addEventListener('dragover', (event) => {
      if (!files(event)) return;
      event.preventDefault();
      hint.hidden = false;
    });
    document.addEventListener('dragleave', (event) => {
      if (event.relatedTarget === null) hint.hidden = true;
    });
    document.addEventListener('drop', (event) => {
      hint.hidden = true;
      const file = event.dataTransfer?.files[0];
      if (!file) return;
      event.preventDefault();
      if (!this.transferring) void this.openFile(file, null);
    });
  }

  // Unsaved changes are offered a Save first; false when the user would rather stay.
  private async mayDropChanges(): Promise<boolean> {
    if (!this.editor.modified()) return true;
    const answer = await this.modal(askYesNoCancel(kUnsavedQuestion));
    if (answer === 'cancel') return false;
    return answer === 'no' || (await this.save());
  }

  private async newConfiguration(): Promise<void> {
    if (!(await this.mayDropChanges())) return;
    this.editor.newConfiguration();
    this.fileName = '';
    this.handle = null;
    this.changed();
    this.status('New configuration');
  }

  private async open(): Promise<void> {
    if (!(await this.mayDropChanges())) return;
    if (!hasFileAccess()) {
      byId<HTMLInputElement>('open-file').click();
      return;
    }
    const picked = await pickFileToOpen();
    if (picked) await this.openFile(picked.file, picked.handle, false);
  }

  // A file that cannot be used says why, in zq70cfg's words, and changes nothing.
  private async openFile(file: File, handle: FileHandleLike | null, ask = true): Promise<void> {
    if (ask && !(await this.mayDropChanges())) return;
    const source = this.core.loadSourceBytes(file.name, await bytesOf(file));
    if (!source.ok || !source.config) {
      source.config?.delete();
      await this.modal(showError(source.message));
      return;
    }
    withConfiguration(source.config, (config) => this.editor.replace(config));
    this.fileName = file.name;
    this.handle = handle;
    this.changed();
    this.status(
      source.refusal
        ? `Opened ${file.name}; the ZQ70 would refuse it: ${source.refusal} (see Check)`
        : `Opened ${file.name}`,
    );
  }

  // What Save writes: the 512 bytes, or the text for a file named .toml (zq70cfg's rule
  // for names). Null after telling the encoder's refusal.
  private async contents(name: string): Promise<{ data: BlobPart; type: string } | null> {
    const image = this.editor.image();
    if (!image.bytes) {
      await this.modal(showError(image.refusal ?? 'The configuration cannot be saved'));
      return null;
    }
    if (namesText(name)) return { data: this.editor.exportText(), type: 'text/plain' };
    return { data: image.bytes as Uint8Array<ArrayBuffer>, type: 'application/octet-stream' };
  }

  // Writes back to the opened file where the browser lets the page; otherwise asks for a name.
  private async save(): Promise<boolean> {
    if (!this.handle) return this.saveAs();
    const contents = await this.contents(this.handle.name);
    if (!contents) return false;
    try {
      await writeToHandle(this.handle, contents.data);
    } catch {
      await this.modal(showError('Error saving the file'));
      return false;
    }
    return this.saved(this.handle.name);
  }

  private async saveAs(): Promise<boolean> {
    const name = this.fileName && !namesText(this.fileName) ? this.fileName : `${baseName(this.fileName || 'configuration')}.bin`;
    const contents = await this.contents(name);
    if (!contents) return false;
    try {
      const result = await saveAs(name, contents.data, contents.type);
      if (!result.saved) return false;
      this.handle = result.handle ?? null;
      return this.saved(result.handle?.name ?? name);
    } catch {
      await this.modal(showError('Error saving the file'));
      return false;
    }
  }

  private saved(name: string): boolean {
    this.editor.markSaved();
    this.fileName = name;
    this.changed();
    this.status(`Saved ${name}`);
    return true;
  }

  private async exportText(): Promise<void> {
    const name = `${baseName(this.fileName || 'configuration')}.toml`;
    download(name, this.editor.exportText(), 'text/plain');
    this.status(`Exported ${name}`);
  }

  private undo(redo: boolean): void {
    if (redo ? this.editor.redo() : this.editor.undo()) this.changed();
    this.status(redo ? 'Redo' : 'Undo');
  }

  private async print(): Promise<void> {
    const paper = byId<HTMLSelectElement>('paper').value as Paper;
    printSheet(this, this.fileName || 'New configuration', paper);
  }

  // --- Cells and macros -------------------------------------------------------------------

  private edit(change: () => unknown): void {
    if (this.transferring) return;
    change();
    this.changed();
  }

  private async editCell(index: number, request: EditRequest): Promise<void> {
    if (this.transferring || this.dialogOpen) return;
    const cell = this.grid.cellView(index);
    if (!cell) return;
    if (this.editor.layout().switchesKeypad !== 0) {
      const code = await this.modal(this.askKeyCode(cell.label, cell.code));
      if (code >= 0) this.editor.setRawCode(index, code);
    } else if (request === 'macro') {
      if (this.editor.openMacroOfCell(index) < 0) {
        this.status('Every macro slot is taken: no new macro can be made');
        return;
      }
      await this.modal(editMacro(this.core, this.editor, { changed: () => this.changed() }));
    } else {
      const key = await this.modal(pickKey(this.core, `Select a key: ${cell.label}`, cell.code, { kind: 'key' }));
      if (key >= 0) this.editor.setKey(index, key);
    }
    this.changed();
    this.grid.focusCell(index);
  }

  private async editMacroSlot(slot: number): Promise<void> {
    if (this.dialogOpen || this.editor.openMacroSlot(slot) < 0) return;
    await this.modal(editMacro(this.core, this.editor, { changed: () => this.changed() }));
    this.changed();
    this.macros.focusMacro(slot);
  }

  // "Key Code": a number for the cell in RS-232 mode; more than 255 saturates at 255.
  private askKeyCode(label: string, code: number): Promise<number> {
    const input = h('input', { id: 'key-code', type: 'text', inputmode: 'numeric', value: code === this.core.limits().rs232NotUsed ? '' : code, autocomplete: 'off' });
    const dialog = h(
      'dialog',
      { class: 'key-code', 'aria-labelledby': 'key-code-title' },
      h('h2', { id: 'key-code-title' }, `Key Code: ${label}`),
      h(
        'form',
        { method: 'dialog' },
        h('label', { for: 'key-code' }, 'Code (0 to 255; 240 sends nothing)'),
        input,
        h(
          'div',
          { class: 'buttons' },
          h('button', { value: 'ok', class: 'default' }, 'OK'),
          h('button', { value: 'cancel', formnovalidate: true }, 'Cancel'),
        ),
      ),
    );
    return runDialog(dialog, input).then((answer) => (answer === 'ok' ? this.core.entryNumber(input.value) : -1));
  }

  // While a dialog of the page is open the page's own shortcuts wait.
  private async modal<T>(dialog: Promise<T>): Promise<T> {
    this.dialogOpen = true;
    try {
      return await dialog;
    } finally {
      this.dialogOpen = false;
    }
  }

  private selectTarget(target: FindingTarget): void {
    switch (target.kind) {
      case 'cell': this.grid.focusCell(target.index); break;
      case 'line': this.layout.focusLine(target.line, target.index); break;
      case 'option': this.options.focusOption(target.index); break;
      case 'macro': this.macros.focusMacro(target.index); break;
      default: break;
    }
  }

  private showSelection(index: number): void {
    const cell = this.grid.cellView(index);
    byId('selected-cell').textContent = cell ? cell.label : '';
    const rs232 = this.editor.layout().switchesKeypad !== 0;
    byId('cell-key').textContent = rs232 ? 'Code...' : 'Key...';
    byId<HTMLButtonElement>('cell-macro').disabled = rs232;
  }

  private setTransferring(running: boolean): void {
    this.transferring = running;
    for (const id of kEditingAreas) byId(id).inert = running;
  }

  private showDocument(): void {
    const name = this.fileName || 'New configuration';
    const modified = this.editor.modified();
    byId('document-name').textContent = name;
    byId('document-state').textContent = modified ? 'modified' : '';
    document.title = `${modified ? '* ' : ''}${name} - ZQ70 web editor`;
    byId<HTMLButtonElement>('undo').disabled = !this.editor.canUndo();
    byId<HTMLButtonElement>('redo').disabled = !this.editor.canRedo();
    this.showSelection(this.grid.selectedCell());
  }
}
