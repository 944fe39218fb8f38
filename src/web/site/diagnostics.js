// Show → Diagnostics…: a panel of its own over the page, not modal, that the
// user moves by its caption and resizes by its corner. It shows the core's
// diagnostics picture at its size, pixel for pixel like the landscape, and
// follows every render of the landscape (walks, slices of an animation,
// Clear, a new hill) as often as the core's throttle allows, so that an
// animated walk keeps moving. Copy (its button, or Ctrl+C while it has the
// focus) puts the picture on the clipboard as the landscape's Copy does; Esc
// or the close box closes it, and the menu opens it again where it was.
'use strict';

const DIAGNOSTICS_TITLE = 'Wandrix diagnostics';
const DIAGNOSTICS_GAP = 12;
// The least height, caption included, that the panel takes below the window.
const DIAGNOSTICS_MIN_BELOW = 200;

class DiagnosticsPanel {
  // page: the Page whose core draws the picture and whose queue runs Copy.
  constructor(page) {
    this.page = page;
    this.timer = null;    // the throttle's wait for the next drawing
    this.due = false;     // a drawing waits for the core's call in progress
    this.placed = false;
    this.offscreen = document.createElement('canvas');
    this.build();
  }

  build() {
    const panel = document.createElement('section');
    panel.id = 'diagnostics';
    panel.className = 'panel';
    panel.hidden = true;
    panel.tabIndex = -1;
    panel.setAttribute('role', 'dialog');
    panel.setAttribute('aria-label', DIAGNOSTICS_TITLE);
    const copy = document.createElement('button');
    copy.type = 'button';
    copy.className = 'copy';
    copy.textContent = 'Copy';
    copy.title = 'Copy the picture (Ctrl+C)';
    copy.addEventListener('click', () => this.copy());
    const caption = captionBar(DIAGNOSTICS_TITLE, () => this.close(), copy);
    caption.querySelector('.close').title = 'Close (Esc)';
    const picture = document.createElement('div');
    picture.className = 'picture';
    const canvas = document.createElement('canvas');
    canvas.setAttribute('aria-label', 'The diagnostics of the walks');
    picture.append(canvas);
    panel.append(caption, picture);
    document.body.append(panel);
    Object.assign(this, { panel, caption, picture, canvas });

    panel.addEventListener('keydown', (event) => this.key(event));
    this.dragMoves(caption);
    // A resize draws again as soon as the throttle allows: dragging the
    // corner over a million samples stays smooth.
    const resized = () => {
      if (!this.isOpen() || !this.page.core) return;
      // The core takes no call while one is running (see redraw).
      if (this.page.pending > 0) this.due = true;
      else this.changed(this.page.core._wx_diagnostics_delay());
    };
    new ResizeObserver(resized).observe(picture);
    window.addEventListener('resize', () => {
      if (this.isOpen()) this.keepInView();
      resized();
    });
  }

  isOpen() { return !this.panel.hidden; }

  // The picture's size in CSS pixels, which is the core's in its pixels.
  size() {
    return [Math.max(1, Math.round(this.picture.clientWidth)),
            Math.max(1, Math.round(this.picture.clientHeight))];
  }

  // Open (or, when open, brought forward) with the focus; the first time at
  // the picture's own size (width by height) as far as the page allows,
  // beside the landscape.
  show(width, height) {
    if (this.page.ended) return;
    this.panel.hidden = false;
    if (!this.placed) {
      this.placed = true;
      this.place(width, height);
    }
    this.keepInView();
    this.panel.focus();
    // Drawn as soon as the call that opened it has finished.
    this.redraw();
  }

  place(width, height) {
    const landscape = this.page.window.getBoundingClientRect();
    const size = (top) => {
      const room = [Math.floor(window.innerWidth * 0.9),
                    Math.floor(Math.min(window.innerHeight * 0.9,
                                        window.innerHeight - top - DIAGNOSTICS_GAP)) -
                    this.caption.offsetHeight];
      this.picture.style.width = Math.max(1, Math.min(width, room[0])) + 'px';
      this.picture.style.height = Math.max(1, Math.min(height, room[1])) + 'px';
      return this.panel.getBoundingClientRect();
    };
    // Beside the landscape where there is room; else over it, below its menu
    // and tool bars, which stay in reach. A lesson's text is not covered:
    // with one shown, below the window where that leaves enough to see.
    let top = Math.max(landscape.top, DIAGNOSTICS_GAP);
    let outer = size(top);
    let left = landscape.right + DIAGNOSTICS_GAP;
    if (left + outer.width > window.innerWidth - DIAGNOSTICS_GAP) {
      const below = landscape.bottom + DIAGNOSTICS_GAP;
      if (this.page.lessons.width() > 0 &&
          window.innerHeight - below - DIAGNOSTICS_GAP >= DIAGNOSTICS_MIN_BELOW) {
        [top, left] = [below, landscape.left];
      } else {
        top = Math.max(this.page.client.getBoundingClientRect().top, DIAGNOSTICS_GAP);
      }
      outer = size(top);
    }
    this.panel.style.left = Math.max(0, Math.min(left,
      window.innerWidth - outer.width - DIAGNOSTICS_GAP)) + 'px';
    this.panel.style.top = top + 'px';
  }

