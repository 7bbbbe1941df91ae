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
const PAGE_HELPERS = `(window.vorrelTest = {
    // Qt draws its screen in a shadow tree of an element of its own in #screen.
    qt: () => document.querySelector('#screen > div')?.shadowRoot,
    started: () => document.getElementById('loading').hidden && !!vorrelTest.qt()?.querySelector('.qt-window'),
    enableScreenReader() {
        const button = [...vorrelTest.qt().querySelectorAll('button')].find((b) => b.innerText === 'Enable Screen Reader');
        if (button) button.click();
        return true;
    },
    // The controls Qt mirrors: {name, text} each (a text box's name is set once it has changed or
    // had the focus; its text is its value).
    controls() {
        return [...vorrelTest.qt().querySelectorAll('.qt-window-a11y-container *')]
            .map((e) => ({ name: e.getAttribute('name') ?? '', text: e.textContent }));
    },
    // The middle of a control of the window titled TITLE, from the place the program lays it out
    // at in that window (twips, 15 to a pixel): Qt's mirror of the controls may keep the places
    // they had before their window was placed.
    at(title, [left, top, width, height]) {
        const window = [...vorrelTest.qt().querySelectorAll('.qt-window')]
            .find((w) => w.querySelector('.window-name')?.textContent === title);
        const r = window.querySelector('canvas').getBoundingClientRect();
        return { x: r.x + (left + width / 2) / 15, y: r.y + (top + height / 2) / 15 };
    },
    windows() {
        return [...vorrelTest.qt().querySelectorAll('.qt-window')].filter((w) => w.style.display !== 'none')
            .map((w) => { const r = w.getBoundingClientRect(); return { x: r.x, y: r.y, w: r.width, h: r.height }; });
    },
}, true)`;

async function started(page) {
    await page.eval(PAGE_HELPERS);
    await waitUntil('the designer to start', () => page.eval('vorrelTest.started()'), 90000);
    await page.eval('vorrelTest.enableScreenReader()');
    await waitUntil('Qt to mirror the controls', async () => (await controls(page)).length > 20);
}
const controls = (page) => page.eval('vorrelTest.controls()');
const windows = (page) => page.eval('vorrelTest.windows()');
// Where the user clicks: the controls' places in their windows (ui/*window.cpp).
const DESIGNER = 'Vorrel Designer', MULTIBAND = 'MULTIBAND', LINK = 'Web Page Link';
const PLACES = {
    'frequency box': [DESIGNER, [3600, 960, 2055, 735]], INCHES: [DESIGNER, [5760, 960, 1575, 735]],
    CM: [DESIGNER, [7560, 960, 1335, 735]], GO: [DESIGNER, [6840, 5520, 495, 495]],
    EXIT: [DESIGNER, [8280, 5520, 495, 495]], Exit: [MULTIBAND, [5040, 3600, 1215, 495]],
    WEBSITE: [MULTIBAND, [4680, 4440, 2055, 495]], link: [LINK, [525, 1335, 2205, 255]],
};
async function where(page, name) {
    const [title, rect] = PLACES[name];
    return waitUntil(`the window "${title}"`, () => page.eval(`vorrelTest.at(${JSON.stringify(title)}, ${JSON.stringify(rect)})`), 10000);
}
async function clickOn(page, name) {
    const { x, y } = await where(page, name);
    await page.click(x, y);
}
const RESULTS = ['radiator value', 'stud value', 'gap value', 'feed point value'];
const UNITS = ['radiator unit', 'stud unit', 'gap unit', 'feed point unit'];
async function texts(page, names) {
    const all = await controls(page);
    return names.map((name) => all.find((c) => c.name === name)?.text);
}
async function expectResults(page, what, values, units) {
    await waitUntil(`${what}: the results ${values}`, async () =>
        JSON.stringify(await texts(page, RESULTS)) === JSON.stringify(values), 10000).catch(async (error) => {
        throw new Error(`${error.message}; the boxes hold ${JSON.stringify(await texts(page, RESULTS))}`);
    });
    expect(`${what}: the units`, await texts(page, UNITS), units);
}
const INCHES_146 = ['57.329', '19.089', '1.13', '2.363'];
const INCH_UNITS = ['INCHES long', 'INCHES long', 'INCHES', 'INCHES up'];
const CM_146 = ['145.615', '48.486', '2.871', '6.002'];
const CM_UNITS = ['CM long', 'CM long', 'CM', 'CM up'];
const windowCount = (page, n, what) => waitUntil(`${what}: ${n} window(s)`, async () => (await windows(page)).length === n, 10000);

