// SPDX-License-Identifier: GPL-3.0-or-later
// The page's side of the browser toolkit (form_window.cpp): the form's
// controls, the events they pass to the program, and the message box. Key
// presses are answered at once (the program's key filter decides whether a
// character goes in); clicks are queued and run by the program's event loop,
// which a message box or DoEvents keeps waiting while the page goes on.
var OrvantaPage = {
    forms: [],  // by handle: the form's element and its controls in creation order
    names: [],  // the controls' names in creation order
    wake: null,  // resolves the event loop's wait
    heldKey: null,  // Enter or Space while held since it pressed a button
    composing: new Map(),  // a number box's text and selection when a composition began

    start(names) {
        this.names = names;
        // A held Enter or Space presses a button once; its repeats do nothing
        // wherever the press put the focus.
        document.addEventListener('keydown', (e) => {
            if (e.key !== 'Enter' && e.key !== ' ') return;
            if (e.repeat && this.heldKey === e.key) {
                e.preventDefault();
                e.stopImmediatePropagation();
            } else if (!e.repeat) {
                this.heldKey = e.target instanceof HTMLButtonElement ? e.key : null;
            }
        }, true);
        document.addEventListener('keyup', (e) => { if (e.key === this.heldKey) this.heldKey = null; }, true);
        // A window of the browser that changes size centres the forms again.
        addEventListener('resize', () => this.forms.forEach((form, handle) => {
            if (form) this.queue(() => _orvanta_resized(handle));
        }));
        const box = document.getElementById('MsgBox');
        document.getElementById('MsgBoxOK').addEventListener('click', () => box.close());
        // Enter closes it wherever its focus is, and presses nothing else:
        // the focus goes back to the form as it closes.
        box.addEventListener('keydown', (e) => {
            if (e.key !== 'Enter' || e.repeat) return;
            e.preventDefault();
            box.close();
        });
    },

    // The viewport's width or height in CSS pixels, as the style sheet's media
    // queries see it: the program starts before the page is first drawn, and
    // asked of the page (innerWidth, clientWidth) the browser would lay the
    // page out then, and again once the program has filled the form.
    viewport(feature) {
        let fits = 0, tooLarge = 1 << 16;
        while (tooLarge - fits > 1) {
            const middle = (fits + tooLarge) >> 1;
            if (matchMedia(`(min-${feature}: ${middle}px)`).matches) fits = middle; else tooLarge = middle;
        }
        return fits;
    },

    // Takes over the page's form while no window has it, or else makes one
    // from markup; -1 when there is neither.
    create(markup) {
        let root = document.getElementById('Form1');
        if (!root || this.forms.some((form) => form && form.root === root)) {
            if (markup === null) return -1;
            const template = document.createElement('template');
            template.innerHTML = markup;
            root = template.content.firstElementChild;
            document.body.prepend(root);
        }
        const handle = this.forms.length;
        const controls = this.names.map((name) => root.querySelector('#' + name));
        this.forms.push({root, controls});
        root.addEventListener('keydown', (e) => this.keyDown(handle, e));
        // A click beside the controls, on a label or on a disabled control
        // (which lets clicks through to the form) leaves the focus where it is.
        root.addEventListener('mousedown', (e) => {
            if (!e.target.closest('input, select, button')) e.preventDefault();
        });
        root.addEventListener('click', (e) => {
            const index = controls.indexOf(e.target.closest('button'));
            if (index >= 0) this.queue(() => _orvanta_click(handle, index));
        });
        for (const box of root.querySelectorAll('input[inputmode=decimal]')) {
            const index = controls.indexOf(box);
            box.addEventListener('beforeinput', (e) => this.beforeInput(handle, index, e));
            box.addEventListener('compositionstart', () =>
                this.composing.set(box, [box.value, box.selectionStart, box.selectionEnd]));
            box.addEventListener('compositionend', (e) => this.compositionEnd(handle, index, e));
        }
        root.inert = false;
        document.getElementById('Ended').hidden = true;
        return handle;
    },

    // The page opens at its top, the title and the instructions in view, with
    // the focus in the box the window starts in; once the window is shown, a
    // control that takes the focus is brought into view, as on a phone's
    // screen it may be below it.
    focus(handle, index) {
        const form = this.forms[handle];
        form.controls[index].focus({preventScroll: !form.shown});
    },

    // The window is shown: from now on a control that takes the focus is
    // brought into view. Once the page is idle, it hears that the program
    // has started, and does what could wait.
    show(handle) {
        this.forms[handle].shown = true;
        const started = () => dispatchEvent(new Event('orvantastarted'));
        if (typeof requestIdleCallback === 'function') requestIdleCallback(started); else setTimeout(started, 0);
    },

    queue(post) {
        post();
        if (this.wake) {
            const wake = this.wake;
            this.wake = null;
            wake();
        }
    },

    // The character code a key types, as the desktop reports it; -1 for keys
    // that make none (Tab, arrows, Delete...) and for on-screen keyboards,
    // whose text comes with beforeinput.
    keyCode(e) {
        const control = e.ctrlKey || e.metaKey;
        if (e.isComposing || e.keyCode === 229) return -1;
        if (e.code === 'NumpadDecimal' && !control) return 46;
        switch (e.key) {
        case 'Backspace': return control ? 127 : 8;
        case 'Enter': return control ? 10 : 13;
        case 'Escape': return 27;
        case 'Insert': return e.shiftKey ? 22 : control ? 3 : -1;
        case 'Delete': return e.shiftKey ? 24 : -1;
        }
        if (control && !e.altKey) {
            const letter = /^Key([A-Z])$/.exec(e.code);
            return letter ? letter[1].charCodeAt(0) - 64 : -1;
        }
        return [...e.key].length === 1 ? e.key.codePointAt(0) : -1;
    },

    keyDown(handle, e) {
        if (e.key === 'Tab' && !e.ctrlKey && !e.altKey && !e.metaKey) {
            e.preventDefault();
            this.tab(this.forms[handle].root, e.shiftKey ? -1 : 1);
            return;
        }
        const box = e.target;
        if (box.inputMode !== 'decimal') return;
        const code = this.keyCode(e);
        if (code < 0) return;
        const result = _orvanta_key_press(handle, this.forms[handle].controls.indexOf(box), code);
        // A control key let through keeps its meaning in the box.
        if (result === code && code < 32 && code !== 8 && code !== 13) return;
        e.preventDefault();
        this.type(box, result);
    },

    // Tab and Shift+Tab go round the enabled controls, as on the desktop.
    tab(root, step) {
        const controls = [...root.querySelectorAll('input, select, button')].filter((c) => !c.disabled);
        const at = controls.indexOf(document.activeElement);
        const next = at < 0 ? (step > 0 ? 0 : controls.length - 1) : (at + step + controls.length) % controls.length;
        controls[next].focus();
    },

    // One let-through code into a box at its cursor: 8 deletes backwards.
    type(box, code) {
        const start = box.selectionStart, end = box.selectionEnd;
        if (code === 8) {
            if (start !== end || start > 0) box.setRangeText('', start === end ? start - 1 : start, end, 'end');
        } else if (code >= 32 && code !== 127) {
            box.setRangeText(String.fromCodePoint(code), start, end, 'end');
        }
    },

    // Text that goes in without key codes, typed on a screen, pasted, dropped
    // or corrected: each character through the key filter. A decimal
    // keypad's key types the language's separator, which stands for the full
    // stop the boxes read.
    typeText(handle, index, text) {
        const box = this.forms[handle].controls[index];
        const characters = text === OrvantaLocale.decimalSeparator() ? ['.'] : [...text];
        for (const character of characters) {
            this.type(box, _orvanta_key_press(handle, index, character.codePointAt(0)));
        }
    },

    beforeInput(handle, index, e) {
        if (e.inputType === 'deleteContentBackward') {
            if (_orvanta_key_press(handle, index, 8) !== 8) e.preventDefault();
            return;
        }
        if (!e.inputType.startsWith('insert') || !e.cancelable) return;
        e.preventDefault();
        this.typeText(handle, index, e.data ?? (e.dataTransfer ? e.dataTransfer.getData('text/plain') : ''));
    },

    // A composition cannot be refused while it runs: its text is taken back
    // and typed through the filter when it ends.
    compositionEnd(handle, index, e) {
        const box = this.forms[handle].controls[index];
        const before = this.composing.get(box);
        if (!before) return;
        this.composing.delete(box);
        box.value = before[0];
        box.setSelectionRange(before[1], before[2]);
        this.typeText(handle, index, e.data || '');
    },

    text(handle, index) {
        const control = this.forms[handle].controls[index];
        if (control instanceof HTMLInputElement) return control.value;
        if (control instanceof HTMLSelectElement) {
            return control.selectedIndex < 0 ? '' : control.options[control.selectedIndex].text;
        }
        return '';
    },

    setText(handle, index, text) {
        const control = this.forms[handle].controls[index];
        if (control instanceof HTMLInputElement) {
            control.value = text;
            return true;
        }
        if (!(control instanceof HTMLSelectElement)) return false;
        const option = [...control.options].findIndex((o) => o.text === text);
        if (option >= 0) control.selectedIndex = option;
        return option >= 0;
    },

    // A list shows nothing until an item is chosen, as on the desktop.
    addItem(handle, index, item) {
        const list = this.forms[handle].controls[index];
        const selected = list.selectedIndex;
        list.add(new Option(item));
        list.selectedIndex = selected;
    },

    setListIndex(handle, index, item) {
        const list = this.forms[handle].controls[index];
        if (!(list instanceof HTMLSelectElement) || item < -1 || item >= list.length) return false;
        list.selectedIndex = item;
        return true;
    },

    focused(handle) {
        return this.forms[handle].controls.indexOf(document.activeElement);
    },

    msgBox(text, title) {
        const box = document.getElementById('MsgBox');
        document.getElementById('MsgBoxTitle').textContent = title;
        document.getElementById('MsgBoxText').textContent = text;
        box.showModal();
        return new Promise((closed) => box.addEventListener('close', closed, {once: true}));
    },

    close(handle, ended) {
        const form = this.forms[handle];
        this.forms[handle] = null;
        form.root.remove();
        if (ended) document.getElementById('Ended').hidden = false;
    },
};
