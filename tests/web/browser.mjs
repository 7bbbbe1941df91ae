// SPDX-License-Identifier: MIT
// What the web checks and the web benchmark share: a static server (as any static host serves the
// folder), and Debian's Chromium and Firefox ESR started headless and driven over their own
// protocols (Chromium's DevTools protocol, Firefox's WebDriver BiDi) with Node's WebSocket.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

const TYPES = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8', '.wasm': 'application/wasm',
    '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml', '.png': 'image/png',
    '.txt': 'text/plain; charset=utf-8', '.json': 'application/json',
};

// serve(dir, {compress}): a static server of dir on a free port of 127.0.0.1; with compress
// ('br' or 'gzip'), files go out compressed as a web host sends them. Resolves to
// {url, sent: bytes sent so far, close()}.
export function serve(dir, { compress = null } = {}) {
    const stats = { sent: 0 };
    const compressed = new Map(); // brotli at its best takes seconds for vorrel.wasm: once a file
    const server = http.createServer((request, response) => {
        const name = decodeURIComponent(new URL(request.url, 'http://host').pathname);
        let file = path.join(dir, path.normalize(name).replace(/^(\.\.[/\\])+/, ''));
        if (name.endsWith('/'))
            file = path.join(file, 'index.html');
        if (!file.startsWith(dir) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
            response.writeHead(404).end('not found');
            return;
        }
        let body = fs.readFileSync(file);
        const headers = { 'Content-Type': TYPES[path.extname(file)] ?? 'application/octet-stream',
                          'Cache-Control': 'no-cache' };
        if (compress && !compressed.has(file)) {
            compressed.set(file, compress === 'br'
                ? zlib.brotliCompressSync(body, { params: { [zlib.constants.BROTLI_PARAM_QUALITY]: 11 } })
                : zlib.gzipSync(body, { level: 9 }));
        }
        if (compress)
            body = compressed.get(file);
        if (compress)
            headers['Content-Encoding'] = compress;
        stats.sent += body.length;
        response.writeHead(200, headers).end(body);
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        get sent() { return stats.sent; },
        close: () => new Promise((done) => { server.closeAllConnections(); server.close(done); }),
    })));
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// waitUntil(what, check, ms): polls check() until it gives a true value, which it returns.
export async function waitUntil(what, check, ms = 30000) {
    const until = Date.now() + ms;
    let last;
    for (;;) {
        try {
            last = await check();
            if (last)
                return last;
        } catch (error) {
            last = error;
        }
        if (Date.now() > until)
            throw new Error(`timed out after ${ms} ms waiting for ${what} (last: ${last})`);
        await sleep(100);
    }
}

// A JSON-over-WebSocket connection: Chromium's DevTools protocol and WebDriver BiDi share this
// form, {id, method, params} out and {id, result | error} or events back.
class Connection {
    constructor(url) {
        this.socket = new WebSocket(url);
        this.next = 0;
        this.pending = new Map();
        this.listeners = new Set();
        this.socket.addEventListener('message', (message) => {
            const data = JSON.parse(message.data);
            const waiting = data.id !== undefined && this.pending.get(data.id);
            if (waiting) {
                this.pending.delete(data.id);
                if (data.error)
                    waiting.reject(new Error(`${waiting.method}: ${JSON.stringify(data.error)} ${data.message ?? ''}`));
                else
                    waiting.resolve(data.result);
            } else if (data.method) {
                for (const listener of this.listeners)
                    listener(data);
            }
        });
    }
    opened() {
        return new Promise((resolve, reject) => {
            this.socket.addEventListener('open', resolve, { once: true });
            this.socket.addEventListener('error', () => reject(new Error('no connection to the browser')), { once: true });
        });
    }
    send(method, params = {}, extra = {}) {
        const id = ++this.next;
        this.socket.send(JSON.stringify({ id, method, params, ...extra }));
        return new Promise((resolve, reject) => this.pending.set(id, { resolve, reject, method }));
    }
    // The next event METHOD whose params pass test, within ms.
    event(method, test = () => true, ms = 30000) {
        return new Promise((resolve, reject) => {
            const timer = setTimeout(() => { this.listeners.delete(listener); reject(new Error(`no ${method} within ${ms} ms`)); }, ms);
            const listener = (data) => {
                if (data.method === method && test(data.params, data)) {
                    clearTimeout(timer);
                    this.listeners.delete(listener);
                    resolve(data.params);
                }
            };
            this.listeners.add(listener);
        });
    }
    close() { this.socket.close(); }
}

