// Compare: the differences between the configuration on screen and another file, or what
// the device holds, in the words of zq70cfg diff; kept up to date while editing goes on.
import type { Configuration } from '../core/core';
import { withConfiguration } from './core';
import type { PageContext } from './context';
import { showError } from './dialogs';
import { bytesOf } from './files';
import { h } from './dom';

export class ComparePanel {
  private other: { name: string; config: Configuration } | null = null;
  private readonly chooser = h('input', { type: 'file', id: 'compare-file', class: 'visually-hidden', tabindex: -1, 'aria-hidden': 'true' });
  private readonly heading = h('p', { id: 'compare-heading' });
  private readonly list = h('ul', { class: 'differences', 'aria-labelledby': 'compare-heading' });
  private readonly stop = h('button', { type: 'button', hidden: true }, 'Stop comparing');

  constructor(private readonly context: PageContext, container: HTMLElement) {
    const choose = h('button', { type: 'button', id: 'compare-with-file' }, 'Compare with a file...');
    choose.addEventListener('click', () => this.chooser.click());
    this.chooser.addEventListener('change', () => void this.compareWithFile());
    this.stop.addEventListener('click', () => this.set(null));
    container.append(h('div', { class: 'commands' }, choose, this.stop), this.chooser, this.heading, this.list);
    this.render();
  }

  // Bytes read from the device: compared until something else is chosen.
  compareWithDevice(bytes: Uint8Array): void {
    const config = this.context.core.decodeImage(bytes);
    if (!config) {
      void showError('Invalid configuration');
      return;
    }
    this.set({ name: 'the ZQ70', config });
  }

  render(): void {
    if (!this.other) {
      this.heading.textContent = 'Choose a file, or read the device, to see what differs.';
      this.list.replaceChildren();
      return;
    }
    const { core, editor } = this.context;
    const other = this.other.config;
    const lines = withConfiguration(editor.configuration(), (mine) => core.differences(mine, other));
    this.heading.textContent =
      lines.length === 0
        ? `No differences from ${this.other.name}.`
        : `${lines.length} ${lines.length === 1 ? 'difference' : 'differences'} from ${this.other.name} (on screen -> ${this.other.name}):`;
    this.list.replaceChildren(...lines.map((line) => h('li', {}, line)));
  }

  private set(other: { name: string; config: Configuration } | null): void {
    this.other?.config.delete();
    this.other = other;
    this.stop.hidden = other === null;
    this.render();
  }

  private async compareWithFile(): Promise<void> {
    const file = this.chooser.files?.[0];
    this.chooser.value = '';
    if (!file) return;
    const source = this.context.core.loadSourceBytes(file.name, await bytesOf(file));
    if (!source.ok || !source.config) {
      source.config?.delete();
      await showError(source.message);
      return;
    }
    this.set({ name: file.name, config: source.config });
  }
}
