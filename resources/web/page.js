// SPDX-License-Identifier: MIT
// Starts Vorrel Designer in the page: Qt's loader fetches and compiles vorrel.wasm and makes the
// #screen element the program's screen. The loading line stays until the program has started; a
// page cannot close itself, so when the program ends (EXIT), the page says so and offers to start
// it again. The service worker keeps the files for use without a network.
(function () {
    'use strict';
    const qtScreen = document.getElementById('screen');
    const loading = document.getElementById('loading');
    const loadingText = document.getElementById('loading-text');
    const ended = document.getElementById('ended');

    // The designer is laid out to the pixel at 600 x 425: on a screen smaller than that (a phone),
    // the page is laid out wider and the browser scales it to fit, so that nothing is cut off;
    // pinch to zoom in.
    const needed = { width: 620, height: 445 };
    const scale = Math.min(screen.width / needed.width, screen.height / needed.height);
    if (scale < 1) {
        document.querySelector('meta[name=viewport]').content =
            `width=${Math.ceil(screen.width / scale)}, viewport-fit=cover`;
    }

    // Called by the program (ui/main.cpp) once it has ended.
    window.vorrelProgramEnded = function () {
        qtScreen.hidden = true;
        ended.hidden = false;
        document.getElementById('start-again').focus();
    };
    document.getElementById('start-again').addEventListener('click', function () {
        location.reload();
    });

    if ('serviceWorker' in navigator && window.isSecureContext) {
        navigator.serviceWorker.register('service-worker.js').catch(function (error) {
            console.warn('Vorrel Designer will not work offline:', error);
        });
    }

    qtLoad({
        qt: {
            containerElements: [qtScreen],
            entryFunction: window.vorrel_entry,
            onLoaded: function () {
                loading.hidden = true;
                // Qt names only a Mac's face for the title bars of its windows: elsewhere the
                // browser would fall back to a serif.
                const style = document.createElement('style');
                style.textContent = '.title-bar .window-name { font-family: "Lucida Grande", ' +
                    '"Liberation Sans", Arial, Helvetica, system-ui, sans-serif; }';
                qtScreen.firstElementChild?.shadowRoot?.appendChild(style);
            },
            onExit: function (exit) {
                if (exit.crashed) {
                    loading.hidden = false;
                    loadingText.textContent = 'Vorrel Designer stopped with an error: ' + exit.text;
                }
            },
        },
    }).catch(function (error) {
        loadingText.textContent = 'Vorrel Designer could not start in this browser: ' + error;
    });
})();
