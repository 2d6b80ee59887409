// Reading and writing files: the file chooser or the File System Access API where the
// browser has it (then Save writes back to the file that was opened), and a download where
// it has not.

export interface FileHandleLike {
  name: string;
  getFile(): Promise<File>;
  createWritable(): Promise<{ write(data: BlobPart): Promise<void>; close(): Promise<void> }>;
}

interface PickerWindow {
  showOpenFilePicker?: (options?: object) => Promise<FileHandleLike[]>;
  showSaveFilePicker?: (options?: object) => Promise<FileHandleLike>;
}

const pickers = () => window as unknown as PickerWindow;

export function hasFileAccess(): boolean {
  return typeof pickers().showOpenFilePicker === 'function';
}

// A configuration file or text by its name, as zq70cfg tells them apart when it writes.
export function namesText(name: string): boolean {
  return /\.toml$/i.test(name);
}

export function baseName(name: string): string {
  return name.replace(/\.[^.]*$/, '') || 'configuration';
}

// The user's choice through the File System Access API: its handle and contents; null when
// cancelled.
export async function pickFileToOpen(): Promise<{ handle: FileHandleLike; file: File } | null> {
  try {
    const [handle] = await pickers().showOpenFilePicker!({ multiple: false });
    if (!handle) return null;
    return { handle, file: await handle.getFile() };
  } catch (error) {
    if (error instanceof DOMException && error.name === 'AbortError') return null;
    throw error;
  }
}

export async function writeToHandle(handle: FileHandleLike, data: BlobPart): Promise<void> {
  const writable = await handle.createWritable();
  await writable.write(data);
  await writable.close();
}

// Saves under a name the user chooses: the save picker where there is one, otherwise a
// download. False when the user cancelled the picker.
export async function saveAs(
  suggestedName: string,
  data: BlobPart,
  type: string,
): Promise<{ saved: boolean; handle?: FileHandleLike }> {
  const picker = pickers().showSaveFilePicker;
  if (typeof picker === 'function') {
    try {
      const handle = await picker({ suggestedName });
      await writeToHandle(handle, data);
      return { saved: true, handle };
    } catch (error) {
      if (error instanceof DOMException && error.name === 'AbortError') return { saved: false };
      throw error;
    }
  }
  download(suggestedName, data, type);
  return { saved: true };
}

export function download(name: string, data: BlobPart, type: string): void {
  const url = URL.createObjectURL(new Blob([data], { type }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  link.style.display = 'none';
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10_000);
}

export async function bytesOf(file: Blob): Promise<Uint8Array> {
  return new Uint8Array(await file.arrayBuffer());
}
