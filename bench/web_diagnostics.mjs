// The page's diagnostics panel after 1,000,000 steps in headless Chromium:
// how long one redraw takes at 1000 x 600, split into drawing the picture in
// WebAssembly (DiagnosticsView::render) and showing it on the panel's canvas,
// for one chain and for four chains all shown (as diagnostics_bench does
// natively, over the same three hills).
//   node bench/web_diagnostics.mjs SITE_FOLDER     (scripts/web bench)
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';
import { serveSite } from '../src/web/serve.mjs';

// puppeteer-core lives with the web tests (tests/web/run --install-only).
const require = createRequire(fileURLToPath(new URL('../tests/web/package.json', import.meta.url)));
const { default: puppeteer } = await import(require.resolve('puppeteer-core'));

const site = process.argv[2];
const hills = 'hill a 100 120 30 25 0.3 1 hill b 280 260 40 40 -0.6 2 hill c 200 60 15 50 0.9 0.5';
const rounds = 15;
const server = await serveSite(site);
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--disable-gpu'],
});
try {
  for (const chains of [1, 4]) {
    const page = await browser.newPage();
    await page.setViewport({ width: 1200, height: 900, deviceScaleFactor: 1 });
    await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
    await page.waitForSelector('html[data-ready="true"]');
    const actions = `set rn_seed 12345 set nsteps 1000000 ${hills} chains ${chains} ` +
      `show ${chains === 1 ? 1 : 0} clear start`;
    const result = await page.evaluate(async (text, n) => {
      const p = wandrixPage;
      await p.call('wx_run_actions', ['string'], [text]);
      p.diagnostics.show(1000, 600);
      p.diagnostics.picture.style.width = '1000px';
      p.diagnostics.picture.style.height = '600px';
      const core = p.core;
      const median = (xs) => xs.sort((a, b) => a - b)[Math.floor(xs.length / 2)];
      const draw = [];
      const show = [];
      for (let i = 0; i < n; ++i) {
        // Another size each time: a whole drawing, as after a change of the model.
        const height = 599 + (i % 2);
        let t = performance.now();
        if (core._wx_diagnostics_render(1000, height) !== 1) throw new Error('not drawn');
        draw.push(performance.now() - t);
        t = performance.now();
        showPixels(core, core._wx_diagnostics_pixels(), 1000, height, p.diagnostics.canvas,
          p.diagnostics.offscreen);
        show.push(performance.now() - t);
      }
      return { draw: median(draw), show: median(show) };
    }, actions, rounds);
    console.log(`${chains} chain(s), 1,000,000 steps, 1000 x 600: drawing ` +
      `${result.draw.toFixed(1)} ms, showing ${result.show.toFixed(1)} ms ` +
      `(medians of ${rounds})`);
    await page.close();
  }
} finally {
  await browser.close();
  server.close();
}