  // The caption stays on the page, where it can be taken to move the panel.
  keepInView() {
    const r = this.panel.getBoundingClientRect();
    const left = Math.min(Math.max(r.left, 0), Math.max(0, window.innerWidth - r.width));
    const top = Math.min(Math.max(r.top, 0), Math.max(0, window.innerHeight -
                                                        this.caption.offsetHeight));
    this.panel.style.left = left + 'px';
    this.panel.style.top = top + 'px';
  }

  close() {
    if (this.timer !== null) clearTimeout(this.timer);
    this.timer = null;
    this.due = false;
    if (this.panel.contains(document.activeElement)) document.activeElement.blur();
    this.panel.hidden = true;
  }

  // The core drew the landscape again (Frame::on_rendered), or the panel
  // changed its size: the picture is out of date, and the throttle allows
  // the next drawing after delay ms.
  changed(delay) {
    if (!this.isOpen() || this.timer !== null) return;
    this.timer = setTimeout(() => {
      this.timer = null;
      this.redraw();
    }, delay);
  }

  // Draws the picture if it is out of date or the size changed, then shows
  // it. The core takes no call while another is running (a dialog may be
  // waiting in it): the drawing then waits for its end (afterCall).
  redraw() {
    if (!this.isOpen() || !this.page.core) return;
    if (this.page.pending > 0) {
      this.due = true;
      return;
    }
    this.due = false;
    const core = this.page.core;
    const [width, height] = this.size();
    const drew = core._wx_diagnostics_render(width, height) !== 0;
    const ratio = window.devicePixelRatio || 1;
    if (drew || this.canvas.width !== Math.round(width * ratio) ||
        this.canvas.height !== Math.round(height * ratio)) {
      showPixels(core, core._wx_diagnostics_pixels(), core._wx_diagnostics_width(),
        core._wx_diagnostics_height(), this.canvas, this.offscreen);
    }
  }

  afterCall() {
    if (this.due && this.page.pending === 0) this.redraw();
  }

  async copy() {
    const page = this.page;
    if (!this.isOpen() || page.ended || page.inModal()) return;
    const [width, height] = this.size();
    await page.call('wx_diagnostics_copy', ['number', 'number'], [width, height]);
    // The box that said how it went has gone: the keys are the panel's again.
    if (this.isOpen()) this.panel.focus();
  }

  key(event) {
    const page = this.page;
    if (page.ended || page.inModal()) return;
    const plain = !event.altKey && !event.metaKey && !event.shiftKey;
    if (event.key === 'Escape' && plain && !event.ctrlKey) {
      this.close();
    } else if (event.ctrlKey && plain && event.key.toLowerCase() === 'c') {
      this.copy();
    } else {
      return;  // the program's other keys work here as over the landscape
    }
    event.preventDefault();
    event.stopPropagation();
  }

  // A drag of the caption moves the panel.
  dragMoves(caption) {
    let from = null;
    caption.addEventListener('pointerdown', (event) => {
      if (event.button !== 0 || event.target.closest('button')) return;
      const r = this.panel.getBoundingClientRect();
      from = { x: event.clientX - r.left, y: event.clientY - r.top, id: event.pointerId };
      caption.setPointerCapture(event.pointerId);
      event.preventDefault();
      this.panel.focus();
    });
    caption.addEventListener('pointermove', (event) => {
      if (from === null || event.pointerId !== from.id) return;
      this.panel.style.left = (event.clientX - from.x) + 'px';
      this.panel.style.top = (event.clientY - from.y) + 'px';
      this.keepInView();
    });
    const end = (event) => {
      if (from !== null && event.pointerId === from.id) from = null;
    };
    caption.addEventListener('pointerup', end);
    caption.addEventListener('pointercancel', end);
  }
}
