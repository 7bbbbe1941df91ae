// SPDX-License-Identifier: MIT
// What a phone on 4G waits for: the bytes a web host sends of the page (brotli and gzip, as hosts
// compress them) and the time from navigation to the program's first frame in headless Chromium
// throttled to 9 Mbit/s down and a 170 ms round trip, no cache and no service worker; against the
// page's own first paint (its loading line) in the same loads. Medians of RUNS loads.
//   node --experimental-websocket bench/web_load.mjs [--runs N] SITE
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { ChromiumPage, serve, waitUntil } from '../tests/web/browser.mjs';

const args = process.argv.slice(2);
const runs = args[0] === '--runs' ? Number(args.splice(0, 2)[1]) : 5;
const site = args[0];
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Sizes of what the first visit fetches: the page, its script, the loader and the program;
// brotli's size is what the server sends of them below.
const fetched = ['index.html', 'page.js', 'qtloader.js', 'vorrel.js', 'vorrel.wasm', 'manifest.webmanifest', 'vorrel.svg'];
let raw = 0, gz = 0;
for (const name of fetched) {
    const body = fs.readFileSync(path.join(site, name));
    raw += body.length;
    gz += zlib.gzipSync(body, { level: 9 }).length;
}
const mb = (bytes) => (bytes / 1e6).toFixed(2);

const server = await serve(site, { compress: 'br' });
for (const name of fetched) // compressed once, before the timed loads
    await (await fetch(`${server.url}${name}`)).arrayBuffer();
const br = server.sent;
const page = await ChromiumPage.launch({ width: 390, height: 844 });
const frames = [], paints = [], sent = [];
try {
    await page.send('Network.setCacheDisabled', { cacheDisabled: true });
    await page.send('Network.setBypassServiceWorker', { bypass: true });
    await page.send('Network.emulateNetworkConditions', { offline: false, latency: 170,
        downloadThroughput: 9e6 / 8, uploadThroughput: 2e6 / 8 });
    for (let run = 0; run < runs; ++run) {
        const before = server.sent;
        await page.goto(`${server.url}?run=${run}`);
        // The first frame: the designer's window is in the page and a frame has been drawn since.
        await waitUntil('the first frame', () => page.eval(`document.getElementById('loading').hidden
            && !!document.querySelector('#screen > div')?.shadowRoot?.querySelector('.qt-window')`), 60000);
        const frame = await page.eval(`new Promise((resolve) => requestAnimationFrame(() =>
            requestAnimationFrame(() => resolve(performance.now()))))`);
        const paint = await page.eval(`performance.getEntriesByName('first-contentful-paint')[0]?.startTime ?? NaN`);
        frames.push(frame);
        paints.push(paint);
        sent.push(server.sent - before);
    }
} finally {
    await page.close();
    await server.close();
}
const frame = median(frames), paint = median(paints);
console.log(`vorrel.wasm: ${mb(fs.statSync(path.join(site, 'vorrel.wasm')).size)} MB`);
console.log(`first visit: ${mb(raw)} MB, ${mb(br)} MB brotli, ${mb(gz)} MB gzip (budget: 4 MB brotli)`);
console.log(`sent per load (brotli): ${mb(median(sent))} MB`);
console.log(`throttled to 9 Mbit/s, 170 ms, ${runs} loads: first frame median ${(frame / 1000).toFixed(2)} s ` +
            `(all: ${frames.map((f) => (f / 1000).toFixed(2)).join(', ')}; budget: 5 s)`);
console.log(`the page's own first paint median ${(paint / 1000).toFixed(2)} s; first frame / first paint: ${(frame / paint).toFixed(1)}`);
