// The page: takes a piece, runs the converter and the report writer on it in
// this browser (the WebAssembly module above), shows the report and offers the
// listing and the data file. Nothing is sent anywhere.
'use strict';

const $ = (id) => document.getElementById(id);

// The programs look for the code tables beside themselves: the module has them
// in /merrowby. The piece is written to /piece.
const programDir = '/merrowby/';
const pieceDir = '/piece';

// One run of a program of the module, on a fresh instance. Returns the exit
// status, the console bytes and the instance (whose files the caller reads).
async function runProgram(program, args, files) {
  const consoleBytes = [];
  const keep = (b) => { if (b !== null) consoleBytes.push(b & 255); };
  const m = await createMerrowby({
    thisProgram: programDir + program,
    stdin: () => null,
    stdout: keep,
    stderr: keep,
    quit: (status, thrown) => { throw thrown; },
  });
  m.FS.mkdir(pieceDir);
  m.FS.chdir(pieceDir);
  for (const [name, bytes] of files)
    m.FS.writeFile(name, bytes);
  const status = m.callMain(args);
  return { status, console: new Uint8Array(consoleBytes), m };
}

// The files a run left beside the piece, other than those it was given.
function newFiles(m, given) {
  const found = new Map();
  for (const name of m.FS.readdir(pieceDir)) {
    if (name === '.' || name === '..' || given.has(name))
      continue;
    found.set(name, m.FS.readFile(pieceDir + '/' + name));
  }
  return found;
}

// The listing's base name is the piece's as typed, up to its first dot.
function listingName(pieceName) {
  const dot = pieceName.indexOf('.');
  return (dot < 0 ? pieceName : pieceName.slice(0, dot)) + '.erc';
}

// The listing as Windows writes a text file: each line end is CR LF.
function withCrLf(bytes) {
  const out = [];
  for (const b of bytes) {
    if (b === 10)
      out.push(13);
    out.push(b);
  }
  return new Uint8Array(out);
}

const cp1252 = new TextDecoder('windows-1252');

// The console's summary without the running row counter ("123\r") and the
// lines that name files on a disk the page does not have.
function consoleText(bytes) {
  return cp1252.decode(bytes).replace(/-?\d+\r/g, '').replace(/\n*Output file is [^\n]*/, '')
    .replace(/\. see \S+\s*$/, '.').replace(/^\s+/, '');
}

// The layout switches the piece needs, found from its opening rows by the
// converter's own rules; none when no layout fits (the converter then says
// why), with the line that tells what was found.
async function foundLayout(piece) {
  const run = await runProgram('layout', [piece.name], [[piece.name, piece.bytes]]);
  const [letters, why] = cp1252.decode(run.console).split('\n');
  const fits = run.status === 0 && letters !== 'none';
  return {
    args: fits ? [...letters].map((letter) => '-' + letter) : [],
    notice: fits ? 'Layout found from the piece: ' + why + '.' : 'No layout fits the piece: ' + why + '.',
  };
}

async function switches(piece, notices) {
  let chosen = $('layout').value.split(' ').filter((s) => s !== '');
  if ($('layout').value === 'found') {
    const found = await foundLayout(piece);
    chosen = found.args;
    notices.push(found.notice);
  }
  if ($('quiet').checked)
    chosen.push('-q');
  if ($('verbose').checked)
    chosen.push('-v');
  if ($('relations').checked)
    chosen.push('-r');
  return chosen;
}

const statusMeaning = {
  0: 'no errors or warnings',
  2: 'no file name',
  4: 'warnings only',
  8: 'at least one error',
  12: 'the piece could not be converted',
};

