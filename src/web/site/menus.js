// The menu bar and the accelerators, built from the core's menu table: the
// same popups, items, mnemonics and keys as the desktop program.
'use strict';

// "&Start walking" -> the text with its mnemonic letter underlined.
function mnemonicText(text) {
  const fragment = document.createDocumentFragment();
  const at = text.indexOf('&');
  if (at < 0 || at + 1 >= text.length) {
    fragment.append(text.replace('&', ''));
    return { fragment, key: '' };
  }
  const letter = document.createElement('u');
  letter.textContent = text[at + 1];
  fragment.append(text.slice(0, at), letter, text.slice(at + 2));
  return { fragment, key: text[at + 1].toLowerCase() };
}

// The table's names of keys that the browser names otherwise.
const keyNames = { Space: ' ', Right: 'ArrowRight', Left: 'ArrowLeft', Up: 'ArrowUp',
                   Down: 'ArrowDown', Esc: 'Escape' };

// "Ctrl+C", "F5", "Space" -> whether a key event is that key.
function acceleratorMatcher(keys) {
  const parts = keys.split('+');
  const name = parts.pop();
  const key = keyNames[name] ?? name;
  const ctrl = parts.includes('Ctrl');
  return (event) => {
    if (event.ctrlKey !== ctrl || event.altKey || event.metaKey) return false;
    if (key.length === 1) return event.key.toUpperCase() === key && !event.shiftKey;
    return event.key === key;
  };
}

class MenuBar {
  // table: { popups: [{title, items: [{id, text, shortcut}]}], accelerators: [{keys, id}] }
  // run(id) runs a command; state() gives [{id, checked, enabled}] for the rules.
  constructor(element, table, run, state) {
    this.element = element;
    this.run = run;
    this.state = state;
    this.popups = [];
    this.openIndex = -1;
    this.accelerators = table.accelerators.map((a) => ({ id: a.id, matches: acceleratorMatcher(a.keys) }));
    table.popups.forEach((popup, index) => this.addPopup(popup, index));
    document.addEventListener('mousedown', (event) => {
      if (!this.element.contains(event.target)) this.close();
    });
  }

  addPopup(popup, index) {
    const box = document.createElement('div');
    box.className = 'popup';
    const button = document.createElement('button');
    button.type = 'button';
    button.setAttribute('aria-haspopup', 'menu');
    const title = mnemonicText(popup.title);
    button.append(title.fragment);
    const menu = document.createElement('div');
    menu.className = 'menu';
    menu.setAttribute('role', 'menu');
    const items = [];
    for (const item of popup.items) {
      if (item.id === 0) {
        menu.append(document.createElement('hr'));
        continue;
      }
      const row = document.createElement('div');
      row.className = 'item';
      row.setAttribute('role', 'menuitem');
      row.dataset.id = item.id;
      const label = document.createElement('span');
      const text = mnemonicText(item.text);
      label.append(text.fragment);
      row.append(label);
      if (item.shortcut) {
        const shortcut = document.createElement('span');
        shortcut.className = 'shortcut';
        shortcut.textContent = item.shortcut;
        row.append(shortcut);
      }
      row.addEventListener('click', () => this.choose(row));
      row.addEventListener('mouseenter', () => this.highlight(index, items.indexOf(row)));
      menu.append(row);
      items.push(row);
      row.key = text.key;
    }
    button.addEventListener('mousedown', (event) => {
      event.preventDefault();
      if (this.openIndex === index) this.close();
      else this.open(index);
    });
    button.addEventListener('mouseenter', () => {
      if (this.openIndex >= 0 && this.openIndex !== index) this.open(index);
    });
    box.append(button, menu);
    this.element.append(box);
    this.popups.push({ box, button, items, key: title.key });
  }

  open(index) {
    this.close();
    // The menu rules, applied before the popup shows.
    for (const s of this.state()) {
      const row = this.element.querySelector(`.item[data-id="${s.id}"]`);
      if (!row) continue;
      row.classList.toggle('checked', s.checked);
      row.classList.toggle('disabled', !s.enabled);
      row.setAttribute('aria-disabled', String(!s.enabled));
    }
    this.openIndex = index;
    this.active = -1;
    this.popups[index].box.classList.add('open');
    this.popups[index].button.focus();
  }

  close() {
    if (this.openIndex < 0) return;
    const popup = this.popups[this.openIndex];
    popup.box.classList.remove('open');
    for (const row of popup.items) row.classList.remove('active');
    this.openIndex = -1;
    popup.button.blur();
  }

