// SPDX-License-Identifier: GPL-3.0-or-later
// The decimal separator of the browser's first language: the separator that
// its number format writes in 1.5, the full stop when it writes none. A
// page's first number format loads the browser's locale data, which holds
// the page for tens of milliseconds: it is made when first needed, or
// before, once the program's window has started and the page is idle.
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
addEventListener('orvantastarted', function() { OrvantaLocale.decimalSeparator(); }, {once: true});
