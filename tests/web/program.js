// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the Emscripten program named by the page's query string: its
// standard output's lines are kept in window.output, its errors go to the
// console, and window.orvantaExit (tests/web/chromium.py) gets its exit
// status when it ends; a program linked without EXIT_RUNTIME reports 0 once
// main has returned.
"use strict";
window.output = [];
let finished = false;
const finish = status => {
    if (!finished) {
        finished = true;
        window.orvantaExit(status);
    }
};
var Module = {
    print: line => window.output.push(line),
    printErr: line => console.error(line),
    onExit: finish,
    postRun: () => finish(0),
};
const script = document.createElement("script");
script.src = decodeURIComponent(location.search.slice(1)) + ".js";
document.head.append(script);
