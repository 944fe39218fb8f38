// The dialog templates as the page draws them, and the forms, message boxes
// and file dialogs of the page. The core's dialog logic fills and reads the
// forms by control id; a form only reports which button was pressed.
'use strict';

// Controls in template order, which is also the tab order: id, kind, text,
// and the rectangle (x, y, width, height) in dialog units.
const DIALOG_TEMPLATES = {
  robot: {
    title: 'Robot Parameters', size: [213, 233], controls: [
      [121, 'static', 'Current dimensions: 400 by 400', [12, 4, 144, 9]],
      [122, 'static', 'Number of steps per walk', [12, 17, 80, 12]],
      [123, 'edit', '', [100, 15, 59, 12]],
      [131, 'check', 'Show trajectory', [12, 30, 69, 12]],
      [132, 'static', 'Dot radius', [88, 32, 40, 12]],
      [133, 'edit', '', [128, 31, 31, 12]],
      [141, 'group', 'Bivariate normal hills', [11, 60, 148, 62]],
      [144, 'check', 'Robot ignores topography', [22, 70, 116, 12]],
      [161, 'group', 'Walk parameters', [11, 124, 148, 57]],
      [162, 'center', 'X', [61, 133, 40, 8]],
      [163, 'center', 'Y', [109, 133, 40, 8]],
      [164, 'static', 'Start pos.', [18, 144, 37, 8]],
      [165, 'edit', '', [56, 143, 44, 12]],
      [166, 'edit', '', [106, 143, 44, 12]],
      [167, 'center', 'mean', [109, 157, 40, 8]],
      [168, 'center', 'std. dev.', [61, 157, 40, 8]],
      [169, 'static', 'Foray dist.', [18, 167, 37, 8]],
      [170, 'edit', '', [56, 166, 44, 12]],
      [171, 'edit', '', [106, 166, 44, 12]],
      [181, 'group', 'Random number seed', [11, 186, 148, 41]],
      [183, 'static', 'Starting seed', [35, 198, 52, 8]],
      [184, 'edit', '', [93, 196, 43, 12]],
      [2, 'button', 'Cancel', [169, 38, 37, 16]],
      [1, 'default', 'Ok', [170, 17, 37, 16]],
      [142, 'list', '', [21, 84, 129, 14]],
      [143, 'button', 'Modify', [56, 102, 61, 14]],
      [157, 'button', 'Generate new seed', [28, 211, 107, 12]],
      [1000, 'check', 'Allow rotation', [12, 44, 69, 12]],
    ],
  },
  hill: {
    title: 'Hill Parameters', size: [131, 132], controls: [
      [121, 'static', 'Current dimensions: 400 by 400', [12, 4, 144, 9]],
      [145, 'center', 'mean', [30, 36, 40, 8]],
      [146, 'center', 'std. dev.', [78, 37, 40, 8]],
      [147, 'static', 'X', [14, 47, 12, 8]],
      [148, 'edit', '', [27, 46, 44, 12]],
      [149, 'edit', '', [77, 46, 44, 12]],
      [150, 'static', 'Y', [14, 60, 12, 8]],
      [151, 'edit', '', [27, 59, 44, 12]],
      [153, 'static', 'Correlation', [40, 75, 40, 8]],
      [154, 'edit', '', [81, 74, 40, 12]],
      [2, 'button', 'Cancel', [70, 107, 37, 16]],
      [1, 'default', 'Ok', [24, 107, 37, 16]],
      [156, 'edit', '', [42, 19, 79, 13]],
      [-1, 'static', 'Label', [13, 20, 24, 8]],
      [-1, 'static', 'Weight', [40, 89, 40, 8]],
      [155, 'edit', '', [81, 88, 40, 12]],
    ],
  },
  about: {
    title: 'About Wandrix', size: [189, 118], controls: [
      [1, 'default', 'Ok', [76, 92, 37, 16]],
      [-1, 'center', 'Wandrix 2.1', [64, 9, 60, 8]],
      [-1, 'center', 'by', [65, 20, 60, 8]],
      [-1, 'center', 'The Wandrix project', [42, 32, 104, 36]],
      [-1, 'center', 'Free software for teaching MCMC', [19, 71, 151, 8]],
    ],
  },
};

// Page pixels per dialog unit, across and down.
const DLU = [1.8, 1.9];

const LIST_EVENT_BASE = 142000;
const LIST_DROPPED_DOWN = 7;
const LIST_SELECTION_CONFIRMED = 9;
const CLOSE_BOX_EVENT = 0;

