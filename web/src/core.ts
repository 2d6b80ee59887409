// The C++ core in WebAssembly: the editor (web/core/editor.d.ts) and config/, words/ and the
// serial protocol (web/core/core.d.ts).
// Every rule of a configuration runs there; the page only shows and asks.
import createCore from 'zq70core';
import type { Configuration, CoreModule } from '../core/core';
import type { EditorModule } from '../core/editor';

export type Core = CoreModule & EditorModule;
export type { Finding, FindingTarget } from '../core/core';

export function loadCore(): Promise<Core> {
  return createCore();
}

// Runs `use` on a copy of a configuration and gives the copy back to the module.
export function withConfiguration<T>(handle: Configuration, use: (config: Configuration) => T): T {
  try {
    return use(handle);
  } finally {
    handle.delete();
  }
}