// Converts the piece and writes its report: the converter, then the report
// writer on the piece and the listing the converter left.
async function checkPiece(piece) {
  const notices = [...piece.notices];
  const args = await switches(piece, notices);
  const started = performance.now();
  const conversion = await runProgram('tabulon', [...args, piece.name], [[piece.name, piece.bytes]]);
  const converted = performance.now();
  const left = newFiles(conversion.m, new Set([piece.name]));
  const listName = listingName(piece.name);
  const listing = left.get(listName);
  left.delete(listName);
  let page = null;
  if (listing !== undefined) {
    const report = await runProgram('tabreport', [...args, piece.name],
                                    [[piece.name, piece.bytes], [listName, listing]]);
    const html = report.m.FS.analyzePath(pieceDir + '/' + listName.replace(/\.erc$/, '.html'));
    if (html.exists)
      page = report.m.FS.readFile(html.path, { encoding: 'utf8' });
  }
  return {
    piece, args, status: conversion.status, console: consoleText(conversion.console),
    listName, listing, data: left, page, notices,
    convertMs: converted - started, totalMs: performance.now() - started,
  };
}

let downloadUrls = [];

function offer(name, bytes) {
  const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  downloadUrls.push(url);
  const a = document.createElement('a');
  a.href = url;
  a.download = name;
  a.textContent = 'Save ' + name;
  $('downloads').append(a);
}

function show(result) {
  for (const url of downloadUrls)
    URL.revokeObjectURL(url);
  downloadUrls = [];
  $('downloads').replaceChildren();
  $('result').hidden = false;
  $('piece').textContent = result.piece.name + (result.args.length ? ' (' + result.args.join(' ') + ')' : '');
  const meaning = statusMeaning[result.status] || '';
  $('summary').textContent = 'Status ' + result.status + (meaning ? ': ' + meaning : '') + '. ' +
    result.console.split(/\s*\n\s*/).filter((line) => line !== '')
      .map((line) => (/[.:]$/.test(line) ? line : line + '.')).join(' ') +
    ' (converted in ' + Math.round(result.convertMs) + ' ms)';
  $('notices').replaceChildren(...result.notices.map((text) => {
    const li = document.createElement('li');
    li.textContent = text;
    return li;
  }));
  if (result.listing !== undefined)
    offer(result.listName, withCrLf(result.listing));
  for (const [name, bytes] of result.data)
    offer(name, bytes);
  const listingText = result.listing === undefined ? '' : cp1252.decode(result.listing);
  $('listing').textContent = listingText;
  $('listing').hidden = result.page !== null;
  $('report').hidden = result.page === null;
  $('report').srcdoc = result.page === null ? '' : result.page;
  document.body.dataset.done = String(Date.now());
}

// The piece that is shown, kept so that a change of switches checks it again.
let current = null;

async function check() {
  if (current === null)
    return;
  document.body.dataset.busy = '1';
  try {
    const piece = await current.read($('sheet').value);
    show(await checkPiece(piece));
  } catch (e) {
    $('result').hidden = false;
    $('summary').textContent = 'The piece could not be read: ' + e.message;
    document.body.dataset.done = String(Date.now());
  }
  delete document.body.dataset.busy;
}

// A CSV piece is given to the converter as it stands.
function csvSource(file) {
  return {
    sheets: [],
    read: async () => ({ name: file.name, bytes: new Uint8Array(await file.arrayBuffer()), notices: [] }),
  };
}

async function take(file) {
  current = (typeof spreadsheetSource === 'function' && spreadsheetSource(file)) || csvSource(file);
  const sheets = await (current.sheetNames ? current.sheetNames() : []);
  $('sheet').replaceChildren(...sheets.map((name, i) => new Option(name, String(i))));
  $('sheetchoice').hidden = sheets.length < 2;
  await check();
}

$('file').addEventListener('change', () => {
  if ($('file').files.length > 0)
    take($('file').files[0]);
});
for (const id of ['layout', 'quiet', 'verbose', 'relations', 'sheet'])
  $(id).addEventListener('change', check);
// A piece dropped anywhere on the page is taken (the browser would otherwise
// open it in place of the page).
const drop = $('drop');
document.addEventListener('dragover', (e) => { e.preventDefault(); drop.classList.add('over'); });
document.addEventListener('dragleave', (e) => { if (e.relatedTarget === null) drop.classList.remove('over'); });
document.addEventListener('drop', (e) => {
  e.preventDefault();
  drop.classList.remove('over');
  if (e.dataTransfer.files.length > 0)
    take(e.dataTransfer.files[0]);
});
