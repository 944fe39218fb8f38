// Pictures of the page for the README (docs/web*.png: the demonstration, the
// robot options, an animated walk, the diagnostics panel, a lesson), and what the page
// costs: the bytes a browser transfers for it and the time until it is ready.
//   node screenshots.mjs SITE_FOLDER DOCS_FOLDER
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { serveSite } from '../../src/web/serve.mjs';

// Chooses a menu's item as a click would.
function menu(page, popup, item) {
  return page.evaluate((popupTitle, itemText) => {
    [...document.querySelectorAll('.menubar > .popup > button')]
      .find((b) => b.textContent === popupTitle)
      .dispatchEvent(new MouseEvent('mousedown', { bubbles: true }));
    [...document.querySelectorAll('.popup.open .item')]
      .find((r) => r.firstChild.textContent === itemText).click();
  }, popup, item);
}

const [site, docs] = process.argv.slice(2);
const server = await serveSite(site);
const base = `http://127.0.0.1:${server.address().port}/`;
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--disable-gpu'],
});
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 760, height: 520, deviceScaleFactor: 1 });
  const cdp = await page.createCDPSession();
  await cdp.send('Network.enable');
  await cdp.send('Network.setCacheDisabled', { cacheDisabled: true });
  let transferred = 0;
  cdp.on('Network.loadingFinished', (event) => { transferred += event.encodedDataLength; });
  await page.goto(base + 'index.html?demo');
  await page.waitForSelector('html[data-ready="true"]');
  const startup = await page.$eval('html', (e) => e.dataset.startupMs);
  console.log(`page with the demonstration: ${transferred} bytes transferred, ` +
              `ready after ${startup} ms`);
  await page.screenshot({ path: join(docs, 'web.png') });

  await page.keyboard.down('Control');
  await page.keyboard.press('o');
  await page.keyboard.up('Control');
  await page.waitForSelector('.dialog[data-dialog="robot"]');
  await page.screenshot({ path: join(docs, 'web-options.png') });
  await page.click('.dialog[data-dialog="robot"] [data-id="2"]');
  await page.waitForSelector('.dialog[data-dialog="robot"]', { hidden: true });

  // The animation at 10 steps a second from a cleared landscape, paused as a
  // foray is drawn.
  await menu(page, 'Robot', 'Clear');
  await page.keyboard.down('Control');
  await page.keyboard.press('a');
  await page.keyboard.up('Control');
  await new Promise((resolve) => setTimeout(resolve, 2400));
  await page.keyboard.press('Space');
  await page.waitForFunction(() => /^Paused: /.test(
    document.getElementById('progress').textContent));
  await page.screenshot({ path: join(docs, 'web-walk.png') });

  // The diagnostics panel beside the demonstration, on a wider page.
  await page.setViewport({ width: 1140, height: 760, deviceScaleFactor: 1 });
  await page.goto(base + 'index.html?demo');
  await page.waitForSelector('html[data-ready="true"]');
  await menu(page, 'Show', 'Diagnostics…');
  await page.waitForFunction(() => {
    const panel = document.getElementById('diagnostics');
    return !panel.hidden && panel.querySelector('canvas').width > 0 && wandrixPage.pending === 0;
  });
  await page.$eval('#diagnostics', (panel) => {
    const landscape = document.getElementById('window').getBoundingClientRect();
    panel.style.left = `${landscape.right + 12}px`;
    panel.style.top = `${landscape.top}px`;
    const picture = panel.querySelector('.picture');
    picture.style.width = `${Math.floor(window.innerWidth - landscape.right - 26)}px`;
    picture.style.height = `${Math.floor(window.innerHeight - landscape.top - 40)}px`;
  });
  await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 300)));
  await page.screenshot({ path: join(docs, 'web-diagnostics.png') });

  // The first of the page's lessons, walked, with its text beside the landscape.
  await page.setViewport({ width: 980, height: 560, deviceScaleFactor: 1 });
  await page.goto(base + 'index.html');
  await page.waitForSelector('html[data-ready="true"]');
  await page.goto(new URL(await page.$eval('#lesson-links a', (a) => a.href)).href);
  await page.waitForSelector('html[data-ready="true"]');
  await page.keyboard.down('Control');
  await page.keyboard.press('f');
  await page.keyboard.up('Control');
  await page.waitForFunction(() => wandrixPage.pending === 0 && wandrixPage.tickTimer === null &&
    document.documentElement.dataset.walking === 'false');
  await page.screenshot({ path: join(docs, 'web-lesson.png') });
} finally {
  await browser.close();
  server.close();
}
