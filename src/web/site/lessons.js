// The lessons on the page: their files copied into the core's file system
// (where the core looks for them beside the program), File > Lessons... as a
// modal list, the lesson's text in a panel beside the landscape, and the
// page's own list of links, index.html?lesson=NAME for each lesson.
'use strict';

class Lessons {
  constructor(page) {
    this.page = page;
    this.panel = document.getElementById('lesson');
    this.panelTitle = this.panel.querySelector('.lesson-title');
    this.panelText = this.panel.querySelector('.lesson-text');
    this.panel.querySelector('.close').addEventListener('click', () => this.close());
  }

  // The site's lesson files as [name, bytes], fetched while the core loads:
  // lessons/files.txt names them, one a line. A site without lessons has
  // none, and the core says so when File > Lessons... is chosen.
  async fetchFiles() {
    try {
      const list = await fetch('lessons/files.txt');
      if (!list.ok) return [];
      const names = (await list.text()).split('\n').filter((n) => n && !n.includes('/'));
      return await Promise.all(names.map(async (name) => {
        const file = await fetch('lessons/' + encodeURIComponent(name));
        if (!file.ok) throw new Error(`lessons/${name}: ${file.status} ${file.statusText}`);
        return [name, new Uint8Array(await file.arrayBuffer())];
      }));
    } catch (error) {
      console.warn('The lessons could not be loaded:', error);
      return [];
    }
  }

  // Puts the files where the core looks: the lessons folder beside the
  // program, which is the site's folder.
  install(core, folder, files) {
    core.FS.mkdirTree(folder + '/lessons');
    for (const [name, bytes] of files) core.FS.writeFile(folder + '/lessons/' + name, bytes);
  }

  // The page's list of lessons, as the core reads them: each a link that
  // opens the page with that lesson.
  showLinks(core) {
    const lessons = JSON.parse(core.UTF8ToString(core._wx_lessons_json()));
    const list = document.getElementById('lesson-links');
    list.replaceChildren();
    for (const lesson of lessons) {
      const item = document.createElement('li');
      const link = document.createElement('a');
      link.href = '?lesson=' + encodeURIComponent(lesson.name);
      link.textContent = lesson.title;
      item.append(link, ': ' + lesson.summary);
      list.append(item);
    }
    document.getElementById('lessons').hidden = lessons.length === 0;
  }

  // File > Lessons...: the lessons' titles and first sentences in a modal
  // list; resolves with the index chosen, or null for Cancel.
  async choose(items) {
    const page = this.page;
    page.deliverFiles();
    page.draw();
    ++page.modal;
    try {
      return await lessonList(items);
    } finally {
      --page.modal;
    }
  }

  // The lesson's text beside the landscape, in place of any other lesson's.
  show(title, paragraphs) {
    this.panelTitle.textContent = title;
    this.panelText.replaceChildren(...paragraphs.map((text) => {
      const paragraph = document.createElement('p');
      paragraph.textContent = text;
      return paragraph;
    }));
    this.panel.hidden = false;
    this.panelText.scrollTop = 0;
  }

  close() {
    this.panel.hidden = true;
  }

  // The room the open panel takes beside the landscape, in CSS pixels.
  width() {
    return this.panel.hidden ? 0 : this.panel.getBoundingClientRect().width;
  }
}

// The modal list of lessons: arrows, Home and End choose, Enter or a double
// click opens, Esc or Cancel closes it. Resolves with the index or null.
function lessonList(items) {
  return new Promise((resolve) => {
    let done = false;
    const finish = (index) => {
      if (done) return;
      done = true;
      backdrop.remove();
      resolve(index);
    };
    const { backdrop, frame, body } = modalFrame('Lessons', 'lessons', () => finish(null));
    const list = document.createElement('div');
    list.className = 'lesson-list';
    list.tabIndex = 0;
    list.setAttribute('role', 'listbox');
    list.setAttribute('aria-label', 'Lessons');
    let selected = 0;
    const rows = items.map((item, index) => {
      const row = document.createElement('div');
      row.className = 'lesson-item';
      row.id = 'lesson-item-' + index;
      row.setAttribute('role', 'option');
      const title = document.createElement('div');
      title.className = 'title';
      title.textContent = item.title;
      const summary = document.createElement('div');
      summary.className = 'summary';
      summary.textContent = item.summary;
      row.append(title, summary);
      row.addEventListener('click', () => select(index));
      row.addEventListener('dblclick', () => finish(index));
      return row;
    });
    const select = (index) => {
      selected = Math.max(0, Math.min(rows.length - 1, index));
      rows.forEach((row, i) => row.setAttribute('aria-selected', String(i === selected)));
      list.setAttribute('aria-activedescendant', rows[selected].id);
      rows[selected].scrollIntoView({ block: 'nearest' });
    };
    list.append(...rows);
    body.append(list);
    const buttons = document.createElement('div');
    buttons.className = 'buttons';
    const open = document.createElement('button');
    open.type = 'button';
    open.textContent = 'Open';
    open.addEventListener('click', () => finish(selected));
    const cancel = document.createElement('button');
    cancel.type = 'button';
    cancel.textContent = 'Cancel';
    cancel.addEventListener('click', () => finish(null));
    buttons.append(open, cancel);
    frame.append(buttons);
    const moves = { ArrowDown: 1, ArrowUp: -1, PageDown: 5, PageUp: -5 };
    frame.addEventListener('keydown', (event) => {
      if (event.key === 'Escape') {
        finish(null);
      } else if (event.key === 'Enter') {
        // A focused button does what it says.
        finish(event.target === cancel ? null : selected);
      } else if (event.key in moves) {
        select(selected + moves[event.key]);
      } else if (event.key === 'Home' || event.key === 'End') {
        select(event.key === 'Home' ? 0 : rows.length - 1);
      } else if (event.key === 'Tab') {
        // Round the list and the two buttons, never out of the box.
        const stops = [list, open, cancel];
        const at = stops.indexOf(document.activeElement);
        stops[(at + (event.shiftKey ? stops.length - 1 : 1)) % stops.length].focus();
      } else {
        return;
      }
      event.preventDefault();
    });
    select(0);
    centre(frame);
    list.focus();
  });
}
