// Print: zq70cfg's wiring and legend sheet on one A4 or Letter page, printed from a frame of
// its own so that the page around it does not print.
import { withConfiguration } from './core';
import type { PageContext } from './context';

export type Paper = 'A4' | 'Letter';

// The sheet's own HTML with the paper size it is printed on.
export function sheetHtml(context: PageContext, title: string, paper: Paper): string {
  const { core, editor } = context;
  const sheet = withConfiguration(editor.configuration(), (c) => core.wiringSheet(c, title));
  const size = `<style>@page { size: ${paper} portrait; }</style>`;
  return sheet.includes('</head>') ? sheet.replace('</head>', `${size}</head>`) : size + sheet;
}

export function printSheet(context: PageContext, title: string, paper: Paper): void {
  document.getElementById('print-frame')?.remove();
  const frame = document.createElement('iframe');
  frame.id = 'print-frame';
  frame.title = 'Wiring sheet';
  frame.className = 'print-frame';
  frame.setAttribute('aria-hidden', 'true');
  frame.tabIndex = -1;
  frame.srcdoc = sheetHtml(context, title, paper);
  frame.addEventListener('load', () => frame.contentWindow?.print(), { once: true });
  document.body.append(frame);
}