function start(command, args, log) {
    const child = spawn(command, args, { stdio: ['ignore', 'pipe', 'pipe'] });
    child.output = '';
    for (const stream of [child.stdout, child.stderr])
        stream.on('data', (chunk) => { child.output += chunk; if (log) process.stderr.write(chunk); });
    return child;
}

// A page of Chromium, driven over the DevTools protocol.
export class ChromiumPage {
    static async launch({ width = 1280, height = 800 } = {}) {
        const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vorrel-chromium-'));
        // As root (in a build root) Chromium runs only without its sandbox. WebGL, which Qt's
        // backing store draws with, comes from SwiftShader without a GPU.
        const child = start('chromium', ['--headless', '--no-sandbox', '--remote-debugging-port=0',
            `--user-data-dir=${profile}`, '--no-first-run', '--no-default-browser-check',
            '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--disable-gpu-sandbox',
            '--disable-background-networking', '--disable-component-update', '--mute-audio',
            `--window-size=${width},${height}`, 'about:blank']);
        const portFile = path.join(profile, 'DevToolsActivePort');
        const [port, browserPath] = (await waitUntil('Chromium to start', () =>
            fs.existsSync(portFile) && fs.readFileSync(portFile, 'utf8').includes('\n')
                && fs.readFileSync(portFile, 'utf8').trim().split('\n'), 30000));
        const browser = new Connection(`ws://127.0.0.1:${port}${browserPath}`);
        await browser.opened();
        const page = new ChromiumPage(browser, child, profile);
        await browser.send('Target.setDiscoverTargets', { discover: true });
        const { targetId } = await browser.send('Target.createTarget', { url: 'about:blank' });
        const { sessionId } = await browser.send('Target.attachToTarget', { targetId, flatten: true });
        page.targetId = targetId;
        page.sessionId = sessionId;
        for (const domain of ['Page', 'Runtime', 'Network'])
            await page.send(`${domain}.enable`);
        // A headless page never has the focus of a window on a desktop: it acts as if it had.
        await page.send('Emulation.setFocusEmulationEnabled', { enabled: true });
        page.consoleLines = [];
        browser.listeners.add((data) => {
            if (data.sessionId === sessionId && data.method === 'Runtime.consoleAPICalled')
                page.consoleLines.push(data.params.args.map((a) => a.value ?? a.description).join(' '));
            if (data.sessionId === sessionId && data.method === 'Runtime.exceptionThrown')
                page.consoleLines.push(`exception: ${data.params.exceptionDetails.exception?.description ?? data.params.exceptionDetails.text}`);
        });
        return page;
    }
    constructor(browser, child, profile) { Object.assign(this, { browser, child, profile }); }
    send(method, params = {}) { return this.browser.send(method, params, { sessionId: this.sessionId }); }
    event(method, test, ms) {
        return this.browser.event(method, (params, data) => data.sessionId === this.sessionId && (!test || test(params)), ms);
    }
    async goto(url) {
        const loaded = this.event('Page.loadEventFired', null, 60000);
        await this.send('Page.navigate', { url });
        await loaded;
    }
    async reload() {
        const loaded = this.event('Page.loadEventFired', null, 60000);
        await this.send('Page.reload', {});
        await loaded;
    }
    // The value of a JavaScript expression in the page (awaited where it is a promise).
    async eval(expression) {
        const { result, exceptionDetails } = await this.send('Runtime.evaluate',
            { expression, awaitPromise: true, returnByValue: true, userGesture: true });
        if (exceptionDetails)
            throw new Error(`${expression}: ${exceptionDetails.exception?.description ?? exceptionDetails.text}`);
        return result.value;
    }
    async click(x, y) {
        for (const type of ['mouseMoved', 'mousePressed', 'mouseReleased'])
            await this.send('Input.dispatchMouseEvent', { type, x, y, button: type === 'mouseMoved' ? 'none' : 'left', clickCount: 1 });
    }
    async drag(from, to) {
        await this.send('Input.dispatchMouseEvent', { type: 'mouseMoved', x: from.x, y: from.y });
        await this.send('Input.dispatchMouseEvent', { type: 'mousePressed', x: from.x, y: from.y, button: 'left', clickCount: 1 });
        for (let step = 1; step <= 5; ++step)
            await this.send('Input.dispatchMouseEvent', { type: 'mouseMoved', button: 'left', buttons: 1,
                x: from.x + (to.x - from.x) * step / 5, y: from.y + (to.y - from.y) * step / 5 });
        await this.send('Input.dispatchMouseEvent', { type: 'mouseReleased', x: to.x, y: to.y, button: 'left', clickCount: 1 });
    }
    // press('Tab'), press('Enter'), press('a'): a key as the keyboard sends it.
    async press(key, { shift = false, control = false } = {}) {
        const named = { Tab: [9, 'Tab', ''], Enter: [13, 'Enter', '\r'], Escape: [27, 'Escape', ''],
                        Space: [32, 'Space', ' '], Backspace: [8, 'Backspace', ''] };
        const [code, codeName, text] = named[key] ?? [key.toUpperCase().charCodeAt(0),
            /[0-9]/.test(key) ? `Digit${key}` : /[a-z]/i.test(key) ? `Key${key.toUpperCase()}` : '', key];
        const keyName = key === 'Space' ? ' ' : key;
        const modifiers = (shift ? 8 : 0) | (control ? 2 : 0);
        await this.send('Input.dispatchKeyEvent', { type: text ? 'keyDown' : 'rawKeyDown', key: keyName,
            code: codeName, windowsVirtualKeyCode: code, text, unmodifiedText: text, modifiers });
        await this.send('Input.dispatchKeyEvent', { type: 'keyUp', key: keyName, code: codeName, windowsVirtualKeyCode: code, modifiers });
    }
    async type(text) {
        for (const character of text)
            await this.press(character);
    }
    async tap(x, y) {
        for (const type of ['touchStart', 'touchEnd'])
            await this.send('Input.dispatchTouchEvent', { type, touchPoints: type === 'touchEnd' ? [] : [{ x, y }] });
    }
    async screenshot(file) {
        const { data } = await this.send('Page.captureScreenshot', { format: 'png' });
        fs.writeFileSync(file, Buffer.from(data, 'base64'));
    }
    async close() {
        try { await this.browser.send('Browser.close'); } catch { /* already gone */ }
        this.browser.close();
        await new Promise((resolve) => { if (this.child.exitCode !== null) resolve(); else this.child.on('exit', resolve); });
        fs.rmSync(this.profile, { recursive: true, force: true });
    }
}

