// The C++ core in WebAssembly: the editor (web/core/editor.d.ts) and the words of zq70cfg.
// Every rule of a configuration runs there; the page only shows and asks.
import createCore from 'zq70core';
import type { ConfigurationHandle, EditorModule } from '../core/editor';

export type Severity = 'error' | 'warning' | 'info';

export interface FindingTarget {
  kind: 'none' | 'option' | 'cell' | 'line' | 'macro';
  index: number;
  line: 'column' | 'row' | 'input';
  word: number;
}

export interface Finding {
  severity: Severity;
  text: string;
  /** As zq70cfg check prints it: "Error: Pin A is used for multiple scan lines". */
  line: string;
  target: FindingTarget;
}

export interface LoadedSource {
  ok: boolean;
  message: string;
  isText: boolean;
  refusal: string;
  config?: ConfigurationHandle;
  bytes?: Uint8Array;
}

export interface KeyEntry {
  key: number;
  shortName: string;
  longName: string;
  button: string;
}

// What the page takes from the words' bindings of the core (web/core/words_bindings.cpp,
// config_bindings.cpp).
export interface WordsModule {
  version(): string;
  loadSourceBytes(name: string, bytes: Uint8Array): LoadedSource;
  checkConfiguration(config: ConfigurationHandle): Finding[];
  differences(a: ConfigurationHandle, b: ConfigurationHandle): string[];
  wiringSheet(config: ConfigurationHandle, title: string): string;
  decodeImage(bytes: Uint8Array): ConfigurationHandle | null;
  keyCatalogue(): KeyEntry[];
}

export type Core = EditorModule & WordsModule;

export function loadCore(): Promise<Core> {
  return createCore();
}

// Runs `use` on a copy of a configuration and gives the copy back to the module.
export function withConfiguration<T>(
  handle: ConfigurationHandle,
  use: (config: ConfigurationHandle) => T,
): T {
  try {
    return use(handle);
  } finally {
    handle.delete();
  }
}
