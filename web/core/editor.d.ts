// The editor's part of the core module (web/core/editor_bindings.cpp): one document edited
// by the window program's rules, with undo and redo, and its views in the window
// program's captions.

import type { Configuration } from './core';

export type CountList = 'rows' | 'columns';
export type PinTable = 'column' | 'row' | 'input';

export interface ImageResult {
  bytes?: Uint8Array;
  /** The encoder's message: "Error: Pin A is used for multiple scan lines". */
  refusal?: string;
}

export interface LayoutView {
  rows: number;
  columns: number;
  inputs: number;
  /** 0: Computer, 1: RS-232. */
  switchesKeypad: number;
  macroOpen: boolean;
}

export interface CellView {
  /** Into key_codes: row * 23 + column, inputs from 529. */
  index: number;
  /** "Row 3 Col 5", "Input 2". */
  label: string;
  /** The window program's button caption: "Enter", "Macro\n(L Ctrl, P, ...)", "9\n0x09". */
  caption: string;
  code: number;
  /** The macro slot the cell runs, or -1. */
  macro: number;
}

export interface LineView {
  table: PinTable;
  index: number;
  /** "Col 2", "Row 3", "Input 1". */
  label: string;
  /** 0..23 for A..X. */
  pin: number;
  /** Another line in force uses the same pin. */
  doubled: boolean;
}

export interface OptionView {
  caption: string;
  /** The item chosen; a value without an item (a baud rate 7 from an image) checks none. */
  value: number;
  items: { caption: string; enabled: boolean }[];
}

export interface MacroSummary {
  slot: number;
  label: string;
  caption: string;
  /** "press L Ctrl, press A" or "(none)". */
  make: string;
  break: string;
  bytes: number;
  /** Labels of the cells and inputs in force that run it. */
  users: string[];
  /** Cells outside the matrix in force that still hold its code. */
  hiddenUsers: number;
}

export interface MacrosView {
  used: number;
  remaining: number;
  total: number;
  macros: MacroSummary[];
}

export interface StepView {
  /** 0..15 make, 16..31 break. */
  word: number;
  value: number;
  /** "Make\nA", "Delay\n250ms", "Not Used". */
  caption: string;
  /** "press A", "wait 250 ms"; "" for an empty step. */
  text: string;
  enabled: boolean;
  delayAllowed: boolean;
  preselectBreak: boolean;
}

export interface MacroView {
  slot: number;
  label: string;
  /** The cell the answer goes into, or -1. */
  cell: number;
  remaining: number;
  /** "Macro memory remaining: 333". */
  remainingCaption: string;
  users: string[];
  steps: StepView[];
}

export interface KeyPlace {
  key: number;
  x: number;
  y: number;
  width: number;
  height: number;
  caption: string;
}

export interface Editor {
  newConfiguration(): void;
  /** An opened file's configuration (from the core's loadSourceBytes): a fresh history. */
  replace(config: Configuration): void;
  image(): ImageResult;
  /** undefined when taken; otherwise the reason ("Invalid configuration"). */
  takeImage(bytes: Uint8Array): string | undefined;
  markSaved(): void;
  exportText(): string;
  /** A copy for the core's check, differences and sheet: delete() it after use. */
  configuration(): Configuration;
  modified(): boolean;
  canUndo(): boolean;
  canRedo(): boolean;
  undo(): boolean;
  redo(): boolean;

  setCount(list: CountList, count: number): boolean;
  setPin(table: PinTable, index: number, pin: number): boolean;
  /** "ask": a Switches/Keypad change; confirm switchesWarning(), then setSwitchesKeypad. */
  chooseOption(group: number, value: number): 'done' | 'ask' | 'refused';
  setSwitchesKeypad(mode: number): boolean;
  setKey(index: number, key: number): boolean;
  setRawCode(index: number, code: number): boolean;
  clearCell(index: number): boolean;

  /** The slot opened, or -1 (RS-232 mode, every slot taken, the code 0x80). */
  openMacroOfCell(index: number): number;
  openMacroSlot(slot: number): number;
  setMacroStep(word: number, value: number): boolean;
  /** The answer stored in the cell: the macro code, or 0 for a macro left without steps. */
  acceptMacro(): number;
  cancelMacro(): void;
  macroView(): MacroView | null;

  layout(): LayoutView;
  cells(): CellView[];
  lines(): LineView[];
  options(): OptionView[];
  macros(): MacrosView;

  delete(): void;
}

export interface EditorModule {
  Editor: { new (): Editor };
  keyboardLayout(): KeyPlace[];
  /** The key "Select a key" opens on (132: the Delay button of the macro-step variant). */
  startingKey(code: number, macroStep: boolean): number;
  /** The delay step word of a time in ms: 10 ms units, 10..2560 ms, saturating. */
  delayStepOfMs(ms: number): number;
  /** A key chosen for a macro step: released when Break is chosen ("Not Used" never is). */
  keyStep(key: number, breakChosen: boolean): number;
  /** A number field read as the window program reads it (saturates; junk reads 0). */
  entryNumber(text: string): number;
  stepCaption(word: number): string;
  switchesWarning(): string;
}
