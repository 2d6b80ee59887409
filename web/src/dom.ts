// A few helpers to build the page's elements without a framework.
type Attributes = Record<string, string | number | boolean | undefined | EventListener>;
type Child = Node | string | null | undefined | false;

// h('button', { class: 'x', onclick: f }, 'Text'): attributes set as attributes, except
// on* (listeners) and boolean false/undefined (left out).
export function h<K extends keyof HTMLElementTagNameMap>(
  tag: K,
  attributes: Attributes = {},
  ...children: Child[]
): HTMLElementTagNameMap[K] {
  const element = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (value === undefined || value === false) continue;
    if (name.startsWith('on') && typeof value === 'function') {
      element.addEventListener(name.slice(2), value);
    } else {
      element.setAttribute(name, value === true ? '' : String(value));
    }
  }
  append(element, children);
  return element;
}

export function append(parent: Node, children: Child[]): void {
  for (const child of children) {
    if (child === null || child === undefined || child === false) continue;
    parent.appendChild(typeof child === 'string' ? document.createTextNode(child) : child);
  }
}

export function byId<T extends HTMLElement = HTMLElement>(id: string): T {
  const element = document.getElementById(id);
  if (!element) throw new Error(`the page has no #${id}`);
  return element as T;
}

export function clear(element: Element): void {
  element.replaceChildren();
}

// The window program's captions are button texts: "&&" shows one ampersand.
export function shownCaption(caption: string): string {
  return caption.replaceAll('&&', '&');
}

// A caption on one line, for labels read aloud: "Macro (L Ctrl, P, ...)".
export function oneLine(caption: string): string {
  return shownCaption(caption).replace(/\n/g, ' ');
}

// The macro memory of `bytes` as a meter: its last 56 bytes show a warning, the last 16 an
// alarm.
export function memoryGauge(id: string, bytes: number): HTMLMeterElement {
  return h('meter', { id, min: 0, max: bytes, low: bytes - 56, high: bytes - 16, optimum: 0 });
}

export const pinLetters = Array.from({ length: 24 }, (_, i) => String.fromCharCode(65 + i));