// A window's caption: its title, the buttons given, and a close box.
function captionBar(title, onClose, ...buttons) {
  const caption = document.createElement('div');
  caption.className = 'caption';
  const text = document.createElement('span');
  text.textContent = title;
  const close = document.createElement('button');
  close.className = 'close';
  close.type = 'button';
  close.tabIndex = -1;
  close.setAttribute('aria-label', 'Close');
  close.textContent = '×';
  close.addEventListener('click', onClose);
  caption.append(text, ...buttons, close);
  return caption;
}

// A modal frame over its own backdrop: caption, close box, body.
function modalFrame(title, className, onClose) {
  const backdrop = document.createElement('div');
  backdrop.className = 'backdrop';
  const frame = document.createElement('div');
  frame.className = 'dialog ' + className;
  frame.setAttribute('role', 'dialog');
  frame.setAttribute('aria-modal', 'true');
  frame.setAttribute('aria-label', title);
  const caption = captionBar(title, onClose);
  const body = document.createElement('div');
  body.className = 'body';
  frame.append(caption, body);
  backdrop.append(frame);
  document.body.append(backdrop);
  return { backdrop, frame, body };
}

function centre(frame) {
  const r = frame.getBoundingClientRect();
  frame.style.left = Math.max(0, Math.trunc((window.innerWidth - r.width) / 2)) + 'px';
  frame.style.top = Math.max(0, Math.trunc((window.innerHeight - r.height) / 2)) + 'px';
}

// Keeps Tab inside the frame: a modal box lets nothing else take the focus.
function trapFocus(frame, event) {
  const stops = [...frame.querySelectorAll('input, select, button:not(.close)')]
    .filter((e) => !e.disabled);
  if (stops.length === 0) return;
  const first = stops[0];
  const last = stops[stops.length - 1];
  if (event.shiftKey && document.activeElement === first) {
    last.focus();
    event.preventDefault();
  } else if (!event.shiftKey && document.activeElement === last) {
    first.focus();
    event.preventDefault();
  }
}

// One open form of a template.
class Form {
  constructor(name) {
    const template = DIALOG_TEMPLATES[name];
    this.events = [];
    this.waiting = null;
    this.focused = false;
    this.controls = new Map();
    const { backdrop, frame, body } =
      modalFrame(template.title, 'form ' + name, () => this.post(CLOSE_BOX_EVENT));
    this.backdrop = backdrop;
    this.frame = frame;
    frame.dataset.dialog = name;
    body.style.width = template.size[0] * DLU[0] + 'px';
    body.style.height = template.size[1] * DLU[1] + 'px';
    for (const [id, kind, text, rect] of template.controls) {
      const element = this.make(id, kind, text);
      element.style.left = rect[0] * DLU[0] + 'px';
      element.style.top = rect[1] * DLU[1] + 'px';
      element.style.width = rect[2] * DLU[0] + 'px';
      element.style.height = rect[3] * DLU[1] + 'px';
      body.append(element);
    }
    frame.addEventListener('keydown', (event) => this.key(event));
    centre(frame);
  }

  make(id, kind, text) {
    let element;
    let control;
    switch (kind) {
      case 'edit':
        element = control = document.createElement('input');
        control.type = 'text';
        control.autocomplete = 'off';
        control.spellcheck = false;
        break;
      case 'check': {
        element = document.createElement('label');
        element.className = 'check';
        control = document.createElement('input');
        control.type = 'checkbox';
        const span = document.createElement('span');
        span.textContent = text;
        element.append(control, span);
        control.textElement = span;
        break;
      }
      case 'button':
      case 'default':
        element = control = document.createElement('button');
        control.type = 'button';
        control.textContent = text;
        control.addEventListener('click', () => this.post(id));
        break;
      case 'group': {
        element = control = document.createElement('fieldset');
        const legend = document.createElement('legend');
        legend.textContent = text;
        control.append(legend);
        control.textElement = legend;
        break;
      }
      case 'list':
        element = control = document.createElement('select');
        control.addEventListener('mousedown', () => this.post(LIST_EVENT_BASE + LIST_DROPPED_DOWN));
        control.addEventListener('change',
          () => this.post(LIST_EVENT_BASE + LIST_SELECTION_CONFIRMED));
        break;
      default:
        element = control = document.createElement('div');
        control.className = 'static' + (kind === 'center' ? ' center' : '');
        control.textContent = text;
    }
    element.dataset.id = id;
    control.kind = kind;
    if (id >= 0) this.controls.set(id, control);
    return element;
  }

