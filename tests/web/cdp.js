// A small Chrome DevTools Protocol client: starts headless Chromium, opens one
// tab and sends commands to it.
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

async function launch(browserPath) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'merrowby-web-'));
  // The protocol runs over the browser's descriptors 3 (to it) and 4 (from
  // it), each message ended by a NUL byte.
  const browser = spawn(browserPath, ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
    '--remote-debugging-pipe', '--user-data-dir=' + profile, 'about:blank'],
  { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });
  const toBrowser = browser.stdio[3];
  const fromBrowser = browser.stdio[4];
  const ws = {
    send: (text) => toBrowser.write(text + '\0'),
    close: () => toBrowser.end(),
  };
  let pending = Buffer.alloc(0);
  fromBrowser.on('data', (chunk) => {
    pending = Buffer.concat([pending, chunk]);
    for (let end = pending.indexOf(0); end >= 0; end = pending.indexOf(0)) {
      const text = pending.subarray(0, end).toString('utf8');
      pending = pending.subarray(end + 1);
      ws.onmessage({ data: text });
    }
  });
  let next = 1;
  const waiting = new Map();
  const listeners = [];
  ws.onmessage = (event) => {
    const message = JSON.parse(event.data);
    if (message.id && waiting.has(message.id)) {
      const { resolve, reject } = waiting.get(message.id);
      waiting.delete(message.id);
      if (message.error)
        reject(new Error(JSON.stringify(message.error)));
      else
        resolve(message.result);
    } else if (message.method) {
      for (const listener of listeners)
        listener(message);
    }
  };
  const send = (method, params = {}, sessionId = undefined) => new Promise((resolve, reject) => {
    const id = next++;
    waiting.set(id, { resolve, reject });
    ws.send(JSON.stringify({ id, method, params, sessionId }));
  });
  const { targetId } = await send('Target.createTarget', { url: 'about:blank' });
  const { sessionId } = await send('Target.attachToTarget', { targetId, flatten: true });
  const tab = (method, params) => send(method, params, sessionId);
  const close = () => {
    ws.close();
    browser.kill();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return { send, tab, on: (listener) => listeners.push(listener), close };
}

module.exports = { launch };
