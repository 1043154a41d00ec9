// A small Chrome DevTools Protocol client: starts headless Chromium, opens one
// tab and sends commands to it. Needs node's WebSocket (node 22, or node 20
// with --experimental-websocket).
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

async function launch(browserPath) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'merrowby-web-'));
  const browser = spawn(browserPath, ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
    '--remote-debugging-port=0', '--user-data-dir=' + profile, 'about:blank'], { stdio: ['ignore', 'ignore', 'pipe'] });
  const wsUrl = await new Promise((resolve, reject) => {
    let seen = '';
    browser.stderr.on('data', (chunk) => {
      seen += chunk;
      const found = /DevTools listening on (ws:\S+)/.exec(seen);
      if (found)
        resolve(found[1]);
    });
    browser.on('exit', () => reject(new Error('the browser ended: ' + seen)));
  });
  const ws = new WebSocket(wsUrl);
  await new Promise((resolve, reject) => { ws.onopen = resolve; ws.onerror = reject; });
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
