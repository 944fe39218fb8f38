// The page: starts the core, turns the page's events into the core's calls
// (as the desktop program turns Qt's) and serves the core's platform calls
// (Module.page). One call into the core runs at a time: a dialog or message
// box keeps its call waiting, and the page takes no other input meanwhile.
// A walk runs in slices, one call each, that the core asks for by a timer, so
// the page answers between them.
'use strict';

const FILES = '/files';
const SITE = '/site';
const DEFAULT_CLIENT = [400, 400];
const CURSORS = ['default', 'wait', 'crosshair'];
const MOUSE = { leftPress: 0, leftRelease: 1, rightPress: 2, rightRelease: 3, move: 4 };

class Page {
  constructor() {
    this.canvas = document.getElementById('landscape');
    this.client = document.getElementById('client');
    this.status = document.getElementById('status');
    this.window = document.getElementById('window');
    this.progress = document.getElementById('progress');
    this.rates = document.getElementById('rates');
    this.tickTimer = null;
    this.dialogs = new Dialogs();
    this.lessons = new Lessons(this);
    this.queue = Promise.resolve();
    this.pending = 0;       // calls queued or running
    this.modal = 0;         // dialogs and boxes open
    this.ended = false;
    this.pointerId = null;
    this.delivered = new Map();  // file path -> inode the browser already has
    this.size = DEFAULT_CLIENT.slice();
    this.offscreen = document.createElement('canvas');
    this.diagnostics = new DiagnosticsPanel(this);
    // Each is called after every finished call into the core.
    this.afterCallHooks = [() => this.showWalkState(), () => this.diagnostics.afterCall()];
  }

  // --- Start --------------------------------------------------------------

  async start() {
    const lessonFiles = this.lessons.fetchFiles();
    this.core = await createWandrixCore({
      page: this,
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
    });
    const core = this.core;
    core.ccall('wx_start', null, ['number', 'number'], this.size);
    this.lessons.install(core, SITE, await lessonFiles);
    const table = JSON.parse(core.UTF8ToString(core._wx_menu_json()));
    this.menu = new MenuBar(document.getElementById('menubar'), table,
      (id) => this.command(id), () => this.menuState());
    this.walkBar = new WalkBar(document.getElementById('walkbar'), table,
      (id) => this.command(id));
    this.listen();
    this.lessons.showLinks(core);
    await this.startingSession();
    this.draw();
    this.showWalkState();
    this.say('');
    // For the tests and for anyone measuring: ready, and how long it took.
    document.documentElement.dataset.startupMs = String(Math.round(performance.now()));
    document.documentElement.dataset.ready = 'true';
  }

  // ?lesson=NAME opens that lesson; ?demo walks the demonstration;
  // #<session text> opens that session.
  async startingSession() {
    const query = new URLSearchParams(location.search);
    if (query.has('lesson')) {
      await this.call('wx_open_lesson', ['string'], [query.get('lesson')]);
    } else if (query.has('demo')) {
      const actions = await (await fetch('demo.actions')).text();
      await this.call('wx_run_actions', ['string'], [actions]);
    } else if (location.hash.length > 1) {
      let text;
      try {
        text = decodeURIComponent(location.hash.slice(1));
      } catch (e) {
        await this.messageBox('The session in the address is not properly URL-encoded.',
          'Error reading data file');
        return;
      }
      const path = FILES + '/session.dat';
      this.core.FS.writeFile(path, text);
      this.delivered.set(path, this.core.FS.stat(path).ino);
      await this.call('wx_open_file', ['string'], [path]);
    }
  }

  // --- Calls into the core ---------------------------------------------------

  // Queues a call; its promise settles when the call (and every dialog it
  // opened) has finished. Afterwards the picture is drawn and new files are
  // handed to the browser.
  call(name, types, args) {
    ++this.pending;
    const run = async () => {
      try {
        return await this.core.ccall(name, 'number', types, args, { async: true });
      } finally {
        --this.pending;
        this.deliverFiles();
        this.draw();
        for (const hook of this.afterCallHooks) hook(name);
      }
    };
    const result = this.queue.then(run);
    this.queue = result.catch((error) => this.fail(error));
    return result;
  }

  async command(id) {
    if (this.ended) return;
    const quit = await this.call('wx_command', ['number'], [id]);
    if (quit) this.end();
  }

  // The core's timer (Host::request_tick): a later request replaces an
  // earlier one. The tick is queued like any call, so it waits behind a
  // dialog that is open.
  requestTick(milliseconds) {
    if (this.tickTimer !== null) clearTimeout(this.tickTimer);
    this.tickTimer = setTimeout(() => {
      this.tickTimer = null;
      if (!this.ended) this.call('wx_tick', [], []);
    }, milliseconds);
  }

