// SPDX-License-Identifier: GPL-3.0-or-later
// The test pages' side of tests/driver_web.cpp. A page cannot make trusted
// input itself: it asks the harness (tests/web/chromium.py) through the
// binding orvantaInput for DevTools input commands, which the browser then
// handles as a user's, and the promise resolves once they have been.
var OrvantaTest = {
    next: 0,
    pending: new Map(),

    send(commands) {
        const id = ++this.next;
        return new Promise((done) => {
            this.pending.set(id, done);
            orvantaInput(JSON.stringify({id, commands}));
        });
    },

    done(id) {
        const done = this.pending.get(id);
        this.pending.delete(id);
        done();
    },

    control(handle, index) {
        return OrvantaPage.forms[handle].controls[index];
    },

    click(element) {
        element.scrollIntoView({block: 'nearest', inline: 'nearest'});
        const box = element.getBoundingClientRect();
        const at = {x: box.left + box.width / 2, y: box.top + box.height / 2};
        return this.send([
            ['Input.dispatchMouseEvent', Object.assign({type: 'mouseMoved'}, at)],
            ['Input.dispatchMouseEvent', Object.assign({type: 'mousePressed', button: 'left', buttons: 1, clickCount: 1}, at)],
            ['Input.dispatchMouseEvent', Object.assign({type: 'mouseReleased', button: 'left', buttons: 0, clickCount: 1}, at)],
        ]);
    },

    // A key of a US keyboard that types the desktop's character code:
    // modifiers are 2 for Ctrl and 8 for Shift.
    keyOf(code) {
        const named = {
            8: ['Backspace', 8, 0, ''], 13: ['Enter', 13, 0, '\r'], 27: ['Escape', 27, 0, ''],
            127: ['Backspace', 8, 2, ''], 10: ['Enter', 13, 2, ''],
        };
        if (named[code]) {
            const key = named[code];
            return {key: key[0], code: key[0], windowsVirtualKeyCode: key[1], modifiers: key[2], text: key[3]};
        }
        if (code >= 1 && code <= 26) {
            const letter = String.fromCharCode(64 + code);
            return {key: letter.toLowerCase(), code: 'Key' + letter, windowsVirtualKeyCode: 64 + code, modifiers: 2};
        }
        const text = String.fromCodePoint(code);
        const signs = {'.': ['Period', 190, 0], ',': ['Comma', 188, 0], '-': ['Minus', 189, 0],
                       ' ': ['Space', 32, 0], '+': ['Equal', 187, 8]};
        let key = signs[text] || ['', 0, 0];
        if (/[0-9]/.test(text)) key = ['Digit' + text, code, 0];
        if (/[a-zA-Z]/.test(text)) {
            const upper = text.toUpperCase();
            key = ['Key' + upper, upper.charCodeAt(0), text === upper ? 8 : 0];
        }
        return {key: text, code: key[0], windowsVirtualKeyCode: key[1], modifiers: key[2], text};
    },

    // Pressed, held through repeats, and let go.
    key(key, repeats = 0) {
        const down = Object.assign({}, key, {type: key.text ? 'keyDown' : 'rawKeyDown', unmodifiedText: key.text});
        const commands = [['Input.dispatchKeyEvent', down]];
        for (let i = 0; i < repeats; ++i) commands.push(['Input.dispatchKeyEvent', Object.assign({}, down, {autoRepeat: true})]);
        commands.push(['Input.dispatchKeyEvent', Object.assign({}, key, {type: 'keyUp', text: ''})]);
        return this.send(commands);
    },

    // The keypad's decimal key of a Brazilian layout types a comma.
    keypadDecimal() {
        return this.key({key: ',', code: 'NumpadDecimal', windowsVirtualKeyCode: 110, location: 3, text: ','});
    },

    tab(backwards) {
        return this.key({key: 'Tab', code: 'Tab', windowsVirtualKeyCode: 9, modifiers: backwards ? 8 : 0});
    },

    commit(text) {
        return this.send([['Input.insertText', {text}]]);
    },

    async pasteWithShiftInsert(text) {
        await navigator.clipboard.writeText(text);
        await this.key({key: 'Insert', code: 'Insert', windowsVirtualKeyCode: 45, modifiers: 8});
    },

    // The editing command that a text box's context menu runs for "Colar".
    async pasteFromMenu(text) {
        await navigator.clipboard.writeText(text);
        await this.send([['Input.dispatchKeyEvent', {type: 'rawKeyDown', key: 'Unidentified', commands: ['paste']}],
                         ['Input.dispatchKeyEvent', {type: 'keyUp', key: 'Unidentified'}]]);
    },
};
