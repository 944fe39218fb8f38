// Pictures of the page for the README (docs/web*.png: the demonstration, the
// robot options, an animated walk, a lesson), and what the page
// costs: the bytes a browser transfers for it and the time until it is ready.
//   node screenshots.mjs SITE_FOLDER DOCS_FOLDER
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { serveSite } from '../../src/web/serve.mjs';

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
  await page.evaluate(() => {
    [...document.querySelectorAll('.menubar > .popup > button')]
      .find((b) => b.textContent === 'Robot')
      .dispatchEvent(new MouseEvent('mousedown', { bubbles: true }));
    [...document.querySelectorAll('.popup.open .item')]
      .find((r) => r.firstChild.textContent === 'Clear').click();
  });
  await page.keyboard.down('Control');
  await page.keyboard.press('a');
  await page.keyboard.up('Control');
  await new Promise((resolve) => setTimeout(resolve, 2400));
  await page.keyboard.press('Space');
  await page.waitForFunction(() => /^Paused: /.test(
    document.getElementById('progress').textContent));
  await page.screenshot({ path: join(docs, 'web-walk.png') });

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
