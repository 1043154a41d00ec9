// Writes docs/merrowby-html.png: merrowby.html with a piece loaded, as headless
// Chromium shows it; and says how long the conversion took.
//
//   node docs/make_web_screenshot.js PAGE [PIECE, default examples/RG120456.CSV] [PNG]
'use strict';
const fs = require('fs');
const path = require('path');
const { launch } = require('../tests/web/cdp');

const root = path.join(__dirname, '..');
const [pagePath, piece = path.join(root, 'examples/RG120456.CSV'), png = path.join(root, 'docs/merrowby-html.png')] =
  process.argv.slice(2);
const browserPath = ['/usr/bin/chromium-headless-shell', '/usr/bin/chromium'].find((p) => fs.existsSync(p));

async function main() {
  const browser = await launch(browserPath);
  await browser.tab('Page.enable');
  await browser.tab('Emulation.setDeviceMetricsOverride', { width: 1200, height: 900, deviceScaleFactor: 1, mobile: false });
  await browser.tab('Page.navigate', { url: 'file://' + path.resolve(pagePath) });
  const evaluate = async (expression) =>
    (await browser.tab('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true })).result.value;
  while (await evaluate('document.readyState') !== 'complete')
    await new Promise((r) => setTimeout(r, 50));
  const { root: doc } = await browser.tab('DOM.getDocument');
  const { nodeId } = await browser.tab('DOM.querySelector', { nodeId: doc.nodeId, selector: '#file' });
  await browser.tab('DOM.setFileInputFiles', { nodeId, files: [path.resolve(piece)] });
  while (!await evaluate('Boolean(document.body.dataset.done)'))
    await new Promise((r) => setTimeout(r, 50));
  await new Promise((r) => setTimeout(r, 500));  // the report's own script lays it out
  console.log(await evaluate('document.getElementById("summary").textContent'));
  const shot = await browser.tab('Page.captureScreenshot', { format: 'png' });
  fs.writeFileSync(png, Buffer.from(shot.data, 'base64'));
  browser.close();
}

main().then(() => process.exit(), (e) => { console.error(e.stack); process.exit(1); });