  highlight(index, item) {
    const items = this.popups[index].items;
    items.forEach((row, i) => row.classList.toggle('active', i === item));
    this.active = item;
  }

  choose(row) {
    if (row.classList.contains('disabled')) return;
    this.close();
    this.run(Number(row.dataset.id));
  }

  // Keys while a popup is open, Alt+mnemonic, and the accelerators. Returns
  // whether the key was used.
  key(event) {
    if (this.openIndex >= 0) return this.keyInPopup(event);
    if (event.altKey && !event.ctrlKey && event.key.length === 1) {
      const index = this.popups.findIndex((p) => p.key === event.key.toLowerCase());
      if (index >= 0) {
        this.open(index);
        return true;
      }
      return false;
    }
    const accelerator = this.accelerators.find((a) => a.matches(event));
    if (!accelerator) return false;
    this.run(accelerator.id);
    return true;
  }

  keyInPopup(event) {
    const items = this.popups[this.openIndex].items;
    const enabled = (i) => !items[i].classList.contains('disabled');
    const step = (direction) => {
      let i = this.active;
      for (let n = 0; n < items.length; ++n) {
        i = (i + direction + items.length) % items.length;
        if (enabled(i)) break;
      }
      this.highlight(this.openIndex, i);
    };
    switch (event.key) {
      case 'Escape': this.close(); return true;
      case 'ArrowDown': step(1); return true;
      case 'ArrowUp': step(-1); return true;
      case 'ArrowRight': this.open((this.openIndex + 1) % this.popups.length); return true;
      case 'ArrowLeft':
        this.open((this.openIndex + this.popups.length - 1) % this.popups.length);
        return true;
      case 'Enter':
        if (this.active >= 0) this.choose(items[this.active]);
        return true;
      default: {
        const row = items.find((r) => r.key === event.key.toLowerCase());
        if (row) this.choose(row);
        return true;
      }
    }
  }
}

// The walk's controls under the menus, as a media player's: Animate,
// Pause / Resume, Single step and Stop run the menu commands of the same
// names; the list sets the animation's speed.
// The controls' icons, in the order of table.walk.controls (as pictures: the
// media symbols are missing from many fonts): play, pause, step, stop.
const WALK_ICONS = [
  'M4 2 L13 8 L4 14 Z',
  'M3 2 H7 V14 H3 Z M9 2 H13 V14 H9 Z',
  'M2 2 L10 8 L2 14 Z M11 2 H14 V14 H11 Z',
  'M3 3 H13 V13 H3 Z',
];

function walkIcon(path) {
  const svg = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
  svg.setAttribute('viewBox', '0 0 16 16');
  svg.setAttribute('aria-hidden', 'true');
  const shape = document.createElementNS('http://www.w3.org/2000/svg', 'path');
  shape.setAttribute('d', path);
  svg.append(shape);
  return svg;
}

class WalkBar {
  constructor(element, table, run) {
    const items = new Map(table.popups.flatMap((p) => p.items).map((i) => [i.id, i]));
    this.buttons = new Map();
    table.walk.controls.forEach((id, index) => {
      const item = items.get(id);
      const button = document.createElement('button');
      button.type = 'button';
      button.className = 'control';
      button.dataset.id = id;
      button.append(walkIcon(WALK_ICONS[index]));
      // The keyboard belongs to the landscape's keys (Space pauses).
      button.tabIndex = -1;
      const name = item.text.replace('&', '');
      button.title = item.shortcut ? `${name} (${item.shortcut})` : name;
      button.setAttribute('aria-label', name);
      button.addEventListener('mousedown', (event) => event.preventDefault());
      button.addEventListener('click', () => run(id));
      element.append(button);
      this.buttons.set(id, button);
    });
    this.speed = document.createElement('select');
    this.speed.className = 'speed';
    this.speed.tabIndex = -1;
    this.speed.title = 'Steps per second of Animate walking';
    this.speed.setAttribute('aria-label', this.speed.title);
    table.walk.speeds.forEach((text, index) => this.speed.add(new Option(text, String(index))));
    this.speed.addEventListener('change', () => {
      run(table.walk.speedCommand + Number(this.speed.value));
      this.speed.blur();
    });
    element.append(this.speed);
  }

  // states: the menu rules ([] while the core is busy: nothing changes).
  show(states, speed) {
    for (const s of states) {
      const button = this.buttons.get(s.id);
      if (!button) continue;
      button.disabled = !s.enabled;
      button.setAttribute('aria-pressed', String(s.checked));
    }
    if (states.length > 0) this.speed.value = String(speed);
  }
}
