// SPDX-License-Identifier: GPL-3.0-or-later
// A test program in a page: its command line and environment come from the
// page's address (?arg=--gtest_filter=...&NAME=value), and its exit status
// goes to the harness through window.orvantaExit; its standard output's lines
// are kept in window.output as well as shown on the console.
Module.arguments = new URLSearchParams(location.search).getAll('arg');
Module.preRun = [() => {
    for (const pair of new URLSearchParams(location.search)) {
        if (pair[0] !== 'arg') ENV[pair[0]] = pair[1];
    }
}];
Module.onExit = (status) => window.orvantaExit(status);
window.output = [];
Module.print = (line) => {
    window.output.push(line);
    console.log(line);
};
