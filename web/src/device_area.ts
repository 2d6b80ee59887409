// The device area: web-core's panel (src/device/) mounted with the editor as its host. While
// a transfer runs, every editing control waits (the sections are inert).
import type { Core } from './core';
import type { PageContext } from './context';

export interface DeviceHost {
  image(): { bytes?: Uint8Array; refusal?: string };
  takeImage(bytes: Uint8Array): string | undefined;
  busy(running: boolean): void;
  compareWith(bytes: Uint8Array): void;
}

interface DeviceModule {
  mountDevicePanel(container: HTMLElement, host: DeviceHost, core: Core): void;
}

// The device panel is its own room of the page; a build without it still edits.
const devicePanels = import.meta.glob<DeviceModule>('./device/index.ts', { eager: true });

export function mountDeviceArea(
  context: PageContext,
  container: HTMLElement,
  compareWith: (bytes: Uint8Array) => void,
  setBusy: (running: boolean) => void,
): void {
  const host: DeviceHost = {
    image: () => context.editor.image(),
    takeImage: (bytes) => {
      const reason = context.editor.takeImage(bytes);
      if (reason === undefined) {
        context.changed();
        context.status('The configuration was read from the ZQ70 (Undo brings back what was on screen).');
      }
      return reason;
    },
    busy: setBusy,
    compareWith,
  };
  const module = devicePanels['./device/index.ts'];
  if (module) module.mountDevicePanel(container, host, context.core);
  else container.textContent = 'This build of the page has no device panel.';
}