// A page of Firefox ESR, driven over WebDriver BiDi.
export class FirefoxPage {
    static async launch() {
        const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vorrel-firefox-'));
        const child = start('firefox-esr', ['--headless', '--no-remote', '--profile', profile,
                                            '--remote-debugging-port=0', 'about:blank']);
        const url = await waitUntil('Firefox to start', () =>
            (/WebDriver BiDi listening on (ws:\/\/\S+)/.exec(child.output) ?? [])[1], 60000);
        const connection = new Connection(`${url}/session`);
        await connection.opened();
        await connection.send('session.new', { capabilities: {} });
        const { contexts } = await connection.send('browsingContext.getTree', {});
        return new FirefoxPage(connection, child, profile, contexts[0].context);
    }
    constructor(connection, child, profile, context) { Object.assign(this, { connection, child, profile, context }); }
    goto(url) { return this.connection.send('browsingContext.navigate', { context: this.context, url, wait: 'complete' }); }
    async eval(expression) {
        // Values come back as JSON text: BiDi's own form of an object is a list of typed pairs.
        const reply = await this.connection.send('script.evaluate', { awaitPromise: true,
            expression: `(async () => JSON.stringify(await (${expression})) ?? 'null')()`,
            target: { context: this.context }, resultOwnership: 'none' });
        if (reply.type === 'exception')
            throw new Error(`${expression}: ${reply.exceptionDetails.text}`);
        return JSON.parse(reply.result.value);
    }
    async click(x, y) {
        await this.connection.send('input.performActions', { context: this.context, actions: [{
            type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions: [{ type: 'pointerMove', x: Math.round(x), y: Math.round(y), origin: 'viewport', duration: 0 },
                { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }] }] });
    }
    async selectAll() {
        const control = '\uE009';
        await this.connection.send('input.performActions', { context: this.context, actions: [{ type: 'key', id: 'keyboard',
            actions: [{ type: 'keyDown', value: control }, { type: 'keyDown', value: 'a' }, { type: 'keyUp', value: 'a' }, { type: 'keyUp', value: control }] }] });
    }
    async type(text) {
        const keys = [...text].flatMap((key) => [{ type: 'keyDown', value: key }, { type: 'keyUp', value: key }]);
        await this.connection.send('input.performActions', { context: this.context,
            actions: [{ type: 'key', id: 'keyboard', actions: keys }] });
    }
    async close() {
        try { await this.connection.send('browser.close', {}); } catch { /* already gone */ }
        this.connection.close();
        await new Promise((resolve) => { if (this.child.exitCode !== null) resolve(); else this.child.on('exit', resolve); });
        fs.rmSync(this.profile, { recursive: true, force: true });
    }
}
