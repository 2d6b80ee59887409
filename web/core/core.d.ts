// Typed declarations of the module zq70core.js (web/core/*_bindings.cpp and
// link/serial_port_web.js): config/, words/ and the serial protocol as the page sees them.
// The editor's bindings are declared beside this in editor.d.ts.

/** A configuration inside the module. Opaque: read and changed through the editor. Every
 *  one the page receives is its own copy and must be deleted when no longer needed. */
export interface Configuration {
  clone(): Configuration;
  delete(): void;
}

export interface ConfigurationClass {
  /** The defaults of File > New. */
  new (): Configuration;
}

export type EncodeRefusal = 'none' | 'badLayout' | 'pinUsedTwice' | 'macrosTooLarge';

export interface EncodeCheck {
  refusal: EncodeRefusal;
  /** The refusal in the encoder's words without its "Error: ", "" for none. */
  text: string;
  /** pinUsedTwice: places in the pin list (columns, rows, inputs) and their pin, else -1. */
  firstEntry: number;
  secondEntry: number;
  pin: number;
  /** Bytes of the macro records, and those beyond the 336 of macro memory. */
  macroBytes: number;
  macroOverflow: number;
}

/** The 512 bytes as Save and Write send them, or the encoder's message ("Error: Pin A is
 *  used for multiple scan lines"). */
export type Encoded = { bytes: Uint8Array; refusal?: undefined } | { bytes?: undefined; refusal: string };

export interface CatalogueKey {
  key: number; // 1..126
  shortName: string;
  longName: string;
  /** Caption of its button in "Select a key". */
  button: string;
}

export type OptionField =
  | 'keyboardOutput'
  | 'keyboardMakeBreak'
  | 'switchesKeypadTo'
  | 'deviceMakeBreak'
  | 'rs232ToComputer'
  | 'baudRate'
  | 'computerType'
  | 'typematicFunction'
  | 'typematicDelay'
  | 'typematicInterval';

export interface OptionGroup {
  caption: string; // "Baud Rate Setting"
  field: OptionField;
  items: string[]; // in value order
}

/** Where and why a text was refused; line and column from 1, 0 when it has no place. */
export interface TextError {
  line: number;
  column: number;
  reason: string;
  /** Well formed, but not writable: check's error ("Pin A is used ..."), else "". */
  unwritable: string;
}

/** A chosen or dropped file, read as zq70cfg reads files. */
export interface LoadedSource {
  ok: boolean;
  /** zq70cfg's one line when not ok: "panel.toml:3:7: reason", "x.bin: Invalid configuration file". */
  message: string;
  isText: boolean;
  /** Loaded, but the encoder refuses it (in check's words); "" when it takes it. */
  refusal: string;
  config?: Configuration;
  bytes?: Uint8Array;
  textError?: TextError;
}

export type Imported = { config: Configuration; bytes: Uint8Array; error?: undefined } | { error: TextError; config?: undefined; bytes?: undefined };

/** What a finding is about, for the page to select it. index: option into optionTable();
 *  cell into the key codes (row * 23 + column, input n at 529 + n); line into the pins of
 *  its kind; macro the slot, with word the step word 0..31 (-1: the whole macro). */
export interface FindingTarget {
  kind: 'none' | 'option' | 'cell' | 'line' | 'macro';
  index: number;
  line: 'column' | 'row' | 'input';
  word: number;
}

export interface Finding {
  severity: 'error' | 'warning' | 'info';
  text: string;
  /** As zq70cfg check prints it: "Error: ...", "Warning: ...", "Info: ...". */
  line: string;
  target: FindingTarget;
}

export type TransferOutcome = 'ok' | 'stopped' | 'lost' | 'openFailed' | 'failed' | 'mismatch';

export interface TransferResult {
  outcome: TransferOutcome;
  /** "" for ok, else zq70cfg's words ("verify failed: 3 bytes differ, first at 144 ..."). */
  message: string;
  /** Read: the 512 bytes read (ok only). Write: what the read-back found (mismatch). */
  bytes?: Uint8Array;
  /** mismatch: every differing address. */
  addresses?: number[];
}

/** Called with "Reading configuration - 42%" and the pass: 0 the transfer, 1 the read-back. */
export type ProgressCallback = ((text: string, pass: number) => void) | null;

/** The part of the Web Serial API's SerialPort that the module uses. */
export interface WebSerialPort extends EventTarget {
  readonly readable: ReadableStream<Uint8Array> | null;
  readonly writable: WritableStream<Uint8Array> | null;
  open(options: {
    baudRate: number;
    dataBits?: number;
    stopBits?: number;
    parity?: string;
    flowControl?: string;
  }): Promise<void>;
  setSignals(signals: { dataTerminalReady?: boolean; requestToSend?: boolean }): Promise<void>;
  close(): Promise<void>;
  getInfo(): { usbVendorId?: number; usbProductId?: number };
}

/** The browser's half of the Web Serial port. */
export interface SerialLink {
  /** The port the user picked; every transfer from now on uses it. */
  use(port: WebSerialPort): void;
  /** Starts the record of an operation ("Read", "Write with verify"). */
  begin(what: string): void;
  /** Cancel: the transfer ends between two commands and closes the port. */
  requestStop(): void;
  readonly stopRequested: boolean;
  /** The port went away during the last transfer. */
  readonly lost: boolean;
  /** The DOMException name of the last failed open ("NetworkError", "InvalidStateError"). */
  readonly openError: string;
  readonly isOpen: boolean;
  /** The last exchange, one command a line, for a bug report. */
  exchangeText(): string;
}

/** The sizes of a configuration. */
export interface Limits {
  pinCount: number; // pins A..X
  maxLines: number; // rows, and columns, at most
  /** Index of matrix cell (row r, column c) = r * rowStride + c, whatever the column count. */
  rowStride: number;
  /** Index of discrete input i = firstInput + i. */
  firstInput: number;
  macroMemory: number; // bytes
  rs232NotUsed: number; // the code that sends nothing in RS-232 mode
}

export interface CoreModule {
  version(): string;
  limits(): Limits;
  Configuration: ConfigurationClass;
  /** null when the decoder refuses the image (or it is not 512 bytes). */
  decodeImage(bytes: Uint8Array): Configuration | null;
  encodeImage(config: Configuration): Encoded;
  checkEncoding(config: Configuration): EncodeCheck;
  keyCatalogue(): CatalogueKey[];
  optionTable(): OptionGroup[];

  loadSourceBytes(name: string, bytes: Uint8Array): LoadedSource;
  exportText(config: Configuration): string;
  importText(text: string): Imported;
  listing(config: Configuration): string;
  /** zq70cfg diff's lines, from a to b. */
  differences(a: Configuration, b: Configuration): string[];
  checkConfiguration(config: Configuration): Finding[];
  /** A self-contained HTML page that prints on one A4 or Letter page. */
  wiringSheet(config: Configuration, title: string): string;

  /** One at a time, and no other call into the module until the promise has settled. */
  serialRead(progress: ProgressCallback): Promise<TransferResult>;
  serialWrite(bytes: Uint8Array, verify: boolean, progress: ProgressCallback): Promise<TransferResult>;
  serialLink: SerialLink;
}

export type CreateCore = (options?: Record<string, unknown>) => Promise<CoreModule>;