  // The tool bar's controls and the status bar: the walk's progress
  // ("Ready" when there is none to show) and its rates.
  showWalkState() {
    if (!this.core || this.pending > 0) return;
    const core = this.core;
    const progress = core.UTF8ToString(core._wx_progress_text());
    // The whole text in the tool tip, where the line is cut short.
    this.progress.textContent = this.progress.title = progress || 'Ready';
    this.rates.textContent = this.rates.title = core.UTF8ToString(core._wx_rates_text());
    this.walkBar.show(this.menuState(), core._wx_walk_speed());
    document.documentElement.dataset.walking = String(core._wx_walking() !== 0);
  }

  menuState() {
    if (this.pending > 0) return [];
    const core = this.core;
    const capacity = 64;
    const out = core._malloc(4 * 3 * capacity);
    const count = core._wx_menu_state(out, capacity);
    const states = [];
    for (let i = 0; i < count; ++i) {
      const at = out / 4 + i * 3;
      states.push({ id: core.HEAP32[at], checked: core.HEAP32[at + 1] !== 0,
                    enabled: core.HEAP32[at + 2] !== 0 });
    }
    core._free(out);
    return states;
  }

  // --- Events of the page ------------------------------------------------------

  listen() {
    const canvas = this.canvas;
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    canvas.addEventListener('pointerdown', (event) => {
      if (event.button !== 0 && event.button !== 2) return;
      this.pointerId = event.pointerId;
      this.mouse(event.button === 0 ? MOUSE.leftPress : MOUSE.rightPress, event);
    });
    canvas.addEventListener('pointerup', (event) => {
      if (event.button !== 0 && event.button !== 2) return;
      this.mouse(event.button === 0 ? MOUSE.leftRelease : MOUSE.rightRelease, event);
    });
    canvas.addEventListener('pointermove', (event) => {
      // Moves only matter between a press and a release; a busy core skips them.
      if (this.pending === 0) this.mouse(MOUSE.move, event);
    });
    document.addEventListener('keydown', (event) => this.key(event));
    new ResizeObserver(() => this.resized()).observe(this.client);
    window.addEventListener('resize', () => this.draw());
  }

  // Whether a dialog, box or file chooser has the input.
  inModal() { return this.modal > 0 || this.dialogs.open.size > 0; }

  mouse(kind, event) {
    if (this.ended || this.inModal()) return;
    const r = this.canvas.getBoundingClientRect();
    // Signed: with the mouse captured it may be left of or above the landscape.
    const x = Math.floor(event.clientX - r.left);
    const y = Math.floor(event.clientY - r.top);
    this.call('wx_mouse', ['number', 'number', 'number'], [kind, x, y]);
  }

  key(event) {
    if (this.ended || this.inModal() || !this.menu) return;
    // An open speed list takes its own keys.
    if (event.target instanceof HTMLSelectElement) return;
    if (event.key === 'Escape' && this.menu.openIndex < 0) {
      this.call('wx_key_char', ['number'], [27]);
      return;
    }
    if (this.menu.key(event)) event.preventDefault();
  }

  resized() {
    const width = Math.round(this.client.clientWidth);
    const height = Math.round(this.client.clientHeight);
    if (width <= 0 || height <= 0 || (width === this.size[0] && height === this.size[1])) return;
    this.size = [width, height];
    this.call('wx_size', ['number', 'number'], [width, height]);
  }

  // --- The picture -------------------------------------------------------------

  // Draws what changed, then shows the surface.
  draw() {
    if (!this.core || this.pending > 0) return;
    this.core._wx_render();
    this.showSurface();
  }

  // Shows the surface as it is, at the device's pixel ratio, pixel for pixel.
  showSurface() {
    const core = this.core;
    showPixels(core, core._wx_surface(), core._wx_surface_width(), core._wx_surface_height(),
      this.canvas, this.offscreen);
  }

  invalidate() { /* drawn when the call ends */ }

  // Over the whole window, as the desktop program's cursor is while a walk
  // runs; the page around it stays as it is.
  setCursor(cursor) { this.window.style.cursor = CURSORS[cursor] || ''; }

  captureMouse(on) {
    if (this.pointerId === null) return;
    try {
      if (on) this.canvas.setPointerCapture(this.pointerId);
      else this.canvas.releasePointerCapture(this.pointerId);
    } catch (e) { /* the pointer is gone already */ }
  }

  resizeClient(width, height) {
    const r = this.client.getBoundingClientRect();
    const room = [Math.max(1, document.documentElement.clientWidth - r.left - 12 -
                           this.lessons.width()),
                  Math.max(1, window.innerHeight - r.top - 12 -
                           this.window.querySelector('.statusbar').offsetHeight)];
    const size = [Math.max(1, Math.min(width, Math.floor(room[0]))),
                  Math.max(1, Math.min(height, Math.floor(room[1])))];
    this.client.style.width = size[0] + 'px';
    this.client.style.height = size[1] + 'px';
    this.size = size.slice();
    return size;
  }

  screenMetrics() {
    const mm = (px) => Math.round(px * 25.4 / 96);
    return [screen.width, screen.height, mm(screen.width), mm(screen.height)];
  }

  // --- Boxes and dialogs ---------------------------------------------------------

  async messageBox(text, caption) {
    this.deliverFiles();
    this.draw();
    ++this.modal;
    try {
      await messageBox(text, caption);
    } finally {
      --this.modal;
    }
  }

