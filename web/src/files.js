// Files in and out of the page: a local file's bytes, a download, and the share link
// (#src= and the base64url of the program's UTF-8 text).
export function readFile(file) {
  return file.arrayBuffer().then((buffer) => new Uint8Array(buffer));
}

// data: bytes or a Blob.
export function download(data, name, type = 'application/octet-stream') {
  const url = URL.createObjectURL(data instanceof Blob ? data : new Blob([data], { type }));
  const link = Object.assign(document.createElement('a'), { href: url, download: name });
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

export function toBase64Url(text) {
  const bytes = new TextEncoder().encode(text);
  let binary = '';
  for (let i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

// The text of a share link's fragment, or null when it is none or no valid base64url of UTF-8.
export function sharedSource(hash) {
  const match = /^#src=([A-Za-z0-9_-]*)=*$/.exec(hash);
  if (!match) return null;
  try {
    const binary = atob(match[1].replace(/-/g, '+').replace(/_/g, '/'));
    const bytes = Uint8Array.from(binary, (c) => c.charCodeAt(0));
    return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch {
    return null;
  }
}

export function shareLink(text) {
  return `${location.origin}${location.pathname}#src=${toBase64Url(text)}`;
}

// The name a trace table is offered under: the source's name with .csv.
export function traceTableName(sourceName) {
  return `${sourceName.replace(/\.[^.]*$/, '') || 'trace'}.csv`;
}

// Files opened or dropped together: the program (an .asm, or the one file given), a test
// file (.tests) and, with a test file, the files its cases read.
export function sortFiles(files) {
  const tests = files.find((file) => /\.tests$/i.test(file.name)) || null;
  const others = files.filter((file) => file !== tests);
  const source = others.find((file) => /\.asm$/i.test(file.name)) || (tests ? null : others[0] || null);
  return { source, tests, beside: tests ? others.filter((file) => file !== source) : [] };
}
