// Loads merrowby.html from a file:// address in headless Chromium and checks,
// for every piece given, that the listing and the data file the page offers
// are byte for byte those of the native converter on the CSV (the listing
// with CR LF line ends, the first line, which names the time, excepted); that
// a spreadsheet's cells are written as its CSV save writes them, with a
// notice for those the page cannot write as shown; a hostile piece's cells run
// no script; and that the page's content policy forbids every request and it
// asks for nothing over the network.
//
//   node page_test.js PAGE BROWSER NATIVE_TABULON WORKDIR CASE...
//
// A CASE is PIECE[:SWITCHES[:CSV]]: the file to give the page, the switches
// the native converter is given (blanks written as _; the page finds the
// layout from the piece, or takes the switches' layout by hand when they
// start with =) and the CSV the native converter reads (default the piece).
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const { launch } = require('./cdp');
const { writeXlsx } = require('./make_xlsx');

const [pagePath, browserPath, nativeTabulon, workDir, ...cases] = process.argv.slice(2);

function fail(text) {
  console.log('FAIL ' + text);
  process.exitCode = 1;
}

// The native converter's listing and data file for a CSV.
function nativeOutputs(csv, switches) {
  const dir = fs.mkdtempSync(path.join(workDir, 'native-'));
  const name = path.basename(csv);
  fs.copyFileSync(csv, path.join(dir, name));
  try {
    execFileSync(nativeTabulon, [...switches, name], { cwd: dir, stdio: 'ignore' });
  } catch (e) {
    // A piece with findings ends with status 4 or 8.
  }
  const files = new Map();
  for (const file of fs.readdirSync(dir))
    if (file !== name)
      files.set(file, fs.readFileSync(path.join(dir, file)));
  return files;
}

const crlf = (bytes) => Buffer.from(bytes.toString('latin1').replace(/\n/g, '\r\n'), 'latin1');
const withoutFirstLine = (bytes) => bytes.subarray(bytes.indexOf(10) + 1);