// The address of the next tab the page opens.
function newTab(page) {
    return new Promise((resolve, reject) => {
        const timer = setTimeout(() => { page.browser.listeners.delete(listener); reject(new Error('no new tab within 15 s')); }, 15000);
        const listener = ({ method, params }) => {
            const info = params?.targetInfo;
            if ((method === 'Target.targetCreated' || method === 'Target.targetInfoChanged') && info.type === 'page'
                && info.targetId !== page.targetId && info.url && info.url !== 'about:blank') {
                clearTimeout(timer);
                page.browser.listeners.delete(listener);
                resolve(info.url);
            }
        };
        page.browser.listeners.add(listener);
    });
}

async function typeFrequency(page, text) {
    await clickOn(page, 'frequency box');
    await page.press('a', { control: true });
    await page.type(text);
}

async function chromium(server) {
    const page = await ChromiumPage.launch();
    try {
        await check('Chromium: the page loads, the designer starts at its own size', async () => {
            await page.goto(server.url);
            await started(page);
            expect('the page title', await page.eval('document.title'), 'Vorrel Designer');
            const [designer] = await windows(page);
            expect('the designer', [designer.w, designer.h], [600, 425]);
        });
        await check('Chromium: 146 and INCHES, then CM', async () => {
            await typeFrequency(page, '146');
            await clickOn(page, 'INCHES');
            await expectResults(page, 'INCHES', INCHES_146, INCH_UNITS);
            await clickOn(page, 'CM');
            await expectResults(page, 'CM', CM_146, CM_UNITS);
            if (screenshotAt)
                await page.screenshot(screenshotAt);
        });
        await check("Chromium: names and roles in the browser's accessibility tree", async () => {
            const { nodes } = await page.send('Accessibility.getFullAXTree', {});
            const named = (role) => nodes.filter((n) => n.role?.value === role).map((n) => n.name?.value);
            for (const button of ['INCHES', 'CM', 'GO', 'EXIT']) {
                if (!named('button').includes(button))
                    throw new Error(`no button "${button}" in ${JSON.stringify(named('button'))}`);
            }
            if (named('textbox').length < 16)
                throw new Error(`${named('textbox').length} text boxes, not the designer's 16`);
        });
        await check('Chromium: a bad frequency, its message answered by keyboard', async () => {
            await typeFrequency(page, 'abc');
            await clickOn(page, 'INCHES');
            await windowCount(page, 2, 'the message box');
            const message = (await controls(page)).map((c) => c.text).join(' ');
            if (!message.includes('does not hold a number'))
                throw new Error(`the message box says: ${message}`);
            await page.press('Enter');
            await windowCount(page, 1, 'the box answered');
            expect('the results after a bad frequency', await texts(page, RESULTS), CM_146);
        });
        await check('Chromium: the designer is dragged by its background', async () => {
            const [before] = await windows(page);
            const from = { x: before.x + 300, y: before.y + 410 };
            await page.drag(from, { x: from.x + 40, y: from.y + 30 });
            const [after] = await windows(page);
            expect('the move', [after.x - before.x, after.y - before.y], [40, 30]);
        });
        await check("Chromium: GO, and MULTIBAND's Exit ends the program", async () => {
            await clickOn(page, 'GO');
            await windowCount(page, 2, 'GO');
            await clickOn(page, 'WEBSITE');
            await windowCount(page, 3, 'WEBSITE');
            const opened = newTab(page);
            await clickOn(page, 'link');
            expect("the link's new tab", await opened, 'http://www.qt0nrv.example/');
            await clickOn(page, 'Exit');
            await waitUntil('the page to say the program has ended', () => page.eval(`!document.getElementById('ended').hidden`), 10000);
        });
        await check('Chromium: the program starts again', async () => {
            await page.eval(`document.getElementById('start-again').click()`);
            await sleep(500);
            await started(page);
        });
        await check('Chromium: the whole path by keyboard', async () => {
            await page.reload();
            await started(page);
            // Qt tells the screen reader which text box has the focus: Tab until it is the
            // frequency box (Tab selects what a box holds).
            await waitUntil('Tab to reach the frequency box', async () => {
                await page.press('Tab');
                return (await controls(page)).some((c) => c.name === 'frequency box');
            }, 20000);
            await page.type('146');
            for (let i = 0; i < 13; ++i) await page.press('Tab');
            await page.press('Space');
            await expectResults(page, 'INCHES by keyboard', INCHES_146, INCH_UNITS);
            for (let i = 0; i < 4; ++i) await page.press('Tab');
            await page.press('Space');
            await expectResults(page, 'CM by keyboard', CM_146, CM_UNITS);
            for (let i = 0; i < 2; ++i) await page.press('Tab', { shift: true });
            await page.press('Enter');
            await windowCount(page, 2, 'GO by keyboard');
            // MULTIBAND opens with the focus on its diagram: the table, Return, Exit, WEBSITE.
            for (let i = 0; i < 4; ++i) await page.press('Tab');
            await page.press('Enter');
            await windowCount(page, 3, 'WEBSITE by keyboard');
            // The link window: Tab reaches the link, Enter opens it.
            const opened = newTab(page);
            await page.press('Tab');
            await page.press('Enter');
            expect("the link's new tab", await opened, 'http://www.qt0nrv.example/');
        });
        await check('Chromium: offline after the first visit', async () => {
            await waitUntil('the service worker to control the page', () =>
                page.eval('navigator.serviceWorker.ready.then(() => !!navigator.serviceWorker.controller)'), 30000);
            await server.close();
            await page.reload();
            await started(page);
            await typeFrequency(page, '146');
            await clickOn(page, 'INCHES');
            await expectResults(page, 'offline', INCHES_146, INCH_UNITS);
        });
    } finally {
        if (failures)
            console.log(`the page's console:\n  ${page.consoleLines.join('\n  ')}`);
        await page.close();
    }
}

