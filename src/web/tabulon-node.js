#!/usr/bin/env node
// tabulon on the command line, run by the same WebAssembly module as the page:
// the piece is copied into the module's memory under its own path, the
// converter runs there, and the files it leaves beside the piece are written
// back beside it. The console, the exit status and the files are tabulon's.
// The code tables are those beside this script, as tabulon reads those beside
// itself (a table missing here is missing for the run too). A copy of this
// script elsewhere (as the test runner stages one beside a piece's own tables)
// finds the module through MERROWBY_MODULE.
'use strict';
const fs = require('fs');
const path = require('path');
const createMerrowby = require(process.env.MERROWBY_MODULE || path.join(__dirname, 'merrowby.js'));

// The console bytes, passed on as they come (stderr gathered up to each line
// end or carriage return, so a progress counter costs few writes).
function byteSink(fd) {
  let pending = [];
  const flush = () => {
    if (pending.length > 0)
      fs.writeSync(fd, Buffer.from(pending));
    pending = [];
  };
  const put = (b) => {
    if (b === null)
      return flush();
    pending.push(b & 255);
    if (b === 10 || b === 13 || pending.length >= 65536)
      flush();
  };
  return { put, flush };
}

// The standard input, a byte at a time, for the prompt of a run without arguments.
function stdinSource(flushAll) {
  const one = Buffer.alloc(1);
  return () => {
    flushAll();
    try {
      return fs.readSync(0, one, 0, 1, null) === 1 ? one[0] : null;
    } catch (e) {
      return null;
    }
  };
}

// The file name is the first argument that is not a switch, as tabulon takes it.
function pieceArgument(args) {
  return args.find((a) => !a.startsWith('-'));
}

function useCodeTables(m) {
  for (const name of ['CHAP1891.TXT', 'relcodes.txt']) {
    const beside = path.join(__dirname, name);
    const inside = '/merrowby/' + name;
    if (fs.existsSync(beside))
      m.FS.writeFile(inside, fs.readFileSync(beside));
    else
      m.FS.unlink(inside);
  }
}

function copyIn(m, hostPath) {
  const dir = path.dirname(hostPath);
  m.FS.mkdirTree(dir);
  try {
    if (fs.statSync(hostPath).isFile())
      m.FS.writeFile(hostPath, fs.readFileSync(hostPath));
  } catch (e) {
    // Missing or unreadable: the converter says so itself.
  }
}

// Every file the run left in the piece's folder, other than the piece.
function copyOut(m, dir, piece) {
  for (const name of m.FS.readdir(dir)) {
    const inside = path.join(dir, name);
    if (inside === piece || !m.FS.isFile(m.FS.stat(inside).mode))
      continue;
    fs.writeFileSync(inside, m.FS.readFile(inside));
  }
}

async function main() {
  const args = process.argv.slice(2);
  const out = byteSink(1);
  const err = byteSink(2);
  const flushAll = () => { out.flush(); err.flush(); };
  const m = await createMerrowby({
    thisProgram: '/merrowby/tabulon',
    stdin: stdinSource(flushAll),
    stdout: out.put,
    stderr: err.put,
    quit: (status, thrown) => { throw thrown; },
  });
  useCodeTables(m);
  const cwd = process.cwd();
  m.FS.mkdirTree(cwd);
  m.FS.chdir(cwd);
  const given = pieceArgument(args);
  const piece = given === undefined ? undefined : path.resolve(cwd, given);
  if (piece !== undefined)
    copyIn(m, piece);
  const status = m.callMain(args);
  flushAll();
  if (piece !== undefined)
    copyOut(m, path.dirname(piece), piece);
  process.exitCode = status;
}

main();
