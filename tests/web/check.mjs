// SPDX-License-Identifier: MIT
// The web build's page in real browsers, as a user meets it: served by a static server, loaded in
// headless Chromium (desktop and phone viewports) and Firefox ESR, used by mouse and by keyboard;
// results read from Qt's accessibility layer in the page and checked in Chromium's accessibility
// tree; the link's new tab, the end of the program, and a reload with the server gone (offline,
// from the service worker).
//   node --experimental-websocket tests/web/check.mjs [--screenshot FILE] SITE
import { ChromiumPage, FirefoxPage, serve, sleep, waitUntil } from './browser.mjs';

const args = process.argv.slice(2);
const screenshotAt = args[0] === '--screenshot' ? args.splice(0, 2)[1] : null;
const site = args[0];
if (!site) {
    console.error('usage: check.mjs [--screenshot FILE] SITE');
    process.exit(2);
}

let failures = 0;
async function check(name, body) {
    const started = Date.now();
    try {
        await body();
        console.log(`PASS ${name} (${Date.now() - started} ms)`);
    } catch (error) {
        ++failures;
        console.log(`FAIL ${name}: ${error.stack ?? error}`);
    }
}
function expect(what, actual, expected) {
    if (JSON.stringify(actual) !== JSON.stringify(expected))
        throw new Error(`${what}: expected ${JSON.stringify(expected)}, got ${JSON.stringify(actual)}`);
}

// In the page: Qt's accessibility layer, once its hidden "Enable Screen Reader" button is pressed,
// mirrors each control as an element under the window it belongs to, at the control's place.
const PAGE_HELPERS = `
window.vorrelTest = {
    // Qt draws its screen in a shadow tree of an element of its own in #screen.
    qt: () => document.querySelector('#screen > div')?.shadowRoot,
    started: () => document.getElementById('loading').hidden && !!vorrelTest.qt()?.querySelector('.qt-window'),
    enableScreenReader() {
        const button = [...vorrelTest.qt().querySelectorAll('button')].find((b) => b.innerText === 'Enable Screen Reader');
        if (button) button.click();
        return true;
    },
    // The controls Qt mirrors: {name, role, value, x, y, w, h} each; the position is the middle.
    controls() {
        return [...vorrelTest.qt().querySelectorAll('.qt-window *')].filter((e) =>
            e.closest('.qt-window-a11y-container') && (e.getAttribute('name') !== null || e.tagName === 'BUTTON'
                || e.getAttribute('aria-description') !== null)).map((e) => {
            const r = e.getBoundingClientRect();
            return { tag: e.tagName.toLowerCase(), role: e.getAttribute('role'), name: e.getAttribute('name') ?? '',
                     text: e.textContent, description: e.getAttribute('aria-description') ?? '',
                     x: r.x + r.width / 2, y: r.y + r.height / 2, w: r.width, h: r.height };
        });
    },
    windows() {
        return [...vorrelTest.qt().querySelectorAll('.qt-window')].filter((w) => w.style.display !== 'none'
            && getComputedStyle(w).visibility !== 'hidden').map((w) => {
            const r = w.getBoundingClientRect();
            return { title: w.querySelector('.title')?.innerText ?? '', x: r.x, y: r.y, w: r.width, h: r.height };
        });
    },
};
true`;

async function started(page) {
    await page.eval(PAGE_HELPERS);
    await waitUntil('the designer to start', () => page.eval('vorrelTest.started()'), 90000);
    await page.eval(PAGE_HELPERS);
}

async function main() {
    const server = await serve(site);
    const page = await ChromiumPage.launch();
    try {
        await check('Chromium: the page loads and the designer starts', async () => {
            await page.goto(server.url);
            await started(page);
            expect('the page title', await page.eval('document.title'), 'Vorrel Designer');
        });
        await page.eval('vorrelTest.enableScreenReader()');
        await sleep(500);
        await page.click(648, 232);
        await page.type('146');
        await page.click(776, 232);
        await sleep(500);
        const tree = await page.send('Accessibility.getFullAXTree', {});
        console.log(JSON.stringify(tree.nodes.filter((n) => !n.ignored).map((n) => [n.role?.value, n.name?.value, n.value?.value, n.description?.value])));
        console.log(JSON.stringify(await page.eval('vorrelTest.windows()'), null, 1));
        console.log(JSON.stringify(await page.eval('vorrelTest.controls()'), null, 1));
        if (screenshotAt)
            await page.screenshot(screenshotAt);
        console.log(page.consoleLines.join('\n'));
    } finally {
        await page.close();
        await server.close();
    }
    if (failures) {
        console.log(`${failures} web check(s) failed`);
        process.exit(1);
    }
    console.log('all web checks passed');
}

await main();
