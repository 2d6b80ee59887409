// What the Node tests of the module share: where the builds are, and the module itself.
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');

// A program of the native build (make native), by its path under build/native.
export function nativeProgram(name) {
  return path.join(process.env.ZQ70_NATIVE_BUILD || path.join(root, 'build/native'), name);
}

// A module of the web build (make web-core): zq70core or zq70device.
export function webModule(name) {
  const folder = process.env.ZQ70_WEB_BUILD || path.join(root, 'build/web');
  return pathToFileURL(path.join(folder, 'web', name + '.js')).href;
}

export async function loadCore() {
  const { default: createCore } = await import(webModule('zq70core'));
  const core = await createCore();
  // The pump's message channel would keep Node running after the tests.
  core.serialLink.channel.port1.unref();
  core.serialLink.lastLook.port1.unref();
  return core;
}

export async function loadDevice() {
  const { default: createDevice } = await import(webModule('zq70device'));
  return createDevice();
}
