// What every part of the page shares: the core, the one editor, and how to tell the page
// that the configuration changed.
import type { Core } from './core';
import type { Editor } from '../core/editor';

export interface PageContext {
  core: Core;
  editor: Editor;
  // After every edit: each part shows the configuration again.
  changed(): void;
  // One line in the status area, read out by screen readers.
  status(text: string): void;
  // True while the device panel runs a transfer: edits wait.
  busy(): boolean;
}