  key(event) {
    if (event.key === 'Escape') {
      event.preventDefault();
      this.post(2);
    } else if (event.key === 'Enter' && !(event.target instanceof HTMLButtonElement) &&
               !(event.target instanceof HTMLSelectElement)) {
      event.preventDefault();
      this.post(1);
    } else if (event.key === 'Tab') {
      trapFocus(this.frame, event);
    }
  }

  post(event) {
    if (this.waiting) {
      const resolve = this.waiting;
      this.waiting = null;
      resolve(event);
    } else {
      this.events.push(event);
    }
  }

  next() {
    if (!this.focused) {
      // The first tab stop takes the focus once the logic has filled the form.
      this.focused = true;
      const first = [...this.frame.querySelectorAll('input, select, button:not(.close)')]
        .find((e) => !e.disabled);
      if (first) first.focus();
    }
    if (this.events.length > 0) return Promise.resolve(this.events.shift());
    return new Promise((resolve) => { this.waiting = resolve; });
  }

  control(id) { return this.controls.get(id); }

  close() { this.backdrop.remove(); }
}

// The DialogControls of the core, over the open forms.
class Dialogs {
  constructor() { this.open = new Map(); }

  show(name) { this.open.set(name, new Form(name)); }

  close(name) {
    const form = this.open.get(name);
    if (form) form.close();
    this.open.delete(name);
  }

  nextEvent(name) {
    const form = this.open.get(name);
    return form ? form.next() : Promise.resolve(2);
  }

  control(name, id) {
    const form = this.open.get(name);
    return form ? form.control(id) : undefined;
  }

  text(name, id) {
    const c = this.control(name, id);
    if (!c) return '';
    if (c instanceof HTMLInputElement && c.type === 'text') return c.value;
    if (c instanceof HTMLSelectElement) {
      return c.selectedIndex >= 0 ? c.options[c.selectedIndex].text : '';
    }
    return (c.textElement || c).textContent;
  }

  setText(name, id, text) {
    const c = this.control(name, id);
    if (!c || c instanceof HTMLSelectElement) return;
    if (c instanceof HTMLInputElement && c.type === 'text') c.value = text;
    else (c.textElement || c).textContent = text;
  }

  enable(name, id, on) {
    const c = this.control(name, id);
    if (!c) return;
    if ('disabled' in c) c.disabled = !on;
    const box = c.closest('label') || c;
    box.classList.toggle('disabled', !on);
  }

  checkState(name, id) {
    const c = this.control(name, id);
    if (!c || c.type !== 'checkbox') return 0;
    if (c.indeterminate) return 2;
    return c.checked ? 1 : 0;
  }

  setChecked(name, id, on) {
    const c = this.control(name, id);
    if (!c || c.type !== 'checkbox') return;
    c.indeterminate = false;
    c.checked = on;
  }

  comboInsert(name, id, index, text) {
    const c = this.control(name, id);
    if (!(c instanceof HTMLSelectElement)) return;
    // A list that gets its first entry would select it; the field selects.
    const selected = c.selectedIndex;
    const option = new Option(text);
    if (index < 0 || index >= c.options.length) c.add(option);
    else c.add(option, index);
    c.selectedIndex = selected >= index && index >= 0 && selected >= 0 ? selected + 1 : selected;
  }

  comboDelete(name, id, index) {
    const c = this.control(name, id);
    if (c instanceof HTMLSelectElement && index >= 0 && index < c.options.length) c.remove(index);
  }

  comboSelect(name, id, index) {
    const c = this.control(name, id);
    if (c instanceof HTMLSelectElement) {
      c.selectedIndex = index >= 0 && index < c.options.length ? index : -1;
    }
  }

  comboSelection(name, id) {
    const c = this.control(name, id);
    return c instanceof HTMLSelectElement ? c.selectedIndex : -1;
  }

  // The form's rectangle, or the page's visible area: left, top, right, bottom.
  rect(name, desktop) {
    if (desktop) return [0, 0, window.innerWidth, window.innerHeight];
    const form = this.open.get(name);
    if (!form) return [0, 0, 0, 0];
    const r = form.frame.getBoundingClientRect();
    return [Math.round(r.left), Math.round(r.top), Math.round(r.right), Math.round(r.bottom)];
  }