async function phone(server) {
    const page = await ChromiumPage.launch();
    try {
        await check("Chromium as a phone (390 x 844, 3x): nothing cut off, used by touch", async () => {
            await page.send('Emulation.setDeviceMetricsOverride', { width: 390, height: 844, deviceScaleFactor: 3, mobile: true });
            await page.send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });
            await page.goto(server.url);
            await started(page);
            const [designer] = await windows(page);
            const view = await page.eval('({ w: document.documentElement.clientWidth, h: document.documentElement.clientHeight })');
            if (designer.x < 0 || designer.y < 0 || designer.x + designer.w > view.w || designer.y + designer.h > view.h)
                throw new Error(`the designer at ${JSON.stringify(designer)} is cut off by the page's ${JSON.stringify(view)}`);
            // The page is scaled to fit: taps land at the scaled places.
            const scale = await page.eval('visualViewport.scale');
            const at = async (name) => { const c = await where(page, name); return [c.x, c.y]; };
            await page.tap(...await at('frequency box'));
            await page.press('a', { control: true });
            await page.type('146');
            await page.tap(...await at('INCHES'));
            await expectResults(page, 'on a phone', INCHES_146, INCH_UNITS);
        });
    } finally {
        await page.close();
    }
}

async function firefox(server) {
    const page = await FirefoxPage.launch();
    try {
        await check('Firefox ESR: the page loads, 146 and INCHES', async () => {
            await page.goto(server.url);
            await started(page);
            await clickOn(page, 'frequency box');
            await page.selectAll();
            await page.type('146');
            await clickOn(page, 'INCHES');
            await expectResults(page, 'Firefox', INCHES_146, INCH_UNITS);
        });
    } finally {
        await page.close();
    }
}

async function main() {
    let server = await serve(site);
    await phone(server);
    await chromium(server);
    server = await serve(site);
    await firefox(server);
    await server.close();
    if (failures) {
        console.log(`${failures} web check(s) failed`);
        process.exit(1);
    }
    console.log('all web checks passed');
}

await main();
