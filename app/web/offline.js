// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the site for use without a network: sw.js stores every file of the
// site on the first visit and serves them from then on. It is registered
// once the program's window has started and the page is idle
// (form_window.js), so that storing the site does not slow the start. Browsers offer service workers only over
// HTTPS and on 127.0.0.1 or localhost; elsewhere the page simply needs the
// network.
if ("serviceWorker" in navigator) {
    addEventListener("orvantastarted", () => {
        navigator.serviceWorker.register("sw.js").catch(error => console.warn("offline copy not kept:", error.message));
    }, {once: true});
}