  move(name, x, y) {
    const form = this.open.get(name);
    if (!form) return;
    form.frame.style.left = x + 'px';
    form.frame.style.top = y + 'px';
  }
}

// A box with one OK button and no icon; resolves when dismissed.
function messageBox(text, caption) {
  return new Promise((resolve) => {
    let done = false;
    const finish = () => {
      if (done) return;
      done = true;
      backdrop.remove();
      resolve();
    };
    const { backdrop, frame, body } = modalFrame(caption, 'message', finish);
    body.textContent = text;
    const buttons = document.createElement('div');
    buttons.className = 'buttons';
    const ok = document.createElement('button');
    ok.type = 'button';
    ok.textContent = 'OK';
    ok.addEventListener('click', finish);
    buttons.append(ok);
    frame.append(buttons);
    frame.addEventListener('keydown', (event) => {
      if (event.key === 'Escape' || event.key === 'Enter') {
        event.preventDefault();
        finish();
      } else if (event.key === 'Tab') {
        event.preventDefault();
      }
    });
    centre(frame);
    ok.focus();
  });
}

// The filters as the core gives them: description and pattern, one a line.
function parseFilters(text) {
  const lines = text.split('\n');
  const filters = [];
  for (let i = 0; i + 1 < lines.length; i += 2) {
    filters.push({ description: lines[i], pattern: lines[i + 1] });
  }
  return filters;
}

// The Open dialog: the browser's own file picker, for the filters' types.
function pickFileToOpen(filters) {
  return new Promise((resolve) => {
    const input = document.createElement('input');
    input.type = 'file';
    const types = filters.map((f) => f.pattern.toLowerCase())
      .filter((p) => p !== '*.*').map((p) => p.replace(/^\*/, ''));
    // "All (*.*)" is offered by every picker; only a list without it is strict.
    if (!filters.some((f) => f.pattern === '*.*')) input.accept = types.join(',');
    let done = false;
    const finish = (file) => {
      if (done) return;
      done = true;
      window.removeEventListener('focus', returned);
      resolve(file);
    };
    // A browser without the cancel event only gives the focus back: if no
    // file follows soon after, the picker was cancelled.
    const returned = () => setTimeout(() => finish(input.files[0] || null), 1000);
    input.addEventListener('change', () => finish(input.files[0] || null));
    input.addEventListener('cancel', () => finish(null));
    window.addEventListener('focus', returned);
    input.click();
  });
}

// The Save As dialog: a file name and the type; the name is what the
// download will be called. The default extension is added to a name without one.
function askFileToSave(filters, extension) {
  return new Promise((resolve) => {
    let done = false;
    const finish = (name) => {
      if (done) return;
      done = true;
      backdrop.remove();
      resolve(name);
    };
    const { backdrop, frame, body } = modalFrame('Save As', 'save', () => finish(null));
    const nameLabel = document.createElement('label');
    nameLabel.textContent = 'File name:';
    const name = document.createElement('input');
    name.type = 'text';
    name.id = 'save-name';
    nameLabel.htmlFor = name.id;
    const typeLabel = document.createElement('label');
    typeLabel.textContent = 'Save as type:';
    const type = document.createElement('select');
    type.id = 'save-type';
    typeLabel.htmlFor = type.id;
    for (const f of filters) type.add(new Option(f.description));
    body.append(nameLabel, name, typeLabel, type);
    const buttons = document.createElement('div');
    buttons.className = 'buttons';
    const save = document.createElement('button');
    save.type = 'button';
    save.textContent = 'Save';
    const cancel = document.createElement('button');
    cancel.type = 'button';
    cancel.textContent = 'Cancel';
    buttons.append(save, cancel);
    frame.append(buttons);
    const accept = () => {
      // A download has a name, not a folder.
      let chosen = name.value.trim().replace(/[\\/]/g, '_');
      if (chosen === '' || chosen.startsWith('.')) {
        name.focus();
        return;
      }
      if (!chosen.includes('.') && extension) chosen += '.' + extension;
      finish(chosen);
    };
    save.addEventListener('click', accept);
    cancel.addEventListener('click', () => finish(null));
    frame.addEventListener('keydown', (event) => {
      if (event.key === 'Escape') {
        event.preventDefault();
        finish(null);
      } else if (event.key === 'Enter' && event.target !== cancel) {
        event.preventDefault();
        accept();
      } else if (event.key === 'Tab') {
        trapFocus(frame, event);
      }
    });
    centre(frame);
    name.focus();
  });
}