  // --- Files -----------------------------------------------------------------

  async fileDialog(forOpen, filterText, extension) {
    const filters = parseFilters(filterText);
    ++this.modal;
    try {
      if (forOpen) {
        const file = await pickFileToOpen(filters);
        if (!file) return null;
        const path = FILES + '/' + file.name.replace(/[\\/]/g, '_');
        this.core.FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
        this.delivered.set(path, this.core.FS.stat(path).ino);
        return path;
      }
      const name = await askFileToSave(filters, extension);
      return name === null ? null : FILES + '/' + name;
    } finally {
      --this.modal;
    }
  }

  // Every complete file the program wrote since the last look (a new file
  // has a new inode: writes go to a temporary that is renamed) goes to the
  // browser as a download.
  deliverFiles() {
    if (!this.core) return;
    const FS = this.core.FS;
    for (const name of FS.readdir(FILES)) {
      if (name.startsWith('.')) continue;
      const path = FILES + '/' + name;
      const stat = FS.stat(path);
      if (!FS.isFile(stat.mode) || this.delivered.get(path) === stat.ino) continue;
      this.delivered.set(path, stat.ino);
      download(name, FS.readFile(path));
    }
  }

  // --- Clipboard and help ----------------------------------------------------------

  copyText(text) {
    if (navigator.clipboard) navigator.clipboard.writeText(text).catch(() => {});
  }

  async copyPicture(png, svg) {
    if (!navigator.clipboard || !window.ClipboardItem || png.length === 0) return false;
    const items = { 'image/png': new Blob([png], { type: 'image/png' }) };
    if (svg && ClipboardItem.supports && ClipboardItem.supports('image/svg+xml')) {
      items['image/svg+xml'] = new Blob([svg], { type: 'image/svg+xml' });
    }
    try {
      await navigator.clipboard.write([new ClipboardItem(items)]);
      return true;
    } catch (e) {
      return false;
    }
  }

  // The help page's address names the site folder; the page lies beside us.
  openPage(address) {
    const name = decodeURIComponent(address.slice(address.lastIndexOf('/') + 1));
    window.open(name, '_blank', 'noopener');
  }

  // --- Strings and endings ------------------------------------------------------

  newString(text) {
    const core = this.core;
    const size = core.lengthBytesUTF8(text) + 1;
    const pointer = core._malloc(size);
    core.stringToUTF8(text, pointer, size);
    return pointer;
  }

  say(text, problem = false) {
    this.status.textContent = text;
    this.status.classList.toggle('problem', problem);
  }

  end() {
    this.ended = true;
    if (this.tickTimer !== null) clearTimeout(this.tickTimer);
    this.diagnostics.close();
    this.window.style.cursor = '';
    const cover = document.createElement('div');
    cover.className = 'ended';
    cover.textContent = 'Wandrix has ended. Reload the page to start it again.';
    this.client.append(cover);
  }

  fail(error) {
    console.error(error);
    this.say('Wandrix stopped: ' + (error && error.message ? error.message : error), true);
    this.ended = true;
  }
}

// Shows the core's pixels at pointer (0xFFRRGGBB, rows top down) on canvas,
// width by height CSS pixels at the device's pixel ratio, every pixel a
// sharp block; offscreen is the canvas's own scratch canvas.
function showPixels(core, pointer, width, height, canvas, offscreen) {
  const pixels = new Uint32Array(core.HEAPU8.buffer, pointer, width * height);
  if (offscreen.width !== width || offscreen.height !== height) {
    offscreen.width = width;
    offscreen.height = height;
  }
  const context = offscreen.getContext('2d');
  const image = context.createImageData(width, height);
  const out = new Uint32Array(image.data.buffer);
  // 0xFFRRGGBB in memory is B, G, R, A; the canvas wants R, G, B, A.
  for (let i = 0; i < pixels.length; ++i) {
    const p = pixels[i];
    out[i] = (p & 0xff00ff00) | ((p >>> 16) & 0xff) | ((p & 0xff) << 16) | 0xff000000;
  }
  context.putImageData(image, 0, 0);
  const ratio = window.devicePixelRatio || 1;
  canvas.style.width = width + 'px';
  canvas.style.height = height + 'px';
  const deviceWidth = Math.round(width * ratio);
  const deviceHeight = Math.round(height * ratio);
  if (canvas.width !== deviceWidth) canvas.width = deviceWidth;
  if (canvas.height !== deviceHeight) canvas.height = deviceHeight;
  const target = canvas.getContext('2d');
  target.imageSmoothingEnabled = false;
  target.drawImage(offscreen, 0, 0, deviceWidth, deviceHeight);
}

function download(name, bytes) {
  const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

const wandrixPage = new Page();
if (location.protocol === 'file:') {
  wandrixPage.say('Open this page through a web server (scripts/web serve, or any static host): ' +
    'browsers do not load its WebAssembly module from a file:// address.', true);
} else {
  wandrixPage.start().catch((error) => wandrixPage.fail(error));
}
