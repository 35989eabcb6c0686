// SPDX-License-Identifier: GPL-3.0-or-later
// The decimal separator of the browser's first language: the separator that
// its number format writes in 1.5, the full stop when it writes none. A
// language's number format takes a while to make the first time; it is made
// while the program's module compiles, rather than when the window starts.
var OrvantaLocale = {
    separator: null,

    decimalSeparator() {
        if (this.separator === null) {
            const language = (navigator.languages && navigator.languages[0]) || navigator.language;
            const parts = new Intl.NumberFormat(language).formatToParts(1.5);
            const decimal = parts.find(function(part) { return part.type === 'decimal'; });
            this.separator = decimal ? decimal.value : '.';
        }
        return this.separator;
    },
};
setTimeout(function() { OrvantaLocale.decimalSeparator(); }, 0);