async function main() {
  const browser = await launch(browserPath);
  const requests = [];
  const downloads = new Map();
  const downloadDir = fs.mkdtempSync(path.join(workDir, 'downloads-'));
  const contexts = new Map();
  const violations = [];
  browser.on((m) => {
    if (m.method === 'Runtime.executionContextCreated' && m.params.context.auxData.isDefault)
      contexts.set(m.params.context.auxData.frameId, m.params.context.id);
    if (m.method === 'Log.entryAdded' && /Content Security Policy/.test(m.params.entry.text))
      violations.push(m.params.entry.text);
    if (m.method === 'Runtime.exceptionThrown')
      fail('the page threw: ' + JSON.stringify(m.params.exceptionDetails).slice(0, 600));
    if (m.method === 'Network.requestWillBeSent')
      requests.push(m.params.request.url);
    if (m.method === 'Browser.downloadWillBegin')
      downloads.set(m.params.guid, { name: m.params.suggestedFilename, done: false });
    if (m.method === 'Browser.downloadProgress' && m.params.state === 'completed' && downloads.has(m.params.guid))
      downloads.get(m.params.guid).done = true;
  });
  await browser.send('Browser.setDownloadBehavior', { behavior: 'allowAndName', downloadPath: downloadDir, eventsEnabled: true });
  await browser.tab('Network.enable');
  await browser.tab('Page.enable');
  await browser.tab('Runtime.enable');
  await browser.tab('Log.enable');
  const pageUrl = 'file://' + path.resolve(pagePath);
  await browser.tab('Page.navigate', { url: pageUrl });
  const evaluate = async (expression) =>
    (await browser.tab('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true })).result.value;
  const until = async (expression, what) => {
    for (let i = 0; i < 200; ++i) {
      if (await evaluate(expression))
        return;
      await new Promise((r) => setTimeout(r, 50));
    }
    throw new Error('timed out waiting for ' + what);
  };
  await until('document.readyState === "complete"', 'the page');

  // A piece whose cells hold markup and script, converted last.
  const hostile = path.join(workDir, 'RG110124.CSV');
  const hostileText = '<script>window.merrowbyPwned=true</script><img src="http://127.0.0.1:9/x" onerror="window.merrowbyPwned=true">';
  const sample = fs.readFileSync(path.join(__dirname, '../../examples/RG110123.CSV'), 'latin1').split('\n');
  sample[3] = sample[3].replace('Ashdown', hostileText.replace(/"/g, "'"));
  sample[4] = sample[4].replace('Ashdown', '"' + hostileText.replace(/"/g, '""') + '"');
  fs.writeFileSync(hostile, sample.join('\n'), 'latin1');
  let reportFrame = null;

  // A workbook of our own with the cells a CSV save writes in its own way: the
  // sample piece with its numbers as numbers, an ED in the format 000, an age in
  // the format 0.00 and a formula never calculated; a second sheet after it.
  const book = path.join(workDir, 'RG110125.xlsx');
  const bookCsv = path.join(workDir, 'expected', 'RG110125.CSV');
  const plain = fs.readFileSync(path.join(__dirname, '../../examples/RG110123.CSV'), 'latin1').split('\n');
  const rows = plain.filter((line) => line !== '').map((line) => line.replace(/\r$/, '').split(','));
  const width = Math.max(...rows.map((cells) => cells.length));
  const expectedRows = rows.map((cells) => [...cells, ...Array(width - cells.length).fill('')]);
  const cells = expectedRows.map((row, r) => row.map((text) => (r >= 3 && /^\d+$/.test(text) ? { n: Number(text) } : text)));
  cells[3][1] = { n: 1, format: '000' };
  expectedRows[3][1] = '001';
  cells[4][14] = { n: 44, format: '0.00' };
  expectedRows[4][14] = '44';
  cells[5][width - 1] = { f: 'SUM(A1:A2)' };
  expectedRows[5][width - 1] = '';
  writeXlsx(book, [{ name: 'Piece', rows: cells }, { name: 'Notes', rows: [['checked twice']] }]);
  fs.mkdirSync(path.dirname(bookCsv));
  fs.writeFileSync(bookCsv, expectedRows.map((row) => row.join(',') + '\r\n').join(''), 'latin1');
  const expectedNotices = new Map([[book, ['Cell O5: the number format 0.00', `Cell ${String.fromCharCode(64 + width)}6: a formula without a saved value`]]]);

  for (const spec of [...cases, `${book}::${bookCsv}`, hostile]) {
    const [piece, switchText = '', csvGiven] = spec.split(':');
    const byHand = switchText.startsWith('=');
    const switches = switchText.replace(/^=/, '').split('_').filter((s) => s !== '');
    const csv = csvGiven || piece;
    const layout = byHand ? switches.filter((s) => ['-a', '-c', '-d'].includes(s)).join(' ') : 'found';
    await evaluate(`(() => {
      document.getElementById('layout').value = ${JSON.stringify(layout)};
      for (const [id, letter] of [['quiet', '-q'], ['verbose', '-v'], ['relations', '-r']])
        document.getElementById(id).checked = ${JSON.stringify(switches)}.includes(letter);
      document.body.dataset.done = '';
    })()`);
    const { root } = await browser.tab('DOM.getDocument');
    const { nodeId } = await browser.tab('DOM.querySelector', { nodeId: root.nodeId, selector: '#file' });
    const started = Date.now();
    await browser.tab('DOM.setFileInputFiles', { nodeId, files: [path.resolve(piece)] });
    await until('document.body.dataset.done !== ""', 'the piece ' + piece);
    const elapsed = Date.now() - started;
    const summary = await evaluate('document.getElementById("summary").textContent');
    const notices = await evaluate('document.getElementById("notices").textContent');
    for (const notice of expectedNotices.get(piece) || [])
      if (!notices.includes(notice))
        fail(`${spec}: no notice "${notice}..." (the notices: ${notices})`);
    const before = new Set(downloads.keys());
    const offered = await evaluate(`[...document.querySelectorAll('#downloads a')].map((a) => a.download)`);
    const fresh = () => [...downloads].filter(([guid, d]) => !before.has(guid) && d.done);
    // Each saved by a click of the mouse, one after the other, as a volunteer saves them.
    // A click that lands while the page is still laying itself out can miss
    // its link: a link whose file has not come within 10 s is clicked again.
    for (let n = 0; n < offered.length; ++n) {
      const arrived = () => fresh().some(([, d]) => d.name === offered[n]);
      for (let attempt = 0; attempt < 3 && !arrived(); ++attempt) {
        const [x, y] = await evaluate(`(() => {
          const a = document.querySelectorAll('#downloads a')[${n}];
          a.scrollIntoView();
          const r = a.getBoundingClientRect();
          return [r.left + r.width / 2, r.top + r.height / 2];
        })()`);
        for (const type of ['mousePressed', 'mouseReleased'])
          await browser.tab('Input.dispatchMouseEvent', { type, x, y, button: 'left', clickCount: 1 });
        for (let i = 0; i < 200 && !arrived(); ++i)
          await new Promise((r) => setTimeout(r, 50));
      }
    }
    const got = new Map();
    for (const [guid, d] of fresh())
      got.set(d.name, fs.readFileSync(path.join(downloadDir, guid)));
    const expected = nativeOutputs(csv, switches);
    let same = true;
    for (const [name, bytes] of expected) {
      const page = got.get(name);
      const want = name.endsWith('.erc') ? withoutFirstLine(crlf(bytes)) : bytes;
      if (page === undefined) {
        fail(`${spec}: the page offers no ${name} (it offers ${offered.join(', ')})`);
        same = false;
      } else if (!(name.endsWith('.erc') ? withoutFirstLine(page) : page).equals(want)) {
        const mine = (name.endsWith('.erc') ? withoutFirstLine(page) : page).toString('latin1').split('\n');
        const theirs = want.toString('latin1').split('\n');
        const at = mine.findIndex((line, i) => line !== theirs[i]);
        fail(`${spec}: ${name} differs from the native converter's` +
             (name.endsWith('.erc') ? ` from line ${at + 2}: ${JSON.stringify(mine[at])} where it has ${JSON.stringify(theirs[at])}` : ''));
        same = false;
      }
    }
    for (const name of got.keys())
      if (!expected.has(name)) {
        fail(`${spec}: the page offers ${name}, the native converter writes no such file`);
        same = false;
      }
    const report = await evaluate('document.getElementById("report").srcdoc.length');
    reportFrame = (await browser.tab('Page.getFrameTree')).frameTree.childFrames?.[0]?.frame.id ?? null;
    if (same)
      console.log(`same  ${spec}: ${[...expected.keys()].join(', ')}; report page ${report} characters; ${elapsed} ms; ${summary}`);
  }

  // The last piece was the hostile one: its cells must stay text in the
  // report, and nothing they hold may run or load.
  const frameContext = contexts.get(reportFrame);
  const inside = frameContext === undefined ? null : (await browser.tab('Runtime.evaluate', {
    contextId: frameContext, returnByValue: true,
    expression: `[document.querySelectorAll('img, svg, iframe, object, embed').length,
                  document.body.textContent.includes(${JSON.stringify(hostileText)}), window.merrowbyPwned === true]`,
  })).result.value;
  if (inside === null)
    fail('the report of the hostile piece was not found');
  else if (inside[0] !== 0 || !inside[1] || inside[2])
    fail('a cell of the hostile piece became markup or ran: ' + JSON.stringify(inside));
  else
    console.log('the hostile cells stand as text in the report');
  if (violations.length > 0)
    fail('the page broke its own content policy: ' + violations.join('; '));
  const policy = await evaluate(`document.querySelector('meta[http-equiv="Content-Security-Policy"]')?.content ?? ''`);
  if (!/^default-src 'none';/.test(policy) || /connect-src|https?:|\*/.test(policy))
    fail('the page\'s content policy does not forbid every request: ' + policy);
  const outside = requests.filter((url) => url !== pageUrl);
  if (outside.length > 0)
    fail('the page asked for ' + outside.join(', '));
  else
    console.log('no network request beyond the page itself (' + requests.length + ' seen)');
  browser.close();
}

main().then(() => process.exit(), (e) => { fail(e.stack); process.exit(1); });
